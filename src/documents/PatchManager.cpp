#include "documents/PatchManager.h"
#include "documents/ChildFile.h"

#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"

#include <algorithm>

namespace T730
{

namespace
{
    bool writeGroupFile (PatchSet& group, const juce::File& file)
    {
        juce::XmlElement root ("PatchSet");
        group.write (&root);
        return writeXmlDocument (file, root);
    }
}

int PatchManager::indexOf (const PatchSet* group) const noexcept
{
    for (size_t i = 0; i < groups.size(); ++i)
        if (groups[i].get() == group)
            return (int) i;

    return -1;
}

void PatchManager::reportFileError()
{
    const juce::String message ("File error.");

    if (onFileError)
        onFileError (message);
    else
        juce::Logger::writeToLog (message);
}

void PatchManager::loadAll()
{
    groups.clear();

    for (auto& file : xmlFilesByName (folder))
    {
        auto group = std::make_unique<PatchSet>();
        auto root = file.existsAsFile() ? parseXmlFile (file) : nullptr;

        if (root != nullptr && group->read (root.get()))
        {
            group->path = file;
            groups.push_back (std::move (group));
        }
        else
        {
            juce::Logger::writeToLog ("Failed reading setting file.");
        }
    }

    const auto orderFile = getOrderFile();

    if (! orderFile.existsAsFile())
        return;

    auto root = parseXmlFile (orderFile);
    auto* list = root != nullptr ? root->getChildByName ("PatchList") : nullptr;

    if (list == nullptr)
        return;

    // Read in document order, each inserted at the front: the list ends reversed,
    // so moving each named group to the front leaves them in the file's order.
    juce::Array<juce::File> named;

    for (auto* e = list->getChildByName ("Path"); e != nullptr; e = e->getNextElementWithTagName ("Path"))
        named.insert (0, childNamed (folder, getOwnText (e)));

    for (auto& wanted : named)
    {
        auto it = std::find_if (groups.begin(), groups.end(),
                                [&wanted] (const std::unique_ptr<PatchSet>& g) { return g->path == wanted; });

        if (it != groups.end() && it != groups.begin())
            std::rotate (groups.begin(), it, it + 1);
    }
}

bool PatchManager::saveOrder()
{
    juce::XmlElement root ("PatchListOrder");
    auto* list = root.createNewChildElement ("PatchList");

    for (auto& group : groups)
        addTextChild (list, "Path", group->path.getFileName());

    return writeXmlDocument (getOrderFile(), root);
}

bool PatchManager::createGroup()
{
    auto group = std::make_unique<PatchSet>();
    bool written = false;

    if (folder.isDirectory())
    {
        for (int i = 1; i <= 999; ++i)
        {
            const auto name = "New Patch Group " + juce::String::formatted ("%03d", i);
            const auto file = folder.getChildFile (name + ".xml");

            if (file.exists() || ! file.create().wasOk())
                continue;

            group->Name = name;
            group->path = file;
            written = writeGroupFile (*group, file);

            if (! written)
                file.deleteFile();

            break;
        }
    }

    if (! written)
    {
        reportFileError();
        return false;
    }

    groups.push_back (std::move (group));
    return true;
}

bool PatchManager::deleteGroup (PatchSet* group)
{
    const auto before = groups.size();
    const int index = indexOf (group);

    if (index >= 0)
    {
        const auto& file = groups[(size_t) index]->path;

        if (! file.exists() || file.deleteFile())
            groups.erase (groups.begin() + index);
    }

    if (groups.size() == before)
    {
        reportFileError();
        return false;
    }

    return true;
}

void PatchManager::moveGroup (int from, int to)
{
    const int n = getNumGroups();

    if (from == to || from < 0 || from >= n)
        return;

    to = juce::jlimit (0, n - 1, to);

    auto group = std::move (groups[(size_t) from]);
    groups.erase (groups.begin() + from);
    groups.insert (groups.begin() + to, std::move (group));
    saveOrder();
}

bool PatchManager::addGroupFromFile (const juce::File& file)
{
    if (! file.existsAsFile())
        return false;

    auto root = parseXmlFile (file);

    if (root == nullptr)
        return false;

    auto group = std::make_unique<PatchSet>();
    group->read (root.get());
    group->path = file;
    groups.push_back (std::move (group));
    saveOrder();
    return true;
}

} // namespace T730
