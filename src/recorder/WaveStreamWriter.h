#pragma once

#include "recorder/WaveFormat.h"

#include <atomic>
#include <semaphore>
#include <vector>

namespace T730
{

/** The writing half of a WaveFile: a preallocated single-producer,
    single-consumer queue of audio blocks, and the "wav streaming thread" that
    converts them to 16-bit frames and writes them at their place in the file.

    The producer (the audio thread while recording; the merge and the
    mix-down, which wait for room) only copies samples into the queue: no
    allocation, no lock, no disk. A block that does not fit is counted as lost
    and refused, never dropped unnoticed. The thread writes when 4096 frames
    have collected or on a flush, and rewrites the header at least every
    second while data arrives, after syncing the data written so far, so that
    a killed process or a power cut leaves a playable file that misses at most
    the last two seconds. The data chunk never grows past its 32-bit size:
    the block that would pass it is cut and every later one refused. */
class WaveStreamWriter : private juce::Thread
{
public:
    /** Takes over an open file descriptor positioned after its 44-byte header. */
    WaveStreamWriter (int fileDescriptor, int queueFrames, juce::int64 largestDataBytes);

    /** Stops the thread without writing what is still queued, closes the file. */
    ~WaveStreamWriter() override;

    void start();

    /** Queues n frames from the first index of each input channel at the
        timeline position. Audio thread; false when refused (queue full, or
        the file reached its largest size). */
    bool queue (int n, juce::int64 position, const float* const* input, int firstIndex) noexcept;

    /** The same for producers that may wait: blocks of any size, waiting for room. */
    bool queueWaiting (int n, juce::int64 position, const float* const* input, int firstIndex);

    /** Waits until everything queued is written, rewrites the header with the
        final size, stops the thread, syncs and closes. False when a write failed.
        Blocks queued once it has begun are refused; the producer must be done
        with the writer before it is destroyed. */
    bool finish();

    juce::int64 getFirstWrittenPosition() const noexcept { return firstWritten.load(); }
    juce::int64 getLastWrittenPosition() const noexcept  { return lastWritten.load(); }
    juce::int64 getDataBytes() const noexcept            { return dataBytes.load(); }
    /** Frames refused because the queue was full (the disk did not keep up). */
    juce::int64 getLostFrames() const noexcept           { return lostFrames.load(); }
    /** The data chunk reached its largest size; nothing more is taken. */
    bool isFull() const noexcept                         { return full.load(); }
    bool hadWriteError() const noexcept                  { return writeError.load(); }
    int getQueueCapacity() const noexcept                { return capacity; }
    /** The most frames that were ever queued and not yet written. */
    juce::int64 getQueueHighWater() const noexcept       { return highWater.load(); }

private:
    struct Job
    {
        juce::int64 position = 0;
        int frames = 0;
    };

    void run() override;
    void writePending (bool everything);
    void writeJob (const Job& job);
    bool writeFrames (juce::int64 offset, int start, int frames);
    void rewriteHeader (bool sync);

    int fd;
    const int capacity;
    const juce::int64 largestData;

    // The queue: samples of both channels, and one job per queued block.
    juce::AbstractFifo sampleFifo, jobFifo;
    std::vector<float> left, right;
    std::vector<Job> jobs;
    std::atomic<juce::int64> queued { 0 };     // frames queued, not yet written
    std::atomic<juce::int64> highWater { 0 };  // the most ever queued (written by the producer)
    std::atomic<bool> flushing { false };
    std::counting_semaphore<1 << 20> wake { 0 };

    // Written by the thread (and by finish once the thread has stopped).
    std::atomic<juce::int64> firstWritten { -1 }, lastWritten { -1 };
    std::atomic<juce::int64> dataBytes { 0 };
    juce::int64 writeEnd = 0;                  // byte offset after the last write, from the data start
    juce::int64 headerBytes = -1;              // data size the header on disk states
    juce::uint32 lastHeaderTime = 0;
    std::vector<uint8_t> conversion;           // 32 768 bytes

    std::atomic<juce::int64> lostFrames { 0 };
    std::atomic<bool> full { false }, writeError { false };
    std::atomic<bool> accepting { true };      // cleared when finish begins

    JUCE_DECLARE_NON_COPYABLE (WaveStreamWriter)
};

} // namespace T730
