#pragma once

// A private JACK server for a test (or benchmark) process, and a JACK client of
// the test's own that plays into the engine and records what it plays.
//
// The server runs the dummy back end without real-time scheduling (as a CI
// machine allows, root or not). Its name is unique per process and per server,
// so that tests running side by side never share one; JACK_DEFAULT_SERVER names
// it while it lives, which is how JUCE's JACK device type and the test client
// find it. It is stopped when the object goes (a failed assertion included) and
// by the kernel when the process dies.

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>
#include <vector>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;

namespace oxatest
{

class JackTestServer
{
public:
    /** Starts `jackd --no-realtime -n <unique> -d dummy -r <rate> -p <period>`
        and waits (up to 10 s) until a client can connect. */
    explicit JackTestServer (int sampleRate = 44100, int period = 512);

    /** Stops the server (terminate, then kill after 5 s) and waits for it. */
    ~JackTestServer();

    bool isRunning() const noexcept { return running; }
    const juce::String& getName() const noexcept { return name; }

    /** Why it did not start, with the server's own output. */
    juce::String getError() const;

private:
    void stop();

    juce::String name;
    juce::File log;
    int pid = -1;
    bool running = false;
    juce::String error, previousServer;
    bool hadPreviousServer = false;

    JUCE_DECLARE_NON_COPYABLE (JackTestServer)
};

/** A client of the test's own on the current server: two output ports that
    play a sine tone (the engine's device takes them as its inputs) and two
    input ports whose audio it can record (the engine's outputs). */
class JackTestClient
{
public:
    explicit JackTestClient (const juce::String& wantedName = "oxa-feed");
    ~JackTestClient();

    bool isOpen() const noexcept { return client != nullptr; }
    /** The name JACK gave the client: the name of the engine's device. */
    const juce::String& getName() const noexcept { return name; }

    /** The tone on both outputs (any thread); amplitude 0 plays silence. */
    void setTone (double frequency, float amplitude);

    /** Plays these samples on both outputs over and over instead of the tone,
        from their start (the test's thread); an empty list goes back to the tone. */
    void setLoop (std::vector<float> samples);

    /** While on, the outputs play what the inputs received in the same
        cycle instead of the tone: the engine's outputs come back to its inputs
        (with the loop, when one is set, played over them). */
    void setLoopback (bool on) noexcept { loopback.store (on); }

    /** The latency ranges JACK reports for the client's ports and those of
        every other client, one line per port ("name capture min..max playback
        min..max"). */
    juce::StringArray describePortLatencies() const;

    /** JACK's latency of a port of another client (the engine's): its
        capture latency for an input, its playback latency for an output (the
        larger end of the range); -1 when there is no such port. */
    int getPortLatency (const juce::String& portName) const;

    /** The latency of the loop the engine's outputs make back to its inputs
        through this client: what JACK reports for the engine's ports (the
        larger of each side, written to engineOut and engineIn) plus one period,
        because the client copies within the cycle and the cycle that closes the
        loop is read one period later. */
    int getLoopLatency (int& engineOut, int& engineIn, int period = 512) const;

    /** The full names of the ports of other clients connected to this client's ports. */
    juce::StringArray getConnectedPorts() const;

    /** Records the next `frames` frames of both inputs; waits (pumping the
        message loop when called on the message thread) until they are there. */
    bool record (int frames, int timeoutMs = 10000);
    /** The last recording of input 0 or 1 (message thread, after record). */
    std::vector<float> getRecording (int channel) const;

    /** Blocks the client's process callback has run. */
    juce::int64 getCycles() const noexcept { return cycles.load(); }

private:
    static int process (unsigned int frames, void* self);
    bool tryOpen (const juce::String& wantedName);

    jack_client_t* client = nullptr;
    jack_port_t* outputs[2] = {};
    jack_port_t* inputs[2] = {};
    juce::String name;

    std::atomic<double> frequency { 0.0 };
    std::atomic<bool> loopback { false };
    std::atomic<float> amplitude { 0.0f };
    double phase = 0.0;                        // the process thread

    // Loops: each list stays until the client goes, so the process thread never
    // holds one that was freed. Written by the test's thread, read by the process thread.
    std::vector<std::unique_ptr<const std::vector<float>>> loops;
    std::atomic<const std::vector<float>*> loop { nullptr };
    const std::vector<float>* playing = nullptr;   // the process thread
    size_t loopPosition = 0;                       // the process thread

    // Recording: the test asks with a new generation, the process callback
    // fills the buffers (allocated once) from its next block on and reports
    // the generation done. The buffers are read only once it is done.
    std::vector<float> recorded[2];
    std::atomic<int> requested { 0 }, requestedFrames { 0 }, done { 0 };
    int active = 0, fill = 0, target = 0;      // the process thread
    int length = 0;                            // the test's thread
    std::atomic<juce::int64> cycles { 0 };

    JUCE_DECLARE_NON_COPYABLE (JackTestClient)
};

/** Opens the engine's device on the current JACK server through JUCE's JACK
    device type: the device of the test client's name, both its channels in
    and out. An error text, or "" when it opened. */
juce::String openJackDevice (juce::AudioDeviceManager& manager, const juce::String& deviceName, int blockSize = 512);

} // namespace oxatest
