// The jam section with two recorder panels made by their recorders, each with a
// take, one punching in over a stretch of its song, the other looping a part
// at a slower speed with snapping on: written for review as
// build/screenshots/jam-4.png (as in the window) and jam-4-zoomed.png.
#include "../ui/UiTestSupport.h"
#include "RecorderPanelTestSupport.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "jam/SectionJam.h"

using namespace T730;

namespace
{
/** Real recorders for the jam list. */
struct RecorderFactory final : public PlayableItemFactory
{
    PlayableItem::Ptr createRhythmItem (Synchronizer&, bool) override { return nullptr; }
    PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new Recorder (s, environment); }
    Recorder::Environment environment;
};

/** A guitar-like spread of band levels: strong mids, less lows and highs. */
void feedBands (Recorder& recorder, float scale)
{
    const float shape[15] = { 0.01f, 0.03f, 0.06f, 0.09f, 0.14f, 0.16f, 0.2f, 0.17f,
                              0.13f, 0.1f, 0.07f, 0.05f, 0.03f, 0.02f, 0.008f };
    for (int b = 0; b < 15; ++b)
        recorder.getSpectrum().publish (b, shape[b] * scale);
}

juce::Image stack (std::initializer_list<juce::Image> pictures, int gap)
{
    int w = 0, h = 0;
    for (const auto& p : pictures)
    {
        w = juce::jmax (w, p.getWidth());
        h += p.getHeight() + gap;
    }
    juce::Image out (juce::Image::RGB, w, h - gap, true);
    juce::Graphics g (out);
    g.fillAll (juce::Colour (0xff101012));
    int y = 0;
    for (const auto& p : pictures)
    {
        g.drawImageAt (p, 0, y);
        y += p.getHeight() + gap;
    }
    return out;
}
} // namespace

TEST (JamGuiRecorderScreenshot, TwoRecordersWithTakesPunchAndLoopRanges)
{
    oxatest::RecorderRig rig (false, 0, 0);
    jamtest::PanelController controller;
    controller.settings.CurrentProject = rig.toolSet().getFullPathName();
    controller.hasRhythm = true;

    RecorderFactory factory;
    factory.environment.owner = rig.owner;
    factory.environment.modules = &rig.modules;
    JamArray::Ptr jam (new JamArray (rig.sync, &factory, nullptr));
    jam->prepare (44100.0, 512);
    ASSERT_TRUE (jam->addItem ({}, 1, rig.toolSet()));
    ASSERT_TRUE (jam->addItem ({}, 1, rig.toolSet()));
    controller.jam = jam;

    const juce::int64 second = 44100;
    const auto sources = rig.toolSet().getChildFile ("sources");
    sources.createDirectory();
    const struct
    {
        const char* name;
        int seconds;
    } takes[] = { { "Rhythm guitar", 150 }, { "Solo", 120 } };

    juce::ReferenceCountedArray<Recorder> recorders;
    for (int i = 0; i < 2; ++i)
    {
        auto* recorder = dynamic_cast<Recorder*> (jam->getRecorder (i).get());
        ASSERT_NE (recorder, nullptr);
        recorders.add (recorder);
        recorder->saveSetting (rig.toolSet());
        const auto wave = sources.getChildFile (juce::String (i) + ".wav");
        ASSERT_TRUE (oxatest::writeConstantTake (wave, (int) (takes[i].seconds * second), 800));
        ASSERT_TRUE (recorder->importWave (wave));
        recorder->setName (takes[i].name);
    }
    controller.longest = 150 * second;

    // The first punches in over a stretch of the song; the second loops a part at 80 % with snapping.
    recorders[1]->setSpeed (80);   // first: a change of clock stops the transport
    recorders[0]->setPunchRange ({ 60 * second, 140 * second, true });
    recorders[0]->getStatus().Pan = 38;
    recorders[0]->locateTo (75 * second);
    recorders[1]->setLoopRange ({ 44 * second, 104 * second, true });
    recorders[1]->getStatus().Snap = true;
    recorders[1]->getStatus().Pan = 64;
    recorders[1]->setLevel (72);
    recorders[1]->locateTo (81 * second);

    SectionJam section (controller);
    ASSERT_EQ (section.getPanels().size(), 2);
    for (int i = 0; i < 2; ++i)
    {
        auto* panel = dynamic_cast<RecorderUI*> (section.getPanels()[i].get());
        ASSERT_NE (panel, nullptr);
        EXPECT_EQ (panel->getRecorder(), recorders[i].get());
        feedBands (*recorders[i], i == 0 ? 1.0f : 0.55f);
        panel->refresh();
        panel->getBandDisplay().timerCallback();
    }
    auto* first = dynamic_cast<RecorderUI*> (section.getPanels()[0].get());
    auto* second_ = dynamic_cast<RecorderUI*> (section.getPanels()[1].get());
    EXPECT_TRUE (first->getPunchBar().isVisible());
    EXPECT_FALSE (first->getLoopBar().isVisible());
    EXPECT_TRUE (second_->getLoopBar().isVisible());
    EXPECT_EQ (first->getLengthLabel().getText(), "(02:30:00)");
    EXPECT_EQ (first->getPositionLabel().getText(), "01:15:00");
    EXPECT_EQ (first->getPunchBar().getLetterCount(), 3);
    EXPECT_EQ (second_->getLoopBar().getLetterCount(), 1);
    EXPECT_EQ (second_->getSpeedSlider().getValue(), 3);

    // As in the window: the section over its part of the main background.
    juce::Image shot (juce::Image::RGB, section.getWidth(), section.getHeight(), true);
    {
        juce::Graphics g (shot);
        g.drawImageAt (art::getImage (art::Picture::mainBackground), -section.getX(), -section.getY());
        g.drawImageAt (uitest::snapshot (section), 0, 0);
    }
    EXPECT_TRUE (uitest::writeScreenshot (shot, "jam-4"));

    // Enlarged for the art's review, with the second panel folded under it.
    const auto panels = uitest::zoomed (shot, { 0, 0, 380, 2 * layout::jamRecorderOpenHeight + 4 }, 2);
    second_->setFolded (true);
    EXPECT_EQ (second_->getHeight(), layout::jamFoldedHeight);
    const auto folded = uitest::zoomed (uitest::snapshot (*second_), second_->getLocalBounds(), 2);
    EXPECT_TRUE (uitest::writeScreenshot (stack ({ panels, folded }, 8), "jam-4-zoomed"));
}
