#include "rhythm/Rhythmer.h"

#include "documents/XmlParser.h"
#include "engine/AudioLock.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLibVolumePdl.h"
#include "platform/DataFolders.h"
#include "platform/PlainNames.h"
#include "rhythm/RhythmEngineHost.h"
#include "rhythm/SMFParser.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace T730
{

namespace
{
    std::mutex panelFactoryMutex;
    std::function<ItemPanel::Ptr (Rhythmer&)>& panelFactory()
    {
        static std::function<ItemPanel::Ptr (Rhythmer&)> factory;
        return factory;
    }

    std::unique_ptr<RhythmEngineInstance> createEngine (const juce::File& library)
    {
        juce::String error;
        auto instance = getRhythmEngineFormat().createInstance (RhythmEngineFormat::describe (library),
                                                                (double) Rhythmer::sampleRate, 512, error);
        if (instance == nullptr)
            juce::Logger::writeToLog (error);
        return instance;
    }

    juce::String countInFileName (int value)
    {
        if (value >= 1 && value <= 8)
            return "preCount" + juce::String (value) + ".mid";
        if (value == -1)
            return "preCountSP.mid";
        return {};
    }
} // namespace

Rhythmer::Environment Rhythmer::Environment::standard()
{
    Environment e;
    e.songFolder = getUserDataFolder (UserFolder::song, false);
    e.rhythmFolder = getUserDataFolder (UserFolder::rhythm, false);
    e.resourceFolder = getResourceFolder();
    e.engineLibrary = getRhythmEngineLibrary();
    return e;
}

//==============================================================================
Rhythmer::Rhythmer (Synchronizer& synchronizer, const Environment& env, bool previewMode)
    : PlayableItem (synchronizer), environment (env), preview (previewMode),
      settingFileName (juce::String (settingBaseName) + ".xml"), head (std::make_unique<BlockHead>())
{
    drums = createEngine (environment.engineLibrary);
    bass = createEngine (environment.engineLibrary);
    for (auto* instance : { drums.get(), bass.get() })
        if (instance != nullptr)
            instance->setPlayHead (head.get());

    drumLevel = std::make_unique<TypeLibVolumePdl> (nullptr, environment.modules);
    bassLevel = std::make_unique<TypeLibVolumePdl> (nullptr, environment.modules);
    drumLevel->setSampleRate ((double) sampleRate);
    bassLevel->setSampleRate ((double) sampleRate);

    juce::Reverb::Parameters room;
    room.roomSize = 0.35f;
    room.damping = 0.6f;
    room.wetLevel = 0.1f;
    room.dryLevel = 0.0f;   // the tail only: the dry parts pass beside it
    room.width = 1.0f;
    drumRoom.setParameters (room);

    prepare ((double) sampleRate, 512);
    publishEvents();
}

Rhythmer::~Rhythmer()
{
    // The count-in of the play state is left alone: a machine that replaced this
    // one may already have set it (removing the machine clears it, see the panel).
    for (auto* instance : { drums.get(), bass.get() })
        if (instance != nullptr)
        {
            instance->releaseResources();
            instance->setPlayHead (nullptr);
        }
    drums.reset();
    bass.reset();
}

ItemPanel::Ptr Rhythmer::getPanel()
{
    if (getStoredPanel() == nullptr)
    {
        std::function<ItemPanel::Ptr (Rhythmer&)> factory;
        {
            const std::lock_guard<std::mutex> lock (panelFactoryMutex);
            factory = panelFactory();
        }
        if (factory)
            setPanel (factory (*this));
    }
    return getStoredPanel();
}

void Rhythmer::setPanelFactory (std::function<ItemPanel::Ptr (Rhythmer&)> factory)
{
    const std::lock_guard<std::mutex> lock (panelFactoryMutex);
    panelFactory() = std::move (factory);
}

//==============================================================================
void Rhythmer::prepare (double rate, int blockSize)
{
    preparedRate = rate > 0.0 ? rate : (double) sampleRate;
    {
        const juce::ScopedLock sl (getAudioLock());
        growWorkBuffers (blockSize);
        if (preparedRate != roomRate)
        {
            drumRoom.setSampleRate (preparedRate);
            roomRate = preparedRate;
            roomNext = -1;
        }
    }

    for (auto* level : { drumLevel.get(), bassLevel.get() })
        level->setBlockSize (juce::jmax (blockSize, workCapacity));
    for (auto* instance : { drums.get(), bass.get() })
        if (instance != nullptr)
            instance->prepareToPlay (preparedRate, juce::jmax (blockSize, workCapacity));
}

void Rhythmer::setPreCount (int value)
{
    std::vector<NoteEvent> events;
    const auto name = countInFileName (value);
    if (name.isNotEmpty())
        readMidiFile (environment.resourceFolder.getChildFile (name), events);   // events before an error stay

    {
        const juce::ScopedLock sl (getAudioLock());
        std::swap (preCountEvents, events);
    }
    publishEvents();
    PlayableItem::setPreCount (value);
}

juce::int64 Rhythmer::toSamples (float time, int tempo) noexcept
{
    if (tempo <= 0)
        return 0;
    // Held far inside the 64-bit range: a damaged file's times never overflow.
    const double samples = juce::jlimit (-1.0e15, 1.0e15, (double) time / (double) tempo * (double) sampleRate);
    return (juce::int64) samples;
}

int Rhythmer::tempoInRange (int bpm) noexcept
{
    if (bpm <= 0)
        return PlayState::defaultTempo;
    return juce::jlimit (PlayState::lowestTempo, PlayState::highestTempo, bpm);
}

int Rhythmer::wrapTranspose (int semitones) noexcept
{
    if (semitones >= -6 && semitones <= 6)
        return semitones;
    int t = ((semitones % 12) + 12) % 12;
    return t > 6 ? t - 12 : t;
}

juce::int64 Rhythmer::lengthOf (const std::vector<NoteEvent>& events, int tempo) const noexcept
{
    if (events.empty())
        return 0;
    return juce::jmax<juce::int64> (0, toSamples (events.back().time, tempo));
}

void Rhythmer::setTempo (int beatsPerMinute)
{
    const int tempo = tempoInRange (beatsPerMinute);
    getCurrentPlayState()->setTempo (tempo);
    watchedTempo.store (getCurrentPlayState()->getTempo());
    song.BPM = tempo;
    songLength.store (lengthOf (merged, tempo));
}

//==============================================================================
bool Rhythmer::load (const juce::File& file, const juce::File& toolSetFolder)
{
    return loadSong (file, toolSetFolder);
}

juce::File Rhythmer::resolveSongFile (const juce::File& file) const
{
    if (preview && file != juce::File() && ! file.existsAsFile() && environment.temporaryFolder != juce::File())
        return childNamed (environment.temporaryFolder, file.getFileName());
    if (file != juce::File())
        return file;
    return environment.songFolder.getChildFile (defaultSongName);
}

bool Rhythmer::resolvePatterns (std::vector<std::unique_ptr<RhythmPattern>>& found) const
{
    // Every pattern document of the folders, read once, by ID; the first file
    // (by name) of an ID wins, the rhythm folder before the preview's folder.
    std::map<juce::String, juce::File> byId;
    auto scan = [&byId] (const juce::File& folder)
    {
        for (const auto& f : xmlFilesByName (folder))
        {
            RhythmPattern p;
            if (p.readFile (f) && p.ID.isNotEmpty())
                byId.emplace (p.ID, f);
        }
    };
    scan (environment.rhythmFolder);
    if (preview && environment.temporaryFolder != juce::File())
        scan (environment.temporaryFolder);

    // One pattern per ID, however often the song plays it.
    for (const auto& id : song.getPatternIds())
    {
        const auto it = byId.find (id);
        if (it == byId.end())
            continue;

        auto pattern = std::make_unique<RhythmPattern>();
        pattern->readFile (it->second);
        if (! pattern->hasUsableGrid())
        {
            juce::Logger::writeToLog ("Rhythm pattern without a usable time signature or bar count: "
                                      + it->second.getFileName());
            continue;
        }
        found.push_back (std::move (pattern));
    }
    return ! found.empty();
}

juce::File Rhythmer::patternMidiFile (const RhythmPattern& pattern) const
{
    // Only a file directly inside the folder: a pattern never names a path.
    auto file = plainChild (environment.rhythmFolder, pattern.FileName);
    if (preview && file != juce::File() && ! file.existsAsFile() && environment.temporaryFolder != juce::File())
        file = plainChild (environment.temporaryFolder, pattern.FileName);
    return file;
}

void Rhythmer::swapEvents (std::vector<NoteEvent>& events, std::vector<int>& roots, juce::int64 length)
{
    {
        const juce::ScopedLock sl (getAudioLock());
        std::swap (merged, events);
        std::swap (rootList, roots);
        songLength.store (length);
        nextEvent = 0;
    }
    publishEvents();
}

void Rhythmer::publishEvents()
{
    // Copies made here, on the message thread, which alone changes the lists; the
    // reader that holds the last reference to an older copy frees it.
    auto events = std::make_shared<RhythmEvents>();
    events->song = merged;
    events->countIn = preCountEvents;
    publishedEvents.store (std::move (events));
}

RhythmTransport Rhythmer::getTransport() const noexcept
{
    RhythmTransport t;
    const auto* ps = getCurrentPlayState();
    t.state = ps->getState();
    t.position = ps->getPosition();
    t.countInElapsed = watchedCountIn.load();
    t.tempo = watchedTempo.load();
    t.rhythmOn = watchedRhythmOn.load();
    t.repeat = repeat.load();
    t.length = songLength.load();
    return t;
}

bool Rhythmer::loadSong (const juce::File& file, const juce::File& toolSetFolder)
{
    auto* playState = getCurrentPlayState();
    const bool wasOn = song.OnOff != 0;

    {
        std::vector<NoteEvent> none;
        std::vector<int> noRoots;
        swapEvents (none, noRoots, 0);
    }
    patterns.clear();

    const auto resolved = resolveSongFile (file);
    auto root = parseXmlFile (resolved);
    if (root == nullptr)
        return false;

    song.read (root.get());
    song.filePath = resolved;

    const auto longest = environment.owner != nullptr ? environment.owner->getLongestRecordingLength() : 0;
    const bool inSongFolder = resolved.getParentDirectory().getFullPathName() == environment.songFolder.getFullPathName();
    const bool followOn = file != juce::File() && ! preview && longest != 0 && inSongFolder;

    // A follow-on keeps the recordings' timing.
    if (followOn)
        song.BPM = playState->getTempo();
    else
        song.BPM = tempoInRange (song.BPM);
    playState->setTempo (song.BPM);

    const bool on = inSongFolder ? wasOn : song.OnOff != 0;
    playState->setRhythmOn (on);
    watchedRhythmOn.store (on);
    watchedTempo.store (playState->getTempo());
    song.OnOff = on ? 1 : 0;

    applySongSettings();
    setPreCount (environment.owner != nullptr ? environment.owner->getToolSetPreCount() : 0);

    std::vector<std::unique_ptr<RhythmPattern>> found;
    if (! resolvePatterns (found))
        return false;

    for (auto& pattern : found)
    {
        const auto midi = patternMidiFile (*pattern);
        if (midi == juce::File() || ! readMidiFile (midi, pattern->events))
            return false;
    }

    // Merge: each pattern event moved to its song event's position (quarter notes × 60).
    std::vector<NoteEvent> events;
    std::vector<int> roots;
    for (const auto& e : song.Events)
    {
        if (! e.isPattern())
            continue;
        for (auto& pattern : found)
        {
            if (pattern->ID != e.Prm)
                continue;
            for (auto n : pattern->events)
            {
                n.time += (float) e.Position;
                events.push_back (n);
                roots.push_back (pattern->getRootIndex());
            }
        }
    }

    const int previousRoot = songRoot;
    songRoot = roots.empty() ? 0 : roots.front();

    // The scan relies on time order; songs whose events follow each other are in it already.
    std::vector<size_t> order (events.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort (order.begin(), order.end(), [&] (size_t a, size_t b) { return events[a].time < events[b].time; });
    std::vector<NoteEvent> sorted;
    std::vector<int> sortedRoots;
    sorted.reserve (events.size());
    sortedRoots.reserve (roots.size());
    for (auto i : order)
    {
        sorted.push_back (events[i]);
        sortedRoots.push_back (roots[i]);
    }

    int t = followOn ? transpose.load() + previousRoot - songRoot : song.RootChord;
    t = wrapTranspose (t);
    transpose.store (t);
    song.RootChord = t;

    patterns = std::move (found);
    swapEvents (sorted, sortedRoots, lengthOf (sorted, playState->getTempo()));

    if (auto* panel = dynamic_cast<RhythmerPanel*> (getStoredPanel()))
        panel->songLoaded();

    if (toolSetFolder != juce::File() && ! preview)
    {
        saveSetting (toolSetFolder);
        if (environment.owner != nullptr)
            environment.owner->setToolSetSongFile (settingFileName);
    }
    return true;
}

void Rhythmer::applySongSettings()
{
    drumMuted.store (song.RhythmMute != 0);
    bassMuted.store (song.BassMute != 0);
    repeat.store (song.Repeat == 1);
    drumLevel->setRawValue (TypeLibVolumePdl::levelParameter, (float) juce::jlimit (0, 100, song.RhythmLv) / 100.0f);
    bassLevel->setRawValue (TypeLibVolumePdl::levelParameter, (float) juce::jlimit (0, 100, song.BassLv) / 100.0f);
    if (bass != nullptr)
        bass->selectVoice (juce::jlimit (0, kRhythmFirstDrumKit - 1, song.BassVoice));
    if (drums != nullptr)
        drums->selectVoice (kRhythmFirstDrumKit + juce::jlimit (0, kRhythmMaxDrumKits - 1, song.RhythmVoice));
}

bool Rhythmer::saveSetting (const juce::File& folder)
{
    if (folder == juce::File())
        return false;
    return song.writeFile (folder.getChildFile (settingFileName));
}

//==============================================================================
juce::StringArray Rhythmer::getPatternIds() const
{
    juce::StringArray ids;
    for (auto& p : patterns)
        ids.addIfNotAlreadyThere (p->ID);
    return ids;
}

void Rhythmer::setTranspose (int semitones)
{
    const int t = wrapTranspose (semitones);
    transpose.store (t);
    song.RootChord = t;
}

void Rhythmer::setDrumMute (bool muted)
{
    song.RhythmMute = muted ? 1 : 0;
    drumMuted.store (muted);
}

void Rhythmer::setBassMute (bool muted)
{
    song.BassMute = muted ? 1 : 0;
    bassMuted.store (muted);
}

void Rhythmer::setRepeat (bool on)
{
    song.Repeat = on ? 1 : 0;
    repeat.store (on);
}

void Rhythmer::setRhythmOn (bool on)
{
    song.OnOff = on ? 1 : 0;
    getCurrentPlayState()->setRhythmOn (on);
    watchedRhythmOn.store (on);
}

bool Rhythmer::isRhythmOn() const
{
    return getCurrentPlayState()->isRhythmOn();
}

void Rhythmer::setDrumLevel (int percent)
{
    song.RhythmLv = percent;
    drumLevel->setRawValue (TypeLibVolumePdl::levelParameter, (float) juce::jlimit (0, 100, percent) / 100.0f);
}

void Rhythmer::setBassLevel (int percent)
{
    song.BassLv = percent;
    bassLevel->setRawValue (TypeLibVolumePdl::levelParameter, (float) juce::jlimit (0, 100, percent) / 100.0f);
}

void Rhythmer::selectDrumKit (int kit)
{
    song.RhythmVoice = juce::jlimit (0, kRhythmMaxDrumKits - 1, kit);
    if (drums != nullptr)
        drums->selectVoice (kRhythmFirstDrumKit + song.RhythmVoice);
}

void Rhythmer::selectBassVoice (int voice)
{
    song.BassVoice = juce::jlimit (0, kRhythmFirstDrumKit - 1, voice);
    if (bass != nullptr)
        bass->selectVoice (song.BassVoice);
}

juce::String Rhythmer::getDrumKitName (int kit) const
{
    return drums != nullptr && kit >= 0 ? drums->getVoiceName (kRhythmFirstDrumKit + kit) : juce::String();
}

juce::String Rhythmer::getBassVoiceName (int voice) const
{
    return bass != nullptr && voice >= 0 && voice < kRhythmFirstDrumKit ? bass->getVoiceName (voice) : juce::String();
}

juce::String Rhythmer::getLevelText (bool forDrums) const
{
    juce::String text;
    auto* stage = forDrums ? drumLevel.get() : bassLevel.get();
    if (stage != nullptr && ! stage->getParamText (TypeLibVolumePdl::levelParameter, text))
        text.clear();
    return text;
}

int Rhythmer::getNumDrumKits() const { return drums != nullptr ? drums->getNumVoices (true) : 0; }
int Rhythmer::getNumBassVoices() const { return bass != nullptr ? bass->getNumVoices (false) : 0; }

} // namespace T730
