// The splash, the version window and the CPU meter with its sampler.
#include "TestSupport.h"
#include "app/CpuMeter.h"
#include "app/Splash.h"
#include "art/ProgramArt.h"
#include "platform/DataFolders.h"
#include "ui/OxDialog.h"
#include "ui/T730LookAndFeel.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>
#include <deque>

using namespace T730;

namespace
{
/** Counters that advance by a script: each sample adds busy and idle time. */
struct ScriptedTimes
{
    CPUResource::Reader reader()
    {
        return [this] (CPUResource::Times& t)
        {
            if (failNext)
                return false;
            if (! steps.empty())
            {
                const auto [busy, idle] = steps.front();
                steps.pop_front();
                now.idle += idle;
                now.kernel += idle + busy / 2;
                now.user += busy - busy / 2;
            }
            t = now;
            return true;
        };
    }

    CPUResource::Times now { 1000, 5000, 3000 };
    std::deque<std::pair<juce::uint64, juce::uint64>> steps;
    bool failNext = false;
};

/** How many bar columns of the meter differ from its background picture. */
int litBarColumns (const juce::Image& shot)
{
    const auto background = art::getImage (art::Picture::cpuBackground);
    int lit = 0;
    for (int x = 51; x < 51 + 39; ++x)
        if (shot.getPixelAt (x, 9) != background.getPixelAt (x, 9) || shot.getPixelAt (x, 6) != background.getPixelAt (x, 6))
            lit = x - 51 + 1;
    return lit;
}
} // namespace

TEST (AppCpuMeter, LoadIsBusyOverTotalAveragedOverThreeSamples)
{
    CPUResource::Times times;
    ASSERT_TRUE (CPUResource::parseProcStat ("intr 5\ncpu  100 20 30 400 50 6 7 8 9 10\ncpu0 1 2 3 4\n", times));
    EXPECT_EQ (times.user, 120u);
    EXPECT_EQ (times.idle, 450u);
    EXPECT_EQ (times.kernel, 30u + 6u + 7u + 8u + 450u) << "kernel time includes idle time";
    EXPECT_FALSE (CPUResource::parseProcStat ("cpu0 1 2 3 4\n", times));
    EXPECT_FALSE (CPUResource::parseProcStat ("cpu x y z w\n", times));

    CPUResource::Times system;
    EXPECT_TRUE (CPUResource::readSystemTimes (system)) << "this system has /proc/stat";

    ScriptedTimes script;
    CPUResource sampler (script.reader());
    ASSERT_TRUE (sampler.isAvailable());

    script.steps = { { 50, 50 }, { 50, 50 }, { 50, 50 }, { 0, 0 }, { 0, 100 } };
    sampler.update();
    EXPECT_FLOAT_EQ (sampler.getLoad(), 0.5f / 3.0f) << "the empty history averages in";
    sampler.update();
    sampler.update();
    EXPECT_FLOAT_EQ (sampler.getLoad(), 0.5f);
    sampler.update();
    EXPECT_FLOAT_EQ (sampler.getLoad(), 1.0f / 3.0f) << "no time passed: that sample is 0";
    sampler.update();
    EXPECT_FLOAT_EQ (sampler.getLoad(), 0.5f / 3.0f) << "all idle: 0";

    script.failNext = true;
    sampler.update();
    EXPECT_FLOAT_EQ (sampler.getLoad(), 0.0f) << "a failed reading counts as no load";

    CPUResource unavailable ([] (CPUResource::Times&) { return false; });
    EXPECT_FALSE (unavailable.isAvailable());
    unavailable.update();
    EXPECT_FLOAT_EQ (unavailable.getLoad(), 0.0f);
}

TEST (AppCpuMeter, HalfTheLoadLightsNineteenPixels)
{
    EXPECT_EQ (CpuMeter::litWidth (0.5f), 19);
    EXPECT_EQ (CpuMeter::litWidth (1.0f), 39);
    EXPECT_EQ (CpuMeter::litWidth (0.0f), 0);

    ScriptedTimes script;
    CpuMeter meter (script.reader());
    EXPECT_EQ (meter.getWidth(), 150);
    EXPECT_EQ (meter.getHeight(), 23);
    EXPECT_EQ (litBarColumns (uitest::snapshot (meter)), 0);

    script.steps = { { 30, 30 }, { 30, 30 }, { 30, 30 } };
    for (int i = 0; i < 3; ++i)
        meter.timerCallback();
    EXPECT_FLOAT_EQ (meter.getLoad(), 0.5f);
    const auto shot = uitest::snapshot (meter);
    EXPECT_EQ (litBarColumns (shot), 19);
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 3), "cpu-meter"));
}

