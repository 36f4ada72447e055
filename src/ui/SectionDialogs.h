#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The questions, messages and file dialogs a section puts to the user: the
    program's message boxes and the system's file choosers (the controller's
    dialogs, which tests replace with scripted answers). Each runs a modal
    loop, so a caller re-checks what it held before asking. Message thread only. */
class SectionDialogs
{
public:
    virtual ~SectionDialogs() = default;

    /** The confirmation box: true only for OK. */
    virtual bool confirm (const juce::String& text) = 0;

    /** The overwrite box: 0 Cancel, 1 OK (overwrite), 2 Rename. Dialogs that
        cannot ask answer Cancel, so nothing is replaced unasked. */
    virtual int askOverwrite (const juce::String& text) { (void) text; return 0; }

    /** The error box (the message is logged too); returns when it is closed. */
    virtual void showError (const juce::String& text) = 0;

    /** The open dialog for "*.<extension>" files, starting at `initial`. */
    virtual bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) = 0;

    /** The save dialog: the extension is appended when missing, and replacing an
        existing file needs the user's consent. */
    virtual bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) = 0;
};

} // namespace T730
