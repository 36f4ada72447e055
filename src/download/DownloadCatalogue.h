#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace T730
{

/** One entry of the download catalogue: a patch set or a rhythm. */
struct DL_ItemInfo
{
    enum Kind
    {
        patchsetKind = 0,
        rhythmKind = 1
    };

    juce::String name;
    juce::StringArray urls;
    /** The local name of the URL marked as the song (rhythms only; "" when none). */
    juce::String songFile;
    bool isNew = false;
    /** Shown as the entry's tooltip. */
    juce::String comment;
    /** The catalogue's "rhythm" value, -1 when absent. */
    int rhythm = -1;
    int kind = patchsetKind;
    bool downloaded = false;

    /** Whether URL i is the song of a rhythm entry. */
    bool isSongUrl (int i) const;
    /** Every URL names a plain file over http or https. */
    bool hasUsableUrls() const;
};

/** The download info document as read. */
struct DownloadCatalogue
{
    bool hasTime = false;
    juce::Time lastTime;
    std::vector<DL_ItemInfo> patchsets, rhythms;
};

/** The catalogue is taken when it parses and has a "Patchsets" or a "Rhythms" element. */
bool isAcceptableCatalogue (const juce::String& text);

/** Reads a catalogue text; false (and the catalogue empty) when it is not acceptable.
    Entries and URLs beyond the bounds below are left out. */
bool parseDownloadCatalogue (const juce::String& text, DownloadCatalogue& catalogue);

constexpr int maxCatalogueEntries = 10000;   // per list
constexpr int maxUrlsPerEntry = 256;

/** "2009-03-15 14:25:07" (year at 0..3, month 5..6, day 8..9, hour 11..12,
    minute 14..15, second 17..18) as a local time; false for anything else. */
bool parseCatalogueTime (const juce::String& text, juce::Time& time);

/** The local name of a file: the part of its URL's path after the last "/",
    percent-decoded. "" (refused) unless the URL is http or https with a host
    and the name is a plain file name: not empty, not starting with ".", no
    "/", "\\", ":" or control character, at most 200 bytes. Query and fragment
    are not part of the name. */
juce::String localFileName (const juce::String& url);

/** The user-data folders a download writes into. */
struct DownloadFolders
{
    juce::File patchgroup, song, rhythm;
};

/** Where URL i of the entry lives locally: a patch set's files in the patch
    group folder, a rhythm's song in the song folder and its other files in the
    rhythm folder. An invalid File when the URL's name is refused. */
juce::File localFileFor (const DL_ItemInfo& item, int urlIndex, const DownloadFolders& folders);

/** Downloaded: the local file of every URL exists. */
bool isDownloaded (const DL_ItemInfo& item, const DownloadFolders& folders);

/** What a fetched file must be before it is written anywhere. */
enum class DownloadContent
{
    patchGroup,   // a patch group of the M7c
    song,         // a song document
    pattern,      // a rhythm pattern document
    midiFile      // a Standard MIDI File the rhythm machine reads to its end
};

/** The content URL i of the entry must have: patch sets hold patch groups;
    a rhythm's song URL a song, its ".mid" files MIDI files, the rest patterns. */
DownloadContent expectedContent (const DL_ItemInfo& item, int urlIndex);

/** "" when the bytes are what they should be, otherwise why not. */
juce::String checkDownloadedContent (DownloadContent content, const void* data, size_t size);

} // namespace T730
