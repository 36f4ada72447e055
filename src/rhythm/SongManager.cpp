#include "rhythm/SongManager.h"

#include "documents/XmlParser.h"

#include <algorithm>

namespace T730
{

void SongManager::loadAll()
{
    songs.clear();

    for (auto& file : xmlFilesByName (folder))
    {
        auto root = file.existsAsFile() ? parseXmlFile (file) : nullptr;
        auto song = std::make_unique<Song>();

        if (root == nullptr || ! song->read (root.get()))
        {
            juce::Logger::writeToLog ("Failed reading song setting.");
            continue;
        }

        song->filePath = file;
        songs.push_back (std::move (song));
    }
}

bool SongManager::import (const juce::File& file)
{
    if (! file.existsAsFile())
        return false;

    if (findByFile (file) != nullptr)
        return true;

    auto root = parseXmlFile (file);
    auto song = std::make_unique<Song>();

    if (! song->readDocument (root.get()))
        return false;

    song->filePath = file;
    songs.push_back (std::move (song));
    return true;
}

std::vector<Song*> SongManager::findByName (const juce::String& name) const
{
    std::vector<Song*> found;
    for (auto& s : songs)
        if (s->SongName == name)
            found.push_back (s.get());
    return found;
}

Song* SongManager::findByFile (const juce::File& file) const
{
    const auto path = file.getFullPathName();
    for (auto& s : songs)
        if (s->filePath.getFullPathName() == path)
            return s.get();
    return nullptr;
}

} // namespace T730
