#include "app/UserDialogs.h"

#include "documents/Project.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

namespace
{
    constexpr const char* dialogTitle = "OXA Tools";

    class StandardDialogs final : public UserDialogs
    {
    public:
        bool confirm (const juce::String& text) override
        {
            return juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::WarningIcon,
                                                       dialogTitle, text, "OK", "Cancel");
        }

        int askOverwrite (const juce::String& text) override
        {
            // showYesNoCancelBox answers 1 for the first button, 2 for the second, 0 for cancel.
            return juce::AlertWindow::showYesNoCancelBox (juce::MessageBoxIconType::WarningIcon,
                                                          dialogTitle, text, "OK", "Rename", "Cancel");
        }

        bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            juce::FileChooser chooser (dialogTitle, initial, "*." + extension);
            if (! chooser.browseForFileToOpen())
                return false;

            chosen = chooser.getResult();
            return chosen != juce::File();
        }

        bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            juce::FileChooser chooser (dialogTitle, initial, "*." + extension);
            if (! chooser.browseForFileToSave (true))
                return false;

            if (chooser.getResult() == juce::File())
                return false;

            chosen = withExtension (chooser.getResult(), extension);
            return true;
        }
    };

    StandardDialogs standardDialogs;
    UserDialogs* installed = nullptr; // message thread only
} // namespace

UserDialogs& UserDialogs::get()
{
    return installed != nullptr ? *installed : standardDialogs;
}

UserDialogs* UserDialogs::install (UserDialogs* dialogs)
{
    return std::exchange (installed, dialogs);
}

juce::File UserDialogs::withExtension (const juce::File& file, const juce::String& extension)
{
    if (file.getFileExtension() == "." + extension)
        return file;

    return childNamed (file.getParentDirectory(), file.getFileName() + "." + extension);   // "~mine" stays a name
}

} // namespace T730
