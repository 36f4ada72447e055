#include <gtest/gtest.h>

#include "TestSupport.h"
#include "documents/Archive.h"

#include <functional>
#include <limits>
#include <map>

using namespace T730;

namespace
{
/** Builds archive bytes by hand, for files the writer would never produce. */
struct ArchiveBuilder
{
    juce::MemoryOutputStream out;

    ArchiveBuilder()
    {
        out.write (ArchiveFormat::headerText, 44);
        out.writeRepeatedByte (0, 4);
        out.write ("1000", 4);
        out.writeInt (56);
    }

    void name (const juce::String& text)
    {
        char field[512] = {};
        text.copyToUTF8 (field, 512);
        out.write (field, 512);
    }

    void blockHeader (const juce::String& blockName, int count)
    {
        name (blockName);
        out.writeInt (count);
        out.writeInt (520);
    }

    void entry (int flag, const juce::String& entryName, int distance, int size)
    {
        out.writeInt (flag);
        name (entryName);
        out.writeInt (distance);
        out.writeInt (size);
        out.writeInt (528);
    }

    /** A root block holding one file entry with the given content. */
    static juce::MemoryBlock oneFile (const juce::String& entryName, const juce::String& content,
                                      int distance = 528, int size = std::numeric_limits<int>::min())
    {
        ArchiveBuilder b;
        b.blockHeader ("ROOT", 1);
        b.entry (0, entryName, distance, size == std::numeric_limits<int>::min() ? (int) content.getNumBytesAsUTF8() : size);
        b.out.write (content.toRawUTF8(), content.getNumBytesAsUTF8());
        return b.out.getMemoryBlock();
    }
};

juce::int32 intAt (const juce::MemoryBlock& data, size_t offset)
{
    return (juce::int32) juce::ByteOrder::littleEndianInt (static_cast<const char*> (data.getData()) + offset);
}

/** Every file under the folder, by relative path, with its content. */
std::map<juce::String, juce::String> listTree (const juce::File& folder)
{
    std::map<juce::String, juce::String> tree;
    for (const auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, true, "*"))
        tree[f.getRelativePathFrom (folder)] = f.isDirectory() ? "<dir>" : f.loadFileAsString();
    return tree;
}
} // namespace

TEST (DocumentsArchive, EmptyFolderGivesTheBareHeaderAndRootBlock)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "root";
    ASSERT_TRUE (root.createDirectory());
    auto archive = tmp / "empty.orc";

    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    juce::MemoryBlock data;
    ASSERT_TRUE (archive.loadFileAsData (data));
    ASSERT_EQ (data.getSize(), 576u);

    auto bytes = static_cast<const char*> (data.getData());
    EXPECT_EQ (juce::String (bytes, 44), "VELD OXA       ARCHIVE DATA VER1000         ");
    for (int i = 44; i < 48; ++i)
        EXPECT_EQ (bytes[i], 0) << i;
    EXPECT_EQ (juce::String (bytes + 48, 4), "1000");
    EXPECT_EQ (intAt (data, 52), 56);
    EXPECT_STREQ (bytes + 56, "ROOT");
    for (int i = 56 + 4; i < 56 + 512; ++i)
        ASSERT_EQ (bytes[i], 0) << i;
    EXPECT_EQ (intAt (data, 568), 0);
    EXPECT_EQ (intAt (data, 572), 520);
    EXPECT_TRUE (isArchive (archive));

    // Unpacking it gives an empty folder.
    auto out = tmp / "out";
    EXPECT_TRUE (unpackArchive (archive, out));
    EXPECT_TRUE (out.isDirectory());
    EXPECT_TRUE (listTree (out).empty());
}

TEST (DocumentsArchive, WriterFailuresLeaveNoArchive)
{
    oxatest::TempFolder tmp;
    auto archive = tmp / "a.orc";
    EXPECT_FALSE (ArchiveWriter().write (tmp / "missing", archive));
    ASSERT_TRUE ((tmp / "plain.txt").replaceWithText ("x"));
    EXPECT_FALSE (ArchiveWriter().write (tmp / "plain.txt", archive));
    EXPECT_FALSE (archive.exists());
}

