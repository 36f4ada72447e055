#pragma once

#include "download/DL_PatchsetAttract.h"
#include "download/DownloadLists.h"
#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;
class PatchManager;
class SongManager;

/** What the download page tells the tab section that holds it. */
class Tab_DownloadListener
{
public:
    virtual ~Tab_DownloadListener() = default;

    /** A download finished and the page's lists changed. */
    virtual void downloadFinished() = 0;

    /** The catalogue's own time ("LastTime") arrived. */
    virtual void catalogueTimeReceived (juce::Time time) { juce::ignoreUnused (time); }
};

/** The download page of the tab section: the download server's catalogue of
    patch sets and rhythms, fetched on "T730 Download Thread" when the page is
    made (and on DOWNLOAD_CONNECT and restart), listed with their new and
    downloaded marks, auditioned (a rhythm through the preview rhythm machine,
    a patch set patch by patch on the device) and downloaded into the user-data
    folders, where the patch store and the song catalogue take them in.

    Files travel on a transfer thread of their own under the progress window
    (which cancels them), every request within its time and size limits; a file
    is written only when it arrived whole with status 200 and is what it should
    be, and a file of the same name that differs is replaced only when the user
    says so. Message thread only. */
class SectionDownload : public OxSection,
                        private DL_ThreadListener,
                        private DL_DownloadListener,
                        private juce::Button::Listener
{
public:
    explicit SectionDownload (ControllerLink& controller);
    ~SectionDownload() override;

    void setListener (Tab_DownloadListener* newListener) noexcept { listener = newListener; }
    Tab_DownloadListener* getListener() const noexcept { return listener; }

    /** Stops the running thread (waiting up to 1000 ms), rebuilds the buttons,
        empties the lists and starts a new fetch. */
    void restart();
    /** The controller's RefreshDownloadSection: a restart. */
    void stopDownloadThread() { restart(); }

    /** Another server (tests, or a changed setting); restarts. */
    void setServer (const juce::String& address);
    juce::String getServer() const { return server; }
    void setLimits (const HttpLimits& newLimits) { limits = newLimits; }
    const HttpLimits& getLimits() const noexcept { return limits; }
    void setFolders (const DownloadFolders& newFolders) { folders = newFolders; }
    const DownloadFolders& getFolders() const noexcept { return folders; }
    void setAuditionFolder (const juce::File& folder) { auditionFolder = folder; }

    enum class State { connecting, online, offline };
    State getState() const noexcept { return state; }
    bool isOnline() const noexcept { return state == State::online; }
    bool isOffline() const noexcept { return state == State::offline; }
    bool hasCatalogueTime() const noexcept { return catalogueTimeKnown; }
    juce::Time getCatalogueTime() const noexcept { return catalogueTime; }
    const juce::String& getCatalogueText() const noexcept { return catalogueText; }

    enum ButtonId { patchsetTab, rhythmTab, fullButton, connectButton, numButtons };
    juce::Button& getButton (ButtonId id) noexcept { return *buttons[id]; }

    DL_PatchsetList& getPatchsetList() noexcept { return patchsetList; }
    DL_RhythmList& getRhythmList() noexcept { return rhythmList; }

    /** Downloads every entry of both lists that is not downloaded ("DOWNLOAD_FULL");
        true when each one arrived. */
    bool downloadAll();

    bool isPreviewRunning() const noexcept { return previewRunning; }
    const juce::String& getPreviewedName() const noexcept { return previewedName; }
    /** Stops a running rhythm preview (nothing when none runs). */
    void stopPreview();
    const juce::Array<juce::File>& getTemporaryFiles() const noexcept { return temporaryFiles; }

    DL_PatchsetAttract* getAttract() const noexcept { return attract.get(); }
    /** Closes the patch set audition, putting the edit buffer back. */
    void closeAttract();

    /** Runs a started transfer until it is done: by default under the modal
        progress window (closing it cancels). Tests may wait differently. */
    std::function<void (DownloadTransfer&)> runTransfer;

    void paint (juce::Graphics& g) override;
    void mouseExit (const juce::MouseEvent& event) override;
    void visibilityChanged() override;
    void parentHierarchyChanged() override;

    static constexpr int width = 300, height = 313;

private:
    void received (const juce::String& text) override;
    void failed() override;
    bool accept (const juce::String& text) override;

    bool download (DL_ItemInfo& entry) override;
    void audition (DL_ItemInfo& entry, bool downloaded, juce::String& path) override;
    void listChanged() override;

    void buttonClicked (juce::Button* button) override;

    void showTab (int kind);
    void updateFullState();
    void enterOffline();
    bool downloadEntries (const std::vector<DL_ItemInfo*>& entries);
    bool writeEntry (DL_ItemInfo& entry, std::vector<TransferFile>& files);
    void registerFile (const DL_ItemInfo& entry, int urlIndex, const juce::File& written);
    bool fetchInto (const DL_ItemInfo& entry, const juce::File& folder);
    void auditionRhythm (DL_ItemInfo& entry, bool downloaded, juce::String& path);
    void auditionPatchset (DL_ItemInfo& entry, bool downloaded, juce::String& path);
    void transfer (DownloadTransfer& job);
    void leavePage();
    void deleteTemporaryFiles();

    ControllerLink& controller;
    Tab_DownloadListener* listener = nullptr;   // not owned: the tab section
    PatchManager* patchManager = nullptr;       // not owned: the controller's stores
    SongManager* songManager = nullptr;
    juce::String server;
    HttpLimits limits;
    DownloadFolders folders;
    juce::File auditionFolder;

    std::unique_ptr<DL_Core> core;
    std::unique_ptr<DL_Thread> thread;
    juce::String catalogueText;
    juce::Time catalogueTime;
    bool catalogueTimeKnown = false;
    State state = State::connecting;
    int shownKind = DL_ItemInfo::patchsetKind;
    /** Counts the fillings of the lists: a transfer's modal loop may outlast its entries. */
    int listGeneration = 0;

    bool previewRunning = false;
    juce::String previewedName;
    int previewedRow = -1;
    juce::Array<juce::File> temporaryFiles;

    DL_PatchsetList patchsetList;
    DL_RhythmList rhythmList;
    std::unique_ptr<juce::DrawableButton> buttons[numButtons];
    std::unique_ptr<DL_PatchsetAttract> attract;
    juce::Image background, offlineBackground;

    JUCE_DECLARE_NON_COPYABLE (SectionDownload)
};

} // namespace T730
