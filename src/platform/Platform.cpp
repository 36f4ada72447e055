#include "platform/Platform.h"
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace T730::platform
{

juce::File getExecutableFolder()
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
}

juce::File getUserDocumentsFolder()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}

juce::String getProgramVersion()
{
    return OXA_VERSION_STRING;
}

bool openFolderInFileBrowser (const juce::File& folder)
{
    if (! folder.isDirectory())
        return false;

    std::string program ("xdg-open"), path (folder.getFullPathName().toStdString());
    char* argv[] = { program.data(), path.data(), nullptr };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t pid = 0;
    const bool started = posix_spawnp (&pid, program.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy (&actions);

    // The browser may run for as long as its window stays open: a thread of its
    // own waits for it, so that no finished process is left behind unreaped.
    if (started)
        std::thread ([pid] { ::waitpid (pid, nullptr, 0); }).detach();

    return started;
}

} // namespace T730::platform
