#pragma once

#include "documents/ChildFile.h"
#include "documents/EditBuf.h"
#include "documents/UserData.h"

namespace T730
{

/** The current tool set: the current patch (its edit buffer and where it came
    from), the rhythm machine's song and the recorders' files.

    On disk a tool set is a folder F in the toolsets folder (its song and
    recorder files) plus the document "<F's name>.xml" beside it. The document's
    root is "Project"; the edit buffer's name is not part of it.

    The controller holds one Project for the whole run and never replaces it:
    load, New and undo overwrite its fields. Message thread only, except the
    edit buffer, which has its own lock. */
class Project final : public UserData
{
public:
    Project();
    Project (const Project& other);
    Project& operator= (const Project& other);
    ~Project() = default;

    /** Back to a new tool set (the edit buffer to its factory state). */
    void reset();

    /** Reads a "Project" element. False for a null element, and false with
        nothing changed when VersionInfo names another model. Missing keys
        take their defaults. */
    bool read (const juce::XmlElement* element) override;

    /** Appends the document's keys in their fixed order. */
    bool write (juce::XmlElement* element) override;

    /** The document of the tool set folder F: F's parent, then F's name + ".xml". */
    static juce::File getDocumentFile (const juce::File& toolSetFolder);

    /** The text stored for a file reference: an absolute path is reduced to its file
        name (one that names no file, ending in a separator, stays as it is). */
    static juce::String toStoredName (const juce::String& path);

    static constexpr const char* rootTag = "Project";
    static constexpr const char* modelName = "M7c";

    juce::String Name;
    juce::String CurrentPatchSet;   // a full path when set by the librarian, a file name after loading
    int CurrentPatchIdx = 0;
    EditBuf editBuffer;             // the device's current patch; guarded by its own lock
    juce::StringArray songFiles;    // at most the one song of the rhythm machine item
    juce::StringArray recorderFiles; // one entry per recorder item
    int PreCount = 0;
    juce::String VersionInfo;
    bool edited = false;
    bool demo = false;
};

} // namespace T730
