#pragma once

#include "engine/PlayState.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace T730
{

class Synchronizer;

/** The user-interface side of a playable item (its jam panel), as the item
    sees it: reference-counted, told when the item goes away. Implemented by
    the jam section's panels; the engine knows nothing else of them. */
class ItemPanel : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<ItemPanel>;

    /** The item is being destroyed (message thread): the panel lets go of it. */
    virtual void itemDetached() = 0;
};

/** Something that plays in the jam: the rhythm machine or a recorder. The base
    owns the transport logic: it follows the master play state of the
    synchroniser (or one of its own two, A and B), fades in at every start,
    out at every stop and jump, plays the count-in, wraps at the loop end and
    follows the speed. Subclasses render their sound at the positions they are
    given.

    Reference-counted: the jam list and every copy of it hold the items; the
    last reference is always dropped on the message thread (the audio thread
    renders the engine's snapshot without holding references; a thread that
    must let go of one hands it to the release list).

    The virtual operations are declared in their fixed order; the jam list's
    own operations on recorders follow them with base behaviours. */
class PlayableItem : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<PlayableItem>;

    /** The item follows the synchroniser's master play state. */
    explicit PlayableItem (Synchronizer& synchronizer);

    /** 0: tells the panel to detach and releases it (message thread). */
    ~PlayableItem() override;

    /** 1, 2: beats of count-in, kept in the current play state. */
    virtual void setPreCount (int beats);
    virtual int getPreCount();

    /** 3 to 7: the transport commands, on the current play state. */
    virtual void play();
    virtual void pause();
    virtual void stop();
    virtual void locateBy (juce::int64 offset);
    virtual void locateTo (juce::int64 position);

    /** 8: before the first render and whenever the device changes. */
    virtual void prepare (double sampleRate, int blockSize) = 0;

    /** 9: renders the item at the timeline position into the output pair,
        from the first sample on, for count samples (audio thread). */
    virtual void render (juce::int64 position, const float* const* input, float* const* output,
                         int firstSample, int count) = 0;

    /** 10: renders the count-in, `elapsed` samples after it began. */
    virtual void renderCountIn (juce::int64 elapsed, const float* const* input, float* const* output,
                                int firstSample, int count) = 0;

    /** 11: called instead of rendering while the transport is stopped. */
    virtual void idleRender (const float* const* input, int firstSample, int count);

    /** 12: the item's length in samples. */
    virtual juce::int64 getLength() = 0;

    /** 13: the transport stopped (or the loop wrapped). */
    virtual void silence();

    /** 14: the transport moved to the position. */
    virtual void silenceAtLocate (juce::int64 position);

    /** 15: loads the item's file; relative names in it are taken in the tool set folder. */
    virtual bool load (const juce::File& file, const juce::File& toolSetFolder) = 0;

    /** 16, 17: the item's own setting file in the folder. */
    virtual bool saveSetting (const juce::File& folder);
    virtual juce::String getSettingFileName();

    /** 18: the item's panel, made on first use. */
    virtual ItemPanel::Ptr getPanel() = 0;

    /** Tells the panel it is detached and lets go of it (message thread; the
        jam section does this when it goes, so no panel outlives it). */
    void dropPanel();

    /** 19: one block of n samples into the output pair (audio thread, audio
        lock held): tick, count-in, render, fades, and the advance of an own
        play state. Not overridden. */
    void process (const float* const* input, float* const* output, int count);

    // What the jam list asks of its recorders (the base answers for an item
    // that is no recorder) -----------------------------------------------
    /** Waits to record (request 21 asks every recorder). */
    virtual bool isArmed();
    /** Aligns this recorder with the one the user just changed. */
    virtual void follow (PlayableItem& leader);
    /** Runs on own play state B, stopped (the rhythm preview, the mix-down). */
    virtual void detach();
    /** Back on the play state used before detach. */
    virtual void reattach();
    virtual void setJamIndex (int index);
    int getJamIndex() const noexcept                   { return jamIndex; }
    virtual void setName (const juce::String& newName);
    virtual juce::String getName();

    // Play states ------------------------------------------------------------
    PlayState& getPlayStateA() noexcept                { return stateA; }
    PlayState& getPlayStateB() noexcept                { return stateB; }
    /** The play state the item follows (normally the master one); never null after construction. */
    PlayState* getCurrentPlayState() const noexcept    { return current.load(); }
    /** Switches between blocks (takes the audio lock). */
    void setCurrentPlayState (PlayState* playState);
    /** Remembers the current play state and switches to an own one (A or B). */
    void useOwnPlayState (PlayState& own);
    /** Back to the play state remembered by useOwnPlayState. */
    void restoreSavedPlayState();

    /** The last render found the position past the item's length. */
    bool hasEnded() const noexcept                     { return ended.load(); }
    Synchronizer& getSynchronizer() const noexcept     { return sync; }

protected:
    /** Subclasses keep the panel they made here (released by the destructor). */
    void setPanel (ItemPanel::Ptr newPanel)            { panel = std::move (newPanel); }
    ItemPanel* getStoredPanel() const noexcept         { return panel.get(); }

private:
    void fadeRendered (PlayState& ps, juce::int64 total, juce::int64 p, float* const* output, int first, int count, int r);

    Synchronizer& sync;
    PlayState stateA, stateB;
    std::atomic<PlayState*> current;       // written under the audio lock (message thread)
    PlayState* saved = nullptr;            // message thread
    std::atomic<bool> ended { false };     // written by the audio thread
    ItemPanel::Ptr panel;                  // message thread
    int jamIndex = -1;                     // message thread (the jam list)
    juce::String name;                     // message thread

    JUCE_DECLARE_NON_COPYABLE (PlayableItem)
};

} // namespace T730
