#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The questions and file dialogs the controller puts to the user. The
    standard implementation uses the program's own message boxes and the
    system's file choosers; tests install their own answers. Message thread only. */
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    /** The confirmation box: true only for OK. */
    virtual bool confirm (const juce::String& text) = 0;

    /** The overwrite box: 0 Cancel, 1 OK (overwrite), 2 Rename. */
    virtual int askOverwrite (const juce::String& text) = 0;

    /** The open dialog for files "*.<extension>", starting at `initial`. */
    virtual bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) = 0;

    /** The save dialog: the chosen name gets "." + extension appended unless
        it already ends so, and then an existing file of that name is only
        replaced when the user agrees. */
    virtual bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) = 0;

    /** The dialogs in use (the standard ones unless others were installed). */
    static UserDialogs& get();

    /** Installs other dialogs (not owned; null restores the standard ones);
        returns the previous ones. */
    static UserDialogs* install (UserDialogs* dialogs);

    /** The chosen file with "." + extension appended when its extension
        (compared case-sensitively, with the dot) differs. */
    static juce::File withExtension (const juce::File& file, const juce::String& extension);
};

} // namespace T730
