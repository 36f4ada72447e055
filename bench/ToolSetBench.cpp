// Figures for the tool set operations: save and load of the document, undo
// snapshots, export, and import from the program's archive and from ZIP.
#include "app/AppSetting.h"
#include "app/ArchiveImport.h"
#include "app/ControllerRequests.h"
#include "app/ToolSetOperations.h"
#include "app/UserDialogs.h"
#include "app/ZIPDecompressionThread.h"
#include "documents/Archive.h"
#include "documents/Project.h"
#include "platform/DataFolders.h"

#include <cstdio>

using namespace T730;

namespace
{
    struct Owner : public MementoOriginator<Project>
    {
        std::unique_ptr<Project> createMemento() override { return std::make_unique<Project> (project); }
        void setMemento (std::unique_ptr<Project> s) override { project.reset(); project = *s; }
        Project project;
    };

    template <typename Fn>
    double timeMs (int runs, Fn&& fn)
    {
        const auto start = juce::Time::getHighResolutionTicks();
        for (int i = 0; i < runs; ++i)
            fn (i);
        return juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start) * 1000.0 / runs;
    }

    void zipFolder (const juce::File& folder, const juce::File& zip)
    {
        juce::ZipFile::Builder builder;
        for (auto& f : folder.findChildFiles (juce::File::findFiles, true, "*"))
            builder.addFile (f, 0, f.getRelativePathFrom (folder).replaceCharacter ('\\', '/'));
        zip.deleteFile();
        juce::FileOutputStream out (zip);
        builder.writeToStream (out, nullptr);
    }
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    auto root = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oxa-bench-toolset", {}, false);
    overrideFolderRoots (root.getChildFile ("install"), root.getChildFile ("documents"));
    for (auto* name : { UserFolder::toolsets, UserFolder::song, UserFolder::rhythm })
        getUserDataFolder (name, false).createDirectory();

    Owner owner;
    MementoCareTaker<Project> keeper (owner);
    keeper.reset();
    AppSetting settings;
    ControllerParts parts;
    parts.settings = &settings;
    parts.project = &owner.project;
    parts.undoKeeper = &keeper;
    ToolSetOperations toolSet (parts);
    toolSet.workFolder = root.getChildFile ("work");
    toolSet.runUnpacking = [] (ZIPDecompressionThread& t) { t.waitForThreadToExit (-1); };
    ControllerRequests requests (parts, toolSet);

    const auto folder = getUserDataFolder (UserFolder::toolsets, false).getChildFile ("Bench");
    owner.project.recorderFiles = juce::StringArray ("Recorder0.xml", "Recorder1.xml");

    std::printf ("tool set document\n");
    std::printf ("  save (document only)   %8.3f ms\n", timeMs (50, [&] (int) { toolSet.saveWithHistoryReset (folder); }));
    std::printf ("  load                   %8.3f ms\n", timeMs (50, [&] (int) { toolSet.loadToolSet (folder); }));

    std::printf ("undo\n");
    std::printf ("  record (request 2)     %8.3f us\n",
                 1000.0 * timeMs (10000, [&] (int i) { owner.project.editBuffer.setParam (i % 9, i % 8, i); requests.handle (RecordUndoAndMarkEdited, 0, 0, nullptr); }));
    std::printf ("  undo                   %8.3f us   (history of %d)\n",
                 1000.0 * timeMs (5000, [&] (int) { keeper.undo(); }), keeper.getUndoCount());
    keeper.clearHistory();

    // Takes: 40 files of 1 MiB of noise-like bytes.
    juce::MemoryBlock take (1 << 20);
    juce::Random random (7);
    for (size_t i = 0; i < take.getSize(); ++i)
        static_cast<char*> (take.getData())[i] = (char) random.nextInt (256);
    for (int i = 0; i < 40; ++i)
    {
        auto f = folder.getChildFile ("Recorder" + juce::String (i % 2)).getChildFile ("Audio" + juce::String (i) + ".wav");
        f.getParentDirectory().createDirectory();
        f.replaceWithData (take.getData(), take.getSize());
    }

    const auto archive = root.getChildFile ("Bench.ots");
    std::printf ("export and import, 40 takes of 1 MiB\n");
    std::printf ("  export                 %8.1f ms\n", timeMs (3, [&] (int) { toolSet.exportToolSet (archive); }));

    ArchiveImport::Folders folders { getUserDataFolder (UserFolder::toolsets, false), getUserDataFolder (UserFolder::song, false),
                                     getUserDataFolder (UserFolder::rhythm, false), root.getChildFile ("work") };

    struct Overwrite : public UserDialogs
    {
        bool confirm (const juce::String&) override { return true; }
        int askOverwrite (const juce::String&) override { return 1; }
        bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File&) override { return false; }
        bool chooseFileToSave (const juce::File&, const juce::String&, juce::File&) override { return false; }
    } overwrite;

    std::printf ("  import (archive)       %8.1f ms\n", timeMs (3, [&] (int) { ArchiveImport (folders, overwrite).run (archive, 0); }));

    const auto tree = root.getChildFile ("tree");
    unpackArchive (archive, tree);
    const auto zip = root.getChildFile ("Bench.zip");
    zipFolder (tree, zip);
    std::printf ("  import (ZIP, stored)   %8.1f ms\n", timeMs (3, [&] (int) {
        ArchiveImport import (folders, overwrite);
        import.runUnpacking = [] (ZIPDecompressionThread& t) { t.waitForThreadToExit (-1); };
        import.run (zip, 0);
    }));

    clearFolderRootOverrides();
    root.deleteRecursively();
    return 0;
}
