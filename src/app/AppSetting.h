#pragma once

#include "documents/UserData.h"
#include <juce_core/juce_core.h>

namespace T730
{

/** The program's settings, kept in "OXAToolsM7c.xml" in the setting folder.
    The controller holds the one instance; other parts reach it through the
    controller and read or change the fields directly (message thread only). */
class AppSetting : public UserData
{
public:
    AppSetting() = default;

    /** Reads the keys of a "Setting" element; a missing key takes its read default
        (note: the two options then read as off). Each key is read on its own: an
        integer key takes the leading number of its text (0 when it has none) and a
        TimeLastDownloadInfo that is not of the written form leaves the field as it
        was. False, with every field left as it was, for a null element or an
        element of another kind. */
    bool read (const juce::XmlElement* element) override;

    /** Takes the program version and the main window's position (when there is a
        main window), then appends the twelve keys in their fixed order. */
    bool write (juce::XmlElement* element) override;

    /** The time text of the settings file: "%Y%m%d_%H%M%S" in local time, the year
        always written with four digits. */
    static juce::String formatTime (juce::Time time);

    /** Reads a time text of that form; false when it is not one. */
    static bool parseTime (const juce::String& text, juce::Time& result);

    /** The root element of the settings file. */
    static constexpr const char* rootTag = "Setting";

    /** The settings file's name in the setting folder. */
    static constexpr const char* fileName = "OXAToolsM7c.xml";

    juce::String HostVersion;
    bool EasyBoot = true;
    int WindowX = 0;
    int WindowY = 0;
    juce::String CurrentProject;
    int MasterLv = 100;
    bool Character = true;
    juce::Time TimeLastDownloadInfo;
    int DrummerX = 0;
    int DrummerY = 0;
    int BassistX = 0;
    int BassistY = 0;
};

} // namespace T730
