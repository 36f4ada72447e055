#include "engine/JamArray.h"

#include "documents/ChildFile.h"
#include "documents/Project.h"
#include "engine/Synchronizer.h"

namespace T730
{

JamArray::JamArray (Synchronizer& synchronizer, PlayableItemFactory* itemFactory, JamOwner* jamOwner)
    : sync (synchronizer), factory (itemFactory), owner (jamOwner)
{
}

JamArray::Ptr JamArray::copy() const
{
    Ptr result (new JamArray (sync, factory, owner));

    const juce::ScopedLock sl (lock);
    result->rhythm = rhythm;
    result->recorders.addArray (recorders);
    result->sampleRate = sampleRate;
    result->blockSize = blockSize;
    return result;
}

void JamArray::prepare (double newSampleRate, int newBlockSize)
{
    const juce::ScopedLock sl (lock);
    if (rhythm != nullptr)
        rhythm->prepare (newSampleRate, newBlockSize);
    for (auto* recorder : recorders)
        recorder->prepare (newSampleRate, newBlockSize);

    sampleRate = newSampleRate;
    blockSize = newBlockSize;
}

juce::File JamArray::resolveItemFile (const juce::String& name, const juce::File& toolSetFolder, bool allowAbsolute)
{
    if (name.isEmpty())
        return {};

    if (allowAbsolute && name.startsWithChar ('/'))
        return juce::File (name);

    // A path of another system, or one that may not leave the folder, is
    // looked for by its file name inside the folder (where it was saved).
    const auto stored = Project::toStoredName (name);
    if (toolSetFolder == juce::File())
        return {};

    return plainChild (toolSetFolder, stored);
}

void JamArray::loadFromToolSet (const Project& project, const juce::File& toolSetFolder)
{
    const juce::ScopedLock sl (lock);

    sync.getMaster().setLoopRange ({});

    if (project.songFiles.isEmpty())
    {
        rhythm = nullptr;
    }
    else
    {
        if (rhythm == nullptr && factory != nullptr)
            if ((rhythm = factory->createRhythmItem (sync, false)) != nullptr)
                rhythm->prepare (sampleRate, blockSize);

        if (rhythm != nullptr)
        {
            // An empty name lets the machine choose its default song; a name
            // that would leave the tool set folder loads nothing.
            const auto& song = project.songFiles[0];
            const auto file = resolveItemFile (song, toolSetFolder, true);
            if ((song.isNotEmpty() && file == juce::File()) || ! rhythm->load (file, toolSetFolder))
                rhythm = nullptr;
            else
                rhythm->setPreCount (project.PreCount);
        }
    }

    const auto& files = project.recorderFiles;
    for (int i = 0; i < files.size(); ++i)
    {
        PlayableItem::Ptr recorder = recorders[i];
        if (recorder == nullptr)
        {
            if (factory == nullptr || (recorder = factory->createRecorderItem (sync)) == nullptr)
                break;

            recorders.add (recorder);
            recorder->setJamIndex (i);
            recorder->prepare (sampleRate, blockSize);
        }

        // A file that does not load leaves an empty recorder.
        recorder->load (resolveItemFile (files[i], toolSetFolder, false), toolSetFolder);
    }

    while (recorders.size() > files.size())
        recorders.removeLast();

    renumber();
}

bool JamArray::addItem (const juce::String& file, int kind, const juce::File& toolSetFolder)
{
    const juce::ScopedLock sl (lock);
    if (factory == nullptr)
        return false;

    juce::File resolved;
    if (file.isNotEmpty())
        resolved = juce::File::isAbsolutePath (file) ? juce::File (file) : plainChild (toolSetFolder, file);

    if (kind == 0)
    {
        if (rhythm != nullptr)
            return false;

        auto item = factory->createRhythmItem (sync, false);
        if (item == nullptr)
            return false;

        item->prepare (sampleRate, blockSize);
        if (! item->load (resolved, toolSetFolder))
            return false;

        rhythm = item;
        return true;
    }

    if (kind == 1)
    {
        auto item = factory->createRecorderItem (sync);
        if (item == nullptr)
            return false;

        recorders.add (item);
        item->setJamIndex (recorders.size() - 1);
        item->prepare (sampleRate, blockSize);
        item->load (resolved, toolSetFolder);
        item->setName (juce::String::formatted ("Recorder %d", recorders.size()));
        return true;
    }

    return false;
}

bool JamArray::removeItem (int kind, int index)
{
    const juce::ScopedLock sl (lock);

    if (kind == 0 && rhythm != nullptr)
    {
        rhythm = nullptr;
        return true;
    }

    if (kind == 1 && juce::isPositiveAndBelow (index, recorders.size()))
    {
        recorders.remove (index);
        renumber();
        return true;
    }

    return false;
}

void JamArray::setRhythmItem (PlayableItem::Ptr item)
{
    const juce::ScopedLock sl (lock);
    rhythm = std::move (item);
}

PlayableItem::Ptr JamArray::getRhythmItem() const
{
    const juce::ScopedLock sl (lock);
    return rhythm;
}

int JamArray::getNumRecorders() const
{
    const juce::ScopedLock sl (lock);
    return recorders.size();
}

PlayableItem::Ptr JamArray::getRecorder (int index) const
{
    const juce::ScopedLock sl (lock);
    return recorders[index];
}

juce::ReferenceCountedArray<PlayableItem> JamArray::getRecorders() const
{
    const juce::ScopedLock sl (lock);
    return recorders;
}

juce::ReferenceCountedArray<PlayableItem> JamArray::getAllItems() const
{
    const juce::ScopedLock sl (lock);
    juce::ReferenceCountedArray<PlayableItem> all;
    if (rhythm != nullptr)
        all.add (rhythm);
    all.addArray (recorders);
    return all;
}

void JamArray::renumber()
{
    for (int i = 0; i < recorders.size(); ++i)
        recorders.getUnchecked (i)->setJamIndex (i);
}

void JamArray::renderBlock (const float* const* input, float* const* rhythmOut, float* const* item,
                            float* const* mix, int count) const
{
    if (count <= 0)
        return;

    if (rhythm != nullptr)
    {
        rhythm->process (input, rhythmOut, count);
    }
    else
    {
        juce::FloatVectorOperations::clear (rhythmOut[0], count);
        juce::FloatVectorOperations::clear (rhythmOut[1], count);
    }

    juce::FloatVectorOperations::clear (mix[0], count);
    juce::FloatVectorOperations::clear (mix[1], count);

    for (int i = 0; i < recorders.size(); ++i)
    {
        recorders.getUnchecked (i)->process (input, item, count);
        juce::FloatVectorOperations::add (mix[0], item[0], count);
        juce::FloatVectorOperations::add (mix[1], item[1], count);
    }
}

} // namespace T730
