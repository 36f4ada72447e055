#pragma once

#include "engine/JamArray.h"
#include "engine/PitchReport.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <vector>

namespace T730
{

class DspLoader;
class JamOwner;
class MixDownThread;
class Project;
class Synchronizer;
class TypeLibTuner;
class TypeLibVolumePdl;

/** The audio engine: the application's one audio callback. The device's two
    inputs feed the tuner (while its page shows), the meters and the playable
    items; the rhythm machine and the recorders are summed, run through the
    output volume pedal and played on the first two outputs. The input is not
    passed through.

    The engine is spread over its files: DspMainJam.cpp holds the jam (the list
    of playable items, the snapshot of it that the callback renders, and the
    jam operations the controller's requests reach: lengths, armed recorders,
    silence and locate notifications, pausing, recorder alignment, the rhythm
    preview); DspMainAudio.cpp the callback, its work buffers, the meters, the
    tuner feed and the output level; MixDownThread.cpp the mix-down, which runs
    the same callback block after block into a WAV file.

    The callback allocates nothing, never waits on the disk or the message
    thread, and takes only the audio lock (held by the others for a few field
    changes). Its work buffers are sized when the device starts; a larger block
    is rendered in pieces of that size. A device at another rate than 44100 Hz
    leaves the engine not ready: it plays silence.

    The list the callback renders is a snapshot copy that nobody changes: every
    change is made on the working list (under its own lock) and then published
    as a new copy, swapped in under the audio lock between two blocks. The
    audio thread therefore never takes the list's lock, never copies the list
    (no allocation per block) and never holds a reference: the old snapshot,
    with every item only it still referred to, is dropped on the message thread
    by the change that replaced it. */
class DspMain : public juce::AudioIODeviceCallback
{
public:
    /** The owner (the controller's requests) and the factory of the items are
        not owned; either may be null. The synchroniser must outlive the engine.
        The tuner and volume pedal nodes take their objects from `modules` (the
        process-wide registry when null); the tuner's reports reach
        `pitchReceiver` on the message thread (none when null). Message thread. */
    DspMain (JamOwner* owner, PlayableItemFactory* factory, Synchronizer& synchronizer,
             DspLoader* modules = nullptr, NetListOwner* pitchReceiver = nullptr);
    DspMain (JamOwner* owner, PlayableItemFactory* factory);

    /** Stops the mix-down (waiting for it), releases the lists (the snapshot
        under the audio lock), deletes the nodes and empties the release list.
        The engine must no longer be an audio callback. */
    ~DspMain() override;

    // The audio device ------------------------------------------------------
    /** Fills the engine settings from the device, then prepares (below). */
    void audioDeviceAboutToStart (juce::AudioIODevice* device) override;

    /** One block (audio thread). Every output channel the engine does not
        fill is zeroed; with fewer than two channels either way, or while not
        ready, all outputs are silence and nothing else happens. */
    void audioDeviceIOCallbackWithContext (const float* const* inputs, int numInputs,
                                           float* const* outputs, int numOutputs, int numSamples,
                                           const juce::AudioIODeviceCallbackContext& context) override;

    /** Nothing: the engine stays prepared for the next start. */
    void audioDeviceStopped() override;

    /** Sizes the work buffers for blocks of `blockSize` (they grow, never
        shrink), prepares the nodes and the jam. A rate other than 44100 Hz
        leaves the engine not ready, and says so in the log. Not the audio
        thread (the device start, a test, a renderer); true when ready. */
    bool prepareToPlay (double sampleRate, int blockSize);

    /** Prepared at 44100 Hz: the callback renders. */
    bool isReady() const noexcept                    { return ready.load(); }

    /** The block size the engine was last prepared for (0 before). */
    int getPreparedBlockSize() const noexcept        { return preparedBlockSize.load(); }

    /** Samples the work buffers hold; a larger block is rendered in pieces. */
    int getBufferCapacity() const noexcept           { return capacity; }

    // Output level, meters and the tuner feed (message thread) --------------
    /** The output level 0..1, as the volume pedal's level parameter. */
    void setMasterVolume (float gain);
    /** The volume pedal's text of its level ("" without the module). */
    juce::String getMasterLevelText();

    /** The largest sample of the last block on an input (or output) channel 0
        or 1, from 0.0; -1.0 when no block ran since the last read (and for any
        other channel). The stored value becomes -1.0. */
    float takePeak (bool output, int channel) noexcept;

    /** While on, every block's input goes to the tuner module (the tuner page
        shows); while off the module gets no audio. Any thread. */
    void setTunerFeed (bool on) noexcept             { tunerFeed.store (on); }
    bool isTunerFeedOn() const noexcept              { return tunerFeed.load(); }

    TypeLibTuner* getTunerNode() const noexcept      { return tunerNode.get(); }
    /** The tuner node's owner: counts the reports and hands them on. */
    const PitchReport& getPitchReport() const noexcept { return pitchReport; }
    TypeLibVolumePdl* getVolumePedal() const noexcept { return volumePedal.get(); }

