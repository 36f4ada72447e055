// The recorder on the audio thread: recording window, take playback, fades at
// the punch points, slow-down, mute, level and pan. Everything here runs with
// the audio lock held and allocates nothing.
#include "recorder/Recorder.h"

#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "engine/TypeLibVolumePdl.h"
#include "recorder/WaveFile.h"

#include <cmath>

namespace T730
{

namespace
{
    void flushDenormals (float* const* pair, int n) noexcept
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < n; ++i)
                pair[c][i] = FadeRamp::flush (pair[c][i]);
    }

    constexpr double panStep = 0.1;

    /** Left and right gains of a pan position (0 left .. 50 centre .. 100 right). */
    void panGains (double p, float& left, float& right) noexcept
    {
        left = p > 50.0 ? (float) (1.0 - std::sqrt ((p - 50.0) / 50.0)) : 1.0f;
        right = p < 50.0 ? (float) (1.0 - std::sqrt ((50.0 - p) / 50.0)) : 1.0f;
    }
} // namespace

void Recorder::render (juce::int64 position, const float* const* input, float* const* output, int first, int count)
{
    // A block larger than the prepared one is rendered in pieces of that size,
    // each at the take position the pieces before it reached.
    const int piece = juce::jmax (1, blockSize);
    juce::int64 at = position;
    for (int done = 0; done < count; done += piece)
    {
        const int n = juce::jmin (piece, count - done);
        const float* in[2] = { input[0] + first + done, input[1] + first + done };
        float* out[2] = { output[0] + first + done, output[1] + first + done };
        at += renderPiece (at, in, out, n);
    }
}

void Recorder::renderCountIn (juce::int64, const float* const* input, float* const*, int first, int count)
{
    if (getMode() != idle && live.on)
        spectrum->process (input[0] + first, input[1] + first, count);
}

void Recorder::idleRender (const float* const* input, int first, int count)
{
    if (getMode() != idle && live.on)
        spectrum->process (input[0] + first, input[1] + first, count);
}

void Recorder::playTake (juce::int64 a, float* const* output, juce::int64 from, juce::int64 to)
{
    if (to <= from)
        return;
    status.CurrentTake.render (from, output, (int) (from - a), (int) (to - from));
}

bool Recorder::queueInput (juce::int64 a, const float* const* input, juce::int64 from, juce::int64 to)
{
    auto* file = recordingFile.get();
    if (file == nullptr)
        return false;

    if (to > from)
        file->queueWrite ((int) (to - from), from, input, (int) (from - a));

    // A file that reached its largest size takes nothing more: the pass ends.
    return ! file->isFull();
}

