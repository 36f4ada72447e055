#include "rhythm/RhythmEngineHost.h"

#include "platform/DataFolders.h"
#include "platform/DynamicLibrary.h"

#include <map>
#include <mutex>
#include <thread>

namespace T730
{

namespace
{
    void writeEngineLog (const char* message)
    {
        if (message != nullptr)
            juce::Logger::writeToLog (juce::String::fromUTF8 (message));
    }

    /** The loaded engine libraries, by full path; a library that failed is kept as such. */
    struct LibraryRegistry
    {
        struct Entry
        {
            std::unique_ptr<platform::DynamicLibrary> library;
            const RhythmEngineApi* api = nullptr;
            juce::String error;
        };

        ~LibraryRegistry()
        {
            if (preloader.joinable())
                preloader.join();
        }

        std::mutex mutex;
        std::map<juce::String, Entry> entries;
        std::thread preloader;   // message thread: startLoadingInBackground
        std::string soundFontPath;
        RhythmEngineHost host { kRhythmEngineAbiVersion, writeEngineLog, nullptr };

        static LibraryRegistry& get()
        {
            static LibraryRegistry registry;
            return registry;
        }

        const RhythmEngineHost* getHost()
        {
            host.soundFontPath = soundFontPath.empty() ? nullptr : soundFontPath.c_str();
            return &host;
        }

        /** Caller holds mutex. */
        Entry& load (const juce::File& file)
        {
            const auto key = file.getFullPathName();
            if (auto it = entries.find (key); it != entries.end())
                return it->second;

            Entry entry;
            entry.library = std::make_unique<platform::DynamicLibrary>();
            if (! file.existsAsFile() || ! entry.library->open (file))
            {
                entry.error = "The rhythm engine cannot be loaded: " + file.getFullPathName();
            }
            else if (auto entryPoint = (RhythmEngineEntryPoint) entry.library->findSymbol (kRhythmEngineEntryPoint))
            {
                const auto* api = entryPoint();
                if (api != nullptr && api->abiVersion >= kRhythmEngineAbiVersion)
                    entry.api = api;
                else
                    entry.error = "The rhythm engine has another interface: " + file.getFullPathName();
            }
            else
            {
                entry.error = "The library is no rhythm engine: " + file.getFullPathName();
            }

            return entries.emplace (key, std::move (entry)).first->second;
        }
    };
} // namespace

//==============================================================================
class RhythmEngineInstance::VoiceParameter : public juce::AudioPluginInstance::HostedParameter
{
public:
    VoiceParameter (RhythmEngineInstance& o, int i) : owner (o), index (i) {}

