#pragma once

#include "engine/PlayableItem.h"

namespace T730
{

class JamOwner;
class Project;
class Synchronizer;

/** Makes the jam's items: the rhythm machine and the recorders live in their
    own subsystems, which provide this to the engine. Message thread. */
class PlayableItemFactory
{
public:
    virtual ~PlayableItemFactory() = default;

    /** A new rhythm machine on the synchroniser; `preview` marks the machine
        the search and download sections audition rhythms with. */
    virtual PlayableItem::Ptr createRhythmItem (Synchronizer& synchronizer, bool preview) = 0;

    /** A new, empty recorder on the synchroniser. */
    virtual PlayableItem::Ptr createRecorderItem (Synchronizer& synchronizer) = 0;
};

/** The engine's list of the jam's items: at most one rhythm machine and any
    number of recorders, each recorder numbered by its place in the list.

    Reference-counted. The list's lock is taken to copy or change it, never by
    the audio thread: the audio thread renders a snapshot copy that nobody
    changes (see DspMain). Items are shared between a list and its copies. */
class JamArray : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<JamArray>;

    /** The factory (may be null: no item can be made) and the owner (may be
        null) are not owned and outlive the list. */
    JamArray (Synchronizer& synchronizer, PlayableItemFactory* factory, JamOwner* owner);

    /** A new list with the same owner, rhythm item and recorders, made under this list's lock. */
    Ptr copy() const;

    /** Prepares every item and keeps the values for the items made later. */
    void prepare (double sampleRate, int blockSize);

    /** Rebuilds the items from a tool set: the song (absolute, or a plain name
        in the folder) and one recorder per recorder file (plain names in the
        folder). The loop range of the master is cleared; new items are prepared
        with the stored values; the recorders are numbered 0, 1, ... */
    void loadFromToolSet (const Project& project, const juce::File& toolSetFolder);

    /** kind 0: a rhythm machine, made only when there is none and kept only
        when its file loads; kind 1: a new recorder at the end, named
        "Recorder %d" with the new count. A non-empty relative file name is
        taken inside the tool set folder. True when an item was added. */
    bool addItem (const juce::String& file, int kind, const juce::File& toolSetFolder);

    /** kind 0 drops the rhythm machine; kind 1 removes recorder `index` and
        numbers the rest again. True when something was removed. */
    bool removeItem (int kind, int index);

    /** Replaces the rhythm item (the rhythm preview swaps its machine in and out). */
    void setRhythmItem (PlayableItem::Ptr item);

    PlayableItem::Ptr getRhythmItem() const;
    int getNumRecorders() const;
    PlayableItem::Ptr getRecorder (int index) const;
    juce::ReferenceCountedArray<PlayableItem> getRecorders() const;

    /** Every item, the rhythm machine first (a copy of the references). */
    juce::ReferenceCountedArray<PlayableItem> getAllItems() const;

    /** One block of the jam for the audio callback (audio thread, on a
        snapshot nobody changes, audio lock held): the rhythm item into the
        rhythm pair (zeroed without one); the mix pair zeroed, then each
        recorder into the item pair and added to the mix pair. */
    void renderBlock (const float* const* input, float* const* rhythm, float* const* item, float* const* mix, int count) const;

    /** Visits the items without the lock, the rhythm machine first (unless
        only recorders are asked for), until the visitor answers true. Only for
        a snapshot nobody changes, such as the one the audio callback renders. */
    template <typename Visit>
    void visitSnapshot (bool recordersOnly, Visit&& visit) const
    {
        if (! recordersOnly && rhythm != nullptr && visit (*rhythm))
            return;

        for (int i = 0; i < recorders.size(); ++i)
            if (visit (*recorders.getUnchecked (i)))
                return;
    }

    double getSampleRate() const noexcept { return sampleRate; }
    int getBlockSize() const noexcept     { return blockSize; }
    JamOwner* getOwner() const noexcept   { return owner; }
    Synchronizer& getSynchronizer() const noexcept { return sync; }

    /** The file an item reads: an absolute path as it is, a plain name inside
        the folder, anything else (a path that climbs out of the folder) none. */
    static juce::File resolveItemFile (const juce::String& name, const juce::File& toolSetFolder, bool allowAbsolute);

private:
    void renumber();

    Synchronizer& sync;
    PlayableItemFactory* const factory;
    JamOwner* const owner;

    juce::CriticalSection lock;
    PlayableItem::Ptr rhythm;                          // guarded by lock
    juce::ReferenceCountedArray<PlayableItem> recorders; // guarded by lock
    double sampleRate = 44100.0;
    int blockSize = 512;

    JUCE_DECLARE_NON_COPYABLE (JamArray)
};

} // namespace T730
