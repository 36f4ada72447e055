// The model sets of the drummer and the bassist: every .ox file of each, drawn by
// the figure kit (factory/players), packed as the archives "Drummer.archived" and
// "Bassist.archived" in resources/.
#include "../FactoryStep.h"
#include "FigureModels.h"

#include "documents/Archive.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    bool packModels (const FactoryContext& context, const juce::String& name,
                     const std::map<juce::String, oxafigures::Mesh>& models)
    {
        const auto work = context.stage.getSiblingFile ("figure-models").getChildFile (name);
        work.deleteRecursively();
        if (! work.createDirectory())
        {
            std::cerr << "cannot create " << work.getFullPathName() << "\n";
            return false;
        }
        for (const auto& [file, mesh] : models)
        {
            const auto data = mesh.toOx();
            if (! work.getChildFile (file).replaceWithData (data.getData(), data.getSize()))
            {
                std::cerr << "cannot write " << file << "\n";
                return false;
            }
        }
        const auto archive = context.resources.getChildFile (name);
        if (archive.isDirectory())
            archive.deleteRecursively();
        T730::ArchiveWriter writer;
        if (! writer.write (work, archive))
        {
            std::cerr << "cannot pack " << archive.getFullPathName() << "\n";
            return false;
        }
        return true;
    }

    bool makeFigureModels (const FactoryContext& context)
    {
        return packModels (context, "Drummer.archived", oxafigures::drummerModels())
               && packModels (context, "Bassist.archived", oxafigures::bassistModels());
    }

    const FactoryStepRegistration registration (40, "drummer and bassist models", makeFigureModels);
} // namespace
} // namespace oxafactory
