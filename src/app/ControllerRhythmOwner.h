#pragma once

#include "rhythm/Rhythmer.h"

#include <functional>

namespace T730
{

class Project;

/** The rhythm machine's questions to the controller: the longest recording is
    the controller's request 12 (GetLongestRecorderLength), the count-in and the
    song file are the tool set's. Message thread. */
class ControllerRhythmOwner final : public RhythmerOwner
{
public:
    using Request = std::function<int (int code, int param1, int param2, void* data)>;

    /** The project is the controller's tool set (not owned; may be null). */
    ControllerRhythmOwner (Request requestFunction, Project* toolSet);

    juce::int64 getLongestRecordingLength() override;
    int getToolSetPreCount() override;
    /** The tool set's song file list then starts with the name. */
    void setToolSetSongFile (const juce::String& fileName) override;

private:
    const Request request;
    Project* const project;
};

} // namespace T730
