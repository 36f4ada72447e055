#include "platform/DevicePresence.h"

namespace T730::platform
{

namespace
{
    std::function<juce::StringArray()>& nameSource()
    {
        static std::function<juce::StringArray()> source;
        return source;
    }
}

bool hasMidiSequencer()
{
    return juce::File ("/dev/snd/seq").exists();
}

void setMidiInputNameSource (std::function<juce::StringArray()> source)
{
    nameSource() = std::move (source);
}

juce::StringArray getDevicePortSearchNames()
{
    return { "M7c" };
}

juce::StringArray getMidiInputNames()
{
    if (auto& source = nameSource())
        return source();

    juce::StringArray names;

    // Asking JUCE without a sequencer makes ALSA print an error on every call.
    if (! hasMidiSequencer())
        return names;

    for (const auto& device : juce::MidiInput::getAvailableDevices())
        names.add (device.name);

    return names;
}

bool isM7cPresent()
{
    for (const auto& name : getMidiInputNames())
        if (isM7cPortName (name))
            return true;

    return false;
}

} // namespace T730::platform

DevConnection::DevConnection (DevConnectionListener* l, std::function<juce::StringArray()> list)
    : listener (l), listInputs (list ? std::move (list) : std::function<juce::StringArray()> (T730::platform::getMidiInputNames))
{
    lastNames = listInputs();
    startTimer (pollIntervalMs);
}

DevConnection::~DevConnection()
{
    stopTimer();
}

void DevConnection::checkNow()
{
    auto names = listInputs();

    if (names == lastNames)
        return;

    lastNames = std::move (names);

    if (listener != nullptr)
        listener->devicePresenceChanged();
}
