#pragma once

#include "engine/PlayableItem.h"
#include "recorder/FreqRes16Band.h"
#include "recorder/RecorderStatus.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace T730
{

class DspLoader;
class Recorder;
class TypeLib;
class TypeLibVolumePdl;
class WaveFile;

/** What a recorder asks of the controller (message thread). */
class RecorderOwner
{
public:
    virtual ~RecorderOwner() = default;

    enum class Problem
    {
        toolSetFolderNeeded,   // arming or importing without a tool set folder
        wavWrite,              // "temp.wav" or a take file could not be written
        wavImport              // a WAV file could not be imported
    };

    /** Shows the user what went wrong. */
    virtual void recorderProblem (Problem problem) = 0;

    /** The recorder reached its punch-out point (or stopped recording): the
        controller runs its finish pass (see Recorder::finishPass). */
    virtual void recorderPunchedOut (Recorder& recorder) = 0;
};

/** A recorder of the jam: a playable item that records the device's input
    into WAV files and plays its current take back.

    Recording is free (from wherever the transport plays) or punched in and
    out between two points. The input that arrives at timeline position t was
    played to what the jam sounded at t - L, where L is the device's output
    plus input latency: the recording window is the punch range shifted by L,
    and a finished pass is placed back by L. A loop range can be handed to the
    master transport; a slowed recorder (50 to 99 %) runs on its own play state
    A through the "Decelerator" module (without the module it plays at the
    slowed pace, not stretched). Level, pan with a glide, mute, and a 15-band
    display of what it records or plays.

    Threads: render and the silence it may be told run on the audio thread
    (audio lock held); everything else on the message thread. The settings the
    audio thread reads are copied to it under the audio lock; the recording
    file and the slow-down node are swapped under it. The audio thread never
    allocates: the work buffers, the slow-down's block size and the file's
    queue are sized when the recorder is prepared or armed, and a larger block
    is rendered in pieces. Reaching the punch-out point only sets a flag,
    which a timer of the message thread turns into the owner's notification. */
class Recorder : public PlayableItem, private juce::Timer
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<Recorder>;

    enum Mode
    {
        idle = 0,
        armed = 1,       // waiting for the punch-in point
        recording = 2
    };

    static constexpr const char* settingBaseName = "RecorderSetting";
    static constexpr const char* tempFileName = "temp.wav";
    static constexpr int initialWorkFrames = 2646;
    static constexpr int noticeIntervalMs = 20;
    /** Seconds of audio the recording file's queue holds. */
    static constexpr int queueSeconds = 10;

    /** Whom the recorder tells, and where its slow-down and level modules come from. */
    struct Environment
    {
        std::shared_ptr<RecorderOwner> owner;   // shared by the recorders; null: a recorder finishes its passes itself
        DspLoader* modules = nullptr;       // null: the process-wide registry
    };

    Recorder (Synchronizer& synchronizer, const Environment& environment);
    /** Without an owner, with the process-wide module registry. */
    explicit Recorder (Synchronizer& synchronizer);
    /** The loop leaves the master when it was there; a recording file is finished. Message thread. */
    ~Recorder() override;

    // Playable item ---------------------------------------------------------
    void play() override;
    void pause() override;
    void stop() override;
    void locateBy (juce::int64 offset) override;
    void locateTo (juce::int64 position) override;
    /** Sizes the work buffers, the slow-down's block and the pieces render works in. */
    void prepare (double sampleRate, int blockSize) override;
    void render (juce::int64 position, const float* const* input, float* const* output, int firstSample,
                 int count) override;
    void renderCountIn (juce::int64 elapsed, const float* const* input, float* const* output, int firstSample,
                        int count) override;
    void idleRender (const float* const* input, int firstSample, int count) override;
    /** The take's latest end point. */
    juce::int64 getLength() override;
    /** Armed: idle. Recording: idle, and the pass is finished (any thread). */
    void silence() override;
    /** Reads the setting file; the recorder's folder is the file's name without
        extension beside it. A missing file gives a fresh recorder "Recorder 1". */
    bool load (const juce::File& file, const juce::File& toolSetFolder) override;
    /** Writes the setting file into the folder (a new "RecorderSetting<n>.xml"
        the first time) and makes the recorder folder beside it. */
    bool saveSetting (const juce::File& folder) override;
    juce::String getSettingFileName() override { return fileName; }
    ItemPanel::Ptr getPanel() override;
    bool isArmed() override { return getMode() != idle; }
    /** The leader owns the master loop and the recording: this one gives them up. */
    void follow (PlayableItem& leader) override;
    /** Disarmed, on play state B at normal speed, stopped; reattach brings the speed back. */
    void detach() override;
    void reattach() override;
    void setName (const juce::String& newName) override { status.Name = newName; }
    juce::String getName() override { return status.Name; }

    // Recording (message thread) --------------------------------------------
    /** On: opens "temp.wav" in the recorder folder for the next pass; false
        (and the owner is told) without a folder or when the file cannot be
        made. Off: idle; while playing the take fades back in at the next block
        and the pass is finished. */
    bool arm (bool on);

    /** Ends a recording pass: the file is finished and, when it holds
        anything, becomes a new "Audio<n>.wav" placed back by the latency as
        the take's newest region (an undo point). The setting is saved and a
        fresh "temp.wav" waits for the next pass. When the file cannot be moved
        or the region cannot be added, the owner is told and the take stays as
        it was ("temp.wav" is kept when the move failed). True when nothing
        failed. */
    bool finishPass();

    // Settings (message thread) ---------------------------------------------
    /** 0 or 100 normal, 50..99 slowed (held at 50); a change between normal and
        slowed stops the recorder first. */
    void setSpeed (int speed);
    int getSpeed() const noexcept                 { return status.Stretch; }
    /** 0..100 percent. */
    void setLevel (int level);
    juce::String getLevelText();
    /** 0 (left) .. 50 (centre) .. 100 (right); while playing the pan glides there. */
    void setPan (int pan);
    void setMute (bool muted);
    void setOn (bool on);
    void setPunchRange (const LocateRange& range);
    /** Stores the loop; switched on, this recorder's loop becomes the master's. */
    void setLoopRange (const LocateRange& range);
    /** With the loop in the master: the recorder on hands its loop range to the
        master and to its own play state A, off clears both. */
    void applyLoop();
    bool isLoopInMaster() const noexcept          { return loopInMaster; }

    // Takes (message thread) ---------------------------------------------------
    /** A WAV file becomes the whole take (copied or converted into the folder).
        A failure is told to the owner unless the caller shows it itself. */
    bool importWave (const juce::File& source, bool tellOwner = true);
    bool undoTake();
    bool redoTake();
    void recordUndoPoint();
    /** Back to a new recorder's settings and an empty take (the name stays), saved. */
    void resetRecorder();
    /** Saves into the tool set folder the recorder was loaded from or saved to. */
    bool saveIntoToolSet();

    // State ---------------------------------------------------------------------
    int getMode() const noexcept                  { return mode.load(); }
    RecorderStatus& getStatus() noexcept          { return status; }
    FreqRes16Band& getSpectrum() noexcept         { return *spectrum; }
    const juce::File& getFolder() const noexcept  { return folder; }
    const juce::File& getToolSetFolder() const noexcept { return toolSetFolder; }
    /** The take files the current take and its history refer to. */
    juce::StringArray getReferencedTakeFiles() const { return status.getReferencedFileNames(); }
    bool hasSlowDown() const noexcept             { return slowDown != nullptr; }
    bool isDetached() const noexcept              { return detached; }
    double getCurrentPan() const noexcept         { return currentPan; }
    int getBlockSize() const noexcept             { return blockSize; }
    /** The prepared capacity of each work buffer (frames). */
    int getWorkCapacity() const noexcept          { return (int) workLeft.size(); }
    /** Frames the recording file refused since it was opened (the disk fell behind). */
    juce::int64 getLostFrames() const noexcept;
    /** The most frames that waited in the recording file's queue, and its room (0 without a file). */
    juce::int64 getQueueHighWater() const noexcept;
    int getQueueCapacity() const noexcept;

    /** Output plus input latency of the device, in samples. */
    static juce::int64 getLatency() noexcept;
    /** 2^((s - 50) / 50 - 1) in single precision (the transport's ratio). */
    static float speedRatio (int speed) noexcept;
    /** The slow-down's speed parameter: 1.0 normal, else (s - 50) / 50. */
    static float slowDownParameter (int speed) noexcept;
    static bool isSlowed (int speed) noexcept     { return speed != 0 && speed != 100; }

    /** Makes the recorder's panel on first use (set by the jam section). */
    static void setPanelFactory (std::function<ItemPanel::Ptr (Recorder&)> factory);

protected:
    /** Moves a finished pass to its take file (a rename inside the folder: no
        copy that a full disk could break). */
    virtual bool moveTakeFile (const juce::File& from, const juce::File& to);

private:
    /** What the audio thread reads of the settings; copied under the audio lock. */
    struct Live
    {
        bool on = true;
        bool mute = false;
        int speed = 100;
        int pan = 50;
        LocateRange punch;
    };

    void timerCallback() override;
    void publishSettings();
    void clearMarkers();
    void resetSlowDown();
    void applySpeedToSlowDown (int speed);
    void report (RecorderOwner::Problem problem);
    void notifyPunchOut() noexcept;
    std::unique_ptr<WaveFile> takeRecordingFile();
    bool openRecordingFile();
    std::unique_ptr<TypeLib> makeSlowDown (double rate, int frames) const;
    void applyLevel();

    // Audio thread (RecorderRender.cpp).
    juce::int64 renderPiece (juce::int64 a, const float* const* input, float* const* output, int n);
    void playTake (juce::int64 a, float* const* output, juce::int64 from, juce::int64 to);
    bool queueInput (juce::int64 a, const float* const* input, juce::int64 from, juce::int64 to);
    juce::int64 slowDownBlock (float* const* output, int n);
    void applyLevelAndPan (float* const* output, int n);

    const Environment environment;

    // Message thread.
    RecorderStatus status;                 // the take inside renders under its own lock
    juce::File folder, toolSetFolder;
    juce::String fileName;
    bool loopInMaster = false;
    int savedSpeed = 100;
    int appliedSpeed = 100;                // the speed the play states follow now
    double preparedRate = 44100.0;

    FreqRes16Band::Ptr spectrum;
    std::unique_ptr<TypeLibVolumePdl> levelNode;   // processed by the audio thread; level set from the message thread

    // Replaced under the audio lock (message thread), used by the audio thread under it.
    std::unique_ptr<TypeLib> slowDown;             // null without the module
    std::unique_ptr<WaveFile> recordingFile;
    std::vector<double> workLeft, workRight;
    int blockSize = 512;
    Live live;
    bool detached = false;

    // The audio thread's (reset under the audio lock by the transport commands).
    juce::int64 fadeInMarker = -1, fadeOutMarker = -1;   // -2: the start of the next block
    double slowRemainder = 0.0;
    double currentPan = 50.0;
    std::atomic<float> levelGain { 0.56f };        // the level without the level module (message thread writes)

    std::atomic<int> mode { idle };                // the audio thread and the message thread
    std::atomic<bool> punchOutPending { false };   // set by the audio thread, taken by the timer

    JUCE_DECLARE_NON_COPYABLE (Recorder)
};

} // namespace T730
