#pragma once

#include "recorder/WaveFile.h"

namespace T730
{

/** One recorded region of a take: a WAV file placed on the recorder's
    timeline between a start and an end point (samples at 44100 Hz). The file
    name is a plain name inside the recorder's folder; the open file is owned
    and not stored (null while closed). */
struct OneRecord
{
    juce::int64 start = 0;
    juce::int64 end = 0;
    juce::String fileName;
    std::unique_ptr<WaveFile> wave;

    /** Start, end and file name, without the open file. */
    std::unique_ptr<OneRecord> copyWithoutFile() const
    {
        auto copy = std::make_unique<OneRecord>();
        copy->start = start;
        copy->end = end;
        copy->fileName = fileName;
        return copy;
    }

    bool isOpen() const noexcept { return wave != nullptr && wave->isValid(); }
};

} // namespace T730