TEST (DocumentsArchive, AWriteThatFailsHalfWayKeepsTheEarlierArchive)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "root";
    ASSERT_TRUE (root.createDirectory());
    ASSERT_TRUE (root.getChildFile ("small.txt").replaceWithText ("small"));
    auto archive = tmp / "a.ots";
    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    juce::MemoryBlock earlier;
    ASSERT_TRUE (archive.loadFileAsData (earlier));

    juce::MemoryBlock big;
    big.setSize (200000, true);
    ASSERT_TRUE (root.getChildFile ("big.wav").replaceWithData (big.getData(), big.getSize()));

    bool written = true;
    {
        oxatest::ScopedFileSizeLimit fullDisk (64 * 1024);
        ASSERT_TRUE (fullDisk.isActive());
        written = ArchiveWriter().write (root, archive);
    }
    EXPECT_FALSE (written);
    juce::MemoryBlock after;
    ASSERT_TRUE (archive.loadFileAsData (after));
    EXPECT_EQ (after, earlier);
    // No temporary file is left beside it (hidden files counted too).
    EXPECT_EQ (tmp.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 2);
}

TEST (DocumentsArchive, AnArchiveWrittenIntoItsOwnFolderLeavesItselfOut)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "Toolset";
    ASSERT_TRUE (root.createDirectory());
    ASSERT_TRUE (root.getChildFile ("Setting.xml").replaceWithText ("<A/>"));
    auto archive = root.getChildFile ("Export.ots");
    ASSERT_TRUE (archive.replaceWithText ("an older export"));

    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    auto out = tmp / "out";
    ASSERT_TRUE (unpackArchive (archive, out));
    std::map<juce::String, juce::String> expected { { "Setting.xml", "<A/>" } };
    EXPECT_EQ (listTree (out), expected);
}

TEST (DocumentsArchive, TwoLevelTreeRoundTripsWithTheDocumentedLayout)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "Toolset";
    ASSERT_TRUE (root.getChildFile ("Setting.xml").create());
    ASSERT_TRUE (root.getChildFile ("Setting.xml").replaceWithText ("<?xml version=\"1.0\"?><A/>"));
    ASSERT_TRUE (root.getChildFile ("Rec/Audio1.wav").create());
    juce::MemoryBlock wav;
    for (int i = 0; i < 70000; ++i)
        wav.append (&i, 1);
    ASSERT_TRUE (root.getChildFile ("Rec/Audio1.wav").replaceWithData (wav.getData(), wav.getSize()));
    ASSERT_TRUE (root.getChildFile ("Rec/Deep/Note ü.txt").create());
    ASSERT_TRUE (root.getChildFile ("Rec/Deep/Note ü.txt").replaceWithText ("deep"));
    ASSERT_TRUE (root.getChildFile ("Empty").createDirectory());

    auto archive = tmp / "t.ots";
    ASSERT_TRUE (ArchiveWriter().write (root, archive));

    // Root: 3 entries. Each folder entry's size is its block's total length.
    juce::MemoryBlock data;
    ASSERT_TRUE (archive.loadFileAsData (data));
    EXPECT_EQ (intAt (data, 56 + 512), 3);
    const juce::int64 expectedTotal = 56 + 520 + 3 * 528                    // root
                                      + 25                                   // Setting.xml
                                      + 520                                  // Empty
                                      + 520 + 2 * 528 + 70000                // Rec
                                      + 520 + 528 + 4;                       // Rec/Deep
    EXPECT_EQ ((juce::int64) data.getSize(), expectedTotal);
    for (int k = 0; k < 3; ++k)
    {
        const size_t e = 56 + 520 + 528 * (size_t) k;
        EXPECT_EQ (intAt (data, e + 524), 528);
        const auto name = juce::String::fromUTF8 (static_cast<const char*> (data.getData()) + e + 4);
        if (name == "Rec")
        {
            EXPECT_EQ (intAt (data, e), 1);
            EXPECT_EQ (intAt (data, e + 520), 520 + 2 * 528 + 70000 + 520 + 528 + 4);
        }
        else if (name == "Empty")
        {
            EXPECT_EQ (intAt (data, e + 520), 520);
        }
    }

    auto out = tmp / "out";
    ASSERT_TRUE (unpackArchive (archive, out));
    EXPECT_EQ (listTree (out), listTree (root));
    juce::MemoryBlock back;
    ASSERT_TRUE (out.getChildFile ("Rec/Audio1.wav").loadFileAsData (back));
    EXPECT_EQ (back, wav);

    // Writing again over an existing archive replaces it.
    ASSERT_TRUE (root.getChildFile ("Rec").deleteRecursively());
    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    EXPECT_EQ (archive.getSize(), 56 + 520 + 2 * 528 + 25 + 520);
}

