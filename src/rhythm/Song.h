#pragma once

#include "documents/SearchTarget.h"

#include <vector>

namespace T730
{

/** One event of a song: type 0 names a rhythm pattern by its ID (`Prm`) and
    places it at `Position`, in quarter notes × 60 from the song start (the
    pattern events' own unit). Events of other types are kept and written back
    unchanged; they play no part in playback or display. */
class SongEv : public UserData
{
public:
    static constexpr int patternType = 0;

    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    bool isPattern() const noexcept { return Type == patternType; }

    int Type = 0;
    int Position = 0;
    juce::String Prm;
};

/** A song: the rhythm pattern references the rhythm machine plays, its mixer
    settings (tempo, levels, voices, mutes), the chord chart shown to the user,
    the transposition, the loop switch and the on/off switch.

    A song document's root is "Song"; every value is the text of a child
    element, looked up by name (so the order is free). The values are kept as
    they were read: the rhythm machine brings them into its ranges when it uses
    them. Message thread only. */
class Song : public SearchTarget
{
public:
    static constexpr const char* rootTag = "Song";

    Song() = default;
    Song (const Song&) = default;
    Song& operator= (const Song&) = default;
    ~Song() override = default;

    /** Every field back to its default, then the element's values; the events
        and keywords are replaced, the file path is kept. False for a null element. */
    bool read (const juce::XmlElement* element) override;

    /** Appends the children in writer order (no "Keywords", no file path). */
    bool write (juce::XmlElement* element) override;

    juce::String getName() const override { return SongName; }

    /** Reads a song document's root element; false when it is missing or not "Song". */
    bool readDocument (const juce::XmlElement* root);

    /** Writes the song as a document with the root "Song", replacing the file. */
    bool writeFile (const juce::File& file);

    /** Back to a new song's values (the file path included). */
    void reset();

    /** The pattern IDs of the type 0 events, in order, each once. */
    juce::StringArray getPatternIds() const;

    juce::String SongName;
    juce::String Comment;
    int BPM = 0;
    int RhythmLv = 0;
    int RhythmMute = 0;
    int RhythmVoice = 0;
    int BassLv = 0;
    int BassMute = 0;
    int BassVoice = 0;
    juce::String DispChord;
    std::vector<SongEv> Events;
    int Repeat = 0;
    int OnOff = 1;
    /** Where the song was read from; never stored in the file. */
    juce::File filePath;
    int RootChord = 0;
};

} // namespace T730
