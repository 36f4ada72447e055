// Merging the two older regions of a take into one WAV file.
#include "recorder/WaveFile.h"

#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "recorder/OneRecord.h"
#include "recorder/TakeStatus.h"

#include <vector>

namespace T730
{

std::unique_ptr<OneRecord> WaveFile::merge (const juce::File& destination, const OneRecord& older, const OneRecord& newer)
{
    const auto start = juce::jmin (older.start, newer.start);
    const auto end = juce::jmax (older.end, newer.end);
    if (end < start || (end - start) * WaveFormat::recorderFrameBytes > WaveFormat::largestDataBytes)
        return nullptr;

    const auto failed = [&destination]
    {
        destination.deleteFile();
        juce::Logger::writeToLog ("Failed merging takes into " + destination.getFullPathName() + ".");
        return std::unique_ptr<OneRecord>();
    };

    WaveFile out;
    if (! out.openForWriting (destination))
        return failed();

    // The merged file holds what the take played over the merged region: the
    // same renderer, one second at a time. A region whose file is missing
    // plays nothing there, as it did in the take. Only the fades at the
    // merged region's own ends are left to the merged record.
    const int r = FadeRamp::lengthFor (getEngineSettings().sampleRate.load());
    const OneRecord* records[2] = { &newer, &older };
    constexpr int second = (int) WaveFormat::recorderRate;
    std::vector<float> left ((size_t) second), right ((size_t) second);
    float* const buffers[2] = { left.data(), right.data() };

    for (auto position = start; position < end; position += second)
    {
        const int n = (int) juce::jmin<juce::int64> (second, end - position);
        std::fill (left.begin(), left.end(), 0.0f);
        std::fill (right.begin(), right.end(), 0.0f);
        TakeStatus::renderRecords (records, 2, position, buffers, 0, n, r, start, end);

        if (! out.writeWaiting (n, position, buffers, 0))
            return failed();
    }

    if (! out.finish() || out.getLength() != end - start)
        return failed();

    auto merged = std::make_unique<OneRecord>();
    merged->start = start;
    merged->end = end;
    merged->fileName = destination.getFileName();
    merged->wave = std::make_unique<WaveFile>();
    if (! merged->wave->openForReading (destination) || ! merged->wave->isValid())
        return failed();

    return merged;
}

} // namespace T730