TEST (DocumentsArchive, VirtualPathsFindEntriesWithoutRegardToCase)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "src";
    ASSERT_TRUE (root.getChildFile ("EfxType.xml").create());
    const char xmlBytes[] = "\xef\xbb\xbf<Root>Gr\xc3\xbc\xc3\x9f</Root>";
    ASSERT_TRUE (root.getChildFile ("EfxType.xml").replaceWithData (xmlBytes, sizeof (xmlBytes) - 1));
    ASSERT_TRUE (root.getChildFile ("resource").createDirectory());
    auto png = juce::Image (juce::Image::ARGB, 3, 2, true);
    png.setPixelAt (1, 1, juce::Colours::orange);
    {
        juce::FileOutputStream s (root.getChildFile ("resource/Knob00.png"));
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (png, s));
    }
    ASSERT_TRUE (root.getChildFile ("resource/Knob01.png").create()); // empty

    auto resources = tmp / "resources";
    ASSERT_TRUE (resources.createDirectory());
    auto archive = resources.getChildFile ("Comp.orc");
    ASSERT_TRUE (ArchiveWriter().write (root, archive));

    // The byte order mark is dropped, the UTF-8 text kept.
    EXPECT_EQ (readArchiveText (archive.getChildFile ("EFXTYPE.XML")),
               juce::String::fromUTF8 ("<Root>Gr\xc3\xbc\xc3\x9f</Root>"));
    auto image = readArchiveImage (archive.getChildFile ("Resource/knob00.PNG"));
    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 3);
    EXPECT_EQ (image.getPixelAt (1, 1).getARGB(), juce::Colours::orange.getARGB());

    // A zero-length entry, a missing entry, a path below a file entry and a
    // missing archive all fail.
    juce::MemoryBlock data;
    EXPECT_FALSE (readArchiveEntry (archive.getChildFile ("resource/Knob01.png"), data));
    EXPECT_FALSE (readArchiveEntry (archive.getChildFile ("resource/Knob02.png"), data));
    EXPECT_FALSE (readArchiveEntry (archive.getChildFile ("EfxType.xml/x"), data));
    EXPECT_FALSE (readArchiveEntry (resources.getChildFile ("Other.orc/EfxType.xml"), data));
    EXPECT_FALSE (readArchiveImage (archive.getChildFile ("EfxType.xml")).isValid());
    EXPECT_EQ (readArchiveText (archive.getChildFile ("nothing")), "");

    // The zero-length file is listed with size 0 and still unpacks as an empty file.
    auto out = tmp / "out";
    ASSERT_TRUE (unpackArchive (archive, out));
    EXPECT_TRUE (out.getChildFile ("resource/Knob01.png").existsAsFile());
    EXPECT_EQ (out.getChildFile ("resource/Knob01.png").getSize(), 0);

    // An unpacked folder serves the same paths as plain files.
    EXPECT_TRUE (readArchiveEntry (out.getChildFile ("resource/Knob00.png"), data));
    EXPECT_TRUE (readArchiveImage (out.getChildFile ("resource/Knob00.png")).isValid());
}

TEST (DocumentsArchive, AHeaderDifferingInOneCharacterIsNotAnArchive)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "r";
    ASSERT_TRUE (root.createDirectory());
    auto archive = tmp / "a.orc";
    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    juce::MemoryBlock good;
    ASSERT_TRUE (archive.loadFileAsData (good));

    for (int i = 0; i < 45; ++i)
    {
        auto bad = good;
        static_cast<char*> (bad.getData())[i] ^= 0x20;
        auto file = tmp / ("bad" + juce::String (i));
        ASSERT_TRUE (file.replaceWithData (bad.getData(), bad.getSize()));
        EXPECT_FALSE (isArchive (file)) << i;
        EXPECT_FALSE (unpackArchive (file, tmp / "never")) << i;
    }
    EXPECT_FALSE ((tmp / "never").exists());

    // Shorter than a header, or missing.
    ASSERT_TRUE ((tmp / "short").replaceWithData (good.getData(), 40));
    EXPECT_FALSE (isArchive (tmp / "short"));
    EXPECT_FALSE (isArchive (tmp / "missing"));
}

