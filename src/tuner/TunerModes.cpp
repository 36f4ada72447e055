#include "tuner/TunerModes.h"

#include <climits>
#include <cmath>

namespace T730
{

namespace
{
    // A pitch this far from A4 is no instrument's; keeps the integer arithmetic in range.
    constexpr float farthestCents = 1.0e6f;

    /** The lamp of a deviation d = (cents - target) + 50 (50 is in tune) in the
        1 to 19 band: one lamp per 5 cents, lamp 10 from 47.5 to below 52.5. */
    int bandLamp (float d) noexcept
    {
        return 1 + (int) ((d - 2.5f) / 5.0f);
    }
} // namespace

//==============================================================================
int OxaJuce_Tuner_ModeBase::ledIndex (float, int) const { return 0; }
int OxaJuce_Tuner_ModeBase::stringIndex (float) const { return 0; }

//==============================================================================
OxaJuce_Tuner_StringMode::OxaJuce_Tuner_StringMode (juce::String modeName, std::vector<StringSpec> modeStrings)
    : name (std::move (modeName)), strings (std::move (modeStrings))
{
    jassert (! strings.empty());
}

int OxaJuce_Tuner_StringMode::getTarget (int string) const noexcept
{
    return juce::isPositiveAndBelow (string, (int) strings.size()) ? strings[(size_t) string].target : 0;
}

int OxaJuce_Tuner_StringMode::nearestSemitone (float cents) noexcept
{
    const int s = (int) std::trunc (juce::jlimit (-farthestCents, farthestCents, cents)) + 50;
    return s / 100 - (s < 0 ? 1 : 0);
}

int OxaJuce_Tuner_StringMode::stringIndex (float cents) const
{
    if (std::isnan (cents) || strings.empty())
        return -1;

    const int k = nearestSemitone (cents);
    const int last = (int) strings.size() - 1;
    for (int i = 0; i < last; ++i)
        if (k >= strings[(size_t) i].lowest)
            return i;

    return last;
}

int OxaJuce_Tuner_StringMode::ledIndex (float cents, int) const
{
    const int i = stringIndex (cents);
    if (i < 0)
        return -1;

    const float target = 100.0f * (float) strings[(size_t) i].target;
    const float d = (cents - target) + 50.0f;
    if (d < 2.5f)
        return 0;
    if (d >= 97.5f)
        return 20;
    return bandLamp (d);
}

//==============================================================================
int OxaJuce_Tuner_Mode_Chromatic::ledIndex (float cents, int inTuneIndex) const
{
    if (! std::isfinite (cents) || std::abs (cents) > farthestCents)
        return -1;

    // The nearest semitone by the tuner's rule on the unrounded cents; d is the
    // pitch within that semitone's span, 50 exactly on the note.
    const double shifted = (double) cents + 50.0;
    const int k = (int) std::trunc (shifted / 100.0) - (shifted < 0.0 ? 1 : 0);
    const float d = cents - (float) (100 * k - 50);

    if (d >= 0.0f && d < 2.5f)
        return 0;
    if (d >= 2.5f && d < 47.5f)
        return bandLamp (d);
    if (d >= 47.5f && d < 52.5f)
        return inTuneIndex;
    if (d >= 52.5f && d < 97.5f)
        return bandLamp (d);
    if (d >= 97.5f && d < 100.0f)
        return 20;
    return -1;
}

int OxaJuce_Tuner_Mode_Chromatic::stringIndex (float) const
{
    return -1;
}

//==============================================================================
// The string tables: target semitone and the lowest semitone of each string's
// range, highest string first. The ranges are the instrument's own and do not
// always follow the nearest string.
OxaJuce_Tuner_Mode_Guitor::OxaJuce_Tuner_Mode_Guitor()
    : OxaJuce_Tuner_StringMode ("Guitar", { { -5, -7 }, { -10, -12 }, { -14, -16 }, { -19, -21 },
                                            { -24, -26 }, { -29, -31 }, { -34, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_Bass::OxaJuce_Tuner_Mode_Bass()
    : OxaJuce_Tuner_StringMode ("Bass", { { -26, -28 }, { -31, -33 }, { -36, -38 }, { -41, -43 }, { -46, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_DropD::OxaJuce_Tuner_Mode_DropD()
    : OxaJuce_Tuner_StringMode ("Drop D", { { -5, -7 }, { -10, -12 }, { -14, -16 }, { -19, -21 },
                                            { -24, -27 }, { -31, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_OpenA::OxaJuce_Tuner_Mode_OpenA()
    : OxaJuce_Tuner_StringMode ("Open A", { { -5, -6 }, { -8, -10 }, { -12, -15 }, { -17, -19 },
                                            { -24, -26 }, { -29, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_OpenG::OxaJuce_Tuner_Mode_OpenG()
    : OxaJuce_Tuner_StringMode ("Open G", { { -7, -8 }, { -10, -12 }, { -14, -16 }, { -19, -21 },
                                            { -26, -28 }, { -31, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_OpenE::OxaJuce_Tuner_Mode_OpenE()
    : OxaJuce_Tuner_StringMode ("Open E", { { -5, -7 }, { -10, -11 }, { -13, -15 }, { -17, -19 },
                                            { -22, -24 }, { -29, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_OpenD::OxaJuce_Tuner_Mode_OpenD()
    : OxaJuce_Tuner_StringMode ("Open D", { { -7, -9 }, { -12, -13 }, { -15, -17 }, { -19, -21 },
                                            { -24, -27 }, { -31, INT_MIN } })
{
}

OxaJuce_Tuner_Mode_DADGAD::OxaJuce_Tuner_Mode_DADGAD()
    : OxaJuce_Tuner_StringMode ("DADGAD", { { -7, -9 }, { -12, -12 }, { -14, -16 }, { -19, -21 },
                                            { -24, -27 }, { -31, INT_MIN } })
{
}

//==============================================================================
TunerModeRing::TunerModeRing()
{
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_Chromatic>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_Guitor>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_Bass>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_DropD>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_OpenA>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_OpenG>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_OpenE>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_OpenD>());
    modes.push_back (std::make_unique<OxaJuce_Tuner_Mode_DADGAD>());

    const int n = (int) modes.size();
    for (int i = 0; i < n; ++i)
        links.push_back ({ modes[(size_t) i].get(), modes[(size_t) ((i + n - 1) % n)].get(),
                           modes[(size_t) ((i + 1) % n)].get() });
}

const OxaJuce_Tuner_ModeLink* TunerModeRing::find (const OxaJuce_Tuner_ModeBase* mode) const noexcept
{
    for (const auto& link : links)
        if (link.mode == mode)
            return &link;

    return nullptr;
}

} // namespace T730
