#include "recorder/WaveStreamWriter.h"

#include "platform/FullWrites.h"

#include <unistd.h>

namespace T730
{

namespace
{
    constexpr int writeThreshold = 4096;      // frames collected before the thread writes
    constexpr int waitMs = 128;
    constexpr juce::uint32 headerIntervalMs = 1000;
    constexpr int conversionBytes = 32768;
    constexpr int framesPerConversion = conversionBytes / WaveFormat::recorderFrameBytes;
} // namespace

WaveStreamWriter::WaveStreamWriter (int fileDescriptor, int queueFrames, juce::int64 largestDataBytes)
    : juce::Thread ("wav streaming thread"),
      fd (fileDescriptor),
      capacity (juce::jmax (writeThreshold * 2, queueFrames)),
      largestData (juce::jlimit<juce::int64> (0, WaveFormat::largestDataBytes, largestDataBytes)),
      sampleFifo (capacity + 1), jobFifo (juce::jmax (1024, capacity / 16) + 1),
      left ((size_t) capacity + 1), right ((size_t) capacity + 1),
      jobs ((size_t) juce::jmax (1024, capacity / 16) + 1),
      conversion ((size_t) conversionBytes)
{
}

WaveStreamWriter::~WaveStreamWriter()
{
    signalThreadShouldExit();
    wake.release();
    waitForThreadToExit (-1);

    if (fd >= 0)
        ::close (fd);
}

void WaveStreamWriter::start()
{
    lastHeaderTime = juce::Time::getMillisecondCounter();
    startThread();
}

//==============================================================================
bool WaveStreamWriter::queue (int n, juce::int64 position, const float* const* input, int firstIndex) noexcept
{
    if (n <= 0)
        return true;

    if (full.load() || ! accepting.load())
        return false;

    if (n > capacity || sampleFifo.getFreeSpace() < n || jobFifo.getFreeSpace() < 1)
    {
        lostFrames.fetch_add (n);
        return false;
    }

    {
        const auto w = sampleFifo.write (n);
        const float* l = input[0] + firstIndex;
        const float* r = input[1] + firstIndex;
        std::copy (l, l + w.blockSize1, left.data() + w.startIndex1);
        std::copy (r, r + w.blockSize1, right.data() + w.startIndex1);
        std::copy (l + w.blockSize1, l + n, left.data() + w.startIndex2);
        std::copy (r + w.blockSize1, r + n, right.data() + w.startIndex2);
    }
    {
        // Published after the samples: the thread never sees a job before its frames.
        const auto w = jobFifo.write (1);
        jobs[(size_t) (w.blockSize1 == 1 ? w.startIndex1 : w.startIndex2)] = { position, n };
    }

    const auto before = queued.fetch_add (n);
    if (before + n > highWater.load (std::memory_order_relaxed))
        highWater.store (before + n, std::memory_order_relaxed);   // one producer
    if (before < writeThreshold && before + n >= writeThreshold)
        wake.release();

    return true;
}

bool WaveStreamWriter::queueWaiting (int n, juce::int64 position, const float* const* input, int firstIndex)
{
    const int step = capacity / 2;
    for (int done = 0; done < n;)
    {
        const int count = juce::jmin (step, n - done);
        bool woken = false;
        while (sampleFifo.getFreeSpace() < count || jobFifo.getFreeSpace() < 1)
        {
            if (full.load() || ! isThreadRunning())
                return false;
            if (! std::exchange (woken, true))
                wake.release();
            juce::Thread::sleep (1);
        }

        const float* parts[2] = { input[0] + firstIndex + done, input[1] + firstIndex + done };
        if (! queue (count, position + done, parts, 0))
            return false;
        done += count;
    }
    return true;
}

//==============================================================================
void WaveStreamWriter::run()
{
    while (! threadShouldExit())
    {
        juce::ignoreUnused (wake.try_acquire_for (std::chrono::milliseconds (waitMs)));
        writePending (false);

        const auto now = juce::Time::getMillisecondCounter();
        if (dataBytes.load() != headerBytes && now - lastHeaderTime >= headerIntervalMs)
        {
            rewriteHeader (true);
            lastHeaderTime = now;
        }
    }
}

void WaveStreamWriter::writePending (bool everything)
{
    while (everything || flushing.load() || queued.load() >= writeThreshold)
    {
        Job job;
        {
            const auto r = jobFifo.read (1);
            if (r.blockSize1 + r.blockSize2 != 1)
                break;
            job = jobs[(size_t) (r.blockSize1 == 1 ? r.startIndex1 : r.startIndex2)];
        }

        writeJob (job);

        if (queued.fetch_sub (job.frames) - job.frames <= 0)
            flushing.store (false);
    }
}

void WaveStreamWriter::writeJob (const Job& job)
{
    juce::int64 offset = writeEnd;
    if (firstWritten.load() < 0)
    {
        firstWritten.store (job.position);
        lastWritten.store (job.position);
        offset = 0;
    }
    else if (job.position > lastWritten.load() && job.position >= firstWritten.load())
    {
        // A jump forward: the frames go to their place, the gap reads as silence.
        offset = (job.position - firstWritten.load()) * WaveFormat::recorderFrameBytes;
    }

    // Every queued frame leaves the queue, whether it fits in the file or not.
    int frames = job.frames;
    int writable = frames;
    if (full.load())
        writable = 0;
    else if (offset + (juce::int64) frames * WaveFormat::recorderFrameBytes > largestData)
    {
        writable = (int) juce::jmax<juce::int64> (0, (largestData - offset) / WaveFormat::recorderFrameBytes);
        full.store (true);
    }

    const auto r = sampleFifo.read (frames);
    bool ok = true;
    int written = 0;
    for (auto [start, size] : { std::pair { r.startIndex1, r.blockSize1 }, std::pair { r.startIndex2, r.blockSize2 } })
    {
        const int count = juce::jmin (size, writable - written);
        if (count > 0 && ok)
        {
            ok = writeFrames (offset + (juce::int64) written * WaveFormat::recorderFrameBytes, start, count);
            written += count;
        }
    }

    if (! ok)
    {
        // A failed write leaves the data size as it was for this job.
        writeError.store (true);
        lostFrames.fetch_add (frames);
        return;
    }

    if (writable > 0)
    {
        writeEnd = offset + (juce::int64) writable * WaveFormat::recorderFrameBytes;
        dataBytes.store (juce::jmax (dataBytes.load(), writeEnd));
        lastWritten.store (job.position + writable);
    }
}

bool WaveStreamWriter::writeFrames (juce::int64 offset, int start, int frames)
{
    for (int done = 0; done < frames;)
    {
        const int count = juce::jmin (framesPerConversion, frames - done);
        auto* out = conversion.data();
        for (int i = 0; i < count; ++i)
        {
            const auto l = (uint16_t) toStoredSample (left[(size_t) (start + done + i)]);
            const auto r = (uint16_t) toStoredSample (right[(size_t) (start + done + i)]);
            out[0] = (uint8_t) l;
            out[1] = (uint8_t) (l >> 8);
            out[2] = (uint8_t) r;
            out[3] = (uint8_t) (r >> 8);
            out += 4;
        }

        const auto at = (off_t) (WaveFormat::headerBytes + offset + (juce::int64) done * WaveFormat::recorderFrameBytes);
        if (! platform::writeFully (fd, conversion.data(), (size_t) count * WaveFormat::recorderFrameBytes, at))
            return false;
        done += count;
    }
    return true;
}

void WaveStreamWriter::rewriteHeader (bool sync)
{
    // The data first, then the header that counts it: after a power cut the
    // header on disk never claims frames that did not reach it.
    if (sync)
        ::fdatasync (fd);

    const auto bytes = dataBytes.load();
    const auto header = makeWaveHeader ((uint32_t) bytes);
    if (platform::writeFully (fd, header.data(), header.size(), 0))
        headerBytes = bytes;
    else
        writeError.store (true);
}

bool WaveStreamWriter::finish()
{
    if (fd < 0)
        return false;

    accepting.store (false);

    if (queued.load() > 0)
    {
        flushing.store (true);
        wake.release();
        while (queued.load() > 0 && isThreadRunning())
            juce::Thread::sleep (10);
    }

    signalThreadShouldExit();
    wake.release();
    waitForThreadToExit (-1);

    // Whatever the thread left (it only stops early when asked to).
    writePending (true);
    rewriteHeader (true);
    ::fdatasync (fd);
    ::close (fd);
    fd = -1;
    return ! writeError.load();
}

} // namespace T730
