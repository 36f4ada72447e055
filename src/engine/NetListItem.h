#pragma once

#include <atomic>
#include <juce_core/juce_core.h>
#include <memory>
#include <vector>

namespace T730
{

class NetListItem;
class FxChain;

/** Who owns the nodes: receives what a node reports. The controller implements it
    by posting its own messages (a pitch report becomes InstContMesTunerPitchDetect). */
class NetListOwner
{
public:
    virtual ~NetListOwner() = default;

    /** A pitch found by a tuner node, in Hz. Called on the audio thread: an
        implementation only posts a message. */
    virtual void nodePitchDetected (float frequency) = 0;
};

/** The image cache's bookkeeping of module archives: a node that has read its
    layout uses the archive named after its module until it is destroyed. The user
    interface installs its cache here (setArchiveUser); without one nothing is counted. */
class ModuleArchiveUser
{
public:
    virtual ~ModuleArchiveUser() = default;
    virtual void acquireArchive (const juce::String& moduleName) = 0;
    virtual void releaseArchive (const juce::String& moduleName) = 0;
};

/** The editor's view of one node. Built by the editor, owned by its node. */
class NetListView
{
public:
    explicit NetListView (NetListItem& node) : viewedNode (node) {}
    virtual ~NetListView() = default;

    NetListItem& getNode() const noexcept { return viewedNode; }

private:
    NetListItem& viewedNode;

    JUCE_DECLARE_NON_COPYABLE (NetListView)
};

/** "When parameter `controlPrm` is edited, set parameter `targetPrm` to step `targetStep`." */
struct EditLink
{
    int controlPrm = 0;
    int targetPrm = -1;
    int targetStep = 0;
};

/** A node of the effect network: one effect module by name, with its layout
    document (the module description read from the module's resource archive),
    its edit links and its editor view.

    A node that is put into editor chains lives as long as its view is in one:
    each chain raises the view count, and when the last one lets go the node
    deletes itself. */
class NetListItem
{
public:
    /** `owner` may be null; `resourceFolder` holds the module's archive "<name>.orc". */
    NetListItem (const juce::String& name, NetListOwner* owner, const juce::File& resourceFolder);
    virtual ~NetListItem();

    // The network operations, in the order every node answers them.
    virtual void setBlockSize (int frames) = 0;
    virtual void setSampleRate (double rate) = 0;
    virtual void process (double** inputs, double** outputs, int frames) = 0;
    virtual void flush() = 0;
    virtual int query152() = 0;
    virtual int query153() = 0;
    virtual int query154 (int index) = 0;
    virtual int query155 (int index) = 0;
    virtual int query156 (int index) = 0;
    virtual int query157 (int index) = 0;
    virtual int query158() = 0;
    virtual void setStep (int index, int step, bool store) = 0;
    virtual int getStep (int index, bool fromCurrent) = 0;
    virtual int getMaxStep (int index) = 0;
    virtual bool getParamText (int index, juce::String& text) = 0;
    virtual int getNumParams() = 0;
    virtual void resetToDefaults() = 0;
    virtual void tap (int index, bool store) = 0;
    virtual void setFromSeconds (int index, double seconds) = 0;

    const juce::String& getName() const noexcept { return name; }
    NetListOwner* getOwner() const noexcept { return owner; }
    const juce::File& getResourceFolder() const noexcept { return resourceFolder; }

    /** Reads the module description "EfxType.xml" from "<name>.orc" once and
        collects its edit links; when it cannot be read that is remembered and the
        disk is not asked again. True when the layout is loaded. Message thread
        (nodes with a live object read it when they are made, so that later calls
        from the audio thread only look at what was read). */
    bool loadLayout();
    bool isLayoutLoaded() const noexcept { return layoutLoaded; }

    /** The layout's document element, owned by the node; null until loaded. */
    juce::XmlElement* getLayout() const noexcept { return layout.get(); }

    const std::vector<EditLink>& getLinks() const noexcept { return links; }

    /** The editor view, owned by the node (built by the editor). */
    NetListView* getView() const noexcept { return view.get(); }
    void setView (std::unique_ptr<NetListView> newView);

    /** Raised when the view is put into a chain, lowered when it is taken out;
        lowering it to zero deletes the node. Message thread. */
    void retainView() noexcept { ++viewCount; }
    void releaseView();
    int getViewCount() const noexcept { return viewCount; }

    /** Installs the image cache's archive bookkeeping (null for none). */
    static void setArchiveUser (ModuleArchiveUser* user);

private:
    const juce::String name;
    NetListOwner* const owner;
    const juce::File resourceFolder;

    bool layoutLoaded = false;
    bool layoutMissing = false;
    std::unique_ptr<juce::XmlElement> layout;
    std::unique_ptr<NetListView> view;
    std::vector<EditLink> links;
    std::atomic<int> viewCount { 0 };

    JUCE_DECLARE_NON_COPYABLE (NetListItem)
};

} // namespace T730
