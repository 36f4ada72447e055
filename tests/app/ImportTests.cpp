#include <gtest/gtest.h>
#include <unistd.h>
#include <dirent.h>
#include <cstring>
#include "platform/Platform.h"

#include "ToolSetTestSupport.h"
#include "app/ArchiveImport.h"
#include "app/ToolSetOperations.h"
#include "app/ZIPDecompressionThread.h"
#include "documents/Archive.h"

using namespace T730;

namespace
{
    /** Writes a ZIP file from (stored path, content) pairs, paths taken as given. */
    void writeZip (const juce::File& zip, const std::vector<std::pair<juce::String, juce::String>>& entries)
    {
        juce::ZipFile::Builder builder;
        for (auto& [path, content] : entries)
            builder.addEntry (new juce::MemoryInputStream (content.toRawUTF8(), content.getNumBytesAsUTF8(), true),
                              6, path, juce::Time::getCurrentTime());
        zip.deleteFile();
        juce::FileOutputStream out (zip);
        ASSERT_TRUE (builder.writeToStream (out, nullptr));
    }

    /** Every file under a folder as relative path -> content. */
    std::map<juce::String, juce::String> snapshot (const juce::File& folder)
    {
        std::map<juce::String, juce::String> files;
        for (auto& f : folder.findChildFiles (juce::File::findFiles, true, "*"))
            files[f.getRelativePathFrom (folder)] = f.loadFileAsString();
        return files;
    }

    const std::vector<std::pair<juce::String, juce::String>> toolSetContent {
        { "toolsets/Jam.xml", "<Project><Name>Jam</Name></Project>" },
        { "toolsets/Jam/Recorder0.xml", "<Recorder/>" },
        { "toolsets/Jam/Recorder0/Audio1.wav", "RIFF" },
        { "song/Blues.xml", "<Song>blues</Song>" },
        { "song/Rock.xml", "<Song>rock</Song>" },
        { "rhythm/P1.xml", "<Pattern><ID>P1</ID><FileName>P1.mid</FileName></Pattern>" },
        { "rhythm/P1.mid", "MThd" },
    };

    struct AppImport : public ::testing::Test
    {
        AppImport()
        {
            folders.toolsets = sandbox.folder ("toolsets");
            folders.song = sandbox.folder ("song");
            folders.rhythm = sandbox.folder ("rhythm");
            folders.work = sandbox.root / "work";
        }

        ArchiveImport::Result run (const juce::File& source, int kind)
        {
            ArchiveImport import (folders, dialogs);
            import.onSongImported = [this] (const juce::File& f) { registeredSongs.add (f.getFileName()); };
            import.onToolSetImported = [this] { ++toolSetsImported; };
            return import.run (source, kind);
        }

        juce::File makeArchive (const std::vector<std::pair<juce::String, juce::String>>& entries, const juce::String& name)
        {
            auto tree = sandbox.root / ("tree-" + name);
            for (auto& [path, content] : entries)
            {
                tree.getChildFile (path).getParentDirectory().createDirectory();
                tree.getChildFile (path).replaceWithText (content);
            }
            auto archive = sandbox.root / name;
            EXPECT_TRUE (ArchiveWriter().write (tree, archive));
            return archive;
        }

        std::map<juce::String, juce::String> userData() const { return snapshot (sandbox.folder ("toolsets").getParentDirectory()); }

        oxatest::UserDataSandbox sandbox;
        oxatest::ScriptedDialogs dialogs;
        oxatest::ShownErrors errors;
        ArchiveImport::Folders folders;
        juce::StringArray registeredSongs;
        int toolSetsImported = 0;
    };
} // namespace

