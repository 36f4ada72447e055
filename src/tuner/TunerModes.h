#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

namespace T730
{

/** A tuning mode of the tuner page: which string a pitch belongs to and which
    of the meter's 21 lamps it lights. Pitches are in cents relative to A4 at
    the tuner's reference (TunerLib). Stateless. */
class OxaJuce_Tuner_ModeBase
{
public:
    virtual ~OxaJuce_Tuner_ModeBase() = default;

    static constexpr int numLamps = 21;
    static constexpr int centreLamp = 10;

    /** The lamp 0 to 20 for a pitch (lamp i stands for (i - 10) x 5 cents off
        the target), or -1. `inTuneIndex` is the lamp of the in-tune band in
        the chromatic mode. */
    virtual int ledIndex (float cents, int inTuneIndex) const;

    /** The string the pitch is taken to belong to (0 = the highest), or -1. */
    virtual int stringIndex (float cents) const;

    /** The name shown on the page. */
    virtual juce::String getName() const = 0;

    /** True when the mode tunes strings (the page then shows the string's digit). */
    virtual bool usesStrings() const { return true; }
};

/** A string mode: its strings, highest first, each with its target note and
    the lowest nearest semitone that still selects it (semitones counted from
    A4). Every note above the highest range selects string 0; every note
    below the lowest range selects the lowest string. */
class OxaJuce_Tuner_StringMode : public OxaJuce_Tuner_ModeBase
{
public:
    struct StringSpec
    {
        int target;   // semitone of the open string
        int lowest;   // lowest semitone of its range (ignored for the lowest string)
    };

    OxaJuce_Tuner_StringMode (juce::String name, std::vector<StringSpec> strings);

    int ledIndex (float cents, int inTuneIndex) const override;
    int stringIndex (float cents) const override;
    juce::String getName() const override { return name; }

    int getNumStrings() const noexcept { return (int) strings.size(); }
    /** The target of a string in semitones from A4 (0 for a string it does not have). */
    int getTarget (int string) const noexcept;

    /** The nearest semitone of a pitch on whole cents: the cents truncated
        toward zero, then the tuner's nearest-note rule. */
    static int nearestSemitone (float cents) noexcept;

private:
    juce::String name;
    std::vector<StringSpec> strings;
};

class OxaJuce_Tuner_Mode_Chromatic : public OxaJuce_Tuner_ModeBase
{
public:
    int ledIndex (float cents, int inTuneIndex) const override;
    int stringIndex (float cents) const override;
    juce::String getName() const override { return "Chromatic"; }
    bool usesStrings() const override { return false; }
};

struct OxaJuce_Tuner_Mode_Guitor : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_Guitor(); };
struct OxaJuce_Tuner_Mode_Bass : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_Bass(); };
struct OxaJuce_Tuner_Mode_DropD : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_DropD(); };
struct OxaJuce_Tuner_Mode_OpenA : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_OpenA(); };
struct OxaJuce_Tuner_Mode_OpenG : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_OpenG(); };
struct OxaJuce_Tuner_Mode_OpenE : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_OpenE(); };
struct OxaJuce_Tuner_Mode_OpenD : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_OpenD(); };
struct OxaJuce_Tuner_Mode_DADGAD : OxaJuce_Tuner_StringMode { OxaJuce_Tuner_Mode_DADGAD(); };

/** One entry of the ring of modes (the modes are owned by the page). */
struct OxaJuce_Tuner_ModeLink
{
    const OxaJuce_Tuner_ModeBase* mode = nullptr;
    const OxaJuce_Tuner_ModeBase* previous = nullptr;
    const OxaJuce_Tuner_ModeBase* next = nullptr;
};

/** The nine modes in their order (Chromatic, Guitar, Bass, Drop D, Open A,
    Open G, Open E, Open D, DADGAD) and the ring that joins them, wrapping at
    both ends. */
class TunerModeRing
{
public:
    TunerModeRing();

    static constexpr int numModes = 9;

    const OxaJuce_Tuner_ModeBase& getMode (int index) const { return *modes[(size_t) index]; }
    const OxaJuce_Tuner_ModeLink& getLink (int index) const { return links[(size_t) index]; }

    /** The ring entry of a mode; null for a mode that is not one of these. */
    const OxaJuce_Tuner_ModeLink* find (const OxaJuce_Tuner_ModeBase* mode) const noexcept;

private:
    std::vector<std::unique_ptr<OxaJuce_Tuner_ModeBase>> modes;
    std::vector<OxaJuce_Tuner_ModeLink> links;

    JUCE_DECLARE_NON_COPYABLE (TunerModeRing)
};

} // namespace T730
