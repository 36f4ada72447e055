#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace T730::Modules
{

/** Keeps picked attacks sharp in slowed playback. A phase vocoder spreads a pick's transient over
    its analysis window (some 20 to 40 ms at half speed, and an echo of it up to 20 ms ahead), so
    the take's own attack, played at normal speed, is laid over the stretched stream where the
    stretcher puts it: a short fade from the stretched frames into the take 20 ms ahead of the pick,
    the take for 30 ms after it, and a fade back into the stretched frames, the whole placed
    (within 6 ms of where the stretcher puts the attack) where the waveforms in the two fades
    agree best, so a ringing note does not dip. An attack is a jump of the take's energy above
    1.5 kHz; a note struck while the last one still rings through an overdrive often shows none and
    is left to the stretcher.

    The take's frames arrive first (addTake); the stretched frames follow (addStretched), each with
    the take position it stands for, and leave again a fixed look-ahead later (takeReady), by which
    time the attacks among them have been replaced.

    prepare() allocates; everything else does not. One thread (the audio thread) only. */
class AttackSplicer
{
public:
    void prepare (double sampleRate);

    /** Forgets the take, the pending attacks and the held stretched frames. */
    void reset() noexcept;

    /** Appends take frames (the covered frames, in order). */
    void addTake (const double* const* channels, int frames) noexcept;

    /** Appends stretched frames; `ratio` is the output speed they were made at (take frames per
        stretched frame). */
    void addStretched (const float* const* channels, int frames, double ratio) noexcept;

    /** Stretched frames ready to leave (all but the look-ahead). */
    int getReady() const noexcept;

    /** Moves up to `frames` ready frames out; answers how many. */
    int takeReady (float* const* channels, int frames) noexcept;

    /** Frames held back (stretched frames not yet ready). */
    int getHeld() const noexcept { return static_cast<int> (stretchedEnd - readyEnd); }

    /** The look-ahead in frames (stretched frames are held back at least this long). */
    int getLookAhead() const noexcept { return lookAhead; }

    /** Attacks found in the take since the last reset, and how many of them were laid over. */
    int getAttacksFound() const noexcept { return attacksFound; }
    int getAttacksSpliced() const noexcept { return attacksSpliced; }

private:
    static constexpr int kTakeCapacity = 1 << 17;   // take frames kept (about 3 s at 44.1 kHz)
    static constexpr int kStageCapacity = 1 << 15;  // stretched frames held (look-ahead and a chunk)
    static constexpr int kHop = 64;                 // onset detection hop
    static constexpr int kRecent = 2 * kHop;        // upper-band energies kept per sample

    struct Splice
    {
        int64_t takeOnset = 0;   // first take frame of the attack
        int64_t outOnset = 0;    // stretched frame that stands for it (before alignment)
    };

    void detect (float left, float right) noexcept;
    int64_t attackStart() const noexcept;
    void scheduleSplices() noexcept;
    void apply (const Splice& s) noexcept;
    bool takeHolds (int64_t from, int64_t to) const noexcept;

    float takeAt (int ch, int64_t frame) const noexcept
    {
        return take[static_cast<std::size_t> (ch)][static_cast<std::size_t> (frame & (kTakeCapacity - 1))];
    }
    float& stageAt (int ch, int64_t frame) noexcept
    {
        return stage[static_cast<std::size_t> (ch)][static_cast<std::size_t> (frame & (kStageCapacity - 1))];
    }

    // Lengths in frames at the prepared rate.
    int fadeIn = 221, lead = 882, hold = 1323, fadeOut = 441, search = 265, refractory = 2646, lookAhead = 3441;
    double energyFloor = 1e-6;   // mean square of the upper band, -60 dB

    std::array<std::vector<float>, 2> take, stage;
    int64_t takeEnd = 0;        // take frames received
    int64_t stretchedEnd = 0;   // stretched frames received
    int64_t readyEnd = 0;       // stretched frames moved out
    int64_t spliceEnd = 0;      // the last spliced stretched frame + 1 (splices never overlap)
    double stretchedTake = 0.0; // take position of the next stretched frame

    // Onsets: the energy above about 1.5 kHz in hops of kHop frames against the hops before.
    double hpState[2][3] {};     // two first-order high-pass stages per channel: input, outputs
    double hopEnergy = 0.0;
    std::array<float, kRecent> recent {};   // per sample, the last kRecent take frames
    int hopFill = 0;
    std::array<double, 16> history {};   // recent hop energies
    int historyFill = 0;
    int64_t lastOnset = -(int64_t (1) << 40);

    std::array<int64_t, 32> onsets {};   // take frames of attacks found and not yet placed
    int onsetRead = 0, onsetCount = 0;
    std::array<Splice, 32> pending {};   // attacks placed in the stretched stream, waiting for look-ahead
    int pendingRead = 0, pendingCount = 0;

    int attacksFound = 0, attacksSpliced = 0;
    double hpCoefficient = 0.8;
};

} // namespace T730::Modules
