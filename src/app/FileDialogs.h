#pragma once

#include <juce_core/juce_core.h>
#include <functional>

namespace T730
{

/** The open and save dialogs of the program: the system's file chooser titled
    "OXA Tools" with the one filter "*.<extension>", starting in the initial
    path's folder with its file name filled in. While one is open the program's
    other windows are deaf (ApplicationModal). Message thread only. */
namespace FileDialogs
{
    /** The longest path the dialogs accept. */
    inline constexpr int maxPathLength = 260;

    /** False when cancelled or nothing usable was chosen. */
    bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen);

    /** The save dialog: the chosen name gets "." + extension appended unless its
        extension already is that (compared case-sensitively), and only then is
        an existing file of that name questioned. */
    bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen);

    enum class Verdict
    {
        accept,      // the file is the choice
        chooseAgain, // the user is given the dialog again (with chosen as its start)
        cancel       // nothing was chosen
    };

    /** What the save dialog makes of what the chooser returned: nothing is a
        cancel; the extension is appended; a path over 260 characters or in a
        folder that does not exist is told (through tell) and chosen again; an
        existing file is replaced only when confirmReplace says yes, otherwise
        chosen again. */
    Verdict checkSaveChoice (juce::File& chosen, const juce::String& extension,
                             const std::function<bool (const juce::String&)>& confirmReplace,
                             const std::function<void (const juce::String&)>& tell);

    /** The same checks for the open dialog (no extension, no replacing; the file must exist). */
    Verdict checkOpenChoice (const juce::File& chosen, const std::function<void (const juce::String&)>& tell);
} // namespace FileDialogs

} // namespace T730
