#include "device/MidiPortSearch.h"
#include "platform/DevicePresence.h"

#include <gtest/gtest.h>

namespace
{
    struct CountingListener : public DevConnectionListener
    {
        void devicePresenceChanged() override { ++calls; }
        int calls = 0;
    };
}

TEST (DevicePresence, TheListenerHearsOfEveryChangeOfTheMidiInputs)
{
    juce::StringArray inputs { "Midi Through Port-0" };
    CountingListener listener;
    DevConnection watcher (&listener, [&inputs] { return inputs; });

    watcher.checkNow();
    EXPECT_EQ (listener.calls, 0);

    inputs.add ("M7c");
    watcher.checkNow();
    watcher.checkNow();
    EXPECT_EQ (listener.calls, 1);

    inputs.remove (1);
    watcher.checkNow();
    EXPECT_EQ (listener.calls, 2);

    EXPECT_TRUE (T730::platform::isM7cPortName ("M7c"));
    EXPECT_TRUE (T730::platform::isM7cPortName ("M7c MIDI 1"));
    EXPECT_FALSE (T730::platform::isM7cPortName ("m7c"));   // the device's own spelling only
}

TEST (DevicePresence, OnlyTheDevicesOwnPortsAreSearchedNeverAGenericName)
{
    // Another USB MIDI interface on the same machine carries the generic name.
    const juce::StringArray inputs { "USB Audio Device", "2- USB Audio Device", "M7c MIDI 1" };

    juce::Array<int> tried;
    for (const auto& name : T730::platform::getDevicePortSearchNames())
        for (int index : T730::findPortCandidates (inputs, name))
            tried.addIfNotAlreadyThere (index);

    EXPECT_EQ (tried, juce::Array<int> ({ 2 }));

    for (const auto& name : T730::platform::getDevicePortSearchNames())
        EXPECT_TRUE (T730::findPortCandidates ({ "USB Audio Device" }, name).isEmpty()) << name;
}
