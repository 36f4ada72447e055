// Figures for the tuner page on its own (software rendering, no display
// needed): a pitch report (setFreq), the repaint that shows it, one step of
// the 25 ms timer with its repaint, and the share of the message thread the
// page takes while a note sounds (40 repaints a second), against the page's
// background picture drawn alone.
#include "app/ControllerRequest.h"
#include "art/ProgramArt.h"
#include "documents/Project.h"
#include "engine/TunerLib.h"
#include "tuner/SectionTuner.h"
#include "ui/ControllerLink.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace T730;

namespace
{
    struct Link : public ControllerLink
    {
        int request (int code, int, int, void* data) override
        {
            if (code == GetTunerLib && data != nullptr)
                *static_cast<TunerLib**> (data) = &tuner;
            return requestTrue;
        }
        Project& getCurrentProject() override { return project; }

        TunerLib tuner { 440 };
        Project project;
    };

    struct Spread
    {
        double median, best, worst, p99;
    };

    double nowMs() { return juce::Time::getMillisecondCounterHiRes(); }

    template <typename Fn>
    Spread measure (int runs, Fn&& fn)
    {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
        {
            const double start = nowMs();
            fn (i);
            ms.push_back (nowMs() - start);
        }
        std::sort (ms.begin(), ms.end());
        return { ms[ms.size() / 2], ms.front(), ms.back(), ms[(ms.size() * 99) / 100] };
    }

    void print (const char* what, const Spread& s, const char* unit = "ms", double scale = 1.0)
    {
        std::printf ("[ figure ] %s: median %.3f %s (best %.3f, p99 %.3f, worst %.3f)\n", what, s.median * scale, unit,
                     s.best * scale, s.p99 * scale, s.worst * scale);
    }

    /** A string being tuned up: the pitch sweeps from 40 cents flat to 10 sharp and back. */
    float pitchAt (int i, double targetCents)
    {
        const double sweep = 25.0 * std::sin (i * 0.05) - 15.0;
        return (float) (440.0 * std::pow (2.0, (targetCents + sweep) / 1200.0));
    }
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    Link link;
    SectionTuner page (link);
    page.setBounds (0, 0, 300, 313);
    juce::int64 clock = 0;
    page.setClock ([&clock] { return clock; });

    juce::Image canvas (juce::Image::ARGB, page.getWidth(), page.getHeight(), true);
    const auto paintPage = [&]
    {
        juce::Graphics g (canvas);
        page.paintEntireComponent (g, true);
    };

    constexpr int runs = 2000;
    std::printf ("Tuner page, %d pitch reports per case, software rendering of 300 x 313 pixels\n", runs);

    const auto background = art::getImage (art::Picture::tunerBackground);
    const auto reference = measure (runs, [&] (int)
    {
        juce::Graphics g (canvas);
        g.drawImageAt (background, 0, 0);
    });
    print ("reference: the background picture alone", reference);

    for (const auto& [mode, target] : { std::pair<const char*, double> { "Chromatic", -800.0 }, { "Guitar", -2900.0 } })
    {
        while (page.getCurrentMode()->getName() != mode)
            page.getButton (SectionTuner::modeDown).triggerClick(), juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

        std::printf ("%s mode, a string tuned up through its note:\n", mode);
        // A report alone is too short for the clock: timed in batches of 1000.
        const auto report = measure (runs / 10, [&] (int i)
        {
            for (int j = 0; j < 1000; ++j)
            {
                clock += 25;
                page.setFreq (pitchAt (i * 1000 + j, target));
            }
        });
        print ("  pitch report (setFreq)", report, "us", 1.0);

        const auto update = measure (runs, [&] (int i)
        {
            clock += 25;
            page.setFreq (pitchAt (i, target));
            paintPage();
        });
        print ("  pitch report and the repaint that shows it", update);

        const auto step = measure (runs, [&] (int)
        {
            clock += 1;   // well within the 3 s a pitch is shown
            page.timerCallback();
            paintPage();
        });
        print ("  timer step (lamps advanced, page repainted)", step);
        std::printf ("[ figure ]   ratio to the background alone: %.1f; message thread taken at 40 repaints/s: %.2f %%\n",
                     update.median / std::max (1.0e-6, reference.median), step.median * 40.0 / 10.0);
    }

    // The blank page (no pitch for 3 s).
    clock += 5000;
    page.timerCallback();
    const auto blank = measure (runs, [&] (int) { paintPage(); });
    print ("blank page repaint", blank);
    return 0;
}
