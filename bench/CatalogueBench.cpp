// What the search page pays at start-up for the module data: reading the
// catalogue, every module description and every picture once; then the same
// pictures again from the picture cache; and the size of the resources folder.
#include "editor/ModuleDescription.h"
#include "editor/ModuleNameLoader.h"
#include "editor/ModulePictures.h"
#include "ui/FlyWeight.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <iostream>

namespace
{
struct Pass
{
    double catalogueMs = 0, descriptionsMs = 0, picturesMs = 0;
    int modules = 0, pictures = 0, missing = 0;
    juce::int64 pixels = 0;
};

juce::StringArray pictureNames (const SE_ModuleLayout& layout)
{
    juce::StringArray names { layout.picture };
    for (const auto& ctrl : layout.ctrls)
    {
        if (ctrl.kind == "Slider")
            names.add (ctrl.img);
        else
            for (int f = 0; f < ctrl.frameCount(); ++f)
                names.add (SE_CtrlDesc::framePictureName (ctrl.img, f));
    }
    return names;
}

Pass readEverything (const juce::File& resources)
{
    Pass pass;
    auto start = juce::Time::getMillisecondCounterHiRes();
    const auto catalogue = T730::readModuleCatalogue (resources.getChildFile ("Module.xml"));
    pass.catalogueMs = juce::Time::getMillisecondCounterHiRes() - start;

    juce::StringArray keys;
    for (const auto& node : catalogue)
        for (const auto& key : node.keys)
            keys.addIfNotAlreadyThere (key);
    for (auto* extra : { "shieldDrive", "UltraClean", "ShieldCabinet" })
        keys.addIfNotAlreadyThere (extra);

    std::vector<std::pair<juce::String, SE_ModuleLayout>> layouts;
    start = juce::Time::getMillisecondCounterHiRes();
    for (const auto& key : keys)
        if (auto document = T730::loadModuleDescription (resources, key))
            layouts.emplace_back (key, T730::readModuleLayout (*document));
    pass.descriptionsMs = juce::Time::getMillisecondCounterHiRes() - start;
    pass.modules = (int) layouts.size();

    start = juce::Time::getMillisecondCounterHiRes();
    for (const auto& [key, layout] : layouts)
        for (const auto& name : pictureNames (layout))
        {
            const auto image = T730::getModulePicture (resources, key, name);
            ++pass.pictures;
            if (image.isValid())
                pass.pixels += (juce::int64) image.getWidth() * image.getHeight();
            else
                ++pass.missing;
        }
    pass.picturesMs = juce::Time::getMillisecondCounterHiRes() - start;
    return pass;
}

juce::int64 folderSize (const juce::File& folder, const juce::String& pattern, int& count)
{
    juce::int64 total = 0;
    count = 0;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, pattern, juce::File::findFiles))
    {
        total += entry.getFileSize();
        ++count;
    }
    return total;
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File resources (OXA_BENCH_RESOURCES_DIR);
    if (! resources.getChildFile ("Module.xml").existsAsFile())
    {
        std::cout << "no staged Module.xml in " << resources.getFullPathName() << "; build oxa_stage first\n";
        return 0;
    }

    std::vector<Pass> cold, warm;
    for (int run = 0; run < 5; ++run)
    {
        T730::FlyWeight::deleteInstance();
        cold.push_back (readEverything (resources));
        warm.push_back (readEverything (resources)); // pictures now come from the cache
    }
    auto median = [] (std::vector<Pass> passes, double Pass::*field)
    {
        std::sort (passes.begin(), passes.end(), [field] (const Pass& a, const Pass& b) { return a.*field < b.*field; });
        return passes[passes.size() / 2].*field;
    };

    const auto& first = cold.front();
    std::cout << "Module data read once (median of 5 runs, fresh picture cache):\n"
              << "  catalogue Module.xml:        " << median (cold, &Pass::catalogueMs) << " ms\n"
              << "  " << first.modules << " module descriptions:    " << median (cold, &Pass::descriptionsMs) << " ms\n"
              << "  " << first.pictures << " pictures (" << first.missing << " missing, "
              << first.pixels / 1000 << " kilopixels): " << median (cold, &Pass::picturesMs) << " ms\n";
    const double total = median (cold, &Pass::catalogueMs) + median (cold, &Pass::descriptionsMs) + median (cold, &Pass::picturesMs);
    std::cout << "  total:                       " << total << " ms\n"
              << "Same pictures again from the cache: " << median (warm, &Pass::picturesMs) << " ms (ratio cold/warm "
              << median (cold, &Pass::picturesMs) / juce::jmax (0.001, median (warm, &Pass::picturesMs)) << ")\n";

    int archives = 0, all = 0;
    const auto orcBytes = folderSize (resources, "*.orc", archives);
    const auto allBytes = folderSize (resources, "*", all);
    std::cout << "Resources folder: " << allBytes / 1024 << " KiB in " << all << " files; module archives "
              << orcBytes / 1024 << " KiB in " << archives << " .orc files, Module.xml "
              << resources.getChildFile ("Module.xml").getSize() << " bytes\n";

    T730::FlyWeight::deleteInstance();
    return 0;
}
