// ZIP import of tool sets and rhythms (the file menu's Import), into folders of
// its own: whatever the archive holds, nothing is written outside them.

#include "FuzzSupport.h"
#include "app/ArchiveImport.h"
#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "app/ZIPDecompressionThread.h"

namespace
{
    /** Answers every question the import asks: overwrite, and rename to a fixed name. */
    struct Answers final : public T730::UserDialogs
    {
        bool confirm (const juce::String&) override { return true; }
        int askOverwrite (const juce::String&) override { return ++asked % 3; }
        bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File&) override { return false; }
        bool chooseFileToSave (const juce::File& initial, const juce::String&, juce::File& chosen) override
        {
            chosen = initial.getSiblingFile ("Renamed.xml");
            return true;
        }
        int asked = 0;
    };
} // namespace

// The first byte chooses tool set (even) or rhythm (odd) and the rest is the
// file; an input that starts as a ZIP file ("PK") is imported whole as a tool set.
OXA_FUZZ_TARGET (ZipImport)
{
    if (size == 0)
        return 0;

    const bool whole = size >= 2 && data[0] == 'P' && data[1] == 'K';
    const int kind = whole ? T730::ArchiveImport::toolSetKind : (data[0] & 1);
    if (! whole)
    {
        ++data;
        --size;
    }

    // Two levels down, so that a name climbing out of a folder is seen above it.
    auto& sandbox = oxafuzz::Sandbox::get();
    sandbox.clear();
    const auto user = sandbox.inside.getChildFile ("level1/level2");
    user.createDirectory();
    const auto source = user.getChildFile ("import.ots");
    source.replaceWithData (data, size);

    T730::ArchiveImport::Folders folders;
    folders.toolsets = user.getChildFile ("toolsets");
    folders.song = user.getChildFile ("song");
    folders.rhythm = user.getChildFile ("rhythm");
    folders.work = user.getChildFile ("work");
    for (const auto& folder : { folders.toolsets, folders.song, folders.rhythm })
        folder.createDirectory();
    folders.song.getChildFile ("Existing.xml").replaceWithText ("<Song/>");

    static const auto quiet = [] { return T730::OxException::setPresenter ([] (const juce::String&, const juce::String&) {}); }();
    juce::ignoreUnused (quiet);

    Answers answers;
    T730::ArchiveImport import (folders, answers);
    import.run (source, kind);

    oxafuzz::require (sandbox.onlyInside() && oxafuzz::Sandbox::holdsOnly (sandbox.inside, { "level1" })
                          && oxafuzz::Sandbox::holdsOnly (user.getParentDirectory(), { "level2" })
                          && oxafuzz::Sandbox::holdsOnly (user, { "import.ots", "toolsets", "song", "rhythm" }),
                      "an import never writes outside its folders");
    oxafuzz::require (! folders.work.exists(), "the work folder is removed after the import");
    return 0;
}
