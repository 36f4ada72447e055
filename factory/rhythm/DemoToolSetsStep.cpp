// Step: the 20 built-in demo tool sets of the "toolsets" folder. Each is a tool set
// document marked as a demo, with a factory patch of "Factory Tones" in its edit buffer,
// and its folder with a factory song of the year's style as the rhythm machine's setting.
#include "../FactoryStep.h"
#include "../patches/PatchBuilder.h"
#include "RhythmTables.h"

#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "rhythm/Song.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    constexpr const char* tonesGroupFile = "Factory Tones.xml";

    bool makeDemo (const FactoryContext& context, const DemoPlan& demo, const FactoryGroup& tones)
    {
        int index = -1;
        for (size_t i = 0; i < tones.patches.size(); ++i)
            if (tones.patches[i].edit.name == juce::String (demo.patch))
                index = (int) i;
        if (index < 0)
        {
            std::cerr << demo.name << ": no factory patch " << demo.patch << "\n";
            return false;
        }

        T730::Song song;
        const auto songFile = context.stage.getChildFile ("song").getChildFile (demo.songFile);
        if (! song.readDocument (T730::parseXmlFile (songFile).get()))
        {
            std::cerr << demo.name << ": no factory song " << demo.songFile << "\n";
            return false;
        }

        const auto toolsets = context.stage.getChildFile ("toolsets");
        const auto folder = toolsets.getChildFile (demo.name);
        if (! folder.createDirectory() || ! song.writeFile (folder.getChildFile ("RhythmerSetting.xml")))
        {
            std::cerr << demo.name << ": cannot write its folder\n";
            return false;
        }

        T730::Project project;
        project.Name = demo.name;
        project.CurrentPatchSet = tonesGroupFile;
        project.CurrentPatchIdx = index;
        project.editBuffer = tones.patches[(size_t) index].edit;
        project.songFiles = juce::StringArray ("RhythmerSetting.xml");

        juce::XmlElement root (T730::Project::rootTag);
        project.write (&root);
        // The document writer never writes the mark; the factory's demos carry it.
        T730::addTextChild (&root, "Demo", "1");
        if (! T730::writeXmlDocument (T730::Project::getDocumentFile (folder), root))
        {
            std::cerr << demo.name << ": cannot write its document\n";
            return false;
        }
        return true;
    }

    bool makeDemoToolSets (const FactoryContext& context)
    {
        try
        {
            const auto tones = factoryTonesGroup();
            for (auto& demo : demoToolSets())
                if (! makeDemo (context, demo, tones))
                    return false;
        }
        catch (const PatchError& e)
        {
            std::cerr << "factory patch: " << e.message << "\n";
            return false;
        }
        return true;
    }

    const FactoryStepRegistration registration (40, "demo tool sets", makeDemoToolSets);
} // namespace
} // namespace oxafactory
