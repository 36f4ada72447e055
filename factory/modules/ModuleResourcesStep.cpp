// Step: the module catalogue "Module.xml" and the resource archives of the
// resources folder: one <key>.orc per module type (its "EfxType.xml" and its
// pictures in "resource/"), the shared "Common.orc" and the "Assigner.orc" of
// the patch level knob.
#include "../FactoryStep.h"
#include "ModuleArt.h"

#include "documents/Archive.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    bool writePictures (const juce::File& folder, const std::vector<NamedPicture>& pictures)
    {
        if (! folder.createDirectory())
            return false;

        juce::PNGImageFormat png;
        for (const auto& p : pictures)
        {
            juce::MemoryOutputStream data;
            if (! p.image.isValid() || ! png.writeImageToStream (p.image, data))
                return false;
            if (! T730::replaceFileContent (folder.getChildFile (p.name + ".png"), data.getData(), data.getDataSize()))
                return false;
        }
        return true;
    }

    /** Packs a folder laid out like an archive into resources/<name>.orc. */
    bool pack (const juce::File& folder, const juce::File& resources, const juce::String& name)
    {
        T730::ArchiveWriter writer;
        if (writer.write (folder, resources.getChildFile (name + ".orc")))
            return true;
        std::cerr << "cannot write the archive " << name << ".orc\n";
        return false;
    }

    bool writeModuleArchive (const ModuleType& type, const juce::File& work, const juce::File& resources)
    {
        const auto folder = work.getChildFile (type.key);
        const auto plan = planModule (type);
        auto description = makeModuleDescription (type, plan);

        if (! folder.createDirectory()
            || ! T730::writeXmlDocument (folder.getChildFile ("EfxType.xml"), *description)
            || ! writePictures (folder.getChildFile ("resource"), modulePictures (type, plan)))
        {
            std::cerr << "cannot lay out the module " << type.key << "\n";
            return false;
        }
        return pack (folder, resources, type.key);
    }

    bool writeCatalogue (const juce::File& resources)
    {
        juce::XmlElement root ("ModuleList");
        for (int category = 1; category <= 9; ++category)
        {
            auto* element = root.createNewChildElement (categoryElementNames[category - 1]);
            for (const auto& entry : catalogueCategory (category))
            {
                auto* type = T730::addTextChild (element, "Type", entry.key);
                if (entry.display.isNotEmpty())
                    type->setAttribute ("name", entry.display);
                if (entry.modeling)
                    type->setAttribute ("modeling", 1);
            }
        }
        return T730::writeXmlDocument (resources.getChildFile ("Module.xml"), root);
    }

    bool makeModuleResources (const FactoryContext& context)
    {
        const auto work = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getNonexistentChildFile ("oxa-factory-modules", {}, false);
        if (! work.createDirectory())
        {
            std::cerr << "cannot create " << work.getFullPathName() << "\n";
            return false;
        }

        bool ok = writeCatalogue (context.resources);
        if (! ok)
            std::cerr << "cannot write Module.xml\n";

        for (const auto& type : moduleTypes())
            ok = ok && writeModuleArchive (type, work, context.resources);

        const auto common = work.getChildFile ("Common");
        ok = ok && writePictures (common.getChildFile ("resource"), commonPictures()) && pack (common, context.resources, "Common");

        const auto assigner = work.getChildFile ("Assigner");
        ok = ok && writePictures (assigner.getChildFile ("resource"), assignerPictures()) && pack (assigner, context.resources, "Assigner");

        work.deleteRecursively();
        return ok;
    }

    const FactoryStepRegistration registration (10, "module resources", makeModuleResources);
} // namespace
} // namespace oxafactory
