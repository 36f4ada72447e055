#pragma once

#include "ui/EditableTable.h"

namespace T730
{

class PatchManager;
class PatchSet;

/** Whether a group is protected: no group at all, or one whose every loaded
    patch carries keywords (a shipped or downloaded set). Its names and patches
    cannot be changed; it can be selected, exported, restored and deleted. */
bool isProtectedGroup (const PatchSet* group) noexcept;

/** What a group cell asks its table. */
class PatchsetEditableTableListener
{
public:
    virtual ~PatchsetEditableTableListener() = default;

    /** True when the table has more than 5 rows (and so a scroll bar). */
    virtual bool hasManyRows() const = 0;
};

/** A row of the group list: its number, the group's name (shortened to fit
    96 pixels, 80 beside a scroll bar) and when its file was last saved. */
class PatchsetEditableLabel : public ModalEditLabel
{
public:
    PatchsetEditableLabel (int row, int column, PatchsetEditableTableListener& owner);

    void paint (juce::Graphics& g) override;
    juce::Rectangle<int> getEditorArea() const override;

    void setModified (juce::Time time);
    juce::Time getModified() const noexcept { return modified; }

    /** The widest a name is drawn. */
    int getNameWidth() const;

    /** The text shortened to the width: its first n - k characters and "..."
        for the smallest k that fits. */
    static juce::String shortened (const juce::String& text, const juce::Font& font, int width);

    static constexpr int nameX = 32;

private:
    PatchsetEditableTableListener& owner;
    juce::Time modified;
};

/** The list of patch groups: one column, 16-pixel rows, 242 pixels wide (226
    beside the scroll bar it gets with more than 5 groups). */
class PatchsetEditableTable : public EditableTable, public PatchsetEditableTableListener
{
public:
    PatchsetEditableTable();

    bool hasManyRows() const override { return getRowCount() > 5; }

    /** Lists the store's groups (20 empty rows without a store): row 0 selected,
        names and file times in the cells, scrolled to the selection. */
    void fill (const PatchManager* store);

    /** Puts the name and file time of each group back into its row. */
    void updateTexts (const PatchManager* store);

    PatchsetEditableLabel* getGroupCell (int row) const;

    static constexpr int fullWidth = 242, narrowWidth = 226, rowHeight = 16, visibleRows = 5;

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;
};

/** A cell of the patch grid: "A0:" to "J9:" and the patch's name; a cell
    that is not shown (past the end of a short protected group) is blank. */
class PatchdataEditableLabel : public ModalEditLabel
{
public:
    PatchdataEditableLabel (int row, int column);

    void paint (juce::Graphics& g) override;
    juce::Rectangle<int> getEditorArea() const override;

    void setShown (bool shouldBeShown);
    bool isShown() const noexcept { return shown; }

    /** Patch index (column x 5 + row) as its prefix: a letter per ten, the digit, ":". */
    static juce::String prefixOf (int index);

    static constexpr int nameX = 27;

private:
    bool shown = true;
};

/** The 100 patches of a group in 5 rows and 20 columns of 121 pixels, two
    columns in view, with a horizontal scroll bar. Cell (row r, column c) shows
    patch c x 5 + r. */
class PatchdataEditableTable : public EditableTable
{
public:
    PatchdataEditableTable();

    /** Shows a group's patches (every cell blank without a group). A protected
        group shows its `count` patches and locks renaming and dragging. */
    void fill (const PatchSet* group);

    PatchdataEditableLabel* getPatchCell (int row, int column) const;

    /** Whether a cell may be selected while the table shows this group: none
        without a group, and in a protected group only its shown patches. */
    bool canSelectCell (const PatchSet* group, int row, int column) const;

    /** Selected column x 5 + selected row. */
    int getSelectedIndex() const noexcept { return getSelectedColumn() * rows + getSelectedRow(); }
    void selectIndex (int index) { select (index % rows, index / rows); }

    int getShownCount() const noexcept { return shownCount; }

    static constexpr int rows = 5, columns = 20, columnWidth = 121, rowHeight = 16;

protected:
    std::unique_ptr<ModalEditLabel> createCell (int row, int column) override;

private:
    int shownCount = 100;
};

/** The librarian's colours on a table: orange text on the display's dark
    glass, the selection in black on an orange box. */
void applyLibrarianColours (EditableTable& table);

} // namespace T730
