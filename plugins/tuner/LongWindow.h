#pragma once

#include "LowPass.h"
#include "PitchDetector.h"

#include <cmath>
#include <vector>

namespace T730::Modules
{

/** The long window of a held low note: the input low-passed and decimated to 24 kHz or less and
    read on the detector's usual number of points (186 ms at 44.1 kHz, twice the short window).

    A sampled or overdriven low string's waveform wanders: on the short window its reading moves
    by 2-6 cents from one report to the next. Once its glide is over (a second and a half after
    the attack) the long window steadies it. It gives way to the short one for a reading more
    than 25 cents off the pitch the note had when it took over (a bend or a slide, until the next
    attack: it would follow them late), for a window without pitch, and for a note fading more
    than 6 dB over the long window (released), whose last moments it would lag.

    prepare() allocates; push() and read() allocate nothing and run on the audio thread. */
class LongWindow
{
public:
    struct Reading
    {
        double frequency = 0.0, clarity = 0.0, levelChangeDb = 0.0;
    };

    void prepare (double sampleRate);

    /** One input sample. */
    void push (double x) noexcept
    {
        // A non-number or infinity would stay in the filter's memory for good: it starts again
        // from rest instead (the short window forgets such input once it has left the window).
        double y = antiAlias.process (x, antiAliasState);
        if (! std::isfinite (y))
        {
            antiAliasState = {};
            y = 0.0;
        }
        sum += y;
        if (++sincePushed == factor)
        {
            history[static_cast<size_t> (writePos)] = sum / factor;
            writePos = (writePos + 1) % static_cast<int> (history.size());
            if (filled < static_cast<int> (history.size()))
                ++filled;
            sum = 0.0;
            sincePushed = 0;
        }
    }

    /** The long window's reading of the held note (`heldHz`, the one the attack `samplesSinceAttack`
        ago brought; 0: none), or false when the short window should read this one. */
    bool read (double heldHz, bool heldSinceAttack, double samplesSinceAttack, double gateRms, Reading& reading) noexcept;

    /** The input samples its window spans (its reading is the pitch of their centre). */
    int spanSamples() const noexcept { return detector.getWindowSize() * factor; }

private:
    static double levelChangeDb (const double* x, int n) noexcept;

    double rate = 44100.0;
    int factor = 2;
    PitchDetector detector;
    LowPass antiAlias;
    LowPass::State antiAliasState;
    double sum = 0.0;
    int sincePushed = 0;
    std::vector<double> history;   // the decimated input: the pre-roll and the window
    std::vector<double> window;
    int preRoll = 0;
    int writePos = 0;
    int filled = 0;
    double anchor = 0.0;             // the held note's pitch when the long window took over (0: not yet)
    bool givenUp = false;            // the note left it: the short window until the next attack
    double lastSinceAttack = 0.0;    // samples since the attack at the last read
};

} // namespace T730::Modules
