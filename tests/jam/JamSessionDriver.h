#pragma once

// What the session journey does in the program's window, step by step, and
// the measurements it makes on what the engine recorded and mixed down.

#include "TestSupport.h"
#include "../app/ToolSetTestSupport.h"
#include "app/ControllerCommands.h"
#include "app/GuiMain.h"
#include "app/InstController.h"
#include "app/SectionTab.h"
#include "engine/DspMain.h"
#include "engine/Synchronizer.h"
#include "jam/RecorderUI.h"
#include "jam/RhythmerUI.h"
#include "players/Figures.h"
#include "players/Player.h"
#include "jam/SectionJam.h"
#include "recorder/Recorder.h"
#include "recorder/WaveFormat.h"
#include "rhythm/Rhythmer.h"
#include "search/RhythmResults.h"
#include "search/SearchLists.h"
#include "search/SectionSearch.h"
#include "ui/UiTestSupport.h"

#include <algorithm>
#include <cmath>

namespace jamtest
{

/** A plucked string: six partials of f, decaying, struck again every period seconds (one period of the loop). */
inline std::vector<float> pluckedString (double f, double periodSeconds)
{
    const int n = (int) (periodSeconds * 44100.0);
    std::vector<float> samples ((size_t) n);
    for (int i = 0; i < n; ++i)
    {
        const double t = i / 44100.0;
        double x = 0.0;
        for (int k = 1; k <= 6; ++k)
            x += std::sin (2.0 * juce::MathConstants<double>::pi * f * k * t) / k * std::exp (-t * (2.0 + k));
        samples[(size_t) i] = (float) (0.12 * x * std::min (1.0, t * 2000.0));
    }
    return samples;
}

/** A mixed-down file's samples. */
struct Mix
{
    std::vector<float> left, right;
    juce::int64 frames() const { return (juce::int64) left.size(); }

    /** Mean square of the signal through a one-pole low-pass at about 150 Hz. */
    double lowBandEnergy() const
    {
        double y = 0.0, sum = 0.0;
        const double a = 1.0 - std::exp (-2.0 * juce::MathConstants<double>::pi * 150.0 / 44100.0);
        for (auto x : left) { y += a * (x - y); sum += y * y; }
        return left.empty() ? 0.0 : sum / (double) left.size();
    }

