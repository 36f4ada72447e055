#pragma once

#include "documents/UserData.h"
#include "recorder/OneRecord.h"

namespace T730
{

/** A recorder's take: its recorded regions, newest first. Each region plays
    its WAV file between its points with 10 ms fades, the newer over the older;
    adding a third region merges the older two, so a take holds at most two.

    The lock guards the list: the audio thread holds it while it renders, the
    message thread while it adds, swaps or closes records, and only for the
    pointer changes (files are opened and deleted outside it). */
class TakeStatus final : public UserData
{
public:
    TakeStatus();
    /** Copies start, end and file name of every record, without open files. */
    TakeStatus (const TakeStatus& other);
    TakeStatus& operator= (const TakeStatus& other);
    ~TakeStatus();

    /** "OneRecord,idx=%d" for 0, 1, ... until one is missing. A file name that
        is not a plain name inside the recorder's folder reads as empty (the
        record stays and plays nothing). */
    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    void clear();

    /** Opens every record's file in the folder (message thread). A file that
        does not open leaves its record closed. */
    void openFiles (const juce::File& folder);
    /** Deletes every record's open file (message thread). */
    void closeFiles();

    /** Takes over another take's records, with their files opened from the
        folder (files already open here under the same name are kept). */
    void assign (const TakeStatus& other, const juce::File& folder);

    /** The largest end point of all records, 0 when empty. */
    juce::int64 getLatestEnd() const;

    /** Adds a recorded region (end -1: start + the file's length). With two
        regions already, the older two are merged into a new "Audio<n>.wav" of
        the same folder. False (nothing changed) when the file does not open
        or the merge fails. */
    bool addRecording (const juce::File& file, juce::int64 start, juce::int64 end);

    /** The take becomes one region, the whole file. False (nothing changed) when the file does
        not open. */
    bool replaceWithFile (const juce::File& file);

    /** Plays the take at timeline positions position .. position + count - 1
        into the output pair from the first sample on (audio thread). Output
        samples no region covers are left as they are. */
    void render (juce::int64 position, float* const* output, int firstSample, int count) const;

    int size() const;
    /** A copy of record i (without its file); null outside the list. */
    std::unique_ptr<OneRecord> getRecord (int index) const;
    bool isRecordOpen (int index) const;
    juce::StringArray getFileNames() const;

    /** The renderer shared with the merge: the records (newest first) into the
        block. A fade-in from `outerStart` and a fade-out before `outerEnd` are
        left out (the merged record applies them itself when it plays). */
    static void renderRecords (const OneRecord* const* records, int count, juce::int64 position, float* const* output,
                               int firstSample, int n, int r, juce::int64 outerStart = -1, juce::int64 outerEnd = -1) noexcept;

    /** At most this many records are read from a file; the take itself never holds more than two. */
    static constexpr int mostStoredRecords = 64;

private:
    /** A region over the file, opened and loaded (end -1: start + the file's length); null when
        the file does not open. */
    static std::unique_ptr<OneRecord> openRecord (const juce::File& file, juce::int64 start, juce::int64 end);

    mutable juce::CriticalSection lock;
    juce::OwnedArray<OneRecord> records;   // guarded by lock; written on the message thread only

    JUCE_LEAK_DETECTOR (TakeStatus)
};

} // namespace T730
