#pragma once

#include "recorder/Recorder.h"

namespace T730
{

/** The recorders reaching the controller: their problems become the
    program's error boxes, and a punch-out the posted InstContMesPunchOut,
    whose handling (finishPunchOut) lets the recorder finish its pass before
    the user interface hears of it. Message thread. */
class ControllerRecorderOwner final : public RecorderOwner
{
public:
    /** The controller the punch-outs are posted to (null: the pass is finished at once). */
    explicit ControllerRecorderOwner (const juce::MessageListener* controllerToPostTo);

    void recorderProblem (Problem problem) override;
    void recorderPunchedOut (Recorder& recorder) override;

    /** The recorder item of an InstContMesPunchOut finishes its pass (another item: nothing). */
    static void finishPunchOut (juce::ReferenceCountedObject* recorderItem);

private:
    const juce::MessageListener* const controller;
};

} // namespace T730
