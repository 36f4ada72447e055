// Step: the factory patch groups of the "patchgroupM7" folder and its order
// file: "Factory Tones" and "Factory Effects" (every patch with keywords and a
// tooltip, so the search page lists them and the librarian keeps them), and the
// unkeyworded "User Patches" group for the user's own sounds.
#include "../FactoryStep.h"
#include "PatchBuilder.h"

#include "documents/PatchManager.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"

#include <iostream>

namespace oxafactory
{
/** Writes a group file. PatchData writes its keywords as an empty element
    (the librarian never rewrites them), so the factory fills each patch's
    "Keywords" element itself. */
bool writeFactoryGroup (const juce::File& file, const juce::String& name, const std::vector<FactoryPatch>& patches)
{
    auto set = std::make_unique<T730::PatchSet>();
    set->Name = name;
    for (size_t i = 0; i < patches.size() && i < (size_t) T730::PatchSet::numPatches; ++i)
    {
        auto& data = set->patches[i];
        data.edit = patches[i].edit;
        data.tooltip = patches[i].tooltip;
        data.setKeywords (patches[i].keywords);
        data.index = (int) i;
    }

    juce::XmlElement root ("PatchSet");
    if (! set->write (&root))
        return false;

    int i = 0;
    if (auto* list = root.getChildByName ("Patches"))
        for (auto* patch : list->getChildWithTagNameIterator ("PatchData"))
        {
            auto* keywords = patch->getChildByName ("Keywords");
            if (keywords != nullptr && i < (int) patches.size())
                for (const auto& word : patches[(size_t) i].keywords)
                    T730::addTextChild (keywords, "Keyword", word);
            ++i;
        }

    return T730::writeXmlDocument (file, root);
}

namespace
{
    std::vector<FactoryPatch> userPatches()
    {
        std::vector<FactoryPatch> patches;
        for (int i = 1; i <= T730::PatchSet::numPatches; ++i)
        {
            auto p = PatchBuilder (juce::String::formatted ("User %03d", i), "clean", {})
                         .amp ("GlassClean", 8).eq (0, 0, 0).cab (2).nr (2).level (80).build();
            p.keywords.clear();
            p.tooltip.clear();
            patches.push_back (p);
        }
        return patches;
    }

    bool makePatchGroups (const FactoryContext& context)
    {
        const auto folder = context.stage.getChildFile ("patchgroupM7");
        std::vector<std::pair<juce::String, std::vector<FactoryPatch>>> groups;

        try
        {
            auto tones = factoryTonesGroup();
            auto effects = factoryEffectsGroup();
            groups.push_back ({ tones.name, tones.patches });
            groups.push_back ({ effects.name, effects.patches });
            groups.push_back ({ "User Patches", userPatches() });
        }
        catch (const PatchError& e)
        {
            std::cerr << "factory patch: " << e.message << "\n";
            return false;
        }

        for (const auto& [name, patches] : groups)
        {
            if (patches.size() != (size_t) T730::PatchSet::numPatches)
            {
                std::cerr << "group " << name << " has " << patches.size() << " patches instead of 100\n";
                return false;
            }
            if (! writeFactoryGroup (folder.getChildFile (name + ".xml"), name, patches))
            {
                std::cerr << "cannot write the group " << name << "\n";
                return false;
            }
        }

        // The order file, written by the store itself after putting the groups in order.
        T730::PatchManager store;
        store.setFolder (folder);
        store.loadAll();
        if (store.getNumGroups() != (int) groups.size())
        {
            std::cerr << "the patch store reads " << store.getNumGroups() << " groups back\n";
            return false;
        }

        for (int position = 0; position < (int) groups.size(); ++position)
            for (int i = 0; i < store.getNumGroups(); ++i)
                if (store.getGroup (i)->Name == groups[(size_t) position].first && i != position)
                    store.moveGroup (i, position);

        if (! store.saveOrder())
        {
            std::cerr << "cannot write OrderInf.xml\n";
            return false;
        }
        return true;
    }

    const FactoryStepRegistration registration (20, "factory patch groups", makePatchGroups);
} // namespace
} // namespace oxafactory
