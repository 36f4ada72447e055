#pragma once

#include <juce_events/juce_events.h>

#include <memory>

namespace T730
{

class MidiRecvEv;

/** Section bits carried by the update and repaint messages. */
enum SectionFlags
{
    sectionTab = 0x01,
    sectionToolSetBar = 0x02,
    sectionJam = 0x04,
    sectionEditor = 0x08,
    sectionPedalAssign = 0x10,
    sectionAll = 0xffff
};

/** Base of the messages the controller posts to itself (and that sections post
    to it) so that the user interface is updated on the message thread, from
    whatever thread noticed the change. */
class InstContMesBase : public juce::Message
{
public:
    enum Type
    {
        typeUpdateUI = 0,
        typeRepaintUI = 1,
        typeTunerPitchDetect = 2,
        typePunchOut = 3,
        typeUpdateTooltip = 4,
        typeDeviceEvent = 5
    };

    /** The only delivery mode the program uses. */
    static constexpr int deliveryPost = 1;

    const int type;
    const int deliveryMode = deliveryPost;

    /** The controller the message is meant for; set by postToController
        (before posting, by the posting thread) and read on the message thread. */
    const juce::MessageListener* target = nullptr;

protected:
    explicit InstContMesBase (int messageType) : type (messageType) {}
};

/** Update the flagged sections. */
class InstContUpdateUI final : public InstContMesBase
{
public:
    explicit InstContUpdateUI (int sectionFlags) : InstContMesBase (typeUpdateUI), value (sectionFlags) {}
    const int value;
};

/** Repaint the main component, its current page and the flagged sections. */
class InstContRepaintUI final : public InstContMesBase
{
public:
    explicit InstContRepaintUI (int sectionFlags) : InstContMesBase (typeRepaintUI), value (sectionFlags) {}
    const int value;
};

/** A pitch found by the tuner's detector, for the tuner page. */
class InstContMesTunerPitchDetect final : public InstContMesBase
{
public:
    explicit InstContMesTunerPitchDetect (float pitch) : InstContMesBase (typeTunerPitchDetect), value (pitch) {}
    const float value;
};

/** A recorder reached its punch-out point; the message keeps the item alive
    until it is handled. */
class InstContMesPunchOut final : public InstContMesBase
{
public:
    explicit InstContMesPunchOut (juce::ReferenceCountedObject* recorderItem)
        : InstContMesBase (typePunchOut), value (recorderItem) {}
    const juce::ReferenceCountedObjectPtr<juce::ReferenceCountedObject> value;
};

/** The editor section refreshes its tooltip. */
class InstContMesUpdateTooltip final : public InstContMesBase
{
public:
    explicit InstContMesUpdateTooltip (void* what = nullptr) : InstContMesBase (typeUpdateTooltip), value (what) {}
    void* const value;
};

/** A message from the device for the editor and pedal-assign sections: the
    MIDI input thread posts a copy of its event, and the sections take it on
    the message thread (they never change a component from the MIDI thread). */
class InstContMesDeviceEvent final : public InstContMesBase
{
public:
    explicit InstContMesDeviceEvent (std::unique_ptr<MidiRecvEv> event);
    ~InstContMesDeviceEvent() override;
    const std::unique_ptr<const MidiRecvEv> value;
};

/** What handling a controller message does; the controller hands the messages
    to the user interface through this. */
class InstContMesReceiver
{
public:
    virtual ~InstContMesReceiver() = default;

    virtual void updateSections (int sectionFlags) = 0;
    /** Called only with non-zero flags. */
    virtual void repaintSections (int sectionFlags) = 0;
    virtual void tunerPitchDetected (float pitch) = 0;
    /** The recorder finishes its punch-out. */
    virtual void punchOut (juce::ReferenceCountedObject* recorderItem) = 0;
    virtual void updateTooltip (void* what) = 0;
    /** A message from the device, for the sections that show the edit buffer. */
    virtual void deviceEvent (const MidiRecvEv& event) { (void) event; }
};

/** Marks the message as meant for the controller and posts it there. Safe on
    any thread; the message is owned by the message queue from here on. */
void postToController (const juce::MessageListener& controller, InstContMesBase* message);

/** Handles a message the controller received: messages of another family or
    for another target are dropped (false). Runs on the message thread. */
bool dispatchControllerMessage (const juce::Message& message, const juce::MessageListener& controller,
                                InstContMesReceiver& receiver);

} // namespace T730
