#include "recorder/WaveFile.h"

#include "engine/EngineSettings.h"
#include "platform/FullWrites.h"
#include "recorder/OneRecord.h"
#include "recorder/WaveStreamWriter.h"

#include <fcntl.h>
#include <unistd.h>

namespace T730
{

namespace
{
    constexpr int loadChunkBytes = 1 << 20;
}

WaveFile::WaveFile() = default;

WaveFile::~WaveFile()
{
    close();
}

void WaveFile::close()
{
    if (writer != nullptr)
        finish();

    samples.reset();
    frames = 0;
    opened = valid = false;
    format = {};
}

//==============================================================================
bool WaveFile::openForReading (const juce::File& file)
{
    close();
    path = file;

    juce::FileInputStream stream (file);
    if (! stream.openedOk())
        return false;

    const bool ok = openForReading (stream);
    path = file;
    return ok;
}

bool WaveFile::openForReading (juce::InputStream& stream)
{
    close();
    path = juce::File();

    if (! readWaveHeader (stream, format))
    {
        format = {};
        return false;
    }

    opened = true;
    if (! format.isRecorderFormat())
        return true;

    const auto count = (juce::int64) format.dataSize / WaveFormat::recorderFrameBytes;
    const auto values = (size_t) count * 2;
    samples.reset (values > 0 ? new (std::nothrow) int16_t[values] : nullptr);
    if (values > 0 && samples == nullptr)
    {
        juce::Logger::writeToLog ("Not enough memory for the take file " + path.getFullPathName() + ".");
        return true;
    }

    // Loaded now, on this thread: the audio thread reads memory only.
    auto* bytes = reinterpret_cast<char*> (samples.get());
    const auto total = (juce::int64) values * 2;
    if (! stream.setPosition (format.dataStart))
        return true;

    for (juce::int64 done = 0; done < total;)
    {
        const int chunk = (int) juce::jmin<juce::int64> (loadChunkBytes, total - done);
        if (stream.read (bytes + done, chunk) != chunk)
        {
            samples.reset();
            return true;
        }
        done += chunk;
    }

   #if JUCE_BIG_ENDIAN
    for (size_t i = 0; i < values; ++i)
        samples[i] = (int16_t) juce::ByteOrder::swap ((uint16_t) samples[i]);
   #endif

    frames = count;
    valid = true;
    return true;
}

void WaveFile::read (int n, juce::int64 f, float* const* output, int firstIndex) const noexcept
{
    if (! valid || n <= 0 || samples == nullptr)
        return;

    // Before the file's start: those output frames stay as they are, and the
    // rest come from the file's first frame on.
    int skipped = 0;
    if (f < 0)
    {
        if (-f >= n)
            return;
        skipped = (int) -f;
        f = 0;
    }

    const auto available = frames - f;
    if (available <= 0)
        return;

    const int count = (int) juce::jmin<juce::int64> (n - skipped, available);
    const int16_t* in = samples.get() + (size_t) f * 2;
    float* left = output[0] + firstIndex + skipped;
    float* right = output[1] + firstIndex + skipped;
    for (int i = 0; i < count; ++i)
    {
        left[i] = fromStoredSample (in[2 * i]);
        right[i] = fromStoredSample (in[2 * i + 1]);
    }
}

juce::int64 WaveFile::getLength() const noexcept
{
    if (writer != nullptr)
        return writer->getDataBytes() / WaveFormat::recorderFrameBytes;

    return opened ? (juce::int64) format.dataSize / WaveFormat::recorderFrameBytes : 0;
}

//==============================================================================
bool WaveFile::openForWriting (const juce::File& file, int queueFrames, juce::int64 largestDataBytes)
{
    close();
    path = file;
    finishedFirst = finishedLast = -1;
    finishedLost = 0;
    finishedFull = false;

    // The name is made anew: a file or a link planted there is removed, never written through.
    if (file.isSymbolicLink())
        ::unlink (file.getFullPathName().toRawUTF8());
    else if (file.existsAsFile())
        file.deleteFile();

    const int fd = ::open (file.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;

    const auto header = makeWaveHeader (0);
    if (! platform::writeFully (fd, header.data(), header.size()))
    {
        ::close (fd);
        file.deleteFile();
        return false;
    }

    if (queueFrames <= 0)
    {
        // At least two seconds of audio at the engine's rate, with room to spare.
        const auto rate = juce::jmax (44100.0, getEngineSettings().sampleRate.load());
        queueFrames = (int) (rate * 3.0);
    }

    writer = std::make_unique<WaveStreamWriter> (fd, queueFrames, largestDataBytes);
    writer->start();

    format = {};
    format.formatTag = 1;
    format.channels = 2;
    format.sampleRate = WaveFormat::recorderRate;
    format.byteRate = WaveFormat::recorderRate * WaveFormat::recorderFrameBytes;
    format.blockAlign = WaveFormat::recorderFrameBytes;
    format.bitsPerSample = 16;
    format.riffSize = 36;
    format.dataStart = WaveFormat::headerBytes;
    opened = valid = true;
    return true;
}

bool WaveFile::queueWrite (int n, juce::int64 timelinePosition, const float* const* input, int firstIndex) noexcept
{
    return writer != nullptr && writer->queue (n, timelinePosition, input, firstIndex);
}

bool WaveFile::writeWaiting (int n, juce::int64 timelinePosition, const float* const* input, int firstIndex)
{
    return writer != nullptr && writer->queueWaiting (n, timelinePosition, input, firstIndex);
}

bool WaveFile::finish()
{
    if (writer == nullptr)
        return true;

    const bool ok = writer->finish();
    finishedFirst = writer->getFirstWrittenPosition();
    finishedLast = writer->getLastWrittenPosition();
    finishedLost = writer->getLostFrames();
    finishedFull = writer->isFull();
    format.dataSize = (uint32_t) writer->getDataBytes();
    format.riffSize = 36 + format.dataSize;
    writer.reset();

    if (finishedLost > 0)
        juce::Logger::writeToLog ("WAV recording lost " + juce::String (finishedLost)
                                  + " frames: the disk did not keep up (" + path.getFullPathName() + ").");
    if (finishedFull)
        juce::Logger::writeToLog ("WAV recording stopped at the largest size a WAV file can hold ("
                                  + path.getFullPathName() + ").");
    if (! ok)
        juce::Logger::writeToLog ("Failed writing WAV file " + path.getFullPathName() + ".");

    return ok;
}

juce::int64 WaveFile::getFirstWrittenPosition() const noexcept
{
    return writer != nullptr ? writer->getFirstWrittenPosition() : finishedFirst;
}

juce::int64 WaveFile::getLastWrittenPosition() const noexcept
{
    return writer != nullptr ? writer->getLastWrittenPosition() : finishedLast;
}

juce::int64 WaveFile::getQueueHighWater() const noexcept
{
    return writer != nullptr ? writer->getQueueHighWater() : 0;
}

int WaveFile::getQueueCapacity() const noexcept
{
    return writer != nullptr ? writer->getQueueCapacity() : 0;
}

juce::int64 WaveFile::getLostFrames() const noexcept
{
    return writer != nullptr ? writer->getLostFrames() : finishedLost;
}

bool WaveFile::isFull() const noexcept
{
    return writer != nullptr ? writer->isFull() : finishedFull;
}

juce::File WaveFile::newNumberedFile (const juce::File& folder, const juce::String& stem, const juce::String& extension)
{
    for (int n = 0;; ++n)
    {
        auto candidate = folder.getChildFile (stem + juce::String (n) + extension);
        if (! candidate.exists() && ! candidate.isSymbolicLink())
            return candidate;
    }
}

} // namespace T730