    /** Mean square of the first difference (the energy above a few kHz dominates it). */
    double highBandEnergy() const
    {
        double sum = 0.0;
        for (size_t i = 1; i < left.size(); ++i) { const double d = left[i] - left[i - 1]; sum += d * d; }
        return left.size() < 2 ? 0.0 : sum / (double) left.size();
    }
};

inline Mix readMix (const juce::File& file)
{
    Mix mix;
    juce::MemoryBlock bytes;
    if (! file.loadFileAsData (bytes))
        return mix;
    juce::MemoryInputStream in (bytes, false);
    T730::WaveFormat format;
    if (! T730::readWaveHeader (in, format) || ! format.isRecorderFormat())
        return mix;
    const auto frames = (size_t) (format.dataSize / 4);
    const auto* s = reinterpret_cast<const int16_t*> ((const char*) bytes.getData() + format.dataStart);
    mix.left.resize (frames);
    mix.right.resize (frames);
    for (size_t i = 0; i < frames; ++i)
    {
        mix.left[i] = (float) s[2 * i] / 32768.0f;
        mix.right[i] = (float) s[2 * i + 1] / 32768.0f;
    }
    return mix;
}

struct Lag { int lag = 0; double correlation = 0.0; };

/** The lag (within ±range) at which b best matches a over the first n samples, by normalised correlation. */
inline Lag bestLag (const std::vector<float>& a, const std::vector<float>& b, juce::int64 n, int range)
{
    Lag best { 0, -2.0 };
    const auto length = (juce::int64) std::min (a.size(), b.size());
    const auto correlate = [&] (int lag)
    {
        double ab = 0.0, aa = 0.0, bb = 0.0;
        for (juce::int64 i = range; i < std::min (n, length - range); i += 3)
        {
            const double x = a[(size_t) i], y = b[(size_t) (i - lag)];
            ab += x * y; aa += x * x; bb += y * y;
        }
        return aa > 0.0 && bb > 0.0 ? ab / std::sqrt (aa * bb) : 0.0;
    };
    // Coarse steps first, then every lag around the best one.
    for (int lag = -range; lag <= range; lag += 16)
        if (const double c = correlate (lag); c > best.correlation)
            best = { lag, c };
    const int centre = best.lag;
    for (int lag = std::max (-range, centre - 24); lag <= std::min (range, centre + 24); ++lag)
        if (const double c = correlate (lag); c > best.correlation)
            best = { lag, c };
    return best;
}

struct Change { int outsideDifferences = 0; juce::int64 firstOutside = -1; double insideEnergy = 0.0, insideReference = 0.0; };

/** Where two mix-downs differ: outside [start - margin, end + margin) and inside [start, end). */
inline Change compareOutside (const Mix& a, const Mix& b, juce::int64 start, juce::int64 end, int margin)
{
    Change c;
    const auto n = std::min (a.frames(), b.frames());
    for (juce::int64 i = 0; i < n; ++i)
    {
        const double d = (double) a.left[(size_t) i] - b.left[(size_t) i];
        if (i >= start && i < end)
        {
            c.insideEnergy += d * d;
            c.insideReference += (double) a.left[(size_t) i] * a.left[(size_t) i];
        }
        else if ((i < start - margin || i >= end + margin) && std::abs (d) > 1.5 / 32768.0)
        {
            if (c.outsideDifferences++ == 0)
                c.firstOutside = i;
        }
    }
    return c;
}

/** The median of the steps between consecutive positions that went forward. */
inline juce::int64 medianStep (const std::vector<juce::int64>& positions)
{
    std::vector<juce::int64> steps;
    for (size_t i = 1; i < positions.size(); ++i)
        if (positions[i] > positions[i - 1])
            steps.push_back (positions[i] - positions[i - 1]);
    if (steps.empty())
        return 0;
    std::nth_element (steps.begin(), steps.begin() + (long) steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

struct Fit { double gain = 0.0, residual = 1.0; };

/** mix - song = gain x take, fitted by least squares; the residual is the
    energy left over relative to the take's part of the mix. */
inline Fit fitTakeIntoMix (const Mix& mix, const Mix& song, const std::vector<float>& take)
{
    const auto n = (size_t) std::min ({ mix.frames(), song.frames(), (juce::int64) take.size() });
    double dt = 0.0, tt = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        const double d = (double) mix.left[i] - song.left[i];
        dt += d * take[i];
        tt += (double) take[i] * take[i];
    }
    Fit fit;
    if (tt <= 0.0)
        return fit;
    fit.gain = dt / tt;
    double rr = 0.0, dd = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        const double d = (double) mix.left[i] - song.left[i];
        const double r = d - fit.gain * take[i];
        rr += r * r;
        dd += d * d;
    }
    fit.residual = dd > 0.0 ? rr / dd : 1.0;
    return fit;
}

struct Region
{
    juce::int64 start, end;
    juce::String file;
    bool operator== (const Region& o) const { return start == o.start && end == o.end && file == o.file; }
};

/** The steps of the session, through the window where the window offers them. */
class SessionDriver
{
public:
    explicit SessionDriver (T730::InstController& c) : controller (c) {}

    void settle (int ms = 60) { oxatest::pumpMessagesUntil ({}, ms); }
    T730::GuiMain& gui() { return *controller.getGui(); }
    T730::SectionJam& jamSection() { return gui().getJamSection(); }
    T730::PlayState& master() { return T730::Synchronizer::getInstance()->getMaster(); }

    void perform (int command)
    {
        controller.getCommands().perform (command);
        settle (100);
    }

    T730::Rhythmer* machine() { return dynamic_cast<T730::Rhythmer*> (controller.getEngine()->getRhythmItem().get()); }
    /** The newest recorder (a new tool set may bring empty ones of its own). */
    T730::Recorder* recorder()
    {
        auto* engine = controller.getEngine();
        const int n = engine->getRecorderCount();
        return n > 0 ? dynamic_cast<T730::Recorder*> (engine->getRecorder (n - 1).get()) : nullptr;
    }