TEST_F (AppImport, ZipAndArchiveWithTheSameContentImportIdentically)
{
    const auto zip = sandbox.root / "Jam.ots";
    writeZip (zip, toolSetContent);

    auto result = run (zip, ArchiveImport::toolSetKind);
    ASSERT_TRUE (result.imported);
    EXPECT_EQ (result.outcome, ArchiveImport::Outcome::finished);
    EXPECT_EQ (result.path, folders.toolsets.getChildFile ("Jam.xml"));
    const auto fromZip = userData();
    EXPECT_EQ (fromZip.at ("toolsets/Jam/Recorder0/Audio1.wav"), "RIFF");
    EXPECT_EQ (fromZip.at ("rhythm/P1.mid"), "MThd");
    EXPECT_EQ (registeredSongs, juce::StringArray ("Blues.xml", "Rock.xml"));
    EXPECT_EQ (toolSetsImported, 1);
    EXPECT_FALSE (folders.work.exists());

    for (auto* name : { "toolsets", "song", "rhythm" })
    {
        sandbox.folder (name).deleteRecursively();
        sandbox.folder (name).createDirectory();
    }

    result = run (makeArchive (toolSetContent, "Jam2.ots"), ArchiveImport::toolSetKind);
    ASSERT_TRUE (result.imported);
    EXPECT_EQ (userData(), fromZip);
    EXPECT_TRUE (errors.shown.isEmpty());
}

TEST_F (AppImport, RenameStoresTheToolSetAndItsFolderUnderTheChosenName)
{
    folders.toolsets.getChildFile ("Jam.xml").replaceWithText ("old");
    folders.toolsets.getChildFile ("Jam/keep.txt").create();
    const auto zip = sandbox.root / "Jam.ots";
    writeZip (zip, toolSetContent);

    dialogs.overwriteAnswers = { 2 };
    dialogs.saveChoice = folders.toolsets.getChildFile ("Jam Copy");
    const auto result = run (zip, ArchiveImport::toolSetKind);

    EXPECT_EQ (dialogs.questions, juce::StringArray ("Overwrite?\n\"Jam\""));
    EXPECT_EQ (dialogs.saveInitials, juce::StringArray (folders.toolsets.getChildFile ("Jam(2).xml").getFullPathName()))
        << dialogs.saveInitials.joinIntoString (",");
    ASSERT_TRUE (result.imported);
    EXPECT_EQ (result.path, folders.toolsets.getChildFile ("Jam Copy.xml"));
    EXPECT_TRUE (folders.toolsets.getChildFile ("Jam Copy/Recorder0/Audio1.wav").existsAsFile());
    EXPECT_EQ (folders.toolsets.getChildFile ("Jam.xml").loadFileAsString(), "old");
    EXPECT_FALSE (folders.toolsets.getChildFile ("Jam/Recorder0.xml").exists());
}

TEST_F (AppImport, CancelAndOverwriteAnswers)
{
    folders.toolsets.getChildFile ("Jam.xml").replaceWithText ("old");
    const auto zip = sandbox.root / "Jam.ots";
    writeZip (zip, toolSetContent);
    const auto before = userData();

    dialogs.overwriteAnswers = { 0 };
    auto result = run (zip, ArchiveImport::toolSetKind);
    EXPECT_FALSE (result.imported);
    EXPECT_EQ (result.outcome, ArchiveImport::Outcome::cancelled);
    EXPECT_EQ (userData(), before);
    EXPECT_FALSE (folders.work.exists());

    // Rename, then cancelling the save dialog, cancels too.
    dialogs.overwriteAnswers = { 2 };
    result = run (zip, ArchiveImport::toolSetKind);
    EXPECT_EQ (result.outcome, ArchiveImport::Outcome::cancelled);
    EXPECT_EQ (userData(), before);

    dialogs.overwriteAnswers = { 1 };
    result = run (zip, ArchiveImport::toolSetKind);
    EXPECT_TRUE (result.imported);
    EXPECT_EQ (folders.toolsets.getChildFile ("Jam.xml").loadFileAsString(), "<Project><Name>Jam</Name></Project>");
}

TEST_F (AppImport, ToolSetImportKeepsExistingSongsAndSkipsTheRest)
{
    folders.song.getChildFile ("Blues.xml").replaceWithText ("mine");
    const auto zip = sandbox.root / "Jam.ots";
    writeZip (zip, toolSetContent);

    ASSERT_TRUE (run (zip, ArchiveImport::toolSetKind).imported);
    EXPECT_EQ (folders.song.getChildFile ("Blues.xml").loadFileAsString(), "mine");
    EXPECT_FALSE (folders.song.getChildFile ("Rock.xml").exists());
    EXPECT_TRUE (registeredSongs.isEmpty());
    EXPECT_TRUE (folders.rhythm.getChildFile ("P1.xml").existsAsFile());
}

