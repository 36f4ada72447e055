#pragma once

#include "documents/PatchSet.h"

#include <functional>
#include <memory>
#include <vector>

namespace T730
{

/** The store of patch groups: every group file of the patch group folder, in
    display order, with that order kept in "OrderInf.xml".

    The folder is set by the owner (the `patchgroupM7` user-data folder). File
    errors the user must see ("File error.") go through `onFileError`, which
    the controller binds to its error box; without it they are only logged. */
class PatchManager
{
public:
    PatchManager() = default;
    ~PatchManager() = default;

    void setFolder (const juce::File& newFolder) { folder = newFolder; }
    const juce::File& getFolder() const noexcept { return folder; }

    /** Drops every group, then reads every group file of the folder and
        applies the order file. */
    void loadAll();

    /** Writes "OrderInf.xml" with the list's file names in list order. */
    bool saveOrder();

    /** Makes a new group file "New Patch Group nnn.xml" (the first free number
        1..999) holding 100 factory patches, and appends the group. */
    bool createGroup();

    /** Deletes the group's file and removes the group from the list. */
    bool deleteGroup (PatchSet* group);

    /** Moves a group to another position and saves the order file. */
    void moveGroup (int from, int to);

    /** Reads an existing group file (already inside the folder) and appends it. */
    bool addGroupFromFile (const juce::File& file);

    int getNumGroups() const noexcept { return (int) groups.size(); }
    PatchSet* getGroup (int index) const noexcept
    {
        return index >= 0 && index < getNumGroups() ? groups[(size_t) index].get() : nullptr;
    }
    int indexOf (const PatchSet* group) const noexcept;

    juce::File getOrderFile() const { return folder.getChildFile ("OrderInf.xml"); }

    /** Shows a file error to the user; called on the message thread. */
    std::function<void (const juce::String& message)> onFileError;

private:
    void reportFileError();

    juce::File folder;
    std::vector<std::unique_ptr<PatchSet>> groups;

    JUCE_DECLARE_NON_COPYABLE (PatchManager)
};

} // namespace T730
