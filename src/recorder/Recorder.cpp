// The recorder's message-thread side: transport, arming and the finish pass,
// settings, takes, and the setting file. The audio thread's side is in
// RecorderRender.cpp.
#include "recorder/Recorder.h"

#include "documents/OxXMLDocument.h"
#include "documents/SafeFileWriter.h"
#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLibVolumePdl.h"
#include "recorder/WaveFile.h"

#include <cmath>
#include <mutex>

namespace T730
{

namespace
{
    std::mutex panelFactoryMutex;
    std::function<ItemPanel::Ptr (Recorder&)>& panelFactory()
    {
        static std::function<ItemPanel::Ptr (Recorder&)> factory;
        return factory;
    }

    constexpr int slowDownSpeedParameter = 0;
    constexpr int slowDownResetParameter = 1;

    int speedInRange (int speed) noexcept
    {
        if (speed <= 0 || speed >= 100)
            return speed <= 0 ? 0 : 100;
        return juce::jmax (50, speed);
    }
} // namespace

//==============================================================================
Recorder::Recorder (Synchronizer& synchronizer, const Environment& env)
    : PlayableItem (synchronizer), environment (env), spectrum (new FreqRes16Band())
{
    levelNode = std::make_unique<TypeLibVolumePdl> (nullptr, environment.modules);
    slowDown = makeSlowDown (preparedRate, blockSize);
    workLeft.assign ((size_t) initialWorkFrames, 0.0);
    workRight.assign ((size_t) initialWorkFrames, 0.0);

    applyLevel();
    applySpeedToSlowDown (status.Stretch);
    publishSettings();
}

Recorder::Recorder (Synchronizer& synchronizer) : Recorder (synchronizer, Environment())
{
}

Recorder::~Recorder()
{
    stopTimer();
    if (loopInMaster)
    {
        status.LoopPoint.enabled = false;
        applyLoop();
    }

    // The last reference goes on the message thread: nothing renders this any more.
    if (auto file = takeRecordingFile())
        file->finish();
    status.CurrentTake.closeFiles();
}

std::unique_ptr<TypeLib> Recorder::makeSlowDown (double rate, int frames) const
{
    auto node = std::make_unique<TypeLib> ("Decelerator", nullptr, true, false, environment.modules);
    if (node->getEffect() == nullptr)
        return nullptr;

    node->setSampleRate (rate);
    node->setBlockSize (frames);
    return node;
}

ItemPanel::Ptr Recorder::getPanel()
{
    if (getStoredPanel() == nullptr)
    {
        std::function<ItemPanel::Ptr (Recorder&)> factory;
        {
            const std::lock_guard<std::mutex> lock (panelFactoryMutex);
            factory = panelFactory();
        }
        if (factory)
            setPanel (factory (*this));
    }
    return getStoredPanel();
}

void Recorder::setPanelFactory (std::function<ItemPanel::Ptr (Recorder&)> factory)
{
    const std::lock_guard<std::mutex> lock (panelFactoryMutex);
    panelFactory() = std::move (factory);
}

void Recorder::report (RecorderOwner::Problem problem)
{
    if (environment.owner != nullptr)
        environment.owner->recorderProblem (problem);
}

juce::int64 Recorder::getLatency() noexcept
{
    const auto& settings = getEngineSettings();
    return (juce::int64) settings.outputLatency.load() + (juce::int64) settings.inputLatency.load();
}

float Recorder::speedRatio (int speed) noexcept
{
    return std::pow (2.0f, (float) (speed - 50) / 50.0f - 1.0f);
}

float Recorder::slowDownParameter (int speed) noexcept
{
    return isSlowed (speed) ? (float) (speed - 50) / 50.0f : 1.0f;
}

juce::int64 Recorder::getLostFrames() const noexcept
{
    return recordingFile != nullptr ? recordingFile->getLostFrames() : 0;
}

juce::int64 Recorder::getQueueHighWater() const noexcept
{
    return recordingFile != nullptr ? recordingFile->getQueueHighWater() : 0;
}

int Recorder::getQueueCapacity() const noexcept
{
    return recordingFile != nullptr ? recordingFile->getQueueCapacity() : 0;
}

void Recorder::publishSettings()
{
    Live fresh;
    fresh.on = status.OnOff;
    fresh.mute = status.Mute;
    fresh.speed = status.Stretch;
    fresh.pan = juce::jlimit (0, 100, status.Pan);
    fresh.punch = status.PIOPoint;

    const juce::ScopedLock sl (getAudioLock());
    live = fresh;
}

//==============================================================================
// Transport
void Recorder::clearMarkers()
{
    const juce::ScopedLock sl (getAudioLock());
    fadeInMarker = fadeOutMarker = -1;
}

void Recorder::resetSlowDown()
{
    {
        const juce::ScopedLock sl (getAudioLock());
        slowRemainder = 0.0;
    }
    if (slowDown != nullptr)
    {
        slowDown->setRawValue (slowDownResetParameter, 1.0f);
        slowDown->setRawValue (slowDownResetParameter, 0.0f);
    }
}

void Recorder::play()
{
    clearMarkers();
    PlayableItem::play();
}

void Recorder::pause()
{
    PlayableItem::pause();
    clearMarkers();
}

void Recorder::stop()
{
    PlayableItem::stop();
    resetSlowDown();
    clearMarkers();
}

void Recorder::locateBy (juce::int64 offset)
{
    PlayableItem::locateBy (offset);
    resetSlowDown();
    clearMarkers();
}

void Recorder::locateTo (juce::int64 position)
{
    PlayableItem::locateTo (position);
    resetSlowDown();
    clearMarkers();
}

void Recorder::prepare (double sampleRate, int frames)
{
    const double rate = sampleRate > 0.0 ? sampleRate : 44100.0;
    const int block = juce::jmax (1, frames);

    // A new slow-down is made aside (the stretcher allocates) and swapped in.
    std::unique_ptr<TypeLib> fresh;
    const bool remake = rate != preparedRate || block != blockSize || slowDown == nullptr;
    if (remake)
    {
        fresh = makeSlowDown (rate, block);
        if (fresh != nullptr)
            fresh->setRawValue (slowDownSpeedParameter, slowDownParameter (status.Stretch));
    }

    std::vector<double> left, right;
    const auto wanted = (size_t) (block + 4);
    if (wanted > workLeft.size())
    {
        left.assign (wanted, 0.0);
        right.assign (wanted, 0.0);
    }

    {
        const juce::ScopedLock sl (getAudioLock());
        if (remake && fresh != nullptr)
            std::swap (slowDown, fresh);
        if (! left.empty())
        {
            std::swap (workLeft, left);
            std::swap (workRight, right);
        }
        blockSize = block;
        slowRemainder = 0.0;
    }
    preparedRate = rate;

    levelNode->setSampleRate (rate);
    levelNode->setBlockSize (block);
    // (the old node and buffers go here, outside the lock)
}

void Recorder::silence()
{
    // Any thread: the audio thread from a stop or a loop wrap inside a block.
    int expected = armed;
    if (mode.compare_exchange_strong (expected, idle))
        return;

    expected = recording;
    if (mode.compare_exchange_strong (expected, idle))
        notifyPunchOut();
}

void Recorder::notifyPunchOut() noexcept
{
    // No message is posted here (that would allocate on the audio thread):
    // the recorder's timer sees the flag on the message thread.
    punchOutPending.store (true);
}

void Recorder::timerCallback()
{
    if (punchOutPending.exchange (false))
    {
        // The owner may drop this recorder while it handles the notice.
        Ptr keep (this);
        if (environment.owner != nullptr)
            environment.owner->recorderPunchedOut (*this);
        else
            finishPass();
    }

    if (getMode() == idle && ! punchOutPending.load())
        stopTimer();
}

//==============================================================================
// Recording
std::unique_ptr<WaveFile> Recorder::takeRecordingFile()
{
    std::unique_ptr<WaveFile> file;
    const juce::ScopedLock sl (getAudioLock());
    std::swap (file, recordingFile);
    return file;
}

bool Recorder::openRecordingFile()
{
    auto file = std::make_unique<WaveFile>();
    // The queue rides out ten seconds of a stalled disk (a sync of a long file
    // can take that long on a slow one); 3.5 MB per recorder.
    const int queueFrames = juce::jmax (queueSeconds * 44100, 16 * blockSize);
    if (! file->openForWriting (folder.getChildFile (tempFileName), queueFrames))
        return false;

    const juce::ScopedLock sl (getAudioLock());
    recordingFile = std::move (file);
    return true;
}

bool Recorder::arm (bool on)
{
    if (! on)
    {
        mode.store (idle);
        if (! getCurrentPlayState()->isStopped())
        {
            {
                const juce::ScopedLock sl (getAudioLock());
                fadeInMarker = -2;
            }
            punchOutPending.store (false);
            finishPass();
        }
        return true;
    }

    if (folder == juce::File())
    {
        report (RecorderOwner::Problem::toolSetFolderNeeded);
        return false;
    }

    if (auto old = takeRecordingFile())
        old->finish();

    if (! folder.isDirectory())
        folder.createDirectory();
    if (! openRecordingFile())
    {
        report (RecorderOwner::Problem::wavWrite);
        return false;
    }

    {
        const juce::ScopedLock sl (getAudioLock());
        auto* ps = getCurrentPlayState();
        const auto position = ps->getPosition();
        const auto& punch = status.PIOPoint;
        const bool inside = ! punch.enabled || (punch.start < position && position < punch.end);
        mode.store (ps->isPlaying() && inside ? recording : armed);
    }

    startTimer (noticeIntervalMs);
    return true;
}

bool Recorder::finishPass()
{
    bool ok = true;
    auto file = takeRecordingFile();

    if (file != nullptr && file->isOpened())
    {
        file->finish();
        if (file->hasWritten())
        {
            const auto latency = getLatency();
            const auto first = juce::jmax<juce::int64> (0, file->getFirstWrittenPosition() - latency);
            const auto last = juce::jmax<juce::int64> (first, file->getLastWrittenPosition() - latency);
            const auto temp = file->getFile();
            file.reset();

            // The pass is moved, not copied: when the move fails "temp.wav"
            // stays with the recording and nothing is placed.
            const auto destination = WaveFile::newNumberedFile (folder, "Audio", ".wav");
            if (! moveTakeFile (temp, destination))
            {
                report (RecorderOwner::Problem::wavWrite);
                saveIntoToolSet();
                return false;
            }

            if (status.CurrentTake.addRecording (destination, first, last))
            {
                recordUndoPoint();
            }
            else
            {
                // (the moved file stays in the folder; the take is unchanged)
                report (RecorderOwner::Problem::wavWrite);
                ok = false;
            }
        }
    }
    file.reset();

    saveIntoToolSet();

    // A fresh "temp.wav" waits for the next pass.
    if (folder != juce::File() && folder.isDirectory())
    {
        folder.getChildFile (tempFileName).deleteFile();
        openRecordingFile();
    }
    return ok;
}

bool Recorder::moveTakeFile (const juce::File& from, const juce::File& to)
{
    return from.moveFileTo (to);
}

//==============================================================================
// Settings
void Recorder::applySpeedToSlowDown (int speed)
{
    if (slowDown != nullptr)
        slowDown->setRawValue (slowDownSpeedParameter, slowDownParameter (speed));
}

void Recorder::setSpeed (int requested)
{
    const int speed = speedInRange (requested);
    const bool slowedNow = isSlowed (appliedSpeed);
    const bool slowedNext = isSlowed (speed);

    if (slowedNow != slowedNext)
    {
        getPlayStateA().stop();
        stop();
    }

    {
        const juce::ScopedLock sl (getAudioLock());
        PlayState* ps = getCurrentPlayState();
        if (! detached)
        {
            ps = slowedNext ? &getPlayStateA() : &getSynchronizer().getMaster();
            setCurrentPlayState (ps);
        }
        ps->setSpeed (slowedNext ? speed : 0);
        status.Stretch = speed;
        live.speed = speed;
    }
    appliedSpeed = speed;
    applySpeedToSlowDown (speed);
}

void Recorder::applyLevel()
{
    const float gain = (float) juce::jlimit (0, 100, status.Level) / 100.0f;
    levelNode->setRawValue (TypeLibVolumePdl::levelParameter, gain);
    levelGain.store (gain);
}

void Recorder::setLevel (int level)
{
    status.Level = juce::jlimit (0, 100, level);
    applyLevel();
}

juce::String Recorder::getLevelText()
{
    juce::String text;
    if (! levelNode->getParamText (TypeLibVolumePdl::levelParameter, text))
        text = juce::String (status.Level);
    return text;
}

void Recorder::setPan (int pan)
{
    status.Pan = juce::jlimit (0, 100, pan);
    publishSettings();

    const juce::ScopedLock sl (getAudioLock());
    if (getCurrentPlayState()->isStopped())
        currentPan = (double) status.Pan;
}

void Recorder::setMute (bool muted)
{
    status.Mute = muted;
    publishSettings();
}

void Recorder::setOn (bool on)
{
    status.OnOff = on;
    publishSettings();
    if (loopInMaster)
        applyLoop();
}

void Recorder::setPunchRange (const LocateRange& range)
{
    status.PIOPoint = range;
    publishSettings();
}

void Recorder::setLoopRange (const LocateRange& range)
{
    status.LoopPoint = range;
    if (range.enabled)
        loopInMaster = true;
    applyLoop();
    if (! range.enabled)
        loopInMaster = false;
}

void Recorder::applyLoop()
{
    if (! loopInMaster)
        return;

    const auto range = status.OnOff ? status.LoopPoint : LocateRange();
    getSynchronizer().getMaster().setLoopRange (range);
    getPlayStateA().setLoopRange (range);
}

void Recorder::follow (PlayableItem& leaderItem)
{
    auto* leader = dynamic_cast<Recorder*> (&leaderItem);
    if (leader == nullptr || leader == this)
        return;

    if (leader->status.LoopPoint.enabled && status.LoopPoint.enabled)
    {
        // The leader's loop is the master's now: this one only lets go of it.
        status.LoopPoint.enabled = false;
        loopInMaster = false;
        saveIntoToolSet();
    }

    if (leader->isArmed() && isArmed())
        arm (false);
}

void Recorder::detach()
{
    savedSpeed = status.Stretch;
    arm (false);
    useOwnPlayState (getPlayStateB());
    {
        const juce::ScopedLock sl (getAudioLock());
        detached = true;
    }
    setSpeed (0);
    stop();
}

void Recorder::reattach()
{
    {
        const juce::ScopedLock sl (getAudioLock());
        detached = false;
    }
    restoreSavedPlayState();
    setSpeed (savedSpeed);
}

//==============================================================================
// Takes
bool Recorder::importWave (const juce::File& source, bool tellOwner)
{
    if (folder == juce::File())
    {
        if (tellOwner)
            report (RecorderOwner::Problem::toolSetFolderNeeded);
        return false;
    }

    if (! folder.isDirectory())
        folder.createDirectory();
    const auto destination = WaveFile::newNumberedFile (folder, "Audio", ".wav");
    juce::String error;
    if (! WaveFile::import (destination, source, &error))
    {
        if (error.isNotEmpty())
            juce::Logger::writeToLog (error);
        if (tellOwner)
            report (RecorderOwner::Problem::wavImport);
        return false;
    }

    // A copy that does not load as a take (too large for memory) leaves the take as it was and
    // the folder without it.
    if (! status.CurrentTake.replaceWithFile (destination))
    {
        destination.deleteFile();
        if (tellOwner)
            report (RecorderOwner::Problem::wavImport);
        return false;
    }
    recordUndoPoint();
    saveIntoToolSet();
    return true;
}

bool Recorder::undoTake()
{
    auto& keeper = status.getUndoKeeper();
    if (! keeper.canUndo())
        return false;

    // The snapshot's files open from the take folder before it replaces the take.
    keeper.undo();
    saveIntoToolSet();
    return true;
}

bool Recorder::redoTake()
{
    auto& keeper = status.getUndoKeeper();
    if (! keeper.canRedo())
        return false;

    keeper.redo();
    saveIntoToolSet();
    return true;
}

void Recorder::recordUndoPoint()
{
    status.getUndoKeeper().record();
}

void Recorder::resetRecorder()
{
    const auto name = status.Name;
    status.reset();
    status.Name = name;

    setSpeed (status.Stretch);
    applyLevel();
    setPan (status.Pan);
    publishSettings();

    if (loopInMaster)
    {
        applyLoop();
        loopInMaster = false;
    }
    recordUndoPoint();
    saveIntoToolSet();
}

//==============================================================================
// The setting file
juce::int64 Recorder::getLength()
{
    return status.CurrentTake.getLatestEnd();
}

bool Recorder::load (const juce::File& file, const juce::File&)
{
    if (file == juce::File() || ! file.existsAsFile())
    {
        const auto name = juce::String ("Recorder 1");
        status.reset();
        status.Name = name;
        publishSettings();
        return file == juce::File();
    }

    OxXMLDocument document (file);
    auto* root = document.root();
    if (root == nullptr || ! root->hasTagName ("Recorder"))
    {
        juce::Logger::writeToLog ("Failed reading toolset file.");
        return false;
    }

    status.CurrentTake.closeFiles();
    status.reset();
    status.read (root);

    toolSetFolder = file.getParentDirectory();
    folder = toolSetFolder.getChildFile (file.getFileNameWithoutExtension());
    fileName = file.getFileName();
    status.setTakeFolder (folder);
    status.CurrentTake.openFiles (folder);

    setSpeed (status.Stretch);
    applyLevel();
    publishSettings();
    {
        const juce::ScopedLock sl (getAudioLock());
        currentPan = (double) juce::jlimit (0, 100, status.Pan);
    }

    loopInMaster = status.LoopPoint.enabled;
    if (loopInMaster)
        applyLoop();
    return true;
}

bool Recorder::saveSetting (const juce::File& toolSet)
{
    if (toolSet == juce::File())
        return false;

    if (fileName.isEmpty())
        fileName = WaveFile::newNumberedFile (toolSet, settingBaseName, ".xml").getFileName();

    const auto settingFile = toolSet.getChildFile (fileName);
    const auto newFolder = toolSet.getChildFile (settingFile.getFileNameWithoutExtension());
    const bool moved = newFolder != folder;
    if (moved)
        status.CurrentTake.closeFiles();

    bool ok = toolSet.isDirectory() && (newFolder.isDirectory() || newFolder.createDirectory().wasOk());
    if (ok)
    {
        juce::XmlElement root ("Recorder");
        status.write (&root);
        ok = writeXmlDocument (settingFile, root);
    }

    if (ok)
    {
        toolSetFolder = toolSet;
        folder = newFolder;
        status.setTakeFolder (folder);
    }
    else
    {
        juce::Logger::writeToLog ("Failed writing toolset file.");
    }

    // The take plays from wherever its folder is now.
    if (moved)
        status.CurrentTake.openFiles (folder);
    return ok;
}

bool Recorder::saveIntoToolSet()
{
    return toolSetFolder != juce::File() && saveSetting (toolSetFolder);
}

} // namespace T730
