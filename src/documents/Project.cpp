#include "documents/Project.h"

#include "documents/XmlPath.h"

namespace T730
{

Project::Project()
{
    reset();
}

Project::Project (const Project& other)
    : Name (other.Name),
      CurrentPatchSet (other.CurrentPatchSet),
      CurrentPatchIdx (other.CurrentPatchIdx),
      editBuffer (other.editBuffer),
      songFiles (other.songFiles),
      recorderFiles (other.recorderFiles),
      PreCount (other.PreCount),
      VersionInfo (other.VersionInfo),
      edited (other.edited),
      demo (other.demo)
{
}

Project& Project::operator= (const Project& other)
{
    if (this == &other)
        return *this;

    Name = other.Name;
    CurrentPatchSet = other.CurrentPatchSet;
    CurrentPatchIdx = other.CurrentPatchIdx;
    editBuffer = other.editBuffer;
    songFiles = other.songFiles;
    recorderFiles = other.recorderFiles;
    PreCount = other.PreCount;
    VersionInfo = other.VersionInfo;
    edited = other.edited;
    demo = other.demo;
    return *this;
}

void Project::reset()
{
    Name = "New Tool Set";
    CurrentPatchSet = {};
    CurrentPatchIdx = 0;
    editBuffer.reset();
    songFiles.clear();
    recorderFiles.clear();
    recorderFiles.add ({});
    PreCount = 0;
    VersionInfo = modelName;
    edited = false;
    demo = false;
}

juce::String Project::toStoredName (const juce::String& path)
{
    // Absolute: from the root ("/", or "\\server" written by a Windows
    // installation) or from a drive letter. A leading "~" is part of a name.
    const bool fromRoot = path.startsWithChar ('/') || path.startsWithChar ('\\');
    const bool fromDrive = path.length() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');

    if (! (fromRoot || fromDrive))
        return path;

    // A path that names no file (it ends in a separator, or in blanks after one)
    // stays as it is: a document's empty or blank text reads back as none, so the
    // name would read back as no entry, and end the recorder list there.
    const auto name = path.fromLastOccurrenceOf ("\\", false, false).fromLastOccurrenceOf ("/", false, false);
    return name.containsNonWhitespaceChars() ? name : path;
}

juce::File Project::getDocumentFile (const juce::File& toolSetFolder)
{
    return childNamed (toolSetFolder.getParentDirectory(), toolSetFolder.getFileName() + ".xml");
}

bool Project::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    const auto version = getElementText (element, "VersionInfo");
    if (version.isNotEmpty() && version != modelName)
        return false;

    Name = getElementText (element, "Name");
    CurrentPatchSet = getElementText (element, "CurrentPatchSet");
    CurrentPatchIdx = getElementInt (element, "CurrentPatchIdx", 0);
    PreCount = getElementInt (element, "PreCount", 0);

    songFiles.clear();
    if (auto song = getElementText (element, "SongFile"); song.isNotEmpty())
        songFiles.add (song);

    // An element without an idx attribute passes every index step; it is
    // taken once, and meeting an element again ends the list.
    recorderFiles.clear();
    juce::Array<const juce::XmlElement*> taken;
    for (int i = 0;; ++i)
    {
        auto* file = findElementSelect (element, juce::String::formatted ("RecorderFile,idx=%d", i));
        if (file == nullptr || taken.contains (file))
            break;

        auto text = getOwnText (file);
        if (text.isEmpty())
            break;

        taken.add (file);
        recorderFiles.add (text);
    }

    VersionInfo = version;
    demo = getElementInt (element, "Demo", 0) != 0;
    return editBuffer.read (element);
}

bool Project::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "Name", Name);
    addTextChild (element, "CurrentPatchSet", toStoredName (CurrentPatchSet));
    addTextChild (element, "CurrentPatchIdx", juce::String (CurrentPatchIdx));
    addTextChild (element, "PreCount", juce::String (PreCount));

    if (! songFiles.isEmpty())
        addTextChild (element, "SongFile", toStoredName (songFiles[0]));

    // An entry without a name (a recorder that was never saved) is left out and
    // the rest numbered on: stored, its empty text would end the list when read,
    // and every recorder after it would be lost.
    int stored = 0;
    for (auto& file : recorderFiles)
        if (const auto name = toStoredName (file); name.containsNonWhitespaceChars())
            addIndexedTextChild (element, "RecorderFile", "idx", stored++, name);

    addTextChild (element, "VersionInfo", modelName);
    return editBuffer.write (element);
}

} // namespace T730
