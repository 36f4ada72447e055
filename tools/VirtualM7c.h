#pragma once

// A model of the M7c on the far end of the MIDI cable, for the tests, the
// benchmarks and the desktop program m7c-virtual. It stores 100 patches and an
// edit buffer and answers the host's System Exclusive messages as the device
// does, on its own delivery thread (as a real port delivers on the MIDI input
// thread). Faults can be switched on to prove the host's error paths.

#include "device/MidiMain.h"
#include "device/SysExCodec.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace m7c
{

using T730::SysEx::Bytes;
using T730::SysEx::PatchFields;
using T730::SysEx::PatchRecord;

class VirtualM7c
{
public:
    static constexpr int numPatches = 100;

    struct Faults
    {
        bool silent = false;       // answer nothing
        int delayMs = 0;           // answer this late
        bool wrongCheck = false;   // patch dumps carry a wrong check value
        int responseCode = 0;      // code of the response to accepted dumps and notifications
        size_t truncateTo = 0;     // when non-zero, every answer is cut to this many bytes
        bool staleDumpFirst = false; // each patch dump is preceded by the previous patch's (a late answer)
        bool ignoreEndOfData = false; // the end of data notification gets no response
    };

    /** Response code to a host patch dump whose check value is wrong, or that
        names a patch the device does not have. */
    static constexpr int rejectedCode = 8;

    /** `version`: the 4-character version text of the identity reply. */
    explicit VirtualM7c (std::string version = "1.00");
    ~VirtualM7c();

    /** Where the device's messages go; called on the delivery thread. */
    void setHostSink (std::function<void (const Bytes&)> sink);

    /** One message from the host (complete, F0 ... F7). Thread-safe. */
    void receiveFromHost (const uint8_t* data, size_t size);

    void setFaults (const Faults& faults);
    Faults getFaults() const;

    // A player at the device: send a parameter change or the whole edit buffer.
    void turnKnob (int module, int param, int value);
    void sendEditBufferToHost();

    // The device's memory.
    PatchFields getPatch (int number) const;
    void setPatch (int number, const PatchFields& patch);
    PatchFields getEditBuffer() const;
    void setEditBuffer (const PatchFields& buffer);

    /** Fills the 100 patches with varied values that fit their record fields. */
    void fillWithTestPatches (unsigned seed);

    // What the host sent: the command byte of every maker message received
    // (0x7E for universal messages), in order.
    std::vector<uint8_t> getReceivedCommands() const;
    void clearReceivedCommands();
    int countReceived (uint8_t command) const;
    bool isEditorOn() const;

    // The tuner mode: control change 75 on channel 1, on at 64 and above. The
    // values of every such change received, in order.
    bool isTunerModeOn() const;
    std::vector<int> getTunerModeChanges() const;

    /** Waits until every queued answer has been delivered (true) or the time is up. */
    bool waitUntilIdle (int timeoutMs = 5000) const;

private:
    void handle (const Bytes& message);
    void queueLocked (Bytes message);
    void run();

    const std::string version;

    mutable std::mutex stateLock;   // guards everything below except the queue
    std::vector<PatchFields> patches;
    PatchFields editBuffer;
    Faults faults;
    std::vector<uint8_t> received;
    bool editorOn = false;
    bool tunerModeOn = false;
    std::vector<int> tunerModeChanges;
    std::function<void (const Bytes&)> hostSink;

    struct Pending
    {
        std::chrono::steady_clock::time_point due;
        Bytes message;
    };

    mutable std::mutex queueLock;   // guards pending, delivering and quit
    mutable std::condition_variable queueChanged;
    std::deque<Pending> pending;
    bool delivering = false;
    bool quit = false;
    std::thread deliveryThread;
};

/** Binds a MidiMain to a VirtualM7c: the host's output feeds the device and
    the device's answers go to MidiMain::receiveBytes. */
class VirtualM7cPort : public T730::MidiOutputPort
{
public:
    VirtualM7cPort (VirtualM7c& device, T730::MidiMain& host);
    ~VirtualM7cPort() override;

    void sendBytes (const uint8_t* data, size_t size) override;

private:
    VirtualM7c& device;
};

} // namespace m7c
