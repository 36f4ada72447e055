#pragma once

#include "rhythm/Song.h"

#include <memory>
#include <vector>

namespace T730
{

/** The catalogue of every song in the song folder, in the order it was built.
    The search page lists it, the download section and the rhythm import add
    to it. Songs are owned by the manager. Message thread only. */
class SongManager
{
public:
    SongManager() = default;
    ~SongManager() = default;

    /** The song folder (the owner sets the user's `song` folder). */
    void setFolder (const juce::File& newFolder) { folder = newFolder; }
    const juce::File& getFolder() const noexcept { return folder; }

    /** Rebuilds the catalogue from the folder's "*.xml" files (by file name).
        A file that does not parse is skipped with "Failed reading song setting."
        in the log; any root name is accepted. */
    void loadAll();

    /** Adds one song file; true when the song is in the catalogue afterwards
        (already there counts: the same full path adds nothing). False for a
        missing file or a document whose root is not "Song", changing nothing. */
    bool import (const juce::File& file);

    int getNumSongs() const noexcept { return (int) songs.size(); }
    Song* getSong (int index) const noexcept
    {
        return index >= 0 && index < getNumSongs() ? songs[(size_t) index].get() : nullptr;
    }

    /** The songs whose name equals the text exactly. */
    std::vector<Song*> findByName (const juce::String& name) const;

    /** The song read from that file, or null. */
    Song* findByFile (const juce::File& file) const;

private:
    juce::File folder;
    std::vector<std::unique_ptr<Song>> songs;

    JUCE_DECLARE_NON_COPYABLE (SongManager)
};

} // namespace T730