TEST (DocumentsArchive, HostileArchivesFailWithoutWritingOutsideTheDestination)
{
    oxatest::TempFolder tmp;
    auto dest = tmp / "dest";

    auto expectRefused = [&] (const juce::MemoryBlock& bytes, const char* what)
    {
        auto file = tmp / "hostile.ots";
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        EXPECT_TRUE (isArchive (file)) << what;
        EXPECT_FALSE (unpackArchive (file, dest)) << what;
        // Only the destination itself may have appeared beside the archive.
        for (const auto& f : tmp.get().findChildFiles (juce::File::findFilesAndDirectories, false, "*"))
            EXPECT_TRUE (f == file || f == dest) << what << ": " << f.getFullPathName();
        EXPECT_TRUE (listTree (dest).empty()) << what;
        dest.deleteRecursively();
    };

    for (auto name : { "", ".", "..", "../evil.txt", "sub/evil.txt", "..\\evil.txt", "/tmp/evil-oxa.txt" })
        expectRefused (ArchiveBuilder::oneFile (name, "evil"), name);
    EXPECT_FALSE (juce::File ("/tmp/evil-oxa.txt").exists());

    // A folder entry named ".." whose block holds a file.
    {
        ArchiveBuilder b;
        b.blockHeader ("ROOT", 1);
        b.entry (1, "..", 528, 520 + 528 + 4);
        b.blockHeader ("..", 1);
        b.entry (0, "evil.txt", 528, 4);
        b.out.write ("evil", 4);
        expectRefused (b.out.getMemoryBlock(), "folder ..");
    }

    // Data past the end, a negative size, a negative distance, an entry count
    // that does not fit the file, a root offset past the end.
    expectRefused (ArchiveBuilder::oneFile ("a.txt", "data", 528, 100000), "size past end");
    expectRefused (ArchiveBuilder::oneFile ("a.txt", "data", 528, -5), "negative size");
    expectRefused (ArchiveBuilder::oneFile ("a.txt", "data", -100000, 4), "negative distance");
    expectRefused (ArchiveBuilder::oneFile ("a.txt", "data", 0x7fffffff, 4), "distance past end");
    {
        ArchiveBuilder b;
        b.blockHeader ("ROOT", 0x7fffffff);
        b.entry (0, "a.txt", 528, 0);
        expectRefused (b.out.getMemoryBlock(), "huge count");
    }
    {
        auto bytes = ArchiveBuilder::oneFile ("a.txt", "data");
        static_cast<char*> (bytes.getData())[55] = 0x7f;
        expectRefused (bytes, "root offset");
    }

    // A folder entry pointing back at the root block must not recurse forever.
    {
        ArchiveBuilder b;
        b.blockHeader ("ROOT", 1);
        b.entry (1, "loop", -520, 520 + 528);
        auto file = tmp / "loop.ots";
        auto bytes = b.out.getMemoryBlock();
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        EXPECT_FALSE (unpackArchive (file, dest));
        EXPECT_TRUE (dest.isDirectory());
        dest.deleteRecursively();
        file.deleteFile();
    }

    // A link already in the destination is never written through.
    auto outside = tmp / "outside";
    ASSERT_TRUE (outside.createDirectory());
    ASSERT_TRUE (dest.createDirectory());
    ASSERT_TRUE (outside.createSymbolicLink (dest.getChildFile ("link"), true));
    {
        ArchiveBuilder b;
        b.blockHeader ("ROOT", 1);
        b.entry (1, "link", 528, 520 + 528 + 4);
        b.blockHeader ("link", 1);
        b.entry (0, "evil.txt", 528, 4);
        b.out.write ("evil", 4);
        auto file = tmp / "link.ots";
        auto bytes = b.out.getMemoryBlock();
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        EXPECT_FALSE (unpackArchive (file, dest));
    }
    EXPECT_FALSE (outside.getChildFile ("evil.txt").exists());

    // Reading through a virtual path checks the same bounds.
    {
        auto bytes = ArchiveBuilder::oneFile ("a.txt", "data", 528, 100000);
        auto file = tmp / "bounds.orc";
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        juce::MemoryBlock data;
        EXPECT_FALSE (readArchiveEntry (file.getChildFile ("a.txt"), data));
        auto fine = ArchiveBuilder::oneFile ("a.txt", "data");
        ASSERT_TRUE (file.replaceWithData (fine.getData(), fine.getSize()));
        EXPECT_EQ (readArchiveText (file.getChildFile ("A.TXT")), "data");
    }
}

TEST (DocumentsArchive, NamesStartingWithATildeRoundTrip)
{
    // "~" only means the home folder at the start of a whole path; as a file name
    // it is an ordinary character (editors leave "~lock" files, backups "~name").
    oxatest::TempFolder tmp;
    auto root = tmp / "Toolset";
    ASSERT_TRUE (juce::File (root.getFullPathName() + "/~old").createDirectory());
    ASSERT_TRUE (juce::File (root.getFullPathName() + "/~old/~lock.txt").replaceWithText ("kept"));
    ASSERT_TRUE (root.getChildFile ("Setting.xml").replaceWithText ("<A/>"));

    auto archive = tmp / "t.ots";
    ASSERT_TRUE (ArchiveWriter().write (root, archive));
    auto out = tmp / "out";
    ASSERT_TRUE (unpackArchive (archive, out));
    EXPECT_EQ (listTree (out), listTree (root));
    EXPECT_EQ (listTree (out).size(), 3u);
}