TEST (AppGuiCpuMeterWindow, HiddenUntilShownAndClosingStopsTheMeter)
{
    T730LookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
    {
        juce::Component main;
        CpuMeterWindow window (nullptr);
        EXPECT_EQ (window.getName(), "CPU Meter");
        EXPECT_FALSE (window.isVisible());
        EXPECT_TRUE (window.isAlwaysOnTop());
        EXPECT_FALSE (window.isResizable());
        EXPECT_FALSE (window.getMeter().isTimerRunning());

        window.showMeter();
        EXPECT_TRUE (window.isVisible());
        EXPECT_EQ (window.getMeter().getTimerInterval(), 1000);
        oxatest::pumpMessagesUntil ({}, 50);
        EXPECT_TRUE (uitest::writeScreenshot (uitest::snapshot (window), "cpu-meter-window"));

        window.closeButtonPressed();
        EXPECT_FALSE (window.isVisible());
        EXPECT_FALSE (window.getMeter().isTimerRunning());
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

TEST (AppGuiSplash, ComesUpAsOXAAndStaysAtLeastOneSecondWithoutBlocking)
{
    Splash splash;
    splash.show();
    ASSERT_TRUE (splash.isUp());
    EXPECT_EQ (splash.getName(), "OXA");
    EXPECT_EQ (splash.getWidth(), 452);
    EXPECT_EQ (splash.getHeight(), 283);
    EXPECT_TRUE (splash.isAlwaysOnTop());
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return splash.hasPainted(); }, 2000)) << "painted by the message loop";

    // Closed after 300 ms: close returns at once, the splash stays about 700 ms more.
    oxatest::pumpMessagesUntil ({}, 300 - (int) (juce::Time::getMillisecondCounter() - splash.getShownAt()));
    const auto before = juce::Time::getMillisecondCounter();
    splash.close();
    EXPECT_LT (juce::Time::getMillisecondCounter() - before, 50u);
    EXPECT_TRUE (splash.isUp());
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return ! splash.isUp(); }, 3000));
    const auto upFor = juce::Time::getMillisecondCounter() - splash.getShownAt();
    EXPECT_GE (upFor, 1000u);
    EXPECT_LT (upFor, 2500u) << "and then goes (a loaded machine may be late)";

    // A splash that was never shown closes at once.
    Splash other;
    other.close();
    EXPECT_FALSE (other.isUp());
}

TEST (AppVersionInf, TheSplashPictureWithBothVersionTexts)
{
    VersionInf info;
    info.setDeviceVersion ("1.10");
    EXPECT_EQ (info.getWidth(), 452);
    EXPECT_EQ (info.getHeight(), 283);
    EXPECT_EQ (info.getSystemVersion(), getModuleVersion());

    const auto shot = uitest::snapshot (info);
    const auto picture = art::getImage (art::Picture::splash);
    // White text on the picture's dark foot, in the two rows of the boxes at y 220 and 234.
    const auto whiteIn = [&] (int y0)
    {
        int white = 0;
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = 8; x < 308; ++x)
                white += shot.getPixelAt (x, y).getBrightness() > 0.9f && picture.getPixelAt (x, y).getBrightness() < 0.5f;
        return white;
    };
    EXPECT_GT (whiteIn (220), 30);
    EXPECT_GT (whiteIn (234), 30);
    EXPECT_TRUE (uitest::writeScreenshot (shot, "version"));
}

TEST (AppGuiVersionInf, ShownModallyTitledVersionInfo)
{
    T730LookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
    juce::String title;
    juce::Image shot;
    uitest::whenModal ([] { return uitest::findShowingWindow<OxDialogWindow>() != nullptr; }, [&]
    {
        auto* w = uitest::findShowingWindow<OxDialogWindow>();
        title = w->getName();
        shot = uitest::snapshot (*w);
        w->closeButtonPressed();
    });
    VersionInf::show ("1.10", nullptr);
    EXPECT_EQ (title, "Version Info");
    EXPECT_TRUE (uitest::writeScreenshot (shot, "version-window"));
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}
