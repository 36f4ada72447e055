#include "JackTestServer.h"

#include <jack/jack.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace oxatest
{

namespace
{
    constexpr int startTimeoutMs = 10000, stopTimeoutMs = 5000;
    constexpr int recordingCapacity = 1 << 20;   // about 23 s at 44100 Hz

    juce::File findJackd()
    {
        const char* path = std::getenv ("PATH");
        juce::StringArray folders;
        folders.addTokens (path != nullptr ? juce::String (path) : juce::String ("/usr/bin:/bin"), ":", "");
        folders.add ("/usr/bin");
        for (const auto& folder : folders)
        {
            const auto candidate = juce::File (folder).getChildFile ("jackd");
            if (folder.startsWithChar ('/') && candidate.existsAsFile())
                return candidate;
        }
        return {};
    }

    bool canConnect (const juce::String& server)
    {
        jack_status_t status {};
        auto* probe = jack_client_open ("oxa-probe", (jack_options_t) (JackNoStartServer | JackServerName),
                                        &status, server.toRawUTF8());
        if (probe == nullptr)
            return false;
        jack_client_close (probe);
        return true;
    }

    /** JACK prints to stderr when a client finds no server; the tests say it themselves. */
    void quietJack (const char*) {}
} // namespace

//==============================================================================
JackTestServer::JackTestServer (int sampleRate, int period)
{
    static std::atomic<int> serial { 0 };
    name = "oxa-" + juce::String ((int) ::getpid()) + "-" + juce::String (++serial);
    log = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile (name + ".log");

    jack_set_error_function (quietJack);
    jack_set_info_function (quietJack);

    const auto jackd = findJackd();
    if (jackd == juce::File())
    {
        error = "jackd is not installed (scripts/deps installs jackd2)";
        return;
    }

    // Everything the child needs is made before the fork: between fork and exec
    // only async-signal-safe calls happen.
    std::vector<std::string> args { jackd.getFullPathName().toStdString(), "--no-realtime", "-n", name.toStdString(),
                                    "-t", "5000", "-d", "dummy", "-r", std::to_string (sampleRate),
                                    "-p", std::to_string (period) };
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back (a.data());
    argv.push_back (nullptr);

    const int out = ::open (log.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();

    pid = ::fork();
    if (pid == 0)
    {
        // The server goes with the test process, however that ends.
        ::prctl (PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit (127);
        if (out >= 0)
        {
            ::dup2 (out, 1);
            ::dup2 (out, 2);
        }
        ::execv (argv[0], argv.data());
        ::_exit (127);
    }
    if (out >= 0)
        ::close (out);

    if (pid < 0)
    {
        error = "fork failed";
        return;
    }

    const char* previous = std::getenv ("JACK_DEFAULT_SERVER");
    hadPreviousServer = previous != nullptr;
    previousServer = previous != nullptr ? juce::String (previous) : juce::String();
    ::setenv ("JACK_DEFAULT_SERVER", name.toRawUTF8(), 1);

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) startTimeoutMs;
    while (juce::Time::getMillisecondCounter() < end)
    {
        int status = 0;
        if (::waitpid (pid, &status, WNOHANG) == pid)
        {
            pid = -1;
            error = "jackd ended at start (status " + juce::String (status) + ")";
            return;
        }
        if (canConnect (name))
        {
            running = true;
            return;
        }
        juce::Thread::sleep (50);
    }

    error = "jackd did not accept clients within 10 s";
    stop();
}

JackTestServer::~JackTestServer()
{
    stop();
    log.deleteFile();
}

void JackTestServer::stop()
{
    if (pid > 0)
    {
        ::kill (pid, SIGTERM);
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) stopTimeoutMs;
        int status = 0;
        bool ended = false;
        while (! ended && juce::Time::getMillisecondCounter() < end)
        {
            ended = ::waitpid (pid, &status, WNOHANG) == pid;
            if (! ended)
                juce::Thread::sleep (20);
        }
        if (! ended)
        {
            ::kill (pid, SIGKILL);
            ::waitpid (pid, &status, 0);
        }
        pid = -1;
    }

    if (running || name.isNotEmpty())
    {
        if (hadPreviousServer)
            ::setenv ("JACK_DEFAULT_SERVER", previousServer.toRawUTF8(), 1);
        else
            ::unsetenv ("JACK_DEFAULT_SERVER");
    }
    running = false;
}

juce::String JackTestServer::getError() const
{
    return error + "\n" + log.loadFileAsString();
}

//==============================================================================
JackTestClient::JackTestClient (const juce::String& wantedName)
{
    recorded[0].assign (recordingCapacity, 0.0f);
    recorded[1].assign (recordingCapacity, 0.0f);

    // A server that has just started may still refuse a client for a moment
    // while another test's server registers beside it: a few tries.
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) startTimeoutMs;
    for (;;)
    {
        if (tryOpen (wantedName) || juce::Time::getMillisecondCounter() >= end)
            return;
        juce::Thread::sleep (100);
    }
}