TEST_F (AppImport, RhythmImportNeedsSongsAndAsksBeforeReplacingOne)
{
    const auto before = userData();
    const auto noSong = sandbox.root / "Beat.orp";
    writeZip (noSong, { { "rhythm/P1.xml", "<Pattern/>" }, { "toolsets/Jam.xml", "<Project/>" } });

    auto result = run (noSong, ArchiveImport::rhythmKind);
    EXPECT_FALSE (result.imported);
    EXPECT_EQ (result.outcome, ArchiveImport::Outcome::failed);
    EXPECT_EQ (errors.shown, juce::StringArray ("Rhythm import error."));
    EXPECT_EQ (userData(), before);

    errors.shown.clear();
    const auto emptySongs = makeArchive ({ { "song/readme.txt", "x" } }, "Empty.orp");
    EXPECT_FALSE (run (emptySongs, ArchiveImport::rhythmKind).imported);
    EXPECT_EQ (errors.shown, juce::StringArray ("Rhythm import error."));
    EXPECT_EQ (userData(), before);

    folders.song.getChildFile ("Blues.xml").replaceWithText ("mine");
    const auto songs = sandbox.root / "Songs.orp";
    writeZip (songs, toolSetContent);
    dialogs.overwriteAnswers = { 1 };
    result = run (songs, ArchiveImport::rhythmKind);
    ASSERT_TRUE (result.imported);
    EXPECT_EQ (result.path, folders.song.getChildFile ("Rock.xml"));
    EXPECT_EQ (folders.song.getChildFile ("Blues.xml").loadFileAsString(), "<Song>blues</Song>");
    EXPECT_FALSE (folders.toolsets.getChildFile ("Jam.xml").exists());   // a rhythm import takes no tool sets
}

TEST_F (AppImport, MissingSourceAndFilesWithoutToolSets)
{
    const auto before = userData();
    auto result = run (sandbox.root / "missing.ots", ArchiveImport::toolSetKind);
    EXPECT_FALSE (result.imported);
    EXPECT_TRUE (errors.logged.contains ("error at song import function: file nonexistent"));
    EXPECT_TRUE (errors.shown.isEmpty());

    // Neither an archive nor a ZIP file: nothing unpacks, so no tool set is found.
    const auto junk = sandbox.root / "junk.ots";
    junk.replaceWithText ("VELD OXA  not quite the header");
    result = run (junk, ArchiveImport::toolSetKind);
    EXPECT_EQ (result.outcome, ArchiveImport::Outcome::failed);
    EXPECT_EQ (errors.shown, juce::StringArray ("Toolset import error."));
    EXPECT_EQ (userData(), before);
}

TEST_F (AppImport, HostileZipFilesChangeNothing)
{
    const auto outside = sandbox.root / "outside";
    outside.createDirectory();
    const auto before = userData();

    // Each hostile entry comes after a good tool set, so a partial unpack would be visible.
    const juce::String escapes[] = {
        "../outside/evil.txt",
        "toolsets/../../outside/evil.txt",
        "toolsets\\..\\..\\outside\\evil.txt",
        outside.getChildFile ("evil.txt").getFullPathName(),
    };

    for (auto& escape : escapes)
    {
        errors.shown.clear();
        auto entries = toolSetContent;
        entries.emplace_back (escape, "pwned");
        const auto zip = sandbox.root / "evil.ots";
        writeZip (zip, entries);

        for (int kind : { 0, 1 })
        {
            const auto result = run (zip, kind);
            EXPECT_FALSE (result.imported) << escape;
            EXPECT_EQ (result.outcome, ArchiveImport::Outcome::failed) << escape;
        }
        EXPECT_EQ (errors.shown, juce::StringArray ("Toolset import error.", "Rhythm import error.")) << escape;
        EXPECT_FALSE (outside.getChildFile ("evil.txt").exists()) << escape;
        EXPECT_FALSE ((sandbox.root / "evil.txt").exists()) << escape;
        EXPECT_EQ (userData(), before) << escape;
        EXPECT_FALSE (folders.work.exists());
    }
}