TEST (DocumentsArchive, EntriesSharingTheirDataCannotMultiplyTheWork)
{
    oxatest::TempFolder tmp;
    auto dest = tmp / "dest";

    // A chain of blocks in which each holds two folder entries pointing at the
    // same next block: followed blindly, every level doubles the work.
    {
        constexpr int levels = 40;
        constexpr int blockLength = 520 + 2 * 528;
        ArchiveBuilder b;
        for (int level = 0; level < levels; ++level)
        {
            const bool last = level == levels - 1;
            b.blockHeader (level == 0 ? "ROOT" : "d", last ? 0 : 2);
            if (! last)
            {
                b.entry (1, "a", 2 * 528, blockLength);
                b.entry (1, "b", 528, blockLength);
            }
        }
        b.out.writeRepeatedByte (0, 2 * 528);
        auto file = tmp / "twice.ots";
        auto bytes = b.out.getMemoryBlock();
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        const auto start = juce::Time::getMillisecondCounterHiRes();
        EXPECT_FALSE (unpackArchive (file, dest));
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 5000.0);
        dest.deleteRecursively();
    }

    // Many file entries all pointing at the same data would unpack to far more
    // than the archive holds.
    {
        constexpr int count = 200;
        ArchiveBuilder b;
        b.blockHeader ("ROOT", count);
        const juce::String content = juce::String::repeatedString ("x", 4000);
        for (int k = 0; k < count; ++k)
            b.entry (0, "f" + juce::String (k), 528 * (count - k), content.length());
        b.out.write (content.toRawUTF8(), (size_t) content.length());
        auto file = tmp / "shared.ots";
        auto bytes = b.out.getMemoryBlock();
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        EXPECT_FALSE (unpackArchive (file, dest));
        juce::int64 written = 0;
        for (const auto& f : dest.findChildFiles (juce::File::findFiles, true, "*"))
            written += f.getSize();
        EXPECT_LE (written, file.getSize());
        dest.deleteRecursively();
    }
}

TEST (DocumentsArchive, DamagedArchivesNeverReachOutsideTheDestination)
{
    oxatest::TempFolder tmp;
    auto root = tmp / "src";
    ASSERT_TRUE (root.getChildFile ("a/b").createDirectory());
    ASSERT_TRUE (root.getChildFile ("a/b/deep.txt").replaceWithText ("deep"));
    ASSERT_TRUE (root.getChildFile ("a/mid.txt").replaceWithText ("middle"));
    ASSERT_TRUE (root.getChildFile ("top.txt").replaceWithText ("top"));
    auto good = tmp / "good.ots";
    ASSERT_TRUE (ArchiveWriter().write (root, good));
    juce::MemoryBlock original;
    ASSERT_TRUE (good.loadFileAsData (original));

    // The destination sits two levels down, so that an escape of one or two
    // levels would land in folders that are watched too.
    auto sandbox = tmp / "sandbox";
    auto dest = sandbox.getChildFile ("inner/dest");
    juce::Random random (730);
    for (int round = 0; round < 300; ++round)
    {
        auto damaged = original;
        auto* bytes = static_cast<unsigned char*> (damaged.getData());
        const int flips = 1 + random.nextInt (4);
        for (int f = 0; f < flips; ++f)
        {
            // Mostly the numbers and names of the records, sometimes anywhere.
            const int position = random.nextBool() ? 52 + random.nextInt ((int) damaged.getSize() - 52)
                                                   : random.nextInt ((int) damaged.getSize());
            bytes[position] = (unsigned char) random.nextInt (256);
        }
        auto file = tmp / "damaged.ots";
        ASSERT_TRUE (file.replaceWithData (damaged.getData(), damaged.getSize()));
        ASSERT_TRUE (dest.createDirectory());

        unpackArchive (file, dest);
        juce::MemoryBlock read;
        readArchiveEntry (file.getChildFile ("a/b/deep.txt"), read);

        for (const auto& f : sandbox.findChildFiles (juce::File::findFilesAndDirectories, true, "*"))
            ASSERT_TRUE (f == dest.getParentDirectory() || f == dest || f.isAChildOf (dest))
                << "round " << round << ": " << f.getFullPathName();
        for (const auto& f : tmp.get().findChildFiles (juce::File::findFilesAndDirectories, false, "*"))
            ASSERT_TRUE (f == root || f == good || f == file || f == sandbox)
                << "round " << round << ": " << f.getFullPathName();
        ASSERT_TRUE (sandbox.deleteRecursively());
    }
}