    int recorderCount() { return controller.getEngine()->getRecorderCount(); }

    int panelCount()
    {
        int n = machine() != nullptr ? 1 : 0;
        return n + controller.getEngine()->getRecorderCount();
    }

    void addFromAdder (int kind)
    {
        auto& adder = jamSection().getAdder();
        const int x = adder.getChoiceMode() == 1 && kind == 1 ? 300 : 60;
        uitest::clickThroughPeer (adder, { x, adder.getHeight() / 2 });
        settle (200);
    }

    /** Picks the first keyword, highlights the first rhythm found and presses the rhythm Load button. */
    juce::String loadSongFromSearchPage()
    {
        auto& tabs = gui().getTabSection();
        auto& page = tabs.getSearchPage();
        tabs.selectPage (&page);
        auto& grid = page.getWordList();
        const int k = std::max (0, grid.getWords().indexOf ("rock"));
        uitest::clickThroughPeer (grid, grid.getCellBounds (k % T730::SS_WordList::rows, k / T730::SS_WordList::rows).getCentre());
        settle();
        auto& rhythms = page.getRhythmList();
        if (rhythms.getResultCount() == 0)
            return {};
        uitest::clickThroughPeer (rhythms, rhythms.getRowBounds (0).getCentre().withX (20));
        settle();
        const auto* cell = rhythms.getRhythmCell (0);
        const auto name = cell != nullptr && cell->getSong() != nullptr ? cell->getSong()->SongName : juce::String();
        auto& load = page.getButton (T730::SectionSearch::rhythmLoadButton);
        uitest::clickThroughPeer (load, { 10, 7 });
        settle (300);
        return name;
    }

    /** Samples per bar of the song's first pattern at its tempo. */
    juce::int64 barLength()
    {
        auto* m = machine();
        if (m == nullptr || m->getPatterns().empty())
            return 0;
        const auto& p = *m->getPatterns().front();
        const double quarters = p.getNumerator() * 4.0 / juce::jmax (1, p.getDenominator());
        return (juce::int64) (quarters * 60.0 / juce::jmax (1, master().getTempo()) * 44100.0);
    }

    bool waitForPosition (juce::int64 position, int timeoutMs = 20000)
    {
        return oxatest::pumpMessagesUntil ([&] { return master().getPosition() >= position; }, timeoutMs);
    }

    /** The rhythm panel (on top of the jam section). */
    T730::RhythmerUI* rhythmPanel()
    {
        const auto& panels = jamSection().getPanels();
        return panels.isEmpty() ? nullptr : dynamic_cast<T730::RhythmerUI*> (panels.getFirst().get());
    }

    /** The newest recorder's panel. */
    T730::RecorderUI* recorderPanel()
    {
        for (auto* panel : jamSection().getPanels())
            if (auto* p = dynamic_cast<T730::RecorderUI*> (panel); p != nullptr && p->getRecorder() == recorder())
                return p;
        return nullptr;
    }

    /** The whole window as painted, with the figures' last frames laid in
        (their views draw on threads of their own, which a snapshot misses). */
    juce::Image windowShot()
    {
        auto shot = uitest::snapshot (gui());
        if (auto* panel = rhythmPanel())
        {
            juce::Graphics g (shot);
            for (auto* figure : { static_cast<T730::PlayerProxy*> (panel->getDrummer()), static_cast<T730::PlayerProxy*> (panel->getBassist()) })
                if (figure != nullptr && figure->getView() != nullptr && figure->getView()->isReady())
                {
                    const auto frame = figure->getView()->captureFrame();
                    const auto at = gui().getLocalPoint (figure, juce::Point<int> (0, figure->getView()->getY()));
                    if (frame.isValid())
                        g.drawImageAt (frame, at.x, at.y);
                }
        }
        return shot;
    }

    /** A click on a key of a panel, through the window as the pointer would. */
    void press (juce::Button& key)
    {
        uitest::clickThroughPeer (key, key.getLocalBounds().getCentre());
        settle (120);
    }