TEST_F (AppImport, NamesStartingWithATildeStayInTheUserFolders)
{
    // A tool set "~" (its folder would read as the home folder) and a song "~a".
    const auto home = sandbox.root / "home";
    oxatest::ScopedHome scopedHome (home);
    const auto zip = sandbox.root / "Tilde.ots";
    writeZip (zip, { { "toolsets/~.xml", "<Project/>" }, { "toolsets/~/evil.txt", "x" }, { "toolsets/~/~/deep.txt", "y" },
                     { "song/~a.xml", "<Song/>" }, { "rhythm/~p.xml", "<Pattern/>" } });

    const auto result = run (zip, ArchiveImport::toolSetKind);
    ASSERT_TRUE (result.imported);
    const auto inFolder = [] (const juce::File& folder, const juce::String& name)
    {
        return juce::File (folder.getFullPathName() + "/" + name);
    };
    EXPECT_EQ (result.path, inFolder (folders.toolsets, "~.xml"));
    EXPECT_TRUE (inFolder (folders.toolsets, "~.xml").existsAsFile());
    EXPECT_TRUE (inFolder (folders.toolsets, "~/evil.txt").existsAsFile());
    EXPECT_TRUE (inFolder (folders.toolsets, "~/~/deep.txt").existsAsFile());
    EXPECT_TRUE (inFolder (folders.song, "~a.xml").existsAsFile());
    EXPECT_TRUE (inFolder (folders.rhythm, "~p.xml").existsAsFile());
    EXPECT_FALSE (home.getChildFile ("evil.txt").exists());
    EXPECT_FALSE (juce::File::getCurrentWorkingDirectory().getChildFile ("./~a.xml").exists());
}

TEST (AppImportCopyFolder, CopiesNamesAsTheyAreAndDoesNotFollowFolderLinks)
{
    oxatest::TempFolder tmp;
    const auto source = tmp / "Set";
    ASSERT_TRUE (source.getChildFile ("Recorder0").createDirectory());
    ASSERT_TRUE (source.getChildFile ("Recorder0/Audio1.wav").replaceWithText ("RIFF"));
    ASSERT_TRUE (juce::File (source.getFullPathName() + "/~x.xml").replaceWithText ("tilde"));
    ASSERT_TRUE (source.createSymbolicLink (source.getChildFile ("Recorder0/loop"), true));   // would never end

    const auto target = tmp / "Copy";
    EXPECT_TRUE (ArchiveImport::copyFolder (source, target));
    EXPECT_EQ (target.getChildFile ("Recorder0/Audio1.wav").loadFileAsString(), "RIFF");
    EXPECT_EQ (juce::File (target.getFullPathName() + "/~x.xml").loadFileAsString(), "tilde");
    EXPECT_FALSE (target.getChildFile ("Recorder0/loop").exists());
}

TEST (AppUserDialogs, TheSaveChoiceGetsItsExtensionBesideIt)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("Sets");
    const auto inFolder = [&] (const juce::String& name) { return juce::File (folder.getFullPathName() + "/" + name); };

    EXPECT_EQ (UserDialogs::withExtension (inFolder ("Set"), "xml"), inFolder ("Set.xml"));
    EXPECT_EQ (UserDialogs::withExtension (inFolder ("Set.xml"), "xml"), inFolder ("Set.xml"));
    EXPECT_EQ (UserDialogs::withExtension (inFolder ("Set.XML"), "xml"), inFolder ("Set.XML.xml"));   // compared case-sensitively
    EXPECT_EQ (UserDialogs::withExtension (inFolder ("~mine"), "xml"), inFolder ("~mine.xml"));       // a name, not a home folder
}

TEST_F (AppImport, ZipSymbolicLinksAreRefused)
{
    const auto secret = sandbox.root / "secret.txt";
    secret.replaceWithText ("secret");
    const auto stage = sandbox.root / "stage";
    stage.getChildFile ("song").createDirectory();
    ASSERT_TRUE (secret.createSymbolicLink (stage.getChildFile ("song/Leak.xml"), true));

    juce::ZipFile::Builder builder;
    builder.addFile (stage.getChildFile ("song/Leak.xml"), 0, "song/Leak.xml");
    const auto zip = sandbox.root / "leak.orp";
    {
        juce::FileOutputStream out (zip);
        ASSERT_TRUE (builder.writeToStream (out, nullptr));
    }

    const auto before = userData();
    EXPECT_FALSE (run (zip, ArchiveImport::rhythmKind).imported);
    EXPECT_EQ (errors.shown, juce::StringArray ("Rhythm import error."));
    EXPECT_EQ (userData(), before);
}

