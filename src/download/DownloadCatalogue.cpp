#include "download/DownloadCatalogue.h"

#include "platform/PlainNames.h"

#include "documents/PatchSet.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "rhythm/RhythmPattern.h"
#include "rhythm/SMFParser.h"
#include "rhythm/Song.h"

namespace T730
{

bool DL_ItemInfo::isSongUrl (int i) const
{
    return kind == rhythmKind && songFile.isNotEmpty() && juce::isPositiveAndBelow (i, urls.size())
        && localFileName (urls[i]) == songFile;
}

bool DL_ItemInfo::hasUsableUrls() const
{
    for (const auto& url : urls)
        if (localFileName (url).isEmpty())
            return false;
    return true;
}

//==============================================================================
namespace
{
    bool isNameCharacterRefused (juce::juce_wchar c)
    {
        return c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':';
    }

    void readEntries (const juce::XmlElement* list, int kind, std::vector<DL_ItemInfo>& entries)
    {
        if (list == nullptr)
            return;

        for (auto* e = list->getFirstChildElement(); e != nullptr && (int) entries.size() < maxCatalogueEntries;
             e = e->getNextElement())
        {
            if (e->isTextElement())
                continue;

            DL_ItemInfo item;
            item.kind = kind;
            item.name = e->getStringAttribute ("name");
            item.isNew = e->getStringAttribute ("new") == "true";
            item.rhythm = e->hasAttribute ("rhythm") ? e->getIntAttribute ("rhythm", -1) : -1;
            if (auto* comment = e->getChildByName ("Comment"))
                item.comment = comment->getAllSubText().trim();

            if (auto* urls = e->getChildByName ("Urls"))
                for (auto* u = urls->getFirstChildElement(); u != nullptr && item.urls.size() < maxUrlsPerEntry;
                     u = u->getNextElement())
                {
                    if (u->isTextElement())
                        continue;
                    const auto url = u->getAllSubText().trim();
                    item.urls.add (url);
                    if (kind == DL_ItemInfo::rhythmKind && u->getStringAttribute ("song") == "true")
                        item.songFile = localFileName (url);
                }

            entries.push_back (std::move (item));
        }
    }
} // namespace

bool isAcceptableCatalogue (const juce::String& text)
{
    auto root = parseXmlText (text);
    return root != nullptr && (root->getChildByName ("Patchsets") != nullptr || root->getChildByName ("Rhythms") != nullptr);
}

bool parseDownloadCatalogue (const juce::String& text, DownloadCatalogue& catalogue)
{
    catalogue = {};
    auto root = parseXmlText (text);
    if (root == nullptr)
        return false;

    auto* patchsets = root->getChildByName ("Patchsets");
    auto* rhythms = root->getChildByName ("Rhythms");
    if (patchsets == nullptr && rhythms == nullptr)
        return false;

    if (auto* time = root->getChildByName ("LastTime"))
        catalogue.hasTime = parseCatalogueTime (time->getAllSubText().trim(), catalogue.lastTime);

    readEntries (patchsets, DL_ItemInfo::patchsetKind, catalogue.patchsets);
    readEntries (rhythms, DL_ItemInfo::rhythmKind, catalogue.rhythms);
    return true;
}

bool parseCatalogueTime (const juce::String& text, juce::Time& time)
{
    if (text.length() < 19)
        return false;

    const auto number = [&text] (int start, int length, int& value)
    {
        const auto part = text.substring (start, start + length);
        if (! part.containsOnly ("0123456789"))
            return false;
        value = part.getIntValue();
        return true;
    };

    int year, month, day, hour, minute, second;
    if (! number (0, 4, year) || ! number (5, 2, month) || ! number (8, 2, day) || ! number (11, 2, hour)
        || ! number (14, 2, minute) || ! number (17, 2, second))
        return false;

    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 || year < 1970)
        return false;

    time = juce::Time (year, month - 1, day, hour, minute, second, 0, true);
    return true;
}

