#pragma once

#include "recorder/WaveFormat.h"

#include <memory>

namespace T730
{

class WaveStreamWriter;
struct OneRecord;

/** A recorder WAV file: 16-bit PCM, two channels, 44100 Hz, 44-byte header.

    Reading: the whole data chunk is loaded into memory when the file opens
    (message thread), so that `read`, which the take renderer calls on the
    audio thread, never touches the disk. A file of another format opens
    (its header is known) but is not valid, and reading it does nothing.

    Writing: blocks are queued (the audio thread only copies them) and the
    file's "wav streaming thread", started when the file opens, writes them
    (see WaveStreamWriter). `finish` writes what is left and the final header.

    Also the two file operations of the recorder: importing a foreign WAV file
    (copied, or converted to the recorder's format) and merging two recorded
    regions into one file. */
class WaveFile
{
public:
    WaveFile();
    /** Finishes a file being written. */
    ~WaveFile();

    // Reading --------------------------------------------------------------
    /** False when the file is not a RIFF/WAVE file with a complete data chunk.
        A recorder-format file is loaded and valid; false too when it cannot be loaded. */
    bool openForReading (const juce::File& file);
    bool openForReading (juce::InputStream& stream);

    /** n frames from file frame f on (f may be negative: the first -f output
        frames are left as they are) into both output channels from the first
        index on; frames past the file's end are not written. Audio-thread safe. */
    void read (int n, juce::int64 f, float* const* output, int firstIndex) const noexcept;

    // Writing --------------------------------------------------------------
    /** Creates the file anew (an existing file or link of that name is
        removed first), writes the header with no data and starts the writer.
        `queueFrames` is the room of the queue (at least 2 s at the engine's
        rate by default); the data chunk never passes `largestDataBytes`. */
    bool openForWriting (const juce::File& file, int queueFrames = 0,
                         juce::int64 largestDataBytes = WaveFormat::largestDataBytes);

    /** Audio thread: n frames of the input pair at the timeline position; false
        when refused (queue full: counted as lost; file full; finished). Never
        called while finish or the destructor runs on another thread. */
    bool queueWrite (int n, juce::int64 timelinePosition, const float* const* input, int firstIndex) noexcept;

    /** For producers that may wait (merge, mix-down): blocks of any size. */
    bool writeWaiting (int n, juce::int64 timelinePosition, const float* const* input, int firstIndex);

    /** Writes everything queued and the final header, stops the writer (message
        thread). True when every write succeeded. Lost frames and a full data
        chunk are written to the log. */
    bool finish();

    // State ------------------------------------------------------------------
    bool isOpened() const noexcept                { return opened; }
    bool isValid() const noexcept                 { return valid; }
    bool isWriting() const noexcept               { return writer != nullptr; }
    const juce::File& getFile() const noexcept    { return path; }
    const WaveFormat& getFormat() const noexcept  { return format; }

    /** Frames: data size / 4. */
    juce::int64 getLength() const noexcept;

    /** Timeline positions of the first frame written and after the last one; -1 before any. */
    juce::int64 getFirstWrittenPosition() const noexcept;
    juce::int64 getLastWrittenPosition() const noexcept;
    bool hasWritten() const noexcept              { return getFirstWrittenPosition() >= 0; }
    /** Frames the writer could not take because the disk did not keep up. */
    juce::int64 getLostFrames() const noexcept;
    /** The most frames that ever waited in the queue while writing (0 when not writing). */
    juce::int64 getQueueHighWater() const noexcept;
    /** The queue's room in frames (0 when not writing). */
    int getQueueCapacity() const noexcept;
    /** The data chunk reached its largest size: recording must stop. */
    bool isFull() const noexcept;

    // File operations (message thread) ---------------------------------------
    /** A foreign file into the recorder's folder: a recorder-format source is
        copied byte for byte, an 8- or 16-bit source of another rate or channel
        count is converted (padded with silence to whole seconds). On failure
        nothing is left at the destination and `error` says why. */
    static bool import (const juce::File& destination, const juce::File& source, juce::String* error = nullptr);

    /** Two regions of a take into one new file covering both: what the take
        played there, the newer region over the older with the fades where
        they meet. Null (and no file) when it fails. */
    static std::unique_ptr<OneRecord> merge (const juce::File& destination, const OneRecord& older, const OneRecord& newer);

    /** The first "<stem><n>.wav" (n = 0, 1, ...) that does not exist in the folder. */
    static juce::File newNumberedFile (const juce::File& folder, const juce::String& stem, const juce::String& extension);

private:
    void close();

    juce::File path;
    WaveFormat format;
    bool opened = false, valid = false;

    std::unique_ptr<int16_t[]> samples;           // reading: the data chunk, interleaved
    juce::int64 frames = 0;

    std::unique_ptr<WaveStreamWriter> writer;     // writing
    juce::int64 finishedFirst = -1, finishedLast = -1, finishedLost = 0;
    bool finishedFull = false;

    JUCE_DECLARE_NON_COPYABLE (WaveFile)
};

} // namespace T730
