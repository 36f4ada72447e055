#pragma once

#include "documents/UserData.h"

namespace T730
{

/** A range of the recorder's timeline in samples (punch-in/out points, a loop)
    with its switch. Stored as "StartPoint", "EndPoint" (unsigned 32-bit
    decimal) and "OnOff" (0 or 1); held in 64 bits. */
class LocateRange final : public UserData
{
public:
    LocateRange() = default;
    LocateRange (juce::int64 startPoint, juce::int64 endPoint, bool on) noexcept
        : start (startPoint), end (endPoint), enabled (on) {}

    /** Missing keys read as 0 (and off); values outside 0..2^32-1 are held at that range. */
    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    bool operator== (const LocateRange& other) const noexcept
    {
        return start == other.start && end == other.end && enabled == other.enabled;
    }
    bool operator!= (const LocateRange& other) const noexcept { return ! operator== (other); }

    juce::int64 start = 0;
    juce::int64 end = 0;
    bool enabled = false;
};

/** The unsigned 32-bit sample position stored at the path; the default when
    the element is missing. Negative values read as 0, larger ones as 2^32-1. */
juce::int64 readStoredPosition (const juce::XmlElement* element, const juce::String& path, juce::int64 defaultValue);

/** The text a position is stored as (held at 0..2^32-1). */
juce::String storedPositionText (juce::int64 position);

} // namespace T730