    float getValue() const override { return value; }
    void setValue (float newValue) override
    {
        value = newValue;
        owner.api.setParameter (owner.handle, index, newValue);
    }
    float getDefaultValue() const override { return 0.0f; }
    juce::String getName (int maximumLength) const override { return owner.getVoiceName (index).substring (0, maximumLength); }
    juce::String getLabel() const override { return {}; }
    float getValueForText (const juce::String&) const override { return 0.0f; }
    juce::String getParameterID() const override { return juce::String (index); }

private:
    RhythmEngineInstance& owner;
    const int index;
    float value = 0.0f;
};

RhythmEngineInstance::RhythmEngineInstance (const RhythmEngineApi& a, void* h, const juce::PluginDescription& d)
    : juce::AudioPluginInstance (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      api (a), handle (h), description (d), events ((size_t) maxEventsPerBlock)
{
    for (int i = 0; i < kRhythmNumParameters; ++i)
        addHostedParameter (std::make_unique<VoiceParameter> (*this, i));
}

RhythmEngineInstance::~RhythmEngineInstance()
{
    api.destroy (handle);
}

void RhythmEngineInstance::prepareToPlay (double sampleRate, int maximumBlockSize)
{
    setRateAndBufferSizeDetails (sampleRate, maximumBlockSize);
    api.prepare (handle, sampleRate, maximumBlockSize);
}

void RhythmEngineInstance::releaseResources()
{
    api.release (handle);
}

void RhythmEngineInstance::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const int frames = buffer.getNumSamples();
    if (frames <= 0 || buffer.getNumChannels() < 1)
        return;

    int count = 0;
    for (const auto meta : midi)
    {
        if (count == maxEventsPerBlock)
            break;
        if (meta.numBytes < 1 || meta.numBytes > 3)
            continue;

        auto& e = events[(size_t) count++];
        e.offset = juce::jlimit (0, frames - 1, meta.samplePosition);
        e.size = meta.numBytes;
        std::memcpy (e.data, meta.data, (size_t) meta.numBytes);
    }

    juce::int64 position = kRhythmNoPosition;
    if (auto* head = getPlayHead())
        if (auto info = head->getPosition())
            if (auto samples = info->getTimeInSamples())
                position = *samples;

    auto* left = buffer.getWritePointer (0);
    auto* right = buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : left;
    api.process (handle, left, right, frames, events.data(), count, position);
}

juce::String RhythmEngineInstance::getVoiceName (int parameterIndex) const
{
    char text[kRhythmNameSize] = {};
    api.getParameterName (handle, parameterIndex, text);
    text[kRhythmNameSize - 1] = 0;
    return juce::String::fromUTF8 (text);
}

void RhythmEngineInstance::selectVoice (int parameterIndex)
{
    if (parameterIndex >= 0 && parameterIndex < getParameters().size())
        getParameters()[parameterIndex]->setValue (0.0f);
}

int RhythmEngineInstance::getNumVoices (bool drumKits) const
{
    const int first = drumKits ? kRhythmFirstDrumKit : 0;
    const int last = drumKits ? kRhythmNumParameters : kRhythmFirstDrumKit;
    int n = 0;
    while (first + n < last && getVoiceName (first + n).isNotEmpty())
        ++n;
    return n;
}

bool RhythmEngineInstance::isEngineReady() const
{
    return api.isReady (handle) != 0;
}

bool RhythmEngineInstance::waitUntilReady (int timeoutMs) const
{
    const auto end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;
    while (! isEngineReady())
    {
        if (api.loadState() == kRhythmSoundsMissing || juce::Time::getMillisecondCounterHiRes() > end)
            return false;
        juce::Thread::sleep (2);
    }
    return true;
}

//==============================================================================
juce::PluginDescription RhythmEngineFormat::describe (const juce::File& library)
{
    juce::PluginDescription d;
    d.name = library.getFileNameWithoutExtension();
    d.descriptiveName = "Rhythm engine";
    d.pluginFormatName = formatName;
    d.category = "Instrument";
    d.manufacturerName = "VELD";
    d.fileOrIdentifier = library.getFullPathName();
    d.isInstrument = true;
    d.numInputChannels = 0;
    d.numOutputChannels = 2;
    d.uniqueId = d.deprecatedUid = (int) (library.getFullPathName().hashCode() & 0x7fffffff);
    return d;
}

void RhythmEngineFormat::findAllTypesForFile (juce::OwnedArray<juce::PluginDescription>& results, const juce::String& file)
{
    const juce::File library (file);
    auto& registry = LibraryRegistry::get();
    const std::lock_guard<std::mutex> lock (registry.mutex);
    if (fileMightContainThisPluginType (file) && registry.load (library).api != nullptr)
        results.add (new juce::PluginDescription (describe (library)));
}

bool RhythmEngineFormat::fileMightContainThisPluginType (const juce::String& file)
{
    return juce::File::isAbsolutePath (file) && juce::File (file).hasFileExtension ("so");
}

juce::String RhythmEngineFormat::getNameOfPluginFromIdentifier (const juce::String& file)
{
    return juce::File (file).getFileNameWithoutExtension();
}

bool RhythmEngineFormat::doesPluginStillExist (const juce::PluginDescription& d)
{
    return juce::File (d.fileOrIdentifier).existsAsFile();
}

juce::StringArray RhythmEngineFormat::searchPathsForPlugins (const juce::FileSearchPath& paths, bool recursive, bool)
{
    juce::StringArray found;
    for (int i = 0; i < paths.getNumPaths(); ++i)
        for (const auto& f : paths[i].findChildFiles (juce::File::findFiles, recursive, "*.so"))
        {
            juce::OwnedArray<juce::PluginDescription> types;
            findAllTypesForFile (types, f.getFullPathName());
            if (! types.isEmpty())
                found.add (f.getFullPathName());
        }
    return found;
}

juce::FileSearchPath RhythmEngineFormat::getDefaultLocationsToSearch()
{
    return juce::FileSearchPath (getResourceFolder().getFullPathName());
}

std::unique_ptr<RhythmEngineInstance> RhythmEngineFormat::createInstance (const juce::PluginDescription& d,
                                                                          double sampleRate, int blockSize,
                                                                          juce::String& error)
{
    auto& registry = LibraryRegistry::get();
    const RhythmEngineApi* api = nullptr;
    const RhythmEngineHost* host = nullptr;
    {
        const std::lock_guard<std::mutex> lock (registry.mutex);
        auto& entry = registry.load (juce::File (d.fileOrIdentifier));
        api = entry.api;
        error = entry.error;
        host = registry.getHost();
    }

    if (api == nullptr)
        return nullptr;

    auto* handle = api->create (host);
    if (handle == nullptr)
    {
        error = "The rhythm engine refused to make an instance.";
        return nullptr;
    }

    auto instance = std::make_unique<RhythmEngineInstance> (*api, handle, d);
    if (sampleRate > 0.0 && blockSize > 0)
        instance->setRateAndBufferSizeDetails (sampleRate, blockSize);
    return instance;
}

void RhythmEngineFormat::createPluginInstance (const juce::PluginDescription& d, double sampleRate, int blockSize,
                                               PluginCreationCallback callback)
{
    juce::String error;
    auto instance = createInstance (d, sampleRate, blockSize, error);
    callback (std::move (instance), error);
}

namespace
{
    bool startLibraryLoading (const juce::File& library)
    {
        auto& registry = LibraryRegistry::get();
        const std::lock_guard<std::mutex> lock (registry.mutex);
        auto& entry = registry.load (library);
        if (entry.api == nullptr)
            return false;
        entry.api->startLoading (registry.getHost());
        return true;
    }
} // namespace

bool RhythmEngineFormat::startLoading (const juce::File& library)
{
    return startLibraryLoading (library);
}

void RhythmEngineFormat::startLoadingInBackground (const juce::File& library)
{
    auto& registry = LibraryRegistry::get();
    // One at a time: a thread started before has only a library to open.
    if (registry.preloader.joinable())
        registry.preloader.join();
    registry.preloader = std::thread ([library] { startLibraryLoading (library); });
}

int RhythmEngineFormat::getLoadState (const juce::File& library)
{
    auto& registry = LibraryRegistry::get();
    const std::lock_guard<std::mutex> lock (registry.mutex);
    auto& entry = registry.load (library);
    return entry.api != nullptr ? entry.api->loadState() : kRhythmSoundsMissing;
}

void RhythmEngineFormat::setSoundFontPath (const juce::String& path)
{
    auto& registry = LibraryRegistry::get();
    const std::lock_guard<std::mutex> lock (registry.mutex);
    registry.soundFontPath = path.toStdString();
}

//==============================================================================
juce::AudioPluginFormatManager& getPluginFormatManager()
{
    static juce::AudioPluginFormatManager manager;
    static std::once_flag formatsAdded;
    std::call_once (formatsAdded, [] { manager.addFormat (new RhythmEngineFormat()); });
    return manager;
}

RhythmEngineFormat& getRhythmEngineFormat()
{
    auto& manager = getPluginFormatManager();
    for (int i = 0; i < manager.getNumFormats(); ++i)
        if (auto* format = dynamic_cast<RhythmEngineFormat*> (manager.getFormat (i)))
            return *format;

    auto* format = new RhythmEngineFormat();
    manager.addFormat (format);
    return *format;
}

juce::File getRhythmEngineLibrary()
{
    return getResourceFolder().getChildFile ("rhythmmachine.so");
}

} // namespace T730
