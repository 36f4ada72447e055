// The tuning modes: every string table (the target of each string and the
// nearest semitones that select it), the lamp of a pitch at the edges of the
// bands, the chromatic in-tune band, and the ring of modes.
#include "tuner/TunerModes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace T730;

namespace
{
struct ExpectedString
{
    int target, lowest, highest;   // semitones from A4; INT_MAX / INT_MIN for open ends
};

struct ExpectedMode
{
    int ring;
    const char* name;
    std::vector<ExpectedString> strings;
};

const OxaJuce_Tuner_StringMode& stringMode (const TunerModeRing& ring, int index)
{
    return dynamic_cast<const OxaJuce_Tuner_StringMode&> (ring.getMode (index));
}

/** The cents of a pitch `offset` cents off semitone k. */
float centsOf (int k, float offset = 0.0f) { return 100.0f * (float) k + offset; }
} // namespace

TEST (TunerModes, EveryStringTableSelectsItsStringsOverTheirWholeRanges)
{
    const std::vector<ExpectedMode> expected = {
        { 1, "Guitar", { { -5, -7, INT_MAX }, { -10, -12, -8 }, { -14, -16, -13 }, { -19, -21, -17 },
                         { -24, -26, -22 }, { -29, -31, -27 }, { -34, INT_MIN, -32 } } },
        { 2, "Bass", { { -26, -28, INT_MAX }, { -31, -33, -29 }, { -36, -38, -34 }, { -41, -43, -39 }, { -46, INT_MIN, -44 } } },
        { 3, "Drop D", { { -5, -7, INT_MAX }, { -10, -12, -8 }, { -14, -16, -13 }, { -19, -21, -17 },
                         { -24, -27, -22 }, { -31, INT_MIN, -28 } } },
        { 4, "Open A", { { -5, -6, INT_MAX }, { -8, -10, -7 }, { -12, -15, -11 }, { -17, -19, -16 },
                         { -24, -26, -20 }, { -29, INT_MIN, -27 } } },
        { 5, "Open G", { { -7, -8, INT_MAX }, { -10, -12, -9 }, { -14, -16, -13 }, { -19, -21, -17 },
                         { -26, -28, -22 }, { -31, INT_MIN, -29 } } },
        { 6, "Open E", { { -5, -7, INT_MAX }, { -10, -11, -8 }, { -13, -15, -12 }, { -17, -19, -16 },
                         { -22, -24, -20 }, { -29, INT_MIN, -25 } } },
        { 7, "Open D", { { -7, -9, INT_MAX }, { -12, -13, -10 }, { -15, -17, -14 }, { -19, -21, -18 },
                         { -24, -27, -22 }, { -31, INT_MIN, -28 } } },
        { 8, "DADGAD", { { -7, -9, INT_MAX }, { -12, -12, -10 }, { -14, -16, -13 }, { -19, -21, -17 },
                         { -24, -27, -22 }, { -31, INT_MIN, -28 } } },
    };

    TunerModeRing ring;
    for (const auto& mode : expected)
    {
        const auto& m = stringMode (ring, mode.ring);
        SCOPED_TRACE (mode.name);
        EXPECT_EQ (m.getName(), mode.name);
        EXPECT_TRUE (m.usesStrings());
        ASSERT_EQ (m.getNumStrings(), (int) mode.strings.size());

        for (int k = -60; k <= 24; ++k)
        {
            int wanted = -1;
            for (int s = 0; s < (int) mode.strings.size(); ++s)
                if (k >= mode.strings[(size_t) s].lowest && k <= mode.strings[(size_t) s].highest)
                    wanted = s;
            ASSERT_NE (wanted, -1) << "the table leaves semitone " << k << " out";

            // Anywhere within 49 cents of the semitone selects the same string.
            for (const float offset : { -49.0f, -20.0f, 0.0f, 20.0f, 49.0f })
                EXPECT_EQ (m.stringIndex (centsOf (k, offset)), wanted) << "semitone " << k << " " << offset << " cents";
        }

        for (int s = 0; s < (int) mode.strings.size(); ++s)
        {
            EXPECT_EQ (m.getTarget (s), mode.strings[(size_t) s].target) << "string " << s;
            // The open string itself, in tune, lights the centre lamp.
            EXPECT_EQ (m.ledIndex (centsOf (mode.strings[(size_t) s].target), 10), 10) << "string " << s;
        }
    }
}