TEST_F (AppImport, HostileArchiveChangesNothing)
{
    // A valid archive whose root holds a folder entry named "..".
    auto archive = makeArchive ({ { "toolsets/Jam.xml", "<Project/>" }, { "xx/evil.txt", "pwned" } }, "evil.ots");
    juce::MemoryBlock bytes;
    ASSERT_TRUE (archive.loadFileAsData (bytes));
    auto* data = static_cast<char*> (bytes.getData());
    int patched = 0;
    for (size_t i = 0; i + 3 < bytes.getSize(); ++i)
        if (std::memcmp (data + i, "xx\0", 3) == 0)
        {
            data[i] = '.';
            data[i + 1] = '.';
            ++patched;
        }
    ASSERT_GE (patched, 1);
    ASSERT_TRUE (archive.replaceWithData (bytes.getData(), bytes.getSize()));

    const auto before = userData();
    const auto result = run (archive, ArchiveImport::toolSetKind);
    EXPECT_FALSE (result.imported);
    EXPECT_EQ (errors.shown, juce::StringArray ("Toolset load error."));
    EXPECT_FALSE (folders.work.getParentDirectory().getChildFile ("evil.txt").exists());
    EXPECT_FALSE (folders.work.getSiblingFile ("evil.txt").exists());
    EXPECT_EQ (userData(), before);
}

TEST (AppZIPDecompressionThread, ProgressStopsAt95UntilDoneAndCancelStops)
{
    oxatest::TempFolder tmp;
    ZIPDecompressionThread thread (tmp / "none.zip", tmp / "out");
    EXPECT_EQ (thread.getThreadName(), "Decompression Thread");

    float p = 0.0f;
    int ticks = 0;
    while (p < 0.95f && ticks < 1000)
    {
        p = thread.advance();
        ++ticks;
    }
    EXPECT_NEAR (ticks, 317, 1);
    EXPECT_FLOAT_EQ (thread.advance(), p);
    EXPECT_FALSE (thread.isDone());

    // Stopped before its first entry: neither completed nor failed, so the import counts it as cancelled.
    auto zip = tmp / "one.zip";
    writeZip (zip, { { "song/a.xml", "<Song/>" } });
    ZIPDecompressionThread stopped (zip, tmp / "out");
    stopped.signalThreadShouldExit();
    stopped.unpack();
    EXPECT_TRUE (stopped.isDone());
    EXPECT_FALSE (stopped.isCompleted());
    EXPECT_FALSE (stopped.hasFailed());
    EXPECT_FALSE ((tmp / "out/song/a.xml").exists());

    for (auto path : { "a/b.txt", "./a", "x..y/z", "", "~/x", "~lock", "a/.b", "..x/y.txt" })
        EXPECT_TRUE (isSafeEntryPath (path)) << path;
    for (auto path : { "../a", "a/../../b", "/etc/passwd", "C:\\x", "a\\..\\..\\b", "a/\x01", "...", "song/....", "a/.../b" })
        EXPECT_FALSE (isSafeEntryPath (path)) << path;
}

TEST (AppZIPDecompressionThread, ANameStartingWithATildeIsAnOrdinaryName)
{
    // "~" is the home folder only at the start of a whole path; in an entry it
    // is part of a name (editors leave "~lock" files), as in the archive format.
    oxatest::TempFolder tmp;
    const auto zip = tmp / "tilde.ots";
    writeZip (zip, { { "~old/~lock.txt", "kept" }, { "~top.txt", "top" }, { "song/a.xml", "<Song/>" } });

    const auto out = tmp / "out";
    ZIPDecompressionThread thread (zip, out);
    thread.unpack();
    EXPECT_TRUE (thread.isCompleted());
    EXPECT_EQ (juce::File (out.getFullPathName() + "/~old/~lock.txt").loadFileAsString(), "kept");
    EXPECT_EQ (juce::File (out.getFullPathName() + "/~top.txt").loadFileAsString(), "top");
    EXPECT_TRUE (out.getChildFile ("song/a.xml").existsAsFile());
}

