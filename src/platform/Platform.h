#pragma once

#include <juce_core/juce_core.h>

/* The operating-system side of the program, for Linux.

   The program was laid out for a system with a registry, version resources and
   a USB device list; each of those questions is answered here from what Linux
   offers, so that the rest of the program asks the same questions and takes the
   same decisions. */
namespace T730::platform
{

/** The folder that holds the running executable (the install folder). */
juce::File getExecutableFolder();

/** The user's documents folder: JUCE's user documents folder (the XDG documents
    folder when ~/.config/user-dirs.dirs names an existing one, else ~/Documents). */
juce::File getUserDocumentsFolder();

/** The program's version text, compiled in from the project version. */
juce::String getProgramVersion();

/** The program was written for two generations of one system and searches its
    MIDI port differently on each; this platform always takes the newer branch. */
constexpr bool isNewerSystem() noexcept { return true; }

/** The program's own folder in the user's cache folder ($XDG_CACHE_HOME, else
    ~/.cache), then "OXA Tools": created with owner-only permissions (and narrowed
    to them when it is wider). An empty File when it cannot be made, or when what
    is there is a link, not a folder, or owned by someone else: another account
    must never be able to see or swap the files the program unpacks there. */
juce::File getPrivateCacheFolder();

/** Opens a folder in the desktop's file browser (xdg-open); false when it could not be started. */
bool openFolderInFileBrowser (const juce::File& folder);

/** Writing to a pipe or socket whose other end has closed fails with an error
    the writer handles instead of ending the process (a download connection the
    server dropped, a message posted while the message queue shuts down). */
void ignoreBrokenPipes();

} // namespace T730::platform
