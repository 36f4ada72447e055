#pragma once

#include "search/SearchScoring.h"
#include "ui/EditableTable.h"

#include <vector>

namespace T730
{

class SearchTarget;

/** The search page's one way into a result list: search with the free text and the selected words. */
class SS_ListListener
{
public:
    virtual ~SS_ListListener() = default;
    virtual void search (const juce::String& freeText, const juce::StringArray& selectedWords) = 0;
};

/** A cell of the search page's lists: a text (the word or the record's name)
    and whether it is highlighted. The list draws the rest. */
class SS_VScrollingUIItem : public ModalEditLabel
{
public:
    SS_VScrollingUIItem (int row, int column);

    void setHighlighted (bool shouldBeHighlighted);
    bool isHighlighted() const noexcept { return highlighted; }

    /** The result this cell shows (-1 for none; the word grid's cells show none). */
    int getResultRow() const noexcept { return resultRow; }
    void setResultRow (int row) noexcept { resultRow = row; }

    /** A text shortened to the width: its first n - k characters and "..." for the smallest k that fits. */
    static juce::String shortened (const juce::String& text, const juce::Font& font, int width);

    /** "Arial" 12 drawn twice as tall at the same width (the names of the result cells). */
    static juce::Font nameFont();

private:
    bool highlighted = false;
    int resultRow = -1;
};

/** The base of the page's three lists: a grid of cells (an EditableTable
    that selects, renames and drags nothing) and, for the result lists, the
    results of the last search over all targets.

    A result list shows its results through a window of cells as tall as the
    list (one more than fit): its own vertical scroll bar spans result count x
    row height and moves the window a whole row at a time, and the cells take
    the results in view. So a search over thousands of records assigns only the
    few cells that show. Message thread only. */
class SS_VScrollingUI : public EditableTable
{
public:
    SS_VScrollingUI();
    ~SS_VScrollingUI() override;

    /** Records searched, and one of them (null outside). */
    virtual int getNumTargets() const { return 0; }
    virtual SearchTarget* getTarget (int index) { juce::ignoreUnused (index); return nullptr; }

    // Results -----------------------------------------------------------------
    int getResultCount() const noexcept { return (int) results.size(); }
    /** The target shown in a result row (null outside). */
    SearchTarget* getResult (int row);
    /** The target index of a result row (-1 outside). */
    int getResultIndex (int row) const noexcept;

    // Highlight (one result row, or -1) ----------------------------------------
    int getHighlightedRow() const noexcept { return highlightedRow; }
    /** Highlights a row without telling anyone (-1: none; rows outside count as none). */
    void highlightRow (int row);

    // The window of cells -------------------------------------------------------
    int getFirstRow() const noexcept { return firstRow; }
    /** The result row under a point of the list, -1 when none. */
    int rowAt (juce::Point<int> position) const;
    /** The cell showing a result row, null when it is not in view. */
    SS_VScrollingUIItem* cellOfRow (int row) const;
    /** Where a result row lies in the list (empty when it is not in view). */
    juce::Rectangle<int> getRowBounds (int row) const;
    /** Scrolls so that a row is wholly in view. */
    void scrollToRow (int row);
    ScrollBarEx& getResultBar() noexcept { return resultBar; }

    void resized() override;
    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
    void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;

    /** The colours of every cell: orange on the page's dark glass, black on the orange box. */
    static juce::Colour textColour() { return { 255, 155, 0 }; }
    static juce::Colour highlightedTextColour() { return juce::Colours::black; }

    /** Sets up a result list: one column of cells `columnWidth` wide, rows `rowHeight` high. */
    void setUpResultList (int columnWidth, int rowHeight);

protected:
    /** Scores every target (upper-cased keys made by makeKeys), keeps the ones
        above 0 best first (equal scores in target order) and numbers them. */
    void runSearch (const SearchQuery& query);
    /** Results := every target in order, numbered from 0. */
    void showAllTargets();
    void clearResults();
    /** Makes the search keys of the targets again (after the targets changed). */
    void makeKeys();

    /** Gives every cell of the window its result (and -1 past the end), then repaints. */
    void assignCells();
    /** A cell takes a result row (-1: shows nothing). */
    virtual void assignCell (SS_VScrollingUIItem& cell, int row) = 0;

    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;

private:
    void updateResultBar();
    int visibleRows() const noexcept;
    int fullRows() const noexcept;

    std::vector<SearchKey> keys;
    std::vector<int> results;        // target indexes in result order
    std::vector<int> scores;
    int highlightedRow = -1;
    int firstRow = 0;
    int resultRowHeight = 16;
    bool resultList = false;
    ScrollBarEx resultBar { true };

    JUCE_DECLARE_NON_COPYABLE (SS_VScrollingUI)
};

/** A word of the grid: its text, an orange box around it when picked. */
class SS_WordListItem : public SS_VScrollingUIItem
{
public:
    SS_WordListItem (int row, int column) : SS_VScrollingUIItem (row, column) {}
    void paint (juce::Graphics& g) override;
};

/** The grid of every keyword: 4 rows, as many columns of 120 as the words
    need (word k in row k mod 4, column k div 4), scrolled sideways. A click on
    a word picks it or, when it is picked, drops it; every pick, drop and
    change of the free text searches both result lists (the rhythm list, then
    the patch list). */
class SS_WordList : public SS_VScrollingUI, public juce::TextEditor::Listener
{
public:
    SS_WordList();

    static constexpr int rows = 4, rowHeight = 16, columnWidth = 120;

    /** The first fill clears the picked words and the highlights; a refresh
        keeps the highlighted cells (by position), the picked words and the free text. */
    void fill (const juce::StringArray& words, bool firstFill);

    /** The two lists searched, in this order: the rhythm list, the patch list. */
    void setListListeners (SS_ListListener* first, SS_ListListener* second);

    /** Searches both lists with the free text and a copy of the picked words. */
    void searchAll();

    /** Drops every highlight, the picked words and the free text, searches and repaints. */
    void clearAll();

    /** A press at a point of the grid, as a mouse press makes it. */
    void pressAt (juce::Point<int> position);

    const juce::StringArray& getWords() const noexcept { return words; }
    const juce::StringArray& getSelectedWords() const noexcept { return selectedWords; }
    const juce::String& getFreeText() const noexcept { return freeText; }
    SS_WordListItem* getWordCell (int row, int column) const;
    /** The cell of word k. */
    SS_WordListItem* getWordCell (int wordIndex) const { return getWordCell (wordIndex % rows, wordIndex / rows); }

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent&) override {}
    void textEditorTextChanged (juce::TextEditor& editor) override;

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;
    void assignCell (SS_VScrollingUIItem&, int) override {}

private:
    juce::StringArray words;
    juce::StringArray selectedWords;   // in the order they were picked
    juce::StringArray searchedWords;   // the copy that went with the last search
    juce::String freeText;
    SS_ListListener* listeners[2] = { nullptr, nullptr }; // not owned: the page's result lists
};

/** The free-text field: black on white without a border, at most 24 characters of the search's set. */
class SS_EditerFreeword : public juce::TextEditor
{
public:
    SS_EditerFreeword();

    static constexpr const char* allowedCharacters =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&'()+,-.:;=?/@[]^_`{}~| ";
    static constexpr int maxLength = 24;
};

} // namespace T730
