#pragma once

/** The tuner's reference: the frequency of A4 and how many semitones the
    instrument is tuned down, with the arithmetic that turns a detected
    frequency into cents and the nearest note. Held by value in the controller
    and handed to the tuner page; read and written on the message thread only.
    Nothing of it is stored: every start begins at 440 Hz in standard pitch.

    Cents are relative to A4 at the reference (100 cents a semitone). Notes are
    numbered from A: 0 A, 1 A#, 2 B, 3 C, 4 C#, 5 D, 6 D#, 7 E, 8 F, 9 F#, 10 G,
    11 G#; octaves count from A (A4 to G#5 is octave 4). */
class TunerLib
{
public:
    explicit TunerLib (int referenceFrequency = 440) : referenceHz (referenceFrequency) {}
    virtual ~TunerLib() = default;

    /** Frequency of A4 in Hz; the tuner page keeps it within 435 to 445. */
    int referenceHz = 440;

    /** Semitones the instrument is tuned down: 0, 1 or 2. */
    int flatSteps = 0;

    /** 1200 × log2 (f / reference), plus 100 or 200 for an instrument tuned down
        by one or two semitones (so that it reads as if in standard pitch). A
        frequency that is not a positive number has no pitch and gives 0. */
    float centsFromFrequency (float frequency) const;

    struct Note
    {
        int index = 0;    // 0 (A) to 11 (G#)
        int octave = 4;
    };

    /** The note nearest to a pitch in cents. A pitch exactly halfway between
        two notes goes to the one farther from A4 below it (an exact negative
        multiple of 100 after the half-semitone shift falls one lower). */
    static Note nearestNote (double cents);
};
