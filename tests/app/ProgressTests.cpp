#include "app/FileCopyThread.h"
#include "app/ProgressWindow.h"
#include "platform/DataFolders.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace T730;

namespace
{
/** A worker that reports done after a number of ticks and counts what it was asked. */
struct ScriptedWorker : ProgressWindowListener
{
    explicit ScriptedWorker (int ticks) : ticksUntilDone (ticks) {}

    float advance() override
    {
        ++advances;
        return juce::jmin (1.0f, (float) advances / 10.0f);
    }
    void cancel() override { ++cancels; }
    bool isDone() override { return advances >= ticksUntilDone; }

    int ticksUntilDone, advances = 0, cancels = 0;
};
} // namespace

TEST (AppProgressWindow, CopyThreadBarReachesItsTargetIn34TicksAndWaitsThere)
{
    FileCopyThread copier (nullptr); // never started: the test plays the copy thread's part
    copier.setTargetProgress (0.1f);
    ProgressWindow window (&copier);
    window.stopTimer(); // ticks are driven by hand

    for (int tick = 1; tick <= 33; ++tick)
        window.timerCallback();
    EXPECT_LT (window.getProgress(), 0.1f);

    window.timerCallback();
    EXPECT_GE (window.getProgress(), 0.1f);
    const auto reached = window.getProgress();

    for (int tick = 0; tick < 20; ++tick)
        window.timerCallback();
    EXPECT_EQ (window.getProgress(), reached) << "no growth until the next target";

    copier.setTargetProgress (0.3f);
    window.timerCallback();
    EXPECT_GT (window.getProgress(), reached);
}

TEST (AppProgressWindow, WindowTakesTheBackgroundSizeAndTheBarFitsInsideIt)
{
    const auto pictures = ProgressWindow::getProgramPictures();
    ASSERT_TRUE (pictures.background.isValid());
    ASSERT_TRUE (pictures.texture.isValid());
    ASSERT_TRUE (pictures.overlay.isValid());
    EXPECT_EQ (pictures.overlay.getBounds(), pictures.texture.getBounds());

    ProgressWindow window (nullptr);
    EXPECT_EQ (window.getWidth(), pictures.background.getWidth());
    EXPECT_EQ (window.getHeight(), pictures.background.getHeight());
    EXPECT_LE (ProgressWindow::barX + pictures.texture.getWidth(), window.getWidth());
    EXPECT_LE (ProgressWindow::barY + pictures.texture.getHeight(), window.getHeight());
}

TEST (AppProgressWindow, BarLayoutCoversExactlyTheFilledColumnsAtEveryPhase)
{
    constexpr int w = 40;
    for (int filled = 0; filled <= w; ++filled)
    {
        for (int phase = 0; phase < w; ++phase)
        {
            const auto spans = ProgressWindow::layoutBar (w, filled, phase);
            ASSERT_GE (spans.size(), 2);

            // Texture spans: together exactly the filled part, each inside the texture.
            juce::Array<int> covered;
            for (int i = 0; i < spans.size() - 1; ++i)
            {
                const auto& s = spans.getReference (i);
                ASSERT_GE (s.sourceX, 0);
                ASSERT_LE (s.sourceX + s.width, w) << filled << " " << phase;
                for (int x = 0; x < s.width; ++x)
                    covered.add (s.destOffset + x);
            }
            covered.sort();
            ASSERT_EQ (covered.size(), filled) << filled << " " << phase;
            for (int x = 0; x < filled; ++x)
                ASSERT_EQ (covered[x], x) << filled << " " << phase;

            // Column x of the bar shows texture column (x - phase) mod w: it scrolls right.
            for (int i = 0; i < spans.size() - 1; ++i)
            {
                const auto& s = spans.getReference (i);
                for (int x = 0; x < s.width; ++x)
                    ASSERT_EQ (s.sourceX + x, ((s.destOffset + x - phase) % w + w) % w);
            }

            const auto& overlay = spans.getLast();
            EXPECT_EQ (overlay.sourceX, w - filled);
            EXPECT_EQ (overlay.width, filled);
        }
    }
}

TEST (AppProgressWindow, PaintedBarFillsItsShareOfTheSlotFromTheLeft)
{
    struct HalfWay : ProgressWindowListener
    {
        float advance() override { return 0.5f; }
        void cancel() override {}
        bool isDone() override { return false; }
    } worker;

    ProgressWindow window (&worker);
    window.stopTimer();
    window.timerCallback();

    const auto barWidth = ProgressWindow::getProgramPictures().texture.getWidth();
    const auto barHeight = ProgressWindow::getProgramPictures().texture.getHeight();
    const auto snapshot = window.createComponentSnapshot (window.getLocalBounds(), true, 1.0f);
    const int y = ProgressWindow::barY + barHeight / 2 + 2; // below the gloss, above the shade

    const auto isOrange = [] (juce::Colour c) { return c.getRed() > 150 && c.getGreen() > 70 && c.getBlue() < 60; };
    for (int x = 0; x < barWidth / 2 - 10; x += 7)
        EXPECT_TRUE (isOrange (snapshot.getPixelAt (ProgressWindow::barX + x, y))) << "column " << x;

    for (int x = barWidth / 2 + 2; x < barWidth; x += 7)
        EXPECT_LT (snapshot.getPixelAt (ProgressWindow::barX + x, y).getBrightness(), 0.2f) << "column " << x;
}

TEST (AppFileCopyThread, RunCopiesTheFiveFoldersAndReportsDone)
{
    oxatest::TempFolder temp;
    const auto install = temp / "install";
    for (const auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
        ASSERT_TRUE (install.getChildFile (name).getChildFile ("factory.txt").create().wasOk()
                    && install.getChildFile (name).getChildFile ("factory.txt").replaceWithText (name));
    overrideFolderRoots (install, temp / "Documents");

    FileCopyThread copier (nullptr);
    EXPECT_FALSE (copier.isDone());
    copier.startThread();
    ASSERT_TRUE (copier.waitForThreadToExit (10000));
    clearFolderRootOverrides();

    EXPECT_TRUE (copier.isDone());
    for (const auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
        EXPECT_EQ ((temp / "Documents/VELD/OXA Tools").getChildFile (name).getChildFile ("factory.txt").loadFileAsString(),
                   juce::String (name));

    // The bar now runs to the last target and stops there.
    float progress = 0.0f;
    for (int tick = 0; tick < 1000; ++tick)
        progress = copier.advance();
    EXPECT_NEAR (progress, 0.95f, FileCopyThread::step);
}

TEST (AppGuiProgressWindow, DialogClosesWhenTheWorkerIsDone)
{
    ScriptedWorker worker (5);
    const auto start = juce::Time::getMillisecondCounter();
    runProgress (&worker, nullptr, true);
    const auto elapsed = juce::Time::getMillisecondCounter() - start;

    EXPECT_EQ (worker.advances, 6) << "the tick that sees done still advances once";
    EXPECT_EQ (worker.cancels, 0) << "no cancel at start-up";
    EXPECT_GE (elapsed, 5u * 40u) << "ticks every 40 ms";
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);

    ScriptedWorker later (2);
    runProgress (&later, nullptr, false);
    EXPECT_EQ (later.cancels, 1) << "outside start-up the worker is told when the dialog returns";
}
