#include "app/FileCopyThread.h"
#include "platform/DataFolders.h"

namespace T730
{

FileCopyThread::FileCopyThread (InstController* c) : juce::Thread ("File Copy Thread"), controller (c)
{
    juce::ignoreUnused (controller);
}

FileCopyThread::~FileCopyThread()
{
    stopThread (-1);
}

void FileCopyThread::run()
{
    // The copy order differs from the order of the first-run test.
    const std::pair<float, const char*> steps[] = {
        { 0.1f, UserFolder::setting },   { 0.3f, UserFolder::song },      { 0.5f, UserFolder::rhythm },
        { 0.6f, UserFolder::patchgroup }, { 0.95f, UserFolder::toolsets },
    };

    for (const auto& [target, name] : steps)
    {
        targetProgress = target;
        getUserDataFolder (name, true);
    }

    done = true;
}

float FileCopyThread::advance()
{
    if (progress < targetProgress.load())
        progress += step;

    return progress;
}

} // namespace T730
