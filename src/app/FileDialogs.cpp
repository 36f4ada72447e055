#include "app/FileDialogs.h"

#include "app/UserDialogs.h"
#include "ui/OxDialog.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

namespace FileDialogs
{
    namespace
    {
        juce::String tooLongText()
        {
            return "The path is too long (more than " + juce::String (maxPathLength) + " characters).";
        }

        /** Runs the chooser with the other windows deaf; false when cancelled. */
        bool runChooser (juce::FileChooser& chooser, bool save)
        {
            const ApplicationModal modal (nullptr);
#if JUCE_MODAL_LOOPS_PERMITTED
            return save ? chooser.browseForFileToSave (false) : chooser.browseForFileToOpen();
#else
            juce::ignoreUnused (chooser, save);
            return false;
#endif
        }

        const auto showError = [] (const juce::String& text) { MessageBoxes::showError (text); };
    } // namespace

    Verdict checkSaveChoice (juce::File& chosen, const juce::String& extension,
                             const std::function<bool (const juce::String&)>& confirmReplace,
                             const std::function<void (const juce::String&)>& tell)
    {
        if (chosen == juce::File() || chosen.getFileName().isEmpty())
            return Verdict::cancel;

        chosen = UserDialogs::withExtension (chosen, extension);

        if (chosen.getFullPathName().length() > maxPathLength)
        {
            tell (tooLongText());
            return Verdict::chooseAgain;
        }

        if (! chosen.getParentDirectory().isDirectory())
        {
            tell ("The folder \"" + chosen.getParentDirectory().getFullPathName() + "\" does not exist.");
            return Verdict::chooseAgain;
        }

        if (chosen.isDirectory())
        {
            tell ("\"" + chosen.getFileName() + "\" is a folder.");
            return Verdict::chooseAgain;
        }

        if (chosen.existsAsFile()
            && ! confirmReplace ("\"" + chosen.getFileName() + "\" already exists.\nDo you want to replace it?"))
            return Verdict::chooseAgain;

        return Verdict::accept;
    }

    Verdict checkOpenChoice (const juce::File& chosen, const std::function<void (const juce::String&)>& tell)
    {
        if (chosen == juce::File() || chosen.getFileName().isEmpty())
            return Verdict::cancel;

        if (chosen.getFullPathName().length() > maxPathLength)
        {
            tell (tooLongText());
            return Verdict::chooseAgain;
        }

        if (! chosen.existsAsFile())
        {
            tell ("\"" + chosen.getFullPathName() + "\" is not a file.");
            return Verdict::chooseAgain;
        }

        return Verdict::accept;
    }

    bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen)
    {
        auto start = initial;
        for (;;)
        {
            juce::FileChooser chooser (MessageBoxes::title, start, "*." + extension);
            if (! runChooser (chooser, false))
                return false;

            const auto result = chooser.getResult();
            switch (checkOpenChoice (result, showError))
            {
                case Verdict::accept:      chosen = result; return true;
                case Verdict::cancel:      return false;
                case Verdict::chooseAgain: start = result; break;
            }
        }
    }

    bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen)
    {
        auto start = initial;
        for (;;)
        {
            juce::FileChooser chooser (MessageBoxes::title, start, "*." + extension);
            if (! runChooser (chooser, true))
                return false;

            auto result = chooser.getResult();
            switch (checkSaveChoice (result, extension, MessageBoxes::confirm, showError))
            {
                case Verdict::accept:      chosen = result; return true;
                case Verdict::cancel:      return false;
                case Verdict::chooseAgain: start = result; break;
            }
        }
    }
} // namespace FileDialogs

} // namespace T730
