#include "app/ControllerEngine.h"

#include "engine/DspMain.h"
#include "engine/MixDownThread.h"
#include "platform/Platform.h"
#include "rhythm/RhythmExport.h"
#include "rhythm/Rhythmer.h"
#include "rhythm/SongManager.h"
#include "recorder/Recorder.h"

namespace T730
{

juce::File getRhythmAuditionFolder()
{
    const auto cache = platform::getPrivateCacheFolder();
    return cache == juce::File() ? juce::File() : cache.getChildFile ("Audition");
}

PlayableItem::Ptr ControllerItemFactory::createRhythmItem (Synchronizer& synchronizer, bool preview)
{
    return makeRhythm ? makeRhythm (synchronizer, preview) : nullptr;
}

PlayableItem::Ptr ControllerItemFactory::createRecorderItem (Synchronizer& synchronizer)
{
    return makeRecorder ? makeRecorder (synchronizer) : nullptr;
}

//==============================================================================
ControllerEngine::ControllerEngine (DspMain& e, std::function<juce::File()> folder)
    : engine (e), toolSetFolder (std::move (folder))
{
}

void ControllerEngine::applyProject (const Project& project, const juce::File& folder)
{
    engine.loadJamFromToolSet (project, folder);
}

bool ControllerEngine::hasRhythmItem()    { return engine.hasRhythmItem(); }
int ControllerEngine::getRecorderCount()  { return engine.getRecorderCount(); }

bool ControllerEngine::saveRhythmSong (const juce::File& folder)
{
    // The rhythm machine's own file operation (its setting file with the song).
    auto rhythm = engine.getJamRhythmItem();
    return rhythm != nullptr && rhythm->saveSetting (folder);
}

bool ControllerEngine::saveRecorder (int index, const juce::File& folder, juce::String& fileName)
{
    auto recorder = engine.getRecorder (index);
    if (recorder == nullptr || ! recorder->saveSetting (folder))
        return false;

    fileName = recorder->getSettingFileName();
    return true;
}

// A recorder keeps its takes in its own folder; the file of the pass being
// recorded (or kept after a failed move) counts as referenced. An item that is
// no recorder has no take folder, so none of its files is ever removed.
juce::File ControllerEngine::getRecorderTakeFolder (int index)
{
    auto item = engine.getRecorder (index);
    auto* recorder = dynamic_cast<Recorder*> (item.get());
    return recorder != nullptr ? recorder->getFolder() : juce::File();
}

juce::StringArray ControllerEngine::getRecorderReferencedTakes (int index)
{
    auto item = engine.getRecorder (index);
    auto* recorder = dynamic_cast<Recorder*> (item.get());
    if (recorder == nullptr)
        return {};

    auto names = recorder->getReferencedTakeFiles();
    names.addIfNotAlreadyThere (Recorder::tempFileName);
    return names;
}

JamEngine::RhythmExport ControllerEngine::getRhythmExport()
{
    // The jam's own machine, even while a preview stands in for it.
    auto item = engine.getJamRhythmItem();
    auto* machine = dynamic_cast<Rhythmer*> (item.get());
    if (machine == nullptr || songs == nullptr)
        return {};

    const auto content = collectRhythmExport (*machine, *songs);
    return { content.songFiles, content.patternIds };
}

void ControllerEngine::stopAll()                           { engine.pauseAll(); }
void ControllerEngine::silenceAll()                        { engine.silenceAllItems(); }
void ControllerEngine::locateAll()                         { engine.locateAllItems(); }
juce::int64 ControllerEngine::getLongestItemLength()       { return engine.getLongestItemLength(); }
juce::int64 ControllerEngine::getLongestRecorderLength()   { return engine.getLongestRecorderLength(); }
bool ControllerEngine::isAnyRecorderArmed()                { return engine.isAnyRecorderArmed(); }

void ControllerEngine::copyJamArray (void* holder)
{
    if (holder != nullptr)
        *static_cast<JamArray::Ptr*> (holder) = engine.copyJamList();
}

bool ControllerEngine::addItem (int kind, const juce::String& file)
{
    return engine.addJamItem (kind, file, toolSetFolder ? toolSetFolder() : juce::File());
}

bool ControllerEngine::removeItem (int kind, int index)
{
    return engine.removeJamItem (kind, index);
}

void ControllerEngine::syncRecordersTo (void* recorderItem)
{
    if (recorderItem != nullptr)
        engine.syncRecordersTo (*static_cast<PlayableItem*> (recorderItem));
}

bool ControllerEngine::loadSong (const juce::File& songFile)
{
    return engine.loadSong (songFile, toolSetFolder ? toolSetFolder() : juce::File());
}

bool ControllerEngine::ensureRhythmItem (void*)
{
    // A new machine starts on its default song; the song handed over is the
    // one the machine's panel shows next.
    if (! engine.hasRhythmItem())
        engine.addJamItem (0, {}, toolSetFolder ? toolSetFolder() : juce::File());
    return engine.hasRhythmItem();
}

void ControllerEngine::beginRhythmPreview() { engine.beginRhythmPreview(); }
void ControllerEngine::endRhythmPreview()   { engine.endRhythmPreview(); }
void ControllerEngine::startRhythmPreview() { engine.startRhythmPreview(); }
void ControllerEngine::stopRhythmPreview()  { engine.stopRhythmPreview(); }

void ControllerEngine::setMasterVolume (float gain)      { engine.setMasterVolume (gain); }
juce::String ControllerEngine::getMasterLevelText()      { return engine.getMasterLevelText(); }
float ControllerEngine::takePeak (bool output, int ch)   { return engine.takePeak (output, ch); }

//==============================================================================
float MixDownProgress::advance()   { return mixDown.getProgress(); }
void MixDownProgress::cancel()     { mixDown.cancel(); }
bool MixDownProgress::isDone()     { return mixDown.isFinished(); }

} // namespace T730
