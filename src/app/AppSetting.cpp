#include "app/AppSetting.h"
#include "app/HelloWorldWindow.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"
#include <limits>

namespace T730
{

namespace
{
    /** A decimal number that fits an int (every value the writer can produce). */
    bool parseDecimal (const juce::String& text, int& result)
    {
        const auto t = text.trim();
        const bool negative = t.startsWithChar ('-');
        const auto digits = negative || t.startsWithChar ('+') ? t.substring (1) : t;
        if (digits.isEmpty() || ! digits.containsOnly ("0123456789") || digits.length() > 10)
            return false;

        const auto value = negative ? -digits.getLargeIntValue() : digits.getLargeIntValue();
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            return false;

        result = (int) value;
        return true;
    }

    /** An integer key: missing gives the default, an empty element 0 (as the
        program has always read it), anything else must be a decimal number. */
    bool readInt (const juce::XmlElement* root, const char* tag, int defaultValue, int& result)
    {
        const auto* element = findElement (root, tag);
        if (element == nullptr)
        {
            result = defaultValue;
            return true;
        }

        const auto text = getOwnText (element).trim();
        if (text.isEmpty())
        {
            result = 0;
            return true;
        }

        return parseDecimal (text, result);
    }

    bool readBool (const juce::XmlElement* root, const char* tag, bool& result)
    {
        int value = 0;
        if (! readInt (root, tag, 0, value))
            return false;

        result = value != 0;
        return true;
    }
} // namespace

juce::String AppSetting::formatTime (juce::Time time)
{
    return time.formatted ("%Y%m%d_%H%M%S");
}

bool AppSetting::parseTime (const juce::String& text, juce::Time& result)
{
    if (text.length() != 15 || text[8] != '_'
        || ! text.substring (0, 8).containsOnly ("0123456789")
        || ! text.substring (9).containsOnly ("0123456789"))
        return false;

    const auto number = [&text] (int start, int end) { return text.substring (start, end).getIntValue(); };
    const int year = number (0, 4), month = number (4, 6), day = number (6, 8);
    const int hour = number (9, 11), minute = number (11, 13), second = number (13, 15);

    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return false;

    result = juce::Time (year, month - 1, day, hour, minute, second, 0, true);
    return true;
}

bool AppSetting::read (const juce::XmlElement* element)
{
    if (element == nullptr || ! element->hasTagName (rootTag))
        return false;

    // Read into a copy so that a bad key leaves every field as it was.
    AppSetting loaded (*this);
    loaded.HostVersion = getElementText (element, "HostVersion");
    loaded.CurrentProject = getElementText (element, "CurrentProject");

    bool ok = readBool (element, "EasyBoot", loaded.EasyBoot)
              && readInt (element, "WindowX", 0, loaded.WindowX)
              && readInt (element, "WindowY", 0, loaded.WindowY)
              && readInt (element, "MasterLv", 100, loaded.MasterLv)
              && readBool (element, "Character", loaded.Character)
              && readInt (element, "DrummerX", 0, loaded.DrummerX)
              && readInt (element, "DrummerY", 0, loaded.DrummerY)
              && readInt (element, "BassistX", 0, loaded.BassistX)
              && readInt (element, "BassistY", 0, loaded.BassistY);

    const auto timeText = getElementText (element, "TimeLastDownloadInfo").trim();
    if (ok && timeText.isNotEmpty())
        ok = parseTime (timeText, loaded.TimeLastDownloadInfo);

    if (! ok)
        return false;

    *this = loaded;
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
