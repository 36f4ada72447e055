#pragma once

#include "device/MidiMain.h"
#include "documents/PatchSet.h"

#include <atomic>
#include <functional>

namespace T730
{

/** Copies every patch of the device into a patch group (backup) or the first
    patches of a group into the device (restore), on the thread "ProgressThread",
    while the caller shows a progress window.

    The thread sends a request, sets the state it waits in and polls it every
    millisecond; the MIDI input thread hands every received event to
    handleEvent, which only advances the state and keeps what arrived.

    States: 1 identity requested (2 on the reply), 3 patch count requested
    (4 on the count), 5 waiting for acceptance (6 on response 0), 9 patch
    requested (10 on the patch), 11 end of data sent (12 on response 0). */
class BackupProgress : private juce::Thread
{
public:
    enum class Mode { backup, restore };

    /** `midi`: the link the requests go through (not owned, outlives this). */
    explicit BackupProgress (MidiMain& midi);
    ~BackupProgress() override;

    /** Reads every patch of the device into `destination` (at most its 100).
        Blocks until done (running the progress window, see runProgressWindow);
        false when it failed, with getErrorMessage() telling why. */
    bool backup (PatchSet& destination);

    /** Writes patches 0 .. count-1 of `source` into the device (no more than
        the device holds), then ends the transfer. */
    bool restore (PatchSet& source, int count);

    /** Called with every received event, on the MIDI input thread. */
    void handleEvent (const MidiRecvEv* event);

    //==============================================================================
    // The progress window's side (message thread).
    /** index / count, 0 while the count is below 1. */
    float advance() const;
    /** Asks the thread to stop before its next patch (a restore still sends
        the end of data notification, so the device leaves its dump mode). */
    void cancel();
    /** True once the thread is not running. */
    bool isDone() const;

    /** Runs the modal progress window until isDone(); bound by the controller.
        Without it the caller just waits for the thread. */
    std::function<void (BackupProgress&)> runProgressWindow;

    /** The detail of the last failure, beginning with a line break ("" after success). */
    juce::String getErrorText() const;

    /** "Error occurred during backup/restore process." followed by the detail. */
    juce::String getErrorMessage() const;

    int getState() const noexcept { return state.load(); }
    Mode getMode() const noexcept { return mode; }

    static constexpr int shortWaitPolls = 100;
    static constexpr int longWaitPolls = 1000;

private:
    bool start (PatchSet& set, Mode newMode, int sourceCount);
    void run() override;
    bool waitForState (int wanted, int polls);
    void fail (const char* text);

    MidiMain& midi;

    // Set by start() on the calling thread while the transfer thread is not running.
    PatchSet* patchSet = nullptr;
    Mode mode = Mode::backup;
    int sourcePatchCount = PatchSet::numPatches;

    std::atomic<int> state { 0 };           // written by the transfer thread and the MIDI thread
    std::atomic<bool> succeeded { false };  // written by the transfer thread
    std::atomic<int> index { 0 };           // written by the transfer thread
    std::atomic<int> count { 0 };           // written by the transfer thread
    std::atomic<int> deviceCount { 0 };     // written by the MIDI thread (state 3 -> 4)
    std::atomic<int> requestedPatch { -1 }; // written by the transfer thread before state 9

    // Written by the MIDI thread in state 9 before it moves to 10; read by the
    // transfer thread after it saw 10. The buffer has its own lock.
    std::atomic<int> receivedNumber { -1 };
    EditBuf receivedBuffer;

    mutable juce::CriticalSection errorLock;
    juce::String errorText;                 // written by the transfer thread; guarded by errorLock

    JUCE_DECLARE_NON_COPYABLE (BackupProgress)
};

} // namespace T730