juce::String localFileName (const juce::String& url)
{
    const auto scheme = url.upToFirstOccurrenceOf ("://", false, false).toLowerCase();
    if (! url.contains ("://") || (scheme != "http" && scheme != "https"))
        return {};

    auto rest = url.fromFirstOccurrenceOf ("://", false, false);
    rest = rest.upToFirstOccurrenceOf ("#", false, false).upToFirstOccurrenceOf ("?", false, false);
    const auto host = rest.upToFirstOccurrenceOf ("/", false, false);
    if (host.isEmpty() || ! rest.containsChar ('/'))
        return {};

    const auto raw = rest.fromLastOccurrenceOf ("/", false, false);
    // A "\" before decoding would be a separator on other systems too.
    if (raw.containsChar ('\\'))
        return {};

    // Percent-decoding byte by byte: the bytes must be valid UTF-8 without NUL.
    juce::MemoryOutputStream bytes;
    const auto utf8 = raw.toStdString();
    for (size_t i = 0; i < utf8.size(); ++i)
    {
        auto c = (unsigned char) utf8[i];
        if (c == '%')
        {
            if (i + 2 >= utf8.size())
                return {};
            const auto hex = juce::String (utf8.substr (i + 1, 2));
            if (hex.length() != 2 || ! hex.containsOnly ("0123456789abcdefABCDEF"))
                return {};
            c = (unsigned char) hex.getHexValue32();
            i += 2;
        }
        if (c == 0)
            return {};
        bytes.writeByte ((char) c);
    }
    if (! juce::CharPointer_UTF8::isValidString (static_cast<const char*> (bytes.getData()), (int) bytes.getDataSize()))
        return {};
    const auto name = juce::String::fromUTF8 (static_cast<const char*> (bytes.getData()), (int) bytes.getDataSize());
    if (name.isEmpty() || name.startsWithChar ('.') || name.getNumBytesAsUTF8() > 200)
        return {};

    for (auto p = name.getCharPointer(); ! p.isEmpty(); ++p)
        if (isNameCharacterRefused (*p))
            return {};

    // (A name starting with "~" would be taken for a home folder where it becomes a path.)
    if (name.trim() != name || ! isPlainName (name))
        return {};

    return name;
}

juce::File localFileFor (const DL_ItemInfo& item, int urlIndex, const DownloadFolders& folders)
{
    if (! juce::isPositiveAndBelow (urlIndex, item.urls.size()))
        return {};

    const auto name = localFileName (item.urls[urlIndex]);
    if (name.isEmpty())
        return {};

    const auto& folder = item.kind == DL_ItemInfo::patchsetKind ? folders.patchgroup
                       : item.isSongUrl (urlIndex)               ? folders.song
                                                                 : folders.rhythm;
    if (folder == juce::File())
        return {};

    const auto file = folder.getChildFile (name);
    return file.getParentDirectory() == folder ? file : juce::File();
}

bool isDownloaded (const DL_ItemInfo& item, const DownloadFolders& folders)
{
    for (int i = 0; i < item.urls.size(); ++i)
    {
        const auto file = localFileFor (item, i, folders);
        if (file == juce::File() || ! file.existsAsFile())
            return false;
    }
    return true;
}

DownloadContent expectedContent (const DL_ItemInfo& item, int urlIndex)
{
    if (item.kind == DL_ItemInfo::patchsetKind)
        return DownloadContent::patchGroup;
    if (item.isSongUrl (urlIndex))
        return DownloadContent::song;
    return localFileName (item.urls[urlIndex]).endsWithIgnoreCase (".mid") ? DownloadContent::midiFile
                                                                           : DownloadContent::pattern;
}

juce::String checkDownloadedContent (DownloadContent content, const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return "empty";

    if (content == DownloadContent::midiFile)
    {
        SMFParser parser;
        parser.getLoader().setBytes (data, size);
        std::vector<NoteEvent> events;
        return parser.parse (events) ? juce::String() : "not a MIDI file the rhythm machine reads";
    }

    auto root = parseXmlData (data, size);
    if (root == nullptr)
        return "not an XML document";

    switch (content)
    {
        case DownloadContent::patchGroup:
        {
            auto set = std::make_unique<PatchSet>();
            return set->read (root.get()) ? juce::String() : "not a patch group of the M7c";
        }
        case DownloadContent::song:
        {
            Song song;
            return root->hasTagName ("Song") && song.readDocument (root.get()) ? juce::String() : "not a song";
        }
        case DownloadContent::pattern:
        {
            RhythmPattern pattern;
            return pattern.read (root.get()) && pattern.ID.isNotEmpty() && pattern.FileName.isNotEmpty()
                       ? juce::String()
                       : "not a rhythm pattern";
        }
        case DownloadContent::midiFile:
            break;
    }
    return {};
}

} // namespace T730
