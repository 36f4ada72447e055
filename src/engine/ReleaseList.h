#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>
#include <vector>

namespace T730
{

/** Where threads that must not run destructors (the audio thread, the
    mix-down's rendering) leave the objects they let go of: a playable item, a
    list snapshot, a WAV file whose finish sleeps and joins its writer. The
    message thread empties the list and runs the destructors there.

    The slots are allocated once. Handing over never allocates, never waits on
    the message thread and never blocks: producers share a spin lock held for a
    few instructions; the message thread reads without it. When the list is
    full the hand-over answers false and the caller keeps its object (and tries
    again later); nothing is ever dropped on the caller's thread. */
class ReleaseList
{
public:
    explicit ReleaseList (int capacity = 256);

    /** Empties the list (message thread). */
    ~ReleaseList();

    /** Takes over one reference of a counted object: the caller does not
        decrement it. False (nothing taken) when the list is full. */
    bool hand (juce::ReferenceCountedObject* object) noexcept;

    /** Takes over a solely owned object; the pointer is emptied on success. */
    template <typename Object>
    bool hand (std::unique_ptr<Object>& object) noexcept
    {
        if (object == nullptr)
            return true;

        if (! push (object.get(), [] (void* o) { delete static_cast<Object*> (o); }))
            return false;

        object.release();
        return true;
    }

    /** Drops everything handed over so far; message thread. Returns how many. */
    int empty();

    /** Entries waiting for the message thread. */
    int getNumWaiting() const noexcept { return fifo.getNumReady(); }

private:
    using Dispose = void (*) (void*);
    struct Entry
    {
        void* object = nullptr;
        Dispose dispose = nullptr;
    };

    bool push (void* object, Dispose dispose) noexcept;

    juce::AbstractFifo fifo;
    std::vector<Entry> entries;
    juce::SpinLock producers;          // held by a producer while it claims a slot
    juce::CriticalSection emptying;    // one emptier at a time (message thread, and the destructor)

    JUCE_DECLARE_NON_COPYABLE (ReleaseList)
};

/** The process-wide release list; first used by the engine on the message thread. */
ReleaseList& getReleaseList();

} // namespace T730
