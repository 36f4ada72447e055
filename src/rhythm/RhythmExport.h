#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

class Rhythmer;
class SongManager;

/** What a tool set export takes of the rhythm machine: the song files of the
    catalogue's songs named like the machine's current song, and the IDs of the
    patterns needed (those the songs' pattern events name, then those of the
    machine's own pattern list), each once. */
struct RhythmExportContent
{
    juce::Array<juce::File> songFiles;
    juce::StringArray patternIds;
};

RhythmExportContent collectRhythmExport (const Rhythmer& machine, const SongManager& songs);

} // namespace T730
