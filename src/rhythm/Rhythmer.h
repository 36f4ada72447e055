#pragma once

#include "engine/PlayableItem.h"
#include "rhythm/RhythmPattern.h"
#include "rhythm/RhythmerWatch.h"
#include "rhythm/Song.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <vector>

namespace T730
{

class DspLoader;
class RhythmEngineInstance;
class TypeLibVolumePdl;

/** What the rhythm machine asks of the controller. */
class RhythmerOwner
{
public:
    virtual ~RhythmerOwner() = default;

    /** The longest recording of the jam, in samples (0: no recordings). */
    virtual juce::int64 getLongestRecordingLength() = 0;

    /** The tool set's count-in setting. */
    virtual int getToolSetPreCount() = 0;

    /** The rhythm setting file became the tool set's song file. */
    virtual void setToolSetSongFile (const juce::String& fileName) = 0;
};

/** The rhythm machine's panel as the machine sees it (besides being its
    ItemPanel): told after every song load. */
class RhythmerPanel
{
public:
    virtual ~RhythmerPanel() = default;

    /** A song was loaded: timing, length, transpose and chords are shown again (message thread). */
    virtual void songLoaded() = 0;
};

/** The rhythm machine: a playable item that plays the current song's drum part
    and bass part on two instances of the rhythm engine (drums on MIDI channel
    10, bass on channel 1), each through its own level stage and meter (the
    drums through a small room before theirs), into the jam's stereo output.

    Rhythm positions are samples at 44100 per second: an event at time t
    (quarter notes × 60) sounds at trunc (t / tempo × 44100).

    Threads: loading, the count-in setting, the tempo and the settings the
    panel changes run on the message thread; render, the count-in render and
    the silence they carry out run on the audio thread (audio lock held). The
    lists the audio thread reads are rebuilt aside and swapped in under the
    audio lock; the settings it reads are atomics. */
class Rhythmer : public PlayableItem
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<Rhythmer>;

    /** Where the machine finds its files and whom it asks. */
    struct Environment
    {
        RhythmerOwner* owner = nullptr;     // not owned; may be null
        juce::File songFolder;              // the user's "song" folder
        juce::File rhythmFolder;            // the user's "rhythm" folder
        juce::File resourceFolder;          // the count-in files
        juce::File temporaryFolder;         // where the preview finds what it was sent
        juce::File engineLibrary;           // the rhythm engine library
        DspLoader* modules = nullptr;       // the level stages' module registry (null: the process-wide one)

        /** The installation's and the user's folders, the import work folder left empty. */
        static Environment standard();
    };

    static constexpr const char* settingBaseName = "RhythmerSetting";
    static constexpr const char* defaultSongName = "Song_8beat.xml";
    static constexpr int sampleRate = 44100;
    static constexpr int drumChannel = 9;
    static constexpr int bassChannel = 0;
    static constexpr int silenceSamples = 882;

    Rhythmer (Synchronizer& synchronizer, const Environment& environment, bool previewMode = false);
    ~Rhythmer() override;

    // Playable item ---------------------------------------------------------
    /** Reads the count-in file for the value (1..8, -1 "SP", others none) and keeps the value. */
    void setPreCount (int value) override;
    void prepare (double rate, int blockSize) override;
    void render (juce::int64 position, const float* const* input, float* const* output, int firstSample,
                 int count) override;
    void renderCountIn (juce::int64 elapsed, const float* const* input, float* const* output, int firstSample,
                        int count) override;
    /** While stopped: carries out a silence asked for. */
    void idleRender (const float* const* input, int firstSample, int count) override;
    juce::int64 getLength() override { return songLength.load(); }
    /** Asks the next block to send all sound off to both parts and to scan from the first event. */
    void silence() override;
    void silenceAtLocate (juce::int64 position) override;
    /** Loads a song (see loadSong). */
    bool load (const juce::File& file, const juce::File& toolSetFolder) override;
    bool saveSetting (const juce::File& folder) override;
    juce::String getSettingFileName() override { return settingFileName; }
    ItemPanel::Ptr getPanel() override;

    /** 20: the tempo of the play state and the song; the song length follows. */
    void setTempo (int beatsPerMinute);

    /** Loads the song file (an empty file: the song folder's default song),
        resolves its patterns in the rhythm folder, reads their MIDI files and
        merges them. With recordings in the jam, a song of the song folder
        keeps the current tempo and the key the bass sounds in. When the tool
        set folder is given (and this is no preview) the song is saved there
        as the rhythm setting file. */
    bool loadSong (const juce::File& file, const juce::File& toolSetFolder);

    // The panel's settings (message thread) ----------------------------------
    const Song& getSong() const noexcept { return song; }
    const std::vector<std::unique_ptr<RhythmPattern>>& getPatterns() const noexcept { return patterns; }
    juce::StringArray getPatternIds() const;
    int getTranspose() const noexcept { return transpose.load(); }
    /** Kept within -6..+6; the song's RootChord follows. */
    void setTranspose (int semitones);
    int getSongRoot() const noexcept { return songRoot; }
    void setDrumMute (bool muted);
    void setBassMute (bool muted);
    void setRepeat (bool on);
    bool isRepeating() const noexcept { return repeat.load(); }
    /** Switches the rhythm on or off (the play state's flag and the song's OnOff). */
    void setRhythmOn (bool on);
    bool isRhythmOn() const;
    /** Levels in percent (the level stages get level / 100). */
    void setDrumLevel (int percent);
    void setBassLevel (int percent);
    void selectDrumKit (int kit);
    void selectBassVoice (int voice);
    /** Names and counts of the engine's kits and voices ("" and 0 without an instance). */
    juce::String getDrumKitName (int kit) const;
    juce::String getBassVoiceName (int voice) const;
    int getNumDrumKits() const;
    int getNumBassVoices() const;
    /** The level stage's own text for its level ("" without its module). */
    juce::String getLevelText (bool drums) const;

