// The controller's side of the audio engine: making it and its links, putting
// it on the device and taking it off, the tuner feed that follows the tuner
// page, and the mix-down under its progress window.
#include "app/InstController.h"

#include "app/ControllerEngine.h"
#include "app/ControllerJamOwner.h"
#include "app/ControllerRhythmOwner.h"
#include "app/GuiMain.h"
#include "app/OxException.h"
#include "app/ProgressWindow.h"
#include "app/SectionTab.h"
#include "documents/Project.h"
#include "engine/DspMain.h"
#include "engine/MixDownThread.h"
#include "engine/Synchronizer.h"

namespace T730
{

void InstController::createJamOwner()
{
    // The transport asks its questions as the controller's numbered requests.
    jamOwner.reset (new ControllerJamOwner ([this] (int code, int p1, int p2, void* data)
                                            {
                                                return request (code, p1, p2, data);
                                            },
                                            this));
    Synchronizer::getInstance()->setOwner (jamOwner.get());
}

JamEngine* InstController::getJamEngine() const noexcept
{
    return jamEngine.get();
}

void InstController::createEngine()
{
    itemFactory.reset (new ControllerItemFactory());
    installRecorderMaker();

    // The tuner's reports reach this controller, which posts them to the tuner page.
    auto* made = new DspMain (jamOwner.get(), itemFactory.get(), *Synchronizer::getInstance(), nullptr, this);
    engine.reset (made);

    jamEngine.reset (new ControllerEngine (*made, [this]
    {
        const auto& current = settings.CurrentProject;
        return juce::File::isAbsolutePath (current) ? juce::File (current) : juce::File();
    }));

    installRhythmMaker();

    // Read by the engine's threads through the requests: set before the audio
    // runs and cleared after it stopped.
    parts.engine = jamEngine.get();

    // Without a main component the tuner counts as shown.
    made->setTunerFeed (true);
}

void InstController::deleteEngine()
{
    detachEngine();
    parts.engine = nullptr;
    jamEngine.reset();
    engine.reset();
    itemFactory.reset();
    rhythmOwner.reset();
}

void InstController::attachEngine()
{
    if (engine)
        deviceManager.addAudioCallback (engine.get());
}

void InstController::detachEngine()
{
    if (engine)
        deviceManager.removeAudioCallback (engine.get());
}

void InstController::applyProjectToEngine()
{
    if (jamEngine)
        jamEngine->applyProject (*project, juce::File::isAbsolutePath (settings.CurrentProject)
                                               ? juce::File (settings.CurrentProject) : juce::File());
}

void InstController::followTunerPage()
{
    // The engine feeds the tuner module only while its page shows (and while
    // there is no main component, which counts as showing it).
    auto* main = gui.get();
    if (engine)
        engine->setTunerFeed (main == nullptr || main->isTunerShown());

    if (main != nullptr)
        main->getTabSection().onTunerShownChanged = [this] (bool shown)
        {
            if (engine)
                engine->setTunerFeed (shown);
        };
}

void InstController::runMixDown (const juce::File& wavFile)
{
    if (! engine)
        return;

    busy = true;

    // The engine renders for the mix-down only; the device plays nothing meanwhile.
    detachEngine();

    auto& mixDown = engine->getMixDown();
    if (mixDown.start (wavFile))
    {
        MixDownProgress progress (mixDown);
        runProgress (&progress, gui.get(), false);
    }
    mixDown.waitUntilFinished();

    if (isAudioReady())
        attachEngine();

    busy = false;

    // A file that could not be made or written is said, not passed over.
    if (! mixDown.hasSucceeded() && ! mixDown.wasCancelled())
        OxExceptionWavWrite().show();
}

} // namespace T730
