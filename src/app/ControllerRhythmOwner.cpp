#include "app/ControllerRhythmOwner.h"

#include "app/ControllerRequest.h"
#include "documents/Project.h"

namespace T730
{

ControllerRhythmOwner::ControllerRhythmOwner (Request requestFunction, Project* toolSet)
    : request (std::move (requestFunction)), project (toolSet)
{
}

juce::int64 ControllerRhythmOwner::getLongestRecordingLength()
{
    juce::int64 length = 0;
    if (request != nullptr)
        request (GetLongestRecorderLength, 0, 0, &length);
    return length;
}

int ControllerRhythmOwner::getToolSetPreCount()
{
    return project != nullptr ? project->PreCount : 0;
}

void ControllerRhythmOwner::setToolSetSongFile (const juce::String& fileName)
{
    if (project == nullptr)
        return;
    if (project->songFiles.isEmpty())
        project->songFiles.add (fileName);
    else
        project->songFiles.set (0, fileName);
}

} // namespace T730
