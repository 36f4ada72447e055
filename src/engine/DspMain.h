#pragma once

#include "engine/JamArray.h"

#include <juce_events/juce_events.h>

namespace T730
{

class JamOwner;
class Project;
class Synchronizer;

/** The audio engine. This part of it holds the jam: the list of playable
    items, the snapshot of it that the audio callback renders, and the jam
    operations the controller's requests reach (lengths, armed recorders,
    silence and locate notifications, pausing, recorder alignment, the rhythm
    preview). The callback itself, its buffers, meters, tuner feed, output
    level and mix-down join it in the engine's callback files.

    The list the callback renders is a snapshot copy that nobody changes: every
    change is made on the working list (under its own lock) and then published
    as a new copy, swapped in under the audio lock between two blocks. The
    audio thread therefore never takes the list's lock, never copies the list
    (no allocation per block) and never holds a reference: the old snapshot,
    with every item only it still referred to, is dropped on the message thread
    by the change that replaced it. */
class DspMain
{
public:
    /** The owner (the controller's requests) and the factory of the items are
        not owned; either may be null. The synchroniser must outlive the engine. */
    DspMain (JamOwner* owner, PlayableItemFactory* factory, Synchronizer& synchronizer);
    DspMain (JamOwner* owner, PlayableItemFactory* factory);

    /** Releases the lists (the snapshot under the audio lock) and empties the release list. */
    ~DspMain();

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

    Synchronizer& sync;
    JamOwner* const owner;
    PlayableItemFactory* const factory;

    JamArray::Ptr jamList;        // the working list; message thread
    JamArray::Ptr renderList;     // replaced under the audio lock; read by the audio thread
    PlayableItem::Ptr savedRhythm, previewItem;   // message thread
    ReleaseTimer releaseTimer;

    JUCE_DECLARE_NON_COPYABLE (DspMain)
};

} // namespace T730
