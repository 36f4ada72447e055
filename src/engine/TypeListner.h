#pragma once

#include <atomic>
#include <oxa/ModuleAbi.h>

namespace T730
{

/** Holds the object another one works for. */
template <class Mediated>
class Mediator
{
public:
    explicit Mediator (Mediated& mediatedObject) : mediated (mediatedObject) {}
    Mediated& getMediated() const noexcept { return mediated; }

private:
    Mediated& mediated;
};

class TypeLib;

/** The listener a node hands its effect object: forwards the module's reports
    (the tuner's frequencies) to the node. Called on the audio thread. */
class TypeListner final : public Ox_VstListner, public Mediator<TypeLib>
{
public:
    explicit TypeListner (TypeLib& node) : Mediator<TypeLib> (node) {}

    void listnerNotify (float value) override;

    /** While set, the node does not pass reports on. Clear when created; the
        program itself never sets it. */
    void setMuted (bool shouldMute) noexcept { muted = shouldMute; }
    bool isMuted() const noexcept { return muted; }

private:
    /** Written by whoever mutes, read on the audio thread. */
    std::atomic<bool> muted { false };
};

} // namespace T730