namespace
{
    /** The entries of a folder as the system lists them (JUCE's listing skips names of dots alone). */
    int entriesOnDisk (const juce::File& folder)
    {
        int count = 0;
        if (auto* dir = opendir (folder.getFullPathName().toRawUTF8()))
        {
            while (auto* entry = readdir (dir))
                count += std::strcmp (entry->d_name, ".") != 0 && std::strcmp (entry->d_name, "..") != 0;
            closedir (dir);
        }
        return count;
    }
}

TEST (AppZIPDecompressionThread, AnEntryNamedWithDotsAloneIsRefusedAndTheImportLeavesNoWorkFolder)
{
    // A file named "................" was written, and then neither listed nor deleted:
    // the import's work folder stayed behind (found by the fuzzer).
    oxatest::TempFolder tmp;
    const auto zip = tmp / "dots.ots";
    writeZip (zip, { { "song/a.xml", "<Song/>" }, { "song/....", "x" } });
    ZIPDecompressionThread thread (zip, tmp / "out");
    thread.unpack();
    EXPECT_TRUE (thread.hasFailed());
    EXPECT_FALSE ((tmp / "out/song/a.xml").exists()) << "refused before anything is written";

    const auto reproducer = juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile ("ZipImport/entry-named-only-dots-left-in-work-folder.zip");
    ASSERT_TRUE (reproducer.existsAsFile());
    ZIPDecompressionThread found (reproducer, tmp / "found");
    found.unpack();
    EXPECT_TRUE (found.hasFailed());
    EXPECT_EQ (entriesOnDisk (tmp / "found"), 0) << "nothing in the folder, not even a name JUCE's listing hides";
}

