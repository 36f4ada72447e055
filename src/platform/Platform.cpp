#include "platform/Platform.h"

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
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

namespace
{
    /** Makes the folder when missing (owner only) and checks that it is a real
        folder of this user's, narrowing its permissions to the owner's. */
    bool ensurePrivateFolder (const juce::File& folder)
    {
        const auto path = folder.getFullPathName().toStdString();
        if (::mkdir (path.c_str(), 0700) != 0 && errno != EEXIST)
            return false;

        struct stat info {};
        if (::lstat (path.c_str(), &info) != 0 || ! S_ISDIR (info.st_mode) || info.st_uid != ::getuid())
            return false;

        if ((info.st_mode & 077) != 0 && ::chmod (path.c_str(), 0700) != 0)
            return false;

        return true;
    }
} // namespace

juce::File getPrivateCacheFolder()
{
    juce::File cache;
    if (const char* xdg = std::getenv ("XDG_CACHE_HOME"); xdg != nullptr && juce::File::isAbsolutePath (xdg))
        cache = juce::File (juce::String::fromUTF8 (xdg));
    else
        cache = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".cache");

    // The cache folder itself may be shared by the desktop's own conventions; it
    // is made when missing but only the program's folder inside is checked.
    if (! cache.isDirectory() && ! cache.createDirectory())
        return {};

    const auto folder = cache.getChildFile ("OXA Tools");
    return ensurePrivateFolder (folder) ? folder : juce::File();
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

void ignoreBrokenPipes()
{
    std::signal (SIGPIPE, SIG_IGN);
}

} // namespace T730::platform