bool JackTestClient::tryOpen (const juce::String& wantedName)
{
    jack_status_t status {};
    client = jack_client_open (wantedName.toRawUTF8(), JackNoStartServer, &status);
    if (client == nullptr)
        return false;

    name = juce::String::fromUTF8 (jack_get_client_name (client));
    bool registered = true;
    for (int c = 0; c < 2; ++c)
    {
        outputs[c] = jack_port_register (client, ("out_" + juce::String (c + 1)).toRawUTF8(),
                                         JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        inputs[c] = jack_port_register (client, ("in_" + juce::String (c + 1)).toRawUTF8(),
                                        JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        registered = registered && outputs[c] != nullptr && inputs[c] != nullptr;
    }

    jack_set_process_callback (client, process, this);
    if (! registered || jack_activate (client) != 0)
    {
        jack_client_close (client);
        client = nullptr;
        name = {};
        return false;
    }
    return true;
}

JackTestClient::~JackTestClient()
{
    if (client != nullptr)
    {
        jack_deactivate (client);
        jack_client_close (client);
    }
}

void JackTestClient::setTone (double newFrequency, float newAmplitude)
{
    frequency = newFrequency;
    amplitude = newAmplitude;
}

void JackTestClient::setLoop (std::vector<float> samples)
{
    if (samples.empty())
    {
        loop = nullptr;
        return;
    }

    loops.push_back (std::make_unique<const std::vector<float>> (std::move (samples)));
    loop = loops.back().get();
}

int JackTestClient::process (unsigned int frames, void* arg)
{
    auto& self = *static_cast<JackTestClient*> (arg);
    const int n = (int) frames;
    const double rate = (double) jack_get_sample_rate (self.client);
    const double step = 2.0 * juce::MathConstants<double>::pi * self.frequency.load() / rate;
    const float level = self.amplitude.load();

    auto* left = static_cast<float*> (jack_port_get_buffer (self.outputs[0], frames));
    auto* right = static_cast<float*> (jack_port_get_buffer (self.outputs[1], frames));
    if (self.loopback.load())
    {
        std::memcpy (left, jack_port_get_buffer (self.inputs[0], frames), sizeof (float) * (size_t) n);
        std::memcpy (right, jack_port_get_buffer (self.inputs[1], frames), sizeof (float) * (size_t) n);

        // A loop set while looping back is played over what comes back.
        const auto* wanted = self.loop.load (std::memory_order_acquire);
        if (wanted != self.playing)
        {
            self.playing = wanted;
            self.loopPosition = 0;
        }
        if (self.playing != nullptr)
            for (int i = 0; i < n; ++i)
            {
                const float x = (*self.playing)[self.loopPosition];
                left[i] += x;
                right[i] += x;
                self.loopPosition = (self.loopPosition + 1) % self.playing->size();
            }
    }
    else
    {
        const auto* wanted = self.loop.load (std::memory_order_acquire);
        if (wanted != self.playing)
        {
            self.playing = wanted;
            self.loopPosition = 0;
        }
        for (int i = 0; i < n; ++i)
        {
            if (self.playing != nullptr)
            {
                left[i] = right[i] = (*self.playing)[self.loopPosition];
                self.loopPosition = (self.loopPosition + 1) % self.playing->size();
                continue;
            }
            left[i] = right[i] = level * (float) std::sin (self.phase);
            self.phase = std::fmod (self.phase + step, 2.0 * juce::MathConstants<double>::pi);
        }
    }

    // A new request starts a recording from this block on.
    const int generation = self.requested.load (std::memory_order_acquire);
    if (generation != self.active)
    {
        self.active = generation;
        self.fill = 0;
        self.target = juce::jmin (recordingCapacity, self.requestedFrames.load());
    }
    if (self.active != self.done.load() && self.active > 0)
    {
        const int take = juce::jmin (n, self.target - self.fill);
        for (int c = 0; c < 2; ++c)
        {
            const auto* in = static_cast<const float*> (jack_port_get_buffer (self.inputs[c], frames));
            std::memcpy (self.recorded[c].data() + self.fill, in, sizeof (float) * (size_t) take);
        }
        self.fill += take;
        if (self.fill >= self.target)
            self.done.store (self.active, std::memory_order_release);
    }

    ++self.cycles;
    return 0;
}

bool JackTestClient::record (int frames, int timeoutMs)
{
    if (client == nullptr || frames <= 0 || frames > recordingCapacity)
        return false;

    requestedFrames = frames;
    const int generation = requested.load() + 1;
    requested.store (generation, std::memory_order_release);
    length = frames;

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (done.load (std::memory_order_acquire) != generation)
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        if (juce::MessageManager::existsAndIsCurrentThread())
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        else
            juce::Thread::sleep (5);
    }
    return true;
}

std::vector<float> JackTestClient::getRecording (int channel) const
{
    const auto& all = recorded[channel & 1];
    return std::vector<float> (all.begin(), all.begin() + length);
}

juce::StringArray JackTestClient::describePortLatencies() const
{
    juce::StringArray lines;
    if (client == nullptr)
        return lines;

    if (const char** ports = jack_get_ports (client, nullptr, JACK_DEFAULT_AUDIO_TYPE, 0))
    {
        for (int i = 0; ports[i] != nullptr; ++i)
        {
            auto* port = jack_port_by_name (client, ports[i]);
            jack_latency_range_t capture {}, playback {};
            jack_port_get_latency_range (port, JackCaptureLatency, &capture);
            jack_port_get_latency_range (port, JackPlaybackLatency, &playback);
            lines.add (juce::String (ports[i]) + " capture " + juce::String ((int) capture.min) + ".."
                       + juce::String ((int) capture.max) + " playback " + juce::String ((int) playback.min) + ".."
                       + juce::String ((int) playback.max));
        }
        jack_free (ports);
    }
    return lines;
}

int JackTestClient::getPortLatency (const juce::String& portName) const
{
    if (client == nullptr)
        return -1;
    auto* port = jack_port_by_name (client, portName.toRawUTF8());
    if (port == nullptr)
        return -1;

    jack_latency_range_t range {};
    const bool input = (jack_port_flags (port) & JackPortIsInput) != 0;
    jack_port_get_latency_range (port, input ? JackCaptureLatency : JackPlaybackLatency, &range);
    return (int) range.max;
}

juce::StringArray JackTestClient::getConnectedPorts() const
{
    juce::StringArray names;
    if (client == nullptr)
        return names;
    for (auto* port : { inputs[0], inputs[1], outputs[0], outputs[1] })
        if (const char** connected = jack_port_get_all_connections (client, port))
        {
            for (int i = 0; connected[i] != nullptr; ++i)
                names.addIfNotAlreadyThere (connected[i]);
            jack_free (connected);
        }
    return names;
}

//==============================================================================
juce::String openJackDevice (juce::AudioDeviceManager& manager, const juce::String& deviceName, int blockSize)
{
    bool found = false;
    for (auto* type : manager.getAvailableDeviceTypes())
        found = found || type->getTypeName() == "JACK";
    if (! found)
        return "JUCE has no JACK device type";

    manager.setCurrentAudioDeviceType ("JACK", true);
    // The scan opens a client of its own, which a server that has just started
    // (beside another test's) may refuse for a moment: scan until the device shows.
    if (auto* type = manager.getCurrentDeviceTypeObject())
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) startTimeoutMs;
        for (;;)
        {
            type->scanForDevices();
            if (type->getDeviceNames (false).contains (deviceName) || juce::Time::getMillisecondCounter() >= end)
                break;
            juce::Thread::sleep (100);
        }
    }

    auto setup = manager.getAudioDeviceSetup();
    setup.inputDeviceName = setup.outputDeviceName = deviceName;
    setup.sampleRate = 44100.0;
    setup.bufferSize = blockSize;
    setup.useDefaultInputChannels = setup.useDefaultOutputChannels = false;
    setup.inputChannels.clear();
    setup.outputChannels.clear();
    setup.inputChannels.setRange (0, 2, true);
    setup.outputChannels.setRange (0, 2, true);

    auto error = manager.setAudioDeviceSetup (setup, true);
    if (error.isEmpty() && manager.getCurrentAudioDevice() == nullptr)
        error = "no device opened";
    return error;
}

int JackTestClient::getLoopLatency (int& engineOut, int& engineIn, int period) const
{
    engineOut = engineIn = 0;
    for (auto& port : getConnectedPorts())
    {
        const int latency = getPortLatency (port);
        if (port.containsIgnoreCase ("out"))
            engineOut = juce::jmax (engineOut, latency);
        else
            engineIn = juce::jmax (engineIn, latency);
    }
    return engineOut + engineIn + period;
}

} // namespace oxatest
