#include "app/AppSetting.h"
#include "app/HelloWorldWindow.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"

namespace T730
{

namespace
{
    bool readBool (const juce::XmlElement* root, const char* tag)
    {
        return getElementInt (root, tag, 0) != 0;
    }

    bool isDigits (const juce::String& text)
    {
        return text.isNotEmpty() && text.containsOnly ("0123456789");
    }
} // namespace

juce::String AppSetting::formatTime (juce::Time time)
{
    // The year is written with four digits whatever its value, so that the text
    // keeps the fixed positions the reader takes it from.
    return juce::String::formatted ("%04d%02d%02d_%02d%02d%02d",
                                    juce::jlimit (0, 9999, time.getYear()), time.getMonth() + 1,
                                    time.getDayOfMonth(), time.getHours(), time.getMinutes(),
                                    time.getSeconds());
}

bool AppSetting::parseTime (const juce::String& text, juce::Time& result)
{
    if (text.length() != 15 || text[8] != '_' || ! isDigits (text.substring (0, 8)) || ! isDigits (text.substring (9)))
        return false;

    const auto number = [&text] (int start, int end) { return text.substring (start, end).getIntValue(); };
    const int year = number (0, 4), month = number (4, 6), day = number (6, 8);
    const int hour = number (9, 11), minute = number (11, 13), second = number (13, 15);

    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return false;

    // A date the clock cannot represent (years far before 1970 come back shifted)
    // is damage too: only a time that gives back its own text is taken.
    const juce::Time time (year, month - 1, day, hour, minute, second, 0, true);
    if (formatTime (time) != text)
        return false;

    result = time;
    return true;
}

bool AppSetting::read (const juce::XmlElement* element)
{
    if (element == nullptr || ! element->hasTagName (rootTag))
        return false;

    // Every key is read on its own: a damaged value gives what the integer reader
    // makes of it (its leading number, or 0) and leaves the other keys as they are.
    HostVersion = getElementText (element, "HostVersion");
    EasyBoot = readBool (element, "EasyBoot");
    WindowX = getElementInt (element, "WindowX", 0);
    WindowY = getElementInt (element, "WindowY", 0);
    CurrentProject = getElementText (element, "CurrentProject");
    MasterLv = getElementInt (element, "MasterLv", 100);
    Character = readBool (element, "Character");
    DrummerX = getElementInt (element, "DrummerX", 0);
    DrummerY = getElementInt (element, "DrummerY", 0);
    BassistX = getElementInt (element, "BassistX", 0);
    BassistY = getElementInt (element, "BassistY", 0);

    // A time that is empty, missing or not of the written form leaves the field unchanged.
    const auto timeText = getElementText (element, "TimeLastDownloadInfo").trim();
    juce::Time time;
    if (parseTime (timeText, time))
        TimeLastDownloadInfo = time;

    return true;
}

bool AppSetting::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    HostVersion = getModuleVersion();

    if (const auto position = HelloWorldWindow::getMainWindowPosition())
    {
        WindowX = position->x;
        WindowY = position->y;
    }

    addTextChild (element, "HostVersion", HostVersion);
    addTextChild (element, "EasyBoot", EasyBoot ? "1" : "0");
    addTextChild (element, "WindowX", juce::String (WindowX));
    addTextChild (element, "WindowY", juce::String (WindowY));
    addTextChild (element, "CurrentProject", CurrentProject);
    addTextChild (element, "MasterLv", juce::String (MasterLv));
    addTextChild (element, "Character", Character ? "1" : "0");
    addTextChild (element, "TimeLastDownloadInfo", formatTime (TimeLastDownloadInfo));
    addTextChild (element, "DrummerX", juce::String (DrummerX));
    addTextChild (element, "DrummerY", juce::String (DrummerY));
    addTextChild (element, "BassistX", juce::String (BassistX));
    addTextChild (element, "BassistY", juce::String (BassistY));
    return true;
}

} // namespace T730
