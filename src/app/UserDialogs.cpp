#include "app/UserDialogs.h"

#include "app/FileDialogs.h"
#include "documents/Project.h"
#include "ui/OxDialog.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

namespace
{
    /** The program's own boxes and the system's file choosers. */
    class StandardDialogs final : public UserDialogs
    {
    public:
        bool confirm (const juce::String& text) override { return MessageBoxes::confirm (text); }

        int askOverwrite (const juce::String& text) override { return MessageBoxes::askOverwrite (text); }

        bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            return FileDialogs::chooseFileToOpen (initial, extension, chosen);
        }

        bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            return FileDialogs::chooseFileToSave (initial, extension, chosen);
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