TEST (TunerModes, RangesThatDoNotFollowTheNearestStringAndTheGuitarsLowStrings)
{
    TunerModeRing ring;
    const auto& guitar = stringMode (ring, 1);
    const auto& dropD = stringMode (ring, 3);
    const auto& openA = stringMode (ring, 4);

    // Open A: C#3 (-20) lies nearer the E3 string (-17) but goes to the A2 string.
    EXPECT_EQ (openA.stringIndex (centsOf (-20)), 4);
    EXPECT_EQ (openA.getTarget (4), -24);
    // Guitar: C#2 selects the low B1 string (shown as 7), D2 the E2 string.
    EXPECT_EQ (guitar.stringIndex (centsOf (-32)), 6);
    EXPECT_EQ (guitar.stringIndex (centsOf (-31)), 5);
    // Drop D: F#2 and G2 go to the A2 string, F2 to the D2 string.
    EXPECT_EQ (dropD.stringIndex (centsOf (-27)), 4);
    EXPECT_EQ (dropD.stringIndex (centsOf (-26)), 4);
    EXPECT_EQ (dropD.stringIndex (centsOf (-28)), 5);
    // Far above and below: the highest and the lowest string.
    EXPECT_EQ (guitar.stringIndex (centsOf (30)), 0);
    EXPECT_EQ (guitar.stringIndex (centsOf (-70)), 6);
    EXPECT_EQ (guitar.stringIndex (1.0e12f), 0);
    EXPECT_EQ (guitar.stringIndex (-1.0e12f), 6);
    EXPECT_EQ (guitar.stringIndex (std::nanf ("")), -1);
    EXPECT_EQ (guitar.ledIndex (std::nanf (""), 10), -1);
}

TEST (TunerModes, TheNearestSemitoneTruncatesTheCentsAndAnExactNegativeHalfFallsLower)
{
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (0.0f), 0);
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (49.9f), 0);
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (50.0f), 1);
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (-49.9f), 0) << "-49.9 truncates to -49";
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (-50.9f), 0) << "-50.9 truncates to -50: s = 0";
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (-51.0f), -1);
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (-150.0f), -2) << "s = -100 falls one lower";
    EXPECT_EQ (OxaJuce_Tuner_StringMode::nearestSemitone (-149.0f), -1);
}

TEST (TunerModes, AStringsLampFollowsItsDeviationAndPinsBeyondFortySevenAndAHalfCents)
{
    TunerModeRing ring;
    const auto& guitar = stringMode (ring, 1);
    const float e4 = centsOf (-5);

    EXPECT_EQ (guitar.ledIndex (e4, 10), 10);
    EXPECT_EQ (guitar.ledIndex (e4 + 2.4f, 10), 10);
    EXPECT_EQ (guitar.ledIndex (e4 + 2.5f, 10), 11);
    EXPECT_EQ (guitar.ledIndex (e4 - 2.5f, 10), 10) << "the in-tune lamp takes its lower edge";
    EXPECT_EQ (guitar.ledIndex (e4 - 2.6f, 10), 9);
    EXPECT_EQ (guitar.ledIndex (e4 + 47.4f, 10), 19);
    EXPECT_EQ (guitar.ledIndex (e4 + 47.5f, 10), 20);
    EXPECT_EQ (guitar.ledIndex (e4 - 47.5f, 10), 1);
    EXPECT_EQ (guitar.ledIndex (e4 - 47.6f, 10), 0);
    EXPECT_EQ (guitar.ledIndex (e4 + 17.0f, 10), 13);
    EXPECT_EQ (guitar.ledIndex (e4 - 17.0f, 10), 7);

    // D2 on the guitar: the E2 string, 200 cents flat, pinned to lamp 0.
    EXPECT_EQ (guitar.stringIndex (centsOf (-31)), 5);
    EXPECT_EQ (guitar.ledIndex (centsOf (-31), 10), 0);
    // Far above the top string: pinned to lamp 20.
    EXPECT_EQ (guitar.ledIndex (centsOf (5), 10), 20);
}

