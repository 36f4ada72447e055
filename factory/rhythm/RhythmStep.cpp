// Step: the factory songs of the "song" folder with their patterns in the "rhythm"
// folder, the count-in files of the resources folder, and a rhythm archive of a few
// extra songs for trying File › Import › Rhythm ("extras/OXA Extra Rhythms.orp").
#include "../FactoryStep.h"
#include "PatternWriter.h"

#include "documents/Archive.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    bool makeRhythms (const FactoryContext& context)
    {
        const auto songs = context.stage.getChildFile ("song");
        const auto rhythms = context.stage.getChildFile ("rhythm");
        const auto extras = context.stage.getChildFile ("extras");
        const auto work = context.stage.getChildFile ("extras-work");

        try
        {
            for (auto& plan : factorySongs())
                writeSongPlan (plan, songs, rhythms);

            writeCountInFiles (context.resources);

            work.deleteRecursively();
            if (! work.getChildFile ("song").createDirectory() || ! work.getChildFile ("rhythm").createDirectory()
                || ! extras.createDirectory())
                throw RhythmError { "cannot make the extra songs' folders" };
            for (auto& plan : extraSongs())
                writeSongPlan (plan, work.getChildFile ("song"), work.getChildFile ("rhythm"));
        }
        catch (const RhythmError& e)
        {
            std::cerr << "factory rhythm: " << e.message << "\n";
            return false;
        }

        T730::ArchiveWriter writer;
        const bool packed = writer.write (work, extras.getChildFile ("OXA Extra Rhythms.orp"));
        work.deleteRecursively();
        if (! packed)
            std::cerr << "cannot write the rhythm archive\n";
        return packed;
    }

    const FactoryStepRegistration registration (30, "factory songs and rhythms", makeRhythms);
} // namespace
} // namespace oxafactory
