#include "app/ControllerRecorderOwner.h"

#include "app/InstContMes.h"
#include "app/OxException.h"

namespace T730
{

ControllerRecorderOwner::ControllerRecorderOwner (const juce::MessageListener* controllerToPostTo)
    : controller (controllerToPostTo)
{
}

void ControllerRecorderOwner::recorderProblem (Problem problem)
{
    switch (problem)
    {
        case Problem::toolSetFolderNeeded: OxExceptionProjectFolderNeeded().show(); break;
        case Problem::wavWrite:            OxExceptionWavWrite().show(); break;
        case Problem::wavImport:           OxExceptionWavImport().show(); break;
    }
}

void ControllerRecorderOwner::recorderPunchedOut (Recorder& recorder)
{
    if (controller != nullptr)
        postToController (*controller, new InstContMesPunchOut (&recorder));
    else
        recorder.finishPass();
}

void ControllerRecorderOwner::finishPunchOut (juce::ReferenceCountedObject* recorderItem)
{
    if (auto* recorder = dynamic_cast<Recorder*> (recorderItem))
        recorder->finishPass();
}

} // namespace T730
