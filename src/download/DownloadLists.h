#pragma once

#include "download/DownloadService.h"
#include "ui/EditableTable.h"

namespace T730
{

/** One entry of a download list: its name, its comment (and as a tooltip),
    the new mark, the download spot (or the downloaded mark) and the audition
    spot (a stop picture while it is auditioned). */
class DL_VScrollingUIItem : public ModalEditLabel
{
public:
    struct Pictures
    {
        juce::Image get, done, newMark, play, stop;
    };

    DL_VScrollingUIItem (int row, int column, const Pictures& pictures);

    void setEntry (const DL_ItemInfo* newEntry) { entry = newEntry; repaint(); }
    const DL_ItemInfo* getEntry() const noexcept { return entry; }
    void setAuditioned (bool shouldShowStop);
    bool isAuditioned() const noexcept { return auditioned; }

    void paint (juce::Graphics& g) override;

    /** The hot spots, in entry coordinates. */
    static juce::Rectangle<int> downloadSpot() { return { 158, 3, 61, 10 }; }
    static juce::Rectangle<int> auditionSpot() { return { 134, 6, 18, 19 }; }
    static juce::Rectangle<int> newMarkSpot() { return { 158, 16, 28, 10 }; }
    static constexpr int height = 31;

protected:
    /** The second line under the name (the comment by default). */
    virtual juce::String describe() const;

private:
    const Pictures& pictures;
    const DL_ItemInfo* entry = nullptr;   // owned by the list
    bool auditioned = false;
};

class DL_PatchsetListItem : public DL_VScrollingUIItem
{
public:
    using DL_VScrollingUIItem::DL_VScrollingUIItem;
};

class DL_RhythmListItem : public DL_VScrollingUIItem
{
public:
    using DL_VScrollingUIItem::DL_VScrollingUIItem;
};

/** A download list: one column of entries in a table with its own scroll bar.
    A press on an entry's download spot downloads it (when it is not yet), a
    press on its audition spot auditions it; the page listens. Message thread only. */
class DL_VScrollingUI : public EditableTable, private EditableTableListener
{
public:
    explicit DL_VScrollingUI (int kind);
    ~DL_VScrollingUI() override;

    void setDownloadListener (DL_DownloadListener* l) noexcept { downloadListener = l; }

    /** Takes the catalogue's entries (downloaded flags as given) and rebuilds. */
    void fill (std::vector<DL_ItemInfo> entries);
    void clear() { fill ({}); }

    int getNumEntries() const noexcept { return (int) entries.size(); }
    DL_ItemInfo* getEntry (int row) noexcept;
    std::vector<DL_ItemInfo>& getEntries() noexcept { return entries; }
    bool hasMissingEntries() const;

    /** The entry row shown as auditioned (-1: none). */
    void setAuditionedRow (int row);
    int getAuditionedRow() const noexcept { return auditionedRow; }

    DL_VScrollingUIItem* getItem (int row) const;
    /** Where an entry's spot lies in the list (scrolled). */
    juce::Point<int> spotCentre (int row, juce::Rectangle<int> spot) const;

    /** A press at a point of the list, as a mouse press makes it. */
    void pressAt (juce::Point<int> position);

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent&) override {}
    void mouseDrag (const juce::MouseEvent&) override {}
    void mouseDoubleClick (const juce::MouseEvent&) override {}
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    /** The list's place on the page. */
    static juce::Rectangle<int> placeOnPage() { return { 32, 67, 243, 219 }; }

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;

private:
    bool cellEdited (EditableTable&, ModalEditLabel&, const juce::String&) override { return false; }
    bool canSelect (EditableTable&, int, int) override { return true; }
    void selectionChanged (EditableTable&, int, int) override {}
    void cellMoved (EditableTable&, int, int, int, int) override {}

    const int kind;
    std::vector<DL_ItemInfo> entries;
    DL_VScrollingUIItem::Pictures pictures;
    DL_DownloadListener* downloadListener = nullptr;   // not owned: the page
    int auditionedRow = -1;
};

class DL_PatchsetList : public DL_VScrollingUI
{
public:
    DL_PatchsetList() : DL_VScrollingUI (DL_ItemInfo::patchsetKind) {}
};

class DL_RhythmList : public DL_VScrollingUI
{
public:
    DL_RhythmList() : DL_VScrollingUI (DL_ItemInfo::rhythmKind) {}
};

} // namespace T730