TEST (TunerModes, TheChromaticMeterCentresOnTheNearestNoteWithItsOwnInTuneLamp)
{
    TunerModeRing ring;
    const auto& chromatic = ring.getMode (0);
    EXPECT_EQ (chromatic.getName(), "Chromatic");
    EXPECT_FALSE (chromatic.usesStrings());
    EXPECT_EQ (chromatic.stringIndex (0.0f), -1);

    for (const int k : { -41, -12, -1, 0, 3, 14 })
    {
        SCOPED_TRACE (k);
        const float c = centsOf (k);
        EXPECT_EQ (chromatic.ledIndex (c, 10), 10);
        EXPECT_EQ (chromatic.ledIndex (c, 7), 7) << "the in-tune band is the caller's lamp";
        EXPECT_EQ (chromatic.ledIndex (c + 2.4f, 7), 7);
        EXPECT_EQ (chromatic.ledIndex (c - 2.5f, 7), 7);
        EXPECT_EQ (chromatic.ledIndex (c + 2.6f, 10), 11);
        EXPECT_EQ (chromatic.ledIndex (c + 3.0f, 10), 11);
        EXPECT_EQ (chromatic.ledIndex (c - 2.6f, 10), 9);
        EXPECT_EQ (chromatic.ledIndex (c + 45.0f, 10), 19);
        EXPECT_EQ (chromatic.ledIndex (c - 45.0f, 10), 1);
        EXPECT_EQ (chromatic.ledIndex (c - 48.0f, 10), 0);
    }

    // 49 cents sharp of A4 is still A's (its top lamp); exactly halfway up is the next note's.
    EXPECT_EQ (chromatic.ledIndex (49.0f, 10), 20);
    EXPECT_EQ (chromatic.ledIndex (50.0f, 10), 0) << "exactly halfway up goes to the next note";
    // Exactly halfway below A4 the rule leaves d at 100: no lamp.
    EXPECT_EQ (chromatic.ledIndex (-150.0f, 10), -1);
    EXPECT_EQ (chromatic.ledIndex (std::nanf (""), 10), -1);
    EXPECT_EQ (chromatic.ledIndex (std::numeric_limits<float>::infinity(), 10), -1);
}

TEST (TunerModes, TheRingHoldsTheNineModesInOrderAndWrapsBothWays)
{
    TunerModeRing ring;
    const char* names[] = { "Chromatic", "Guitar", "Bass", "Drop D", "Open A", "Open G", "Open E", "Open D", "DADGAD" };
    for (int i = 0; i < TunerModeRing::numModes; ++i)
    {
        EXPECT_EQ (ring.getMode (i).getName(), names[i]);
        EXPECT_EQ (ring.getLink (i).mode, &ring.getMode (i));
        EXPECT_EQ (ring.find (&ring.getMode (i)), &ring.getLink (i));
    }
    EXPECT_EQ (ring.getLink (0).previous, &ring.getMode (8));
    EXPECT_EQ (ring.getLink (8).next, &ring.getMode (0));
    EXPECT_EQ (ring.getLink (3).next, &ring.getMode (4));
    EXPECT_EQ (ring.getLink (3).previous, &ring.getMode (2));

    for (const bool forward : { true, false })
    {
        const OxaJuce_Tuner_ModeBase* mode = &ring.getMode (2);
        for (int i = 0; i < 9; ++i)
            mode = forward ? ring.find (mode)->next : ring.find (mode)->previous;
        EXPECT_EQ (mode, &ring.getMode (2)) << "nine steps come back";
    }

    OxaJuce_Tuner_Mode_Chromatic stranger;
    EXPECT_EQ (ring.find (&stranger), nullptr);
    EXPECT_EQ (ring.find (nullptr), nullptr);
}
