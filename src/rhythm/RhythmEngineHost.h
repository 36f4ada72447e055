#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <oxa/RhythmEngineAbi.h>

namespace T730
{

/** One instance of the rhythm engine library as a JUCE plug-in instance: the
    rhythm machine plays one part on it (prepareToPlay, processBlock with the
    MIDI messages of the block, the voice parameters, releaseResources).

    The parameter list is fixed: kRhythmNumParameters entries whose names come
    from the engine (an empty name for a voice it does not have, and for every
    voice while its sounds are loading). processBlock reads the timeline
    position of the block from the play head when one is set. */
class RhythmEngineInstance : public juce::AudioPluginInstance
{
public:
    RhythmEngineInstance (const RhythmEngineApi& api, void* handle, const juce::PluginDescription& description);
    ~RhythmEngineInstance() override;

    void fillInPluginDescription (juce::PluginDescription& d) const override { d = description; }
    const juce::String getName() const override { return description.name; }

    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    /** Audio thread: no allocation, no wait. Messages beyond the first
        maxEventsPerBlock of a block and messages longer than 3 bytes are left out. */
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioPluginInstance::processBlock;

    double getTailLengthSeconds() const override { return 2.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

    /** The engine's name of a voice parameter ("" when there is no such voice). */
    juce::String getVoiceName (int parameterIndex) const;
    /** Selects a voice (parameter index as the rhythm machine uses it). */
    void selectVoice (int parameterIndex);

    /** How many bass voices (or drum kits) the engine offers now. */
    int getNumVoices (bool drumKits) const;

    /** True when the instance plays its sounds. */
    bool isEngineReady() const;
    /** Waits (off the audio thread) until the instance plays its sounds; false on time-out. */
    bool waitUntilReady (int timeoutMs) const;

    static constexpr int maxEventsPerBlock = 1024;

private:
    class VoiceParameter;

    const RhythmEngineApi& api;
    void* const handle;
    const juce::PluginDescription description;
    std::vector<RhythmMidiEvent> events;   // the audio thread's, sized once

    JUCE_DECLARE_NON_COPYABLE (RhythmEngineInstance)
};

/** Hosts rhythm engine libraries ("*.so" exporting "OxRhythmEngine"). A library
    is loaded once per process on first use and stays loaded. Instances are
    created at once on any thread (the engine loads its sounds on its own
    thread). */
class RhythmEngineFormat : public juce::AudioPluginFormat
{
public:
    static constexpr const char* formatName = "OXARhythmEngine";

    juce::String getName() const override { return formatName; }
    void findAllTypesForFile (juce::OwnedArray<juce::PluginDescription>& results, const juce::String& file) override;
    bool fileMightContainThisPluginType (const juce::String& file) override;
    juce::String getNameOfPluginFromIdentifier (const juce::String& file) override;
    bool pluginNeedsRescanning (const juce::PluginDescription&) override { return false; }
    bool doesPluginStillExist (const juce::PluginDescription& d) override;
    bool canScanForPlugins() const override { return false; }
    bool isTrivialToScan() const override { return true; }
    juce::StringArray searchPathsForPlugins (const juce::FileSearchPath& paths, bool recursive, bool) override;
    juce::FileSearchPath getDefaultLocationsToSearch() override;
    bool requiresUnblockedMessageThreadDuringCreation (const juce::PluginDescription&) const override { return false; }

    /** The description of the engine library file (only its file is needed). */
    static juce::PluginDescription describe (const juce::File& library);

    /** A new instance from the description's file, on the calling thread; null
        (with the reason) when the library cannot be loaded or refuses. */
    std::unique_ptr<RhythmEngineInstance> createInstance (const juce::PluginDescription& d, double sampleRate,
                                                          int blockSize, juce::String& error);

    /** Starts the library's loading of its sounds without making an instance;
        false when the library cannot be loaded. */
    bool startLoading (const juce::File& library);

    /** The same on a thread of its own (program start: even opening the library
        and FluidSynth's libraries is left to it). Returns at once. */
    void startLoadingInBackground (const juce::File& library);

    /** The library's load state (RhythmEngineLoadState); kRhythmSoundsMissing when it cannot be loaded. */
    int getLoadState (const juce::File& library);

    /** The SoundFont the libraries are told to play; empty for the engine's own
        default. Takes effect for a library that has not started loading yet. */
    static void setSoundFontPath (const juce::String& path);

protected:
    void createPluginInstance (const juce::PluginDescription&, double, int, PluginCreationCallback) override;
};

/** The application-wide plug-in format manager (made on first use) that knows
    the rhythm engine format. Message thread. */
juce::AudioPluginFormatManager& getPluginFormatManager();

/** Its rhythm engine format. */
RhythmEngineFormat& getRhythmEngineFormat();

/** The rhythm engine library of the installation: "rhythmmachine.so" in the resources folder. */
juce::File getRhythmEngineLibrary();

} // namespace T730
