#pragma once

#include "rhythm/NoteEvent.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace T730
{

/** The bytes of one MIDI file. */
class SMFLoader
{
public:
    /** Replaces the bytes with the file's; a missing or unreadable file leaves none. */
    bool load (const juce::File& file);

    /** Replaces the bytes with a copy of the given ones. */
    void setBytes (const void* data, size_t size);

    const juce::uint8* getBytes() const noexcept { return static_cast<const juce::uint8*> (bytes.getData()); }
    size_t getNumBytes() const noexcept { return bytes.getSize(); }

private:
    juce::MemoryBlock bytes;
};

/** Reads the note events of a format 0 Standard MIDI File whose track chunk
    follows the 14-byte header: note-ons and note-offs, and one end marker at
    the end of the track. Everything else in the track is stepped over.

    The reader never reads past the loaded bytes. Failures are written to the
    log ("ChankHeader is Error", "SMF Format Error", "End of Track is None",
    "SMFLoading Error") and are not shown to the user. */
class SMFParser
{
public:
    SMFParser();
    ~SMFParser();

    /** Reads the whole file and remembers its path. */
    void load (const juce::File& file);

    /** Decodes the loaded bytes, appending the events in file order. True when
        the end of the track was reached; events appended before a failure stay. */
    bool parse (std::vector<NoteEvent>& destination);

    SMFLoader& getLoader() noexcept { return *loader; }
    const juce::File& getPath() const noexcept { return path; }

private:
    std::unique_ptr<SMFLoader> loader;
    /** Stays empty: events go to the caller's list. */
    std::vector<NoteEvent> events;
    juce::File path;

    JUCE_DECLARE_NON_COPYABLE (SMFParser)
};

/** Reads one MIDI file into the list (load and parse); true when it read to its end. */
bool readMidiFile (const juce::File& file, std::vector<NoteEvent>& destination);

} // namespace T730
