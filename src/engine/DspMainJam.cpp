// The audio engine's jam: the list of playable items and the operations on it.
#include "engine/DspMain.h"

#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/MixDownThread.h"
#include "engine/ModuleHost.h"
#include "engine/ReleaseList.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLibVolumePdl.h"

namespace T730
{

namespace
{
    constexpr int pauseSettleMs = 200;
    constexpr int releaseIntervalMs = 100;
}

DspMain::DspMain (JamOwner* jamOwner, PlayableItemFactory* itemFactory, Synchronizer& synchronizer,
                  DspLoader* modules, NetListOwner* pitchReceiver)
    : sync (synchronizer), owner (jamOwner), factory (itemFactory),
      jamList (new JamArray (synchronizer, itemFactory, jamOwner)),
      pitchReport (pitchReceiver)
{
    getReleaseList();   // made here, on the message thread, before any other thread hands it something
    publish();

    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        releaseTimer.startTimer (releaseIntervalMs);

    // What modules ask of the transport starts from nothing.
    ModuleHost::clearTimeInfo();

    // The tuner and the output volume pedal, each with its live object when
    // its library is there (the step that needs a missing one is skipped).
    tunerNode = std::make_unique<TypeLibTuner> (&pitchReport, modules);
    volumePedal = std::make_unique<TypeLibVolumePdl> (nullptr, modules);
    setMasterVolume (1.0f);

    mixDown = std::make_unique<MixDownThread> (*this);
}

DspMain::DspMain (JamOwner* jamOwner, PlayableItemFactory* itemFactory)
    : DspMain (jamOwner, itemFactory, *Synchronizer::getInstance())
{
}

DspMain::~DspMain()
{
    // A running mix-down ends its block, deletes its file and puts the items back first.
    mixDown.reset();
    releaseTimer.stopTimer();

    JamArray::Ptr old;
    std::unique_ptr<TypeLibTuner> tuner;
    std::unique_ptr<TypeLibVolumePdl> pedal;
    {
        const juce::ScopedLock sl (getAudioLock());
        old = std::move (renderList);
        tuner = std::move (tunerNode);
        pedal = std::move (volumePedal);
        ready = false;
    }

    // The modules' objects are closed outside the lock.
    tuner.reset();
    pedal.reset();

    old = nullptr;
    previewItem = nullptr;
    jamList = nullptr;
    savedRhythm = nullptr;
    emptyReleaseList();
}

void DspMain::emptyReleaseList()
{
    getReleaseList().empty();
}

void DspMain::publish()
{
    auto fresh = jamList->copy();
    {
        const juce::ScopedLock sl (getAudioLock());
        std::swap (renderList, fresh);
    }

    // The replaced snapshot goes here, outside the lock: a removed item's
    // destructor (a recorder finishing its WAV file) runs on this thread.
    fresh = nullptr;
    emptyReleaseList();
}

template <typename Visit>
void DspMain::forEachRenderedItem (bool recordersOnly, Visit&& visit) const
{
    // The audio thread reaches here inside a block (it holds the lock
    // already); other threads wait for the block to end. The snapshot is
    // never changed, so its items are visited without its list lock.
    const juce::ScopedLock sl (getAudioLock());
    if (const auto* list = renderList.get())
        list->visitSnapshot (recordersOnly, visit);
}

//==============================================================================
JamArray::Ptr DspMain::copyJamList() const
{
    return jamList->copy();
}

void DspMain::prepareJam (double sampleRate, int blockSize)
{
    jamList->prepare (sampleRate, blockSize);
    publish();
}

void DspMain::loadJamFromToolSet (const Project& project, const juce::File& toolSetFolder)
{
    jamList->loadFromToolSet (project, toolSetFolder);
    publish();
}

bool DspMain::addJamItem (int kind, const juce::String& file, const juce::File& toolSetFolder)
{
    const bool added = jamList->addItem (file, kind, toolSetFolder);
    if (added)
        publish();
    return added;
}

bool DspMain::removeJamItem (int kind, int index)
{
    const bool removed = jamList->removeItem (kind, index);
    if (removed)
        publish();
    return removed;
}

bool DspMain::loadSong (const juce::File& song, const juce::File& toolSetFolder)
{
    auto rhythm = jamList->getRhythmItem();
    if (rhythm == nullptr)
        return addJamItem (0, song.getFullPathName(), toolSetFolder);

    if (rhythm != previewItem)
    {
        rhythm->pause();
        rhythm->stop();
    }

    return rhythm->load (song, toolSetFolder);
}

bool DspMain::hasRhythmItem() const                         { return jamList->getRhythmItem() != nullptr; }
int DspMain::getRecorderCount() const                       { return jamList->getNumRecorders(); }
PlayableItem::Ptr DspMain::getRhythmItem() const            { return jamList->getRhythmItem(); }
PlayableItem::Ptr DspMain::getJamRhythmItem() const        { return previewItem != nullptr ? savedRhythm : jamList->getRhythmItem(); }
PlayableItem::Ptr DspMain::getRecorder (int index) const    { return jamList->getRecorder (index); }

//==============================================================================
juce::int64 DspMain::getLongestItemLength() const
{
    juce::int64 longest = getLongestRecorderLength();
    if (auto rhythm = jamList->getRhythmItem())
        longest = juce::jmax (longest, rhythm->getLength());
    return longest;
}

juce::int64 DspMain::getLongestRecorderLength() const
{
    juce::int64 longest = 0;
    for (auto* recorder : jamList->getRecorders())
        longest = juce::jmax (longest, recorder->getLength());
    return longest;
}

bool DspMain::isAnyRecorderArmed() const
{
    bool armed = false;
    forEachRenderedItem (true, [&armed] (PlayableItem& item)
    {
        armed = item.isArmed();
        return armed;
    });
    return armed;
}

void DspMain::silenceAllItems()
{
    forEachRenderedItem (false, [] (PlayableItem& item)
    {
        item.silence();
        return false;
    });
}

void DspMain::locateAllItems()
{
    const auto position = sync.getMaster().getPosition();
    forEachRenderedItem (false, [position] (PlayableItem& item)
    {
        item.silenceAtLocate (position);
        return false;
    });
}

void DspMain::pauseAll()
{
    const auto items = jamList->getAllItems();
    for (auto* item : items)
        item->pause();

    // The fades only run while the audio does.
    if (! items.isEmpty() && getEngineSettings().audioRunning.load())
        juce::Thread::sleep (pauseSettleMs);
}

void DspMain::syncRecordersTo (PlayableItem& leader)
{
    for (auto* recorder : jamList->getRecorders())
        if (recorder != &leader)
            recorder->follow (leader);
}

//==============================================================================
void DspMain::beginRhythmPreview()
{
    if (previewItem != nullptr || factory == nullptr)
        return;

    pauseAll();
    for (auto* recorder : jamList->getRecorders())
        recorder->detach();

    savedRhythm = jamList->getRhythmItem();

    previewItem = factory->createRhythmItem (sync, true);
    if (previewItem != nullptr)
    {
        previewItem->useOwnPlayState (previewItem->getPlayStateB());
        previewItem->prepare (jamList->getSampleRate(), jamList->getBlockSize());
    }

    jamList->setRhythmItem (previewItem);
    publish();
}

void DspMain::startRhythmPreview()
{
    if (previewItem != nullptr)
        previewItem->play();
}

void DspMain::stopRhythmPreview()
{
    if (previewItem != nullptr)
        previewItem->stop();
}

void DspMain::endRhythmPreview()
{
    if (previewItem == nullptr && savedRhythm == nullptr)
        return;

    pauseAll();
    for (auto* recorder : jamList->getRecorders())
        recorder->reattach();

    jamList->setRhythmItem (std::move (savedRhythm));
    savedRhythm = nullptr;
    previewItem = nullptr;
    publish();
}

} // namespace T730