juce::int64 Recorder::renderPiece (juce::int64 a, const float* const* input, float* const* output, int n)
{
    const juce::int64 w = a + n;
    const int r = FadeRamp::lengthFor (getEngineSettings().sampleRate.load());

    // 1. The disarm's fade-in starts here; the take is drawn over silence.
    if (fadeInMarker == -2)
        fadeInMarker = a;
    juce::FloatVectorOperations::clear (output[0], n);
    juce::FloatVectorOperations::clear (output[1], n);

    // 2.
    int m = mode.load();
    if (detached)
        m = idle;
    if (m == armed && ! live.punch.enabled)
        m = recording;
    if (! live.on)
    {
        mode.store (m);
        return n;
    }

    bool inputShown = false;
    bool punchedOut = false;
    const juce::int64 latency = getLatency();

    if (live.punch.enabled)
    {
        const juce::int64 S = live.punch.start, E = live.punch.end;
        const juce::int64 recordFrom = S + latency, recordTo = E + latency;

        if (m != recording)
        {
            // 3. Out before the punch-in point, silent inside, in again from the punch-out point.
            if (S - r >= a && S - r < w)
                fadeOutMarker = S - r;
            if (E >= a && E < w)
                fadeInMarker = E;
            playTake (a, output, a, juce::jmin (w, S));
            playTake (a, output, juce::jmax (a, E), w);

            // The pass begins once the block reaches into the recording window.
            if (m == armed && a < recordTo && w > recordFrom)
            {
                const auto from = juce::jmax (a, recordFrom);
                const auto to = juce::jmin (w, recordTo);
                const bool room = queueInput (a, input, from, to);
                if (recordTo <= w || ! room)
                {
                    m = idle;
                    punchedOut = true;
                }
                else
                {
                    m = recording;
                }
            }
            inputShown = m == idle && a >= S && a < E;
        }
        else
        {
            // 5. Recording up to the end of the window; the take is back from E on.
            bool room = true;
            if (a < recordTo)
                room = queueInput (a, input, juce::jmax (a, recordFrom), juce::jmin (w, recordTo));
            if (w >= recordTo || ! room)
            {
                m = idle;
                punchedOut = true;
            }
            if (E >= a && E < w)
                fadeInMarker = E;
            playTake (a, output, juce::jmax (a, E), w);
        }
    }
    else if (m != recording)
    {
        // 4.
        playTake (a, output, a, w);
    }
    else
    {
        // 6. Free recording: what arrives before the latency has passed belongs to no position.
        const auto from = juce::jmax (a, latency);
        if (! queueInput (a, input, from, w))
        {
            m = idle;
            punchedOut = true;
        }
    }

    // The mode changes only from here to idle, or from armed to recording; a
    // disarm or a stop on another thread meanwhile wins.
    int expected = mode.load();
    if (expected != idle || m == idle)
        mode.compare_exchange_strong (expected, m);
    if (punchedOut)
        notifyPunchOut();

    // 7. The fades of the punch points and of the disarm.
    if (fadeInMarker >= 0)
    {
        FadeRamp::fadeIn (output, 0, n, a, fadeInMarker, r);
        if (fadeInMarker + r <= w)
            fadeInMarker = -1;
    }
    if (fadeOutMarker >= 0)
    {
        FadeRamp::fadeOut (output, 0, n, a, fadeOutMarker, r);
        if (fadeOutMarker + r <= w)
            fadeOutMarker = -1;
    }

    // 8.
    const auto covered = slowDownBlock (output, n);

    // 9.
    if (live.mute)
    {
        juce::FloatVectorOperations::clear (output[0], n);
        juce::FloatVectorOperations::clear (output[1], n);
    }

    // 10. What is recorded (or would be, inside the punch range) shows; else what plays.
    if (m == recording || inputShown)
        spectrum->process (input[0], input[1], n);
    else
        spectrum->process (output[0], output[1], n);

    // 11 to 13.
    applyLevelAndPan (output, n);
    return covered;
}

juce::int64 Recorder::slowDownBlock (float* const* output, int n)
{
    const int speed = live.speed;
    if (! isSlowed (speed) || slowDown == nullptr)
        return n;

    // The frames the slowed transport covers in this block (with the carried
    // fraction) go to the start of the buffer, the module stretches them to n.
    const double ratio = (double) speedRatio (speed);
    const double v = ratio * n + slowRemainder;
    const int whole = (int) v;
    const int needed = juce::jmin ((int) (v + 0.5) + 2, n + 4);
    slowRemainder = v - (double) whole;

    const int available = juce::jmin (needed, n);
    double* left = workLeft.data();
    double* right = workRight.data();
    for (int i = 0; i < available; ++i)
    {
        left[i] = (double) output[0][i];
        right[i] = (double) output[1][i];
    }
    for (int i = available; i < needed; ++i)
        left[i] = right[i] = 0.0;

    double* channels[2] = { left, right };
    slowDown->process (channels, channels, n);

    for (int i = 0; i < n; ++i)
    {
        output[0][i] = (float) left[i];
        output[1][i] = (float) right[i];
    }
    return whole;
}

void Recorder::applyLevelAndPan (float* const* output, int n)
{
    // 11. The level module glides to its level; without it the level is a plain gain.
    if (levelNode->getEffect() != nullptr)
    {
        levelNode->processFloat (n, output[0], output[1], output[0], output[1]);
    }
    else
    {
        const float gain = levelGain.load();
        juce::FloatVectorOperations::multiply (output[0], gain, n);
        juce::FloatVectorOperations::multiply (output[1], gain, n);
    }
    flushDenormals (output, n);

    // 12. Pan: the side away from the pan is attenuated; a change glides 0.1 a frame.
    const double target = (double) live.pan;
    float left = 1.0f, right = 1.0f;
    if (currentPan == target)
    {
        panGains (currentPan, left, right);
        if (left != 1.0f)
            juce::FloatVectorOperations::multiply (output[0], left, n);
        if (right != 1.0f)
            juce::FloatVectorOperations::multiply (output[1], right, n);
    }
    else
    {
        for (int i = 0; i < n; ++i)
        {
            panGains (currentPan, left, right);
            output[0][i] *= left;
            output[1][i] *= right;

            if (std::abs (target - currentPan) <= panStep)
                currentPan = target;
            else
                currentPan += target > currentPan ? panStep : -panStep;
        }
    }

    // 13.
    flushDenormals (output, n);
}

} // namespace T730