    void powerRhythm (bool on)
    {
        if (rhythmPanel()->getPowerButton().getToggleState() != on)
            press (rhythmPanel()->getPowerButton());
    }
    void playRhythm (bool) { press (rhythmPanel()->getPlayButton()); }
    void stopRhythm()      { press (rhythmPanel()->getStopButton()); settle (200); }
    /** Where a drag of the position slider would leave the recorder. */
    void locateRecorder (juce::int64 position) { recorder()->locateTo (position); settle(); }
    void playRecorder (bool) { press (recorderPanel()->getPlayButton()); }
    void stopRecorder()      { press (recorderPanel()->getStopButton()); settle (200); }

    /** The record key, then (as the panel does) the other recorders follow this one. */
    void arm (bool on)
    {
        if (recorderPanel()->getRecButton().getToggleState() != on)
            press (recorderPanel()->getRecButton());
    }

    bool waitForTakeRegions (int n)
    {
        return oxatest::pumpMessagesUntil ([&] { return recorder()->getStatus().CurrentTake.size() >= n && ! recorder()->isArmed(); }, 10000);
    }

    void toggleTo (juce::Button& key, bool on)
    {
        if (key.getToggleState() != on)
            press (key);
    }

    void setRecorderMuted (bool muted) { toggleTo (recorderPanel()->getMuteButton(), muted); }

    /** The punch-in/out key on, then both handles dragged to the points. */
    void setPunchRange (juce::int64 s, juce::int64 e)
    {
        toggleTo (recorderPanel()->getPunchButton(), true);
        auto& bar = recorderPanel()->getPunchBar();
        bar.dragPointTo (T730::ABPoints::grabStart, s);
        bar.dragPointTo (T730::ABPoints::grabEnd, e);
        settle();
    }
    void setPunchOn (bool on) { toggleTo (recorderPanel()->getPunchButton(), on); }

    void setLoop (juce::int64 s, juce::int64 e)
    {
        toggleTo (recorderPanel()->getLoopButton(), true);
        auto& bar = recorderPanel()->getLoopBar();
        bar.dragPointTo (T730::ABPoints::grabStart, s);
        bar.dragPointTo (T730::ABPoints::grabEnd, e);
        settle();
    }

    /** The speed slider's position 0..5 (50 % .. 100 %). */
    void setSpeed (int sliderPosition) { recorderPanel()->moveSpeedSlider (sliderPosition); settle(); }

    Mix mixDown (oxatest::ScriptedDialogs& dialogs, const juce::File& file)
    {
        dialogs.saveChoice = file;
        perform (T730::CommandIDs::mixDown);
        return readMix (file);
    }

    /** The take's left channel from 0 to its end, rendered offline. */
    std::vector<float> renderTake()
    {
        const auto& take = recorder()->getStatus().CurrentTake;
        const auto length = take.getLatestEnd();
        std::vector<float> left ((size_t) length, 0.0f), right ((size_t) length, 0.0f);
        for (juce::int64 p = 0; p < length; p += 4096)
        {
            const int n = (int) std::min<juce::int64> (4096, length - p);
            float* out[2] = { left.data() + p, right.data() + p };
            take.render (p, out, 0, n);
        }
        return left;
    }

    std::vector<Region> takeRegions()
    {
        std::vector<Region> regions;
        const auto& take = recorder()->getStatus().CurrentTake;
        for (int i = 0; i < take.size(); ++i)
            if (auto r = take.getRecord (i))
                regions.push_back ({ r->start, r->end, r->fileName });
        return regions;
    }

    /** The newest recorder's play position every interval, n times (the message loop runs meanwhile). */
    std::vector<juce::int64> samplePositions (int n, int intervalMs)
    {
        std::vector<juce::int64> positions;
        for (int i = 0; i < n; ++i)
        {
            settle (intervalMs);
            positions.push_back (recorder()->getCurrentPlayState()->getPosition());
        }
        return positions;
    }

private:
    T730::InstController& controller;
};

} // namespace jamtest
