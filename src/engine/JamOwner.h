#pragma once

namespace T730
{

/** What the transport and the jam list ask of their owner (the controller,
    through its numbered requests). Implemented outside the engine; every
    operation may be called on the audio thread from inside a block (with the
    audio lock held) as well as on the message thread, so none may wait,
    allocate in the steady state or take a lock held for long. */
class JamOwner
{
public:
    virtual ~JamOwner() = default;

    /** Whether any recorder waits to record (the count-in plays only then). */
    virtual bool isAnyRecorderArmed() = 0;

    /** The transport stopped: every item goes silent. */
    virtual void itemsStopped() = 0;

    /** The transport wrapped at its loop end: every item goes silent as for a stop. */
    virtual void loopWrapped() = 0;

    /** The master transport moved: every item learns the new position. */
    virtual void itemsLocated() = 0;

    /** The jam section shows the transport again (posted to the message
        thread); called on the message thread only. */
    virtual void jamChanged() = 0;
};

} // namespace T730