    bool isPreview() const noexcept { return preview; }
    float getDrumMeter() const noexcept { return drumMeter.load(); }
    float getBassMeter() const noexcept { return bassMeter.load(); }
    RhythmEngineInstance* getDrumInstance() const noexcept { return drums.get(); }
    RhythmEngineInstance* getBassInstance() const noexcept { return bass.get(); }
    const std::vector<NoteEvent>& getMergedEvents() const noexcept { return merged; }
    const std::vector<NoteEvent>& getPreCountEvents() const noexcept { return preCountEvents; }

    // What the figures read (any thread, no lock) -----------------------------
    /** The event lists as last published whole (never null). */
    std::shared_ptr<const RhythmEvents> getPublishedEvents() const { return publishedEvents.load(); }
    /** The transport as the audio thread last left it. */
    RhythmTransport getTransport() const noexcept;

    /** A note's time as a sample position at a tempo: trunc (time / tempo × 44100). */
    static juce::int64 toSamples (float time, int tempo) noexcept;

    /** Makes the machine's panel on first use (set by the jam section). */
    static void setPanelFactory (std::function<ItemPanel::Ptr (Rhythmer&)> factory);

private:
    /** The timeline position of the block the instances render (audio thread). */
    class BlockHead : public juce::AudioPlayHead
    {
    public:
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setTimeInSamples (samples);
            return info;
        }

        juce::int64 samples = 0;
    };

    /** The song's tempo brought into the machine's range (40..250, 120 for none). */
    static int tempoInRange (int beatsPerMinute) noexcept;
    static int wrapTranspose (int semitones) noexcept;

    juce::File resolveSongFile (const juce::File& file) const;
    bool resolvePatterns (std::vector<std::unique_ptr<RhythmPattern>>& found) const;
    juce::File patternMidiFile (const RhythmPattern& pattern) const;
    void applySongSettings();
    void swapEvents (std::vector<NoteEvent>& events, std::vector<int>& roots, juce::int64 length);
    juce::int64 lengthOf (const std::vector<NoteEvent>& events, int tempo) const noexcept;

    // Audio thread.
    void growWorkBuffers (int samples);
    /** Readies the work buffers and the parts' MIDI for a block; when a silence was
        asked for, puts all sound off at its start and returns true. */
    bool startBlock (int samples);
    void routeRange (juce::int64 from, juce::int64 to, juce::int64 shift, juce::int64 length, int tempo, bool on);
    size_t firstEventAtOrAfter (juce::int64 from, juce::int64 length, int tempo) const noexcept;
    void route (const NoteEvent& e, int offset, bool on);
    void renderParts (juce::int64 position, float* const* output, int firstSample, int count, bool withBass);
    float processPart (RhythmEngineInstance* instance, TypeLibVolumePdl& level, juce::Reverb* room,
                       juce::MidiBuffer& midi, std::vector<float>& left, std::vector<float>& right,
                       juce::int64 position, int count);

    const Environment environment;
    const bool preview;
    const juce::String settingFileName;

    std::unique_ptr<RhythmEngineInstance> drums, bass;
    std::unique_ptr<TypeLibVolumePdl> drumLevel, bassLevel;
    std::unique_ptr<BlockHead> head;
    /** The drums' room (before their level stage): the tail of their mono sum, added to
        both sides. Cleared at every jump of the timeline, so that what sounds depends
        only on the position. Resized under the audio lock. */
    juce::Reverb drumRoom;
    std::vector<float> roomWork;
    double roomRate = 0.0;
    juce::int64 roomNext = -1;   // the audio thread's: where the room expects the next block

    // Message thread.
    Song song;
    std::vector<std::unique_ptr<RhythmPattern>> patterns;
    int songRoot = 0;
    double preparedRate = 44100.0;

    // Read by the audio thread; replaced under the audio lock.
    std::vector<NoteEvent> merged;
    std::vector<int> rootList;
    std::vector<NoteEvent> preCountEvents;

    // Written on the message thread, read by the audio thread.
    std::atomic<juce::int64> songLength { 0 };
    std::atomic<int> transpose { 0 };
    std::atomic<bool> drumMuted { false }, bassMuted { false }, repeat { false };
    std::atomic<bool> silenceRequested { false };

    // The audio thread's (grown under the audio lock by prepare).
    size_t nextEvent = 0;
    int workCapacity = 0;
    std::vector<float> drumLeft, drumRight, bassLeft, bassRight;
    juce::MidiBuffer drumMidi, bassMidi;
    std::atomic<float> drumMeter { 0.0f }, bassMeter { 0.0f };

    // For the figures. The event lists are published whole by the message thread
    // (publishEvents); the audio thread never touches them. The tempo, rhythm switch
    // and count-in progress are written by the audio thread once per block (and by the
    // message thread's setters) and read by the figures.
    void publishEvents();
    void watchBlock (const PlayState& ps) noexcept;
    std::atomic<std::shared_ptr<const RhythmEvents>> publishedEvents;
    std::atomic<int> watchedTempo { PlayState::defaultTempo };
    std::atomic<bool> watchedRhythmOn { true };
    std::atomic<juce::int64> watchedCountIn { 0 };

    JUCE_DECLARE_NON_COPYABLE (Rhythmer)
};

} // namespace T730
