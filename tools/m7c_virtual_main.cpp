// m7c-virtual: the virtual M7c as a MIDI port named "M7c" on the ALSA
// sequencer, so that OXA Tools can be tried on a desktop without the device.
//
//   m7c-virtual [--knob SECONDS] [--delay MS] [--silent] [--wrong-check]
//               [--response-code N] [--truncate BYTES]
//
// --knob turns the level knob of the device every SECONDS seconds (a parameter
// change the program must follow); the others switch on the device model's
// faults. Stop it with Ctrl+C.

#include "VirtualM7c.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace
{
    std::atomic<bool> stopRequested { false };

    void onSignal (int) { stopRequested = true; }

    struct InputCallback : public juce::MidiInputCallback
    {
        explicit InputCallback (m7c::VirtualM7c& d) : device (d) {}

        void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
        {
            device.receiveFromHost (message.getRawData(), (size_t) message.getRawDataSize());
            std::printf ("host -> M7c: %d bytes\n", message.getRawDataSize());
            std::fflush (stdout);
        }

        m7c::VirtualM7c& device;
    };

    int numberAfter (int& i, int argc, char** argv)
    {
        if (i + 1 >= argc)
        {
            std::fprintf (stderr, "%s needs a number\n", argv[i]);
            std::exit (2);
        }

        return std::atoi (argv[++i]);
    }
}

int main (int argc, char** argv)
{
    m7c::VirtualM7c device;
    device.fillWithTestPatches (7);

    m7c::VirtualM7c::Faults faults;
    int knobSeconds = 0;

    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp (argv[i], "--knob") == 0)               knobSeconds = numberAfter (i, argc, argv);
        else if (std::strcmp (argv[i], "--delay") == 0)         faults.delayMs = numberAfter (i, argc, argv);
        else if (std::strcmp (argv[i], "--silent") == 0)        faults.silent = true;
        else if (std::strcmp (argv[i], "--wrong-check") == 0)   faults.wrongCheck = true;
        else if (std::strcmp (argv[i], "--response-code") == 0) faults.responseCode = numberAfter (i, argc, argv);
        else if (std::strcmp (argv[i], "--truncate") == 0)      faults.truncateTo = (size_t) numberAfter (i, argc, argv);
        else
        {
            std::fprintf (stderr, "usage: %s [--knob SECONDS] [--delay MS] [--silent] [--wrong-check] "
                                  "[--response-code N] [--truncate BYTES]\n", argv[0]);
            return 2;
        }
    }

    device.setFaults (faults);

    // The program reads from this port (it lists it as the MIDI input "M7c") ...
    auto toHost = juce::MidiOutput::createNewDevice ("M7c");
    InputCallback callback (device);
    // ... and writes to this one (its MIDI output "M7c").
    auto fromHost = juce::MidiInput::createNewDevice ("M7c", &callback);

    if (toHost == nullptr || fromHost == nullptr)
    {
        std::fprintf (stderr, "m7c-virtual: no ALSA sequencer here (is the snd-seq module loaded?)\n");
        return 1;
    }

    device.setHostSink ([&toHost] (const m7c::Bytes& message)
    {
        toHost->sendMessageNow (juce::MidiMessage (message.data(), (int) message.size()));
        std::printf ("M7c -> host: %d bytes\n", (int) message.size());
        std::fflush (stdout);
    });

    fromHost->start();
    std::signal (SIGINT, onSignal);
    std::signal (SIGTERM, onSignal);
    std::printf ("Virtual M7c ready: MIDI port \"M7c\". Ctrl+C stops it.\n");
    std::fflush (stdout);

    int level = 0;
    auto nextKnob = std::chrono::steady_clock::now() + std::chrono::seconds (knobSeconds);

    while (! stopRequested)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (50));

        if (knobSeconds > 0 && std::chrono::steady_clock::now() >= nextKnob)
        {
            level = (level + 7) % 50;
            device.turnKnob (0, 2, level);
            nextKnob += std::chrono::seconds (knobSeconds);
        }
    }

    fromHost->stop();
    device.setHostSink ({});
    device.waitUntilIdle (1000);
    return 0;
}