    /** The mix-down, owned and reused by the engine. */
    MixDownThread& getMixDown() noexcept             { return *mixDown; }

    // The list (message thread) -----------------------------------------
    /** A new snapshot copy of the list (request GetJamArray). */
    JamArray::Ptr copyJamList() const;
    /** Prepares every item (the device started, or its block size changed). */
    void prepareJam (double sampleRate, int blockSize);
    /** Rebuilds the items from the tool set; the rhythm item's count-in is the tool set's. */
    void loadJamFromToolSet (const Project& project, const juce::File& toolSetFolder);
    bool addJamItem (int kind, const juce::String& file, const juce::File& toolSetFolder);
    bool removeJamItem (int kind, int index);
    /** Loads a song into the rhythm item (paused and stopped first, unless it
        is the preview machine), or adds a rhythm item for it. */
    bool loadSong (const juce::File& song, const juce::File& toolSetFolder);

    bool hasRhythmItem() const;
    int getRecorderCount() const;
    PlayableItem::Ptr getRhythmItem() const;
    /** The jam's own rhythm machine: the one set aside while a preview plays. */
    PlayableItem::Ptr getJamRhythmItem() const;
    PlayableItem::Ptr getRecorder (int index) const;

    // The jam operations of the requests ----------------------------------
    /** The longest length over the recorders and the rhythm item (message thread). */
    juce::int64 getLongestItemLength() const;
    /** The longest length over the recorders (message thread). */
    juce::int64 getLongestRecorderLength() const;
    /** Any thread, also the audio thread inside a block. */
    bool isAnyRecorderArmed() const;
    /** Silence on the rhythm item, then on each recorder. Any thread. */
    void silenceAllItems();
    /** Silence-at-locate with the master position on every item. Any thread. */
    void locateAllItems();
    /** The pause operation on every item, then 200 ms for the fades to end (message thread). */
    void pauseAll();
    /** Every other recorder follows the leader (message thread). */
    void syncRecordersTo (PlayableItem& leader);

    /** The rhythm preview: every item paused, the recorders detached, the jam's
        rhythm item kept aside and a fresh preview machine on its own play
        state B in its place. End puts everything back. */
    void beginRhythmPreview();
    void startRhythmPreview();
    void stopRhythmPreview();
    void endRhythmPreview();
    PlayableItem::Ptr getPreviewItem() const         { return previewItem; }

    // The audio thread (audio lock held) ------------------------------------
    /** The snapshot to render in this block; null before the first list change. */
    const JamArray* getRenderList() const noexcept   { return renderList.get(); }

    Synchronizer& getSynchronizer() const noexcept   { return sync; }
    JamOwner* getOwner() const noexcept              { return owner; }

    /** Empties the process-wide release list (message thread): after every
        list change and every 100 ms from the engine's timer, so that what the
        audio thread, the mix-down or a recorder hand over is destroyed here. */
    static void emptyReleaseList();

private:
    /** Swaps a fresh copy of the working list in for the callback. */
    void publish();
    /** The snapshot's items (the rhythm item first), for the operations any thread may ask. */
    template <typename Visit>
    void forEachRenderedItem (bool recordersOnly, Visit&& visit) const;

    struct ReleaseTimer : public juce::Timer
    {
        void timerCallback() override { emptyReleaseList(); }
    };

    /** Steps 5 to 14 of a block for `count` samples from `offset` (at most the
        capacity), raising the block's peaks. Audio lock held. */
    void renderPiece (const float* const* inputs, float* const* outputs, int offset, int count,
                      float* inputPeaks, float* outputPeaks) noexcept;

    Synchronizer& sync;
    JamOwner* const owner;
    PlayableItemFactory* const factory;

    JamArray::Ptr jamList;        // the working list; message thread
    JamArray::Ptr renderList;     // replaced under the audio lock; read by the audio thread
    PlayableItem::Ptr savedRhythm, previewItem;   // message thread
    ReleaseTimer releaseTimer;

    // The callback's side. The buffers and the capacity are changed only under
    // the audio lock (prepareToPlay) and used by the callback under it.
    PitchReport pitchReport;                       // the tuner node's owner
    std::unique_ptr<TypeLibTuner> tunerNode;       // processed under the audio lock
    std::unique_ptr<TypeLibVolumePdl> volumePedal; // processed under the audio lock; level set from the message thread
    std::vector<float> inputL, inputR, rhythmL, rhythmR, itemL, itemR, mixL, mixR;
    std::vector<double> tunerL, tunerR;
    int capacity = 0;
    std::atomic<bool> ready { false };             // written by prepareToPlay
    std::atomic<int> preparedBlockSize { 0 };      // written by prepareToPlay
    std::atomic<bool> tunerFeed { false };         // written by the controller, read by the callback
    /** Input left, input right, output left, output right: written by the
        callback, taken (and set to -1) by the message thread. */
    std::atomic<float> peaks[4] { { -1.0f }, { -1.0f }, { -1.0f }, { -1.0f } };

    std::unique_ptr<MixDownThread> mixDown;

    JUCE_DECLARE_NON_COPYABLE (DspMain)
};

} // namespace T730
