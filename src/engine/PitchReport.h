#pragma once

#include "engine/NetListItem.h"

#include <juce_events/juce_events.h>

#include <atomic>

namespace T730
{

/** The tuner node's owner inside the engine: carries the frequencies the tuner
    module reports on the audio thread to the message thread without allocating
    per report. The latest frequency waits in an atomic; an async update hands
    it to the receiver (the controller, which posts it to the tuner page). Two
    reports within one turn of the message loop arrive as the later one. A
    frequency that is not a finite number is no pitch (0). */
class PitchReport final : public NetListOwner, private juce::AsyncUpdater
{
public:
    /** The receiver is not owned (null: reports go nowhere). */
    explicit PitchReport (NetListOwner* receiver);
    ~PitchReport() override;

    /** Audio thread: keeps the frequency and asks for the hand-over. */
    void nodePitchDetected (float frequency) override;

    /** Reports taken so far (any thread). */
    juce::int64 getNumReports() const noexcept { return reports.load(); }

private:
    void handleAsyncUpdate() override;

    NetListOwner* const receiver;
    std::atomic<float> latest { 0.0f };      // written by the audio thread, read on the message thread
    std::atomic<juce::int64> reports { 0 };

    JUCE_DECLARE_NON_COPYABLE (PitchReport)
};

} // namespace T730
