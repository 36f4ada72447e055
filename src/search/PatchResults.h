#pragma once

#include "documents/PatchData.h"
#include "search/CharacterChart.h"
#include "search/SearchLists.h"

namespace T730
{

class ControllerLink;
class PatchManager;

/** A patch result: its number in a small frame, its name (tall and narrow,
    shortened to 46 pixels) and the chart of its character. */
class SS_PatchListItem : public SS_VScrollingUIItem
{
public:
    SS_PatchListItem (int row, int column, const juce::Image& numberFrame, const juce::Image& chartBackground);

    /** Takes a copy of a patch and computes its character (null: the cell shows nothing). */
    void setPatch (const PatchData* patch, const CharacterChart& chart);

    bool hasPatch() const noexcept { return shown; }
    const PatchData& getPatch() const noexcept { return patch; }
    const CharacterScores& getScores() const noexcept { return scores; }

    void paint (juce::Graphics& g) override;

    static constexpr int width = 99, height = 48, nameWidth = 46;

private:
    juce::Image numberFrame, chartBackground;
    PatchData patch;
    CharacterScores scores;
    bool shown = false;
};

/** The patch results: copies of every loaded patch of the groups whose
    allKeyworded flag is set, scored by the word grid's searches, best first.
    A double click (or the page's load button) loads the highlighted patch
    into the tool set's edit buffer and sends it to the device. A right click
    on a result lists the ten patches whose characters lie nearest to it;
    picking one loads it. Message thread only. */
class SS_PatchList : public SS_VScrollingUI, public SS_ListListener
{
public:
    explicit SS_PatchList (ControllerLink* controller);

    /** The value tables the cells' charts read (not owned; set before the first fill). */
    void setChart (const CharacterChart* newChart) noexcept { chart = newChart; }

    /** Copies the searchable patches of the store (none without one). The
        first fill leaves the results empty until the first search. */
    void fill (const PatchManager* store, bool firstFill);

    void search (const juce::String& freeText, const juce::StringArray& selectedWords) override;

    /** Loads the highlighted result (nothing when none is highlighted or without a controller). */
    void loadHighlighted();
    /** Loads a target: its 72 values and its name into the tool set's edit
        buffer (the copy's lock first, then the tool set buffer's), then sends
        it, sets it, makes it the tool set's patch and records an undo step. */
    void loadTarget (int targetIndex);

    /** The ten targets whose characters lie nearest to a target's, nearest first. */
    std::vector<int> findSimilar (int targetIndex, int count = 10);

    int getNumTargets() const override { return (int) targets.size(); }
    SearchTarget* getTarget (int index) override;
    const PatchData* getPatchTarget (int index) const;
    /** The file of the group a target came from. */
    juce::String getGroupFile (int index) const;
    SS_PatchListItem* getPatchCell (int row) const { return dynamic_cast<SS_PatchListItem*> (cellOfRow (row)); }

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    static constexpr int columnWidth = 99, rowHeight = 48;

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;
    void assignCell (SS_VScrollingUIItem& cell, int row) override;

private:
    void showSimilarMenu (int row);

    ControllerLink* controller;   // not owned; may be null
    const CharacterChart* chart = nullptr;
    CharacterChart noTables;
    std::vector<PatchData> targets;
    juce::StringArray groupFiles;  // per target: the file of its group when it was copied
    std::vector<CharacterScores> characters;   // per target, made when first asked for
    juce::Image numberFrame, chartBackground;
};

} // namespace T730
