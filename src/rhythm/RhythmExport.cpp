#include "rhythm/RhythmExport.h"

#include "rhythm/Rhythmer.h"
#include "rhythm/SongManager.h"

namespace T730
{

RhythmExportContent collectRhythmExport (const Rhythmer& machine, const SongManager& songs)
{
    RhythmExportContent content;
    for (auto* song : songs.findByName (machine.getSong().SongName))
    {
        // Events of other types name no pattern.
        for (auto& id : song->getPatternIds())
            content.patternIds.addIfNotAlreadyThere (id);
        if (song->filePath.existsAsFile())
            content.songFiles.addIfNotAlreadyThere (song->filePath);
    }
    for (auto& id : machine.getPatternIds())
        content.patternIds.addIfNotAlreadyThere (id);
    return content;
}

} // namespace T730
