#pragma once

#include "documents/UserData.h"
#include "rhythm/NoteEvent.h"

#include <vector>

namespace T730
{

/** A rhythm pattern: a short MIDI file of the rhythm folder (drums on MIDI
    channel 10, bass on channel 1) and its description, found by its ID.

    The pattern document has any root name and the children "ID", "FileName"
    (the MIDI file in the same folder), "TimeSig" ("3/4"), "BarLen" (bars) and
    "Root" (the key the bass is written in). The program never writes one. */
class RhythmPattern : public UserData
{
public:
    /** The largest grid a pattern may describe; the factory's patterns are 1 to 16 bars. */
    static constexpr int maxBars = 1024;
    static constexpr int maxNumerator = 32;
    static constexpr int maxDenominator = 32;

    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    /** Reads a pattern document; false when it does not parse. */
    bool readFile (const juce::File& file);

    /** The root index of the pattern's key (0 for any text that is no note name). */
    int getRootIndex() const;

    /** True when the time signature is n/d with n in 1..32 and d a power of two
        up to 32, and the bar count is 1..1024: only such a pattern builds a beat
        grid (the rhythm machine refuses the others). */
    bool hasUsableGrid() const;

    /** Numerator and denominator of a usable time signature (4/4 otherwise). */
    int getNumerator() const;
    int getDenominator() const;

    /** bars × numerator × 4 / denominator quarter notes (0 without a usable grid). */
    double getLengthInQuarters() const;

    /** Reads "n/d"; false unless both are plain decimal numbers in range. */
    static bool parseTimeSignature (const juce::String& text, int& numerator, int& denominator);

    juce::String ID;
    juce::String FileName;
    juce::String TimeSig;
    int BarLen = 0;
    juce::String Root;
    /** The MIDI file's events once read (by the rhythm machine). */
    std::vector<NoteEvent> events;
};

} // namespace T730