TEST (AppZIPDecompressionThread, NamesThatAreNotUtf8AndPathsThroughLinksAreRefused)
{
    // "\xff\xa1/x" recursed without end in the path check; "song\xafx" corrupted the heap.
    oxatest::TempFolder tmp;
    int files = 0;
    for (const auto* name : { "invalid-utf8-name-isAChildOf-recursion.zip", "lone-continuation-byte-heap-corruption.zip",
                              "fuzzer-found-crash-1fe2d35d.zip" })
    {
        const auto file = juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile ("ZipImport").getChildFile (name);
        const auto out = tmp / ("out-" + juce::String (files++));
        ZIPDecompressionThread thread (file, out);
        thread.unpack();
        EXPECT_TRUE (thread.hasFailed()) << file.getFileName();
        EXPECT_FALSE (thread.isCompleted()) << file.getFileName();
    }
    EXPECT_GE (files, 3);

    for (const char* bad : { "\xff\xa1/x", "song\xafx", "a/\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "ab\xe2\x82" })
        EXPECT_FALSE (isSafeEntryPath (juce::String::fromUTF8 (bad, (int) std::strlen (bad)))) << bad;
    EXPECT_TRUE (isSafeEntryPath (juce::String::fromUTF8 ("song/B\xc3\xa4ss \xe2\x99\xaa.xml")));

    // A folder link already in the destination is never followed.
    const auto zip = tmp / "link.ots";
    writeZip (zip, { { "link/x.txt", "outside" } });
    const auto out = tmp / "dest";
    const auto elsewhere = tmp / "elsewhere";
    ASSERT_TRUE (out.createDirectory() && elsewhere.createDirectory());
    ASSERT_EQ (::symlink (elsewhere.getFullPathName().toRawUTF8(), out.getChildFile ("link").getFullPathName().toRawUTF8()), 0);
    ZIPDecompressionThread thread (zip, out);
    thread.unpack();
    EXPECT_TRUE (thread.hasFailed());
    EXPECT_FALSE (elsewhere.getChildFile ("x.txt").exists());
}

TEST (AppZIPDecompressionThread, AnEntryLongerThanItsDeclaredSizeFailsTheUnpacking)
{
    // A stored entry of 100 000 bytes whose directory record claims 10: a ZIP
    // that lies about its sizes could otherwise fill the disk.
    oxatest::TempFolder tmp;
    const auto zip = tmp / "liar.ots";
    {
        juce::MemoryBlock data (100000, true);
        juce::ZipFile::Builder builder;
        builder.addEntry (new juce::MemoryInputStream (data, false), 0, "toolsets/Liar/Audio1.wav", juce::Time());
        juce::FileOutputStream out (zip);
        ASSERT_TRUE (builder.writeToStream (out, nullptr));
    }

    juce::MemoryBlock bytes;
    ASSERT_TRUE (zip.loadFileAsData (bytes));
    auto* b = static_cast<juce::uint8*> (bytes.getData());
    int patched = 0;
    for (size_t i = 0; i + 28 < bytes.getSize(); ++i)
    {
        if (b[i] == 'P' && b[i + 1] == 'K' && b[i + 2] == 1 && b[i + 3] == 2)
        {
            b[i + 24] = 10; // the uncompressed size field: 10
            b[i + 25] = b[i + 26] = b[i + 27] = 0;
            ++patched;
        }
    }
    ASSERT_EQ (patched, 1);
    ASSERT_TRUE (zip.replaceWithData (bytes.getData(), bytes.getSize()));

    ZIPDecompressionThread thread (zip, tmp / "out");
    thread.unpack();
    EXPECT_TRUE (thread.isDone());
    EXPECT_FALSE (thread.isCompleted());
    EXPECT_TRUE (thread.hasFailed());

    // The same content with honest sizes unpacks.
    juce::ZipFile::Builder honest;
    juce::MemoryBlock data (100000, true);
    honest.addEntry (new juce::MemoryInputStream (data, false), 0, "toolsets/Honest/Audio1.wav", juce::Time());
    const auto good = tmp / "honest.ots";
    {
        juce::FileOutputStream out (good);
        ASSERT_TRUE (honest.writeToStream (out, nullptr));
    }
    ZIPDecompressionThread ok (good, tmp / "out2");
    ok.unpack();
    EXPECT_TRUE (ok.isCompleted());
    EXPECT_EQ ((tmp / "out2/toolsets/Honest/Audio1.wav").getSize(), 100000);
}

TEST (AppZIPDecompressionThread, ClosingTheDialogStopsInsideALargeEntry)
{
    // One entry of 128 MB of zeros (a few hundred KB packed): the cancel must
    // not wait for the whole entry, or the thread is killed after 2000 ms.
    oxatest::TempFolder tmp;
    const auto zip = tmp / "big.ots";
    {
        juce::MemoryBlock zeros (128 * 1024 * 1024, true);
        juce::ZipFile::Builder builder;
        builder.addEntry (new juce::MemoryInputStream (zeros, false), 1, "toolsets/Big/Audio1.wav", juce::Time());
        juce::FileOutputStream out (zip);
        ASSERT_TRUE (builder.writeToStream (out, nullptr));
    }

    ZIPDecompressionThread thread (zip, tmp / "out");
    const auto target = tmp / "out/toolsets/Big/Audio1.wav";
    thread.startThread();
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return target.getSize() > 0 || thread.isDone(); }, 5000));

    const auto started = juce::Time::getMillisecondCounter();
    thread.cancel();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 1000u);
    EXPECT_FALSE (thread.isThreadRunning());
    EXPECT_TRUE (thread.isDone());
    EXPECT_FALSE (thread.isCompleted());
    EXPECT_FALSE (thread.hasFailed());   // cancelled, not failed
    EXPECT_LT (target.getSize(), (juce::int64) 128 * 1024 * 1024);
}

TEST (AppGuiImport, ZipUnpacksUnderTheProgressWindow)
{
    oxatest::UserDataSandbox sandbox;
    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;

    const auto zip = sandbox.root / "Jam.ots";
    writeZip (zip, toolSetContent);

    ControllerParts parts;
    ToolSetOperations toolSet (parts);   // the default runs the modal progress window
    EXPECT_EQ (toolSet.workFolder, platform::getPrivateCacheFolder().getChildFile ("OXA Tools Temporary"));
    toolSet.workFolder = sandbox.root / "work";

    juce::File imported;
    ASSERT_TRUE (toolSet.importArchive (zip, ArchiveImport::toolSetKind, imported));
    EXPECT_EQ (imported, sandbox.folder ("toolsets").getChildFile ("Jam.xml"));
    EXPECT_TRUE (sandbox.folder ("toolsets").getChildFile ("Jam/Recorder0/Audio1.wav").existsAsFile());
    EXPECT_FALSE (toolSet.workFolder.exists());
    EXPECT_TRUE (errors.shown.isEmpty());
}
