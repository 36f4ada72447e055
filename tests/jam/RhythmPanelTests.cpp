// The rhythm panel: the tempo label and slider rules, the bar keys, the key, count,
// kit and voice menus, the song's end, the meters, the enabling rules, the figures'
// lifetime and the write-through of every change to the rhythm setting file.
#include "RhythmPanelTestSupport.h"
#include "ui/UiTestSupport.h"

#include "art/ProgramArt.h"
#include "jam/SectionJam.h"
#include "players/Figures.h"
#include "rhythm/RootIndex.h"

using namespace T730;
using namespace jamtest;

namespace
{
    struct MenuItem
    {
        int id;
        juce::String text;
        bool ticked;
    };

    std::vector<MenuItem> itemsOf (const juce::PopupMenu& menu)
    {
        std::vector<MenuItem> items;
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            items.push_back ({ it.getItem().itemID, it.getItem().text, it.getItem().isTicked });
        return items;
    }

    juce::MouseEvent mouseAt (juce::Component& c, int x, int y)
    {
        return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { (float) x, (float) y },
                                 juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c,
                                 juce::Time::getCurrentTime(), { (float) x, (float) y }, juce::Time::getCurrentTime(), 1,
                                 false);
    }

    /** A jam without armed recorders (no count-in), as the transport asks. */
    struct QuietJam : JamOwner
    {
        bool isAnyRecorderArmed() override { return false; }
        void itemsStopped() override {}
        void loopWrapped() override {}
        void itemsLocated() override {}
        void jamChanged() override {}
    };

    class JamGuiRhythmPanel : public RhythmPanelFixture
    {
    protected:
        JamGuiRhythmPanel() { sync.setOwner (&jam); }
        ~JamGuiRhythmPanel() override { sync.setOwner (nullptr); }

        /** Types into the tempo label's editor as the keyboard would, then commits. */
        void typeTempo (const juce::String& keys)
        {
            auto& label = panel->getTempoLabel();
            label.showEditor();
            auto* editor = label.getCurrentTextEditor();
            ASSERT_NE (editor, nullptr);
            EXPECT_EQ (editor->getName(), "RhythmerEditor");
            editor->selectAll();
            editor->insertTextAtCaret (keys);
            label.hideEditor (false);
        }

        PlayState& state() { return *machine->getCurrentPlayState(); }

        QuietJam jam;
    };
} // namespace

TEST_F (JamGuiRhythmPanel, TempoLabelTakesFortyToTwoHundredFiftyWhileStoppedAndSaves)
{
    makePanel (4, 0, "C.......", "C", 100);
    auto& label = panel->getTempoLabel();
    EXPECT_EQ (label.getText(), "100");

    for (const char* refused : { "30", "251", "0", "39" })
    {
        typeTempo (refused);
        EXPECT_EQ (label.getText(), "100") << refused;
        EXPECT_EQ (state().getTempo(), 100) << refused;
    }
    EXPECT_FALSE (settingFile().exists()) << "a refused tempo changes nothing";

    typeTempo ("1205");   // the editor takes three digits: 120
    EXPECT_EQ (label.getText(), "120");
    EXPECT_EQ (state().getTempo(), 120);
    EXPECT_EQ (machine->getSong().BPM, 120);
    ASSERT_TRUE (settingFile().existsAsFile());
    EXPECT_EQ (savedSong().BPM, 120);
    // The song's grid follows the tempo: a 4/4 bar is 88200 samples at 120 BPM.
    ASSERT_GE (panel->getChordProgress().getBarStarts().size(), 2u);
    EXPECT_EQ (panel->getChordProgress().getBarStarts()[1], 88200);
    EXPECT_EQ (panel->getLocateBar().getMaximum(), machine->getLength());

    typeTempo ("9x0");    // letters are not taken
    EXPECT_EQ (label.getText(), "90");
    EXPECT_EQ (state().getTempo(), 90);

    // While playing the label only shows the tempo.
    ScopedAudioRunning running;
    AudioPump pump (*machine, sync);
    panel->startOrPause (true);
    ASSERT_FALSE (state().isStopped());
    typeTempo ("150");
    EXPECT_EQ (label.getText(), "90");
    EXPECT_EQ (state().getTempo(), 90);
    panel->stopPlaying();
    EXPECT_TRUE (state().isStopped());
}

TEST_F (JamGuiRhythmPanel, TempoSliderShowsOverBpmAndSavesAtTheDragEnd)
{
    makePanel (4, 0, "C.......", "C", 100);
    auto& slider = panel->getTempoSlider();
    EXPECT_FALSE (slider.isVisible());
    EXPECT_EQ (slider.getMinimum(), 40.0);
    EXPECT_EQ (slider.getMaximum(), 250.0);

    panel->mouseMove (mouseAt (*panel, 200, 10));   // not over "BPM:"
    EXPECT_FALSE (slider.isVisible());
    panel->mouseMove (mouseAt (*panel, 270, 10));
    ASSERT_TRUE (slider.isVisible());
    EXPECT_EQ (slider.getValue(), 100.0);

    slider.setValue (140.0, juce::sendNotificationSync);
    EXPECT_EQ (state().getTempo(), 140);
    EXPECT_EQ (panel->getTempoLabel().getText(), "140");
    EXPECT_FALSE (settingFile().exists()) << "saved only when the drag ends";

    // A drag: press, move, release (the release saves).
    slider.mouseDown (mouseAt (slider, 45, 5));
    slider.mouseUp (mouseAt (slider, 45, 5));
    ASSERT_TRUE (settingFile().existsAsFile());
    EXPECT_EQ (savedSong().BPM, state().getTempo());

    // With the rhythm off it does not come up.
    slider.setVisible (false);
    panel->switchPower (false);
    panel->mouseMove (mouseAt (*panel, 270, 10));
    EXPECT_FALSE (slider.isVisible());
}

TEST_F (JamGuiRhythmPanel, BarKeysStepThroughTheSongsBars)
{
    makePanel (4, 1);   // four bars of 88200 samples, looping
    const juce::int64 bar = 88200, length = machine->getLength();
    ASSERT_EQ (length, 4 * bar);

    // 0.2 s after a bar start: to the bar before; 1 s after it: to its start.
    machine->locateTo (bar + 8820);
    panel->stepToPreviousBar();
    EXPECT_EQ (state().getPosition(), 0);
    machine->locateTo (2 * bar + 44100);
    panel->stepToPreviousBar();
    EXPECT_EQ (state().getPosition(), 2 * bar);
    machine->locateTo (2 * bar + 22050);   // exactly half a second: still the bar before
    panel->stepToPreviousBar();
    EXPECT_EQ (state().getPosition(), bar);

    // Early in a later pass: the start of the last bar of the pass before.
    machine->locateTo (length + 1000);
    panel->stepToPreviousBar();
    EXPECT_EQ (state().getPosition(), 3 * bar);
    // Early in the first pass there is none: the start of the song.
    machine->locateTo (1000);
    panel->stepToPreviousBar();
    EXPECT_EQ (state().getPosition(), 0);

    machine->locateTo (bar + 5);
    panel->stepToNextBar();
    EXPECT_EQ (state().getPosition(), 2 * bar);
    machine->locateTo (2 * length + 3 * bar + 7);   // the third pass's last bar: on to the next pass
    panel->stepToNextBar();
    EXPECT_EQ (state().getPosition(), 3 * length);

    // Through the keys themselves.
    machine->locateTo (bar + 44100);
    panel->getNextBarButton().triggerClick();
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return state().getPosition() == 2 * bar; }, 3000));
    panel->getPreviousBarButton().triggerClick();
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return state().getPosition() == bar; }, 3000));
}

TEST_F (JamGuiRhythmPanel, KeyMenuHasThirteenKeysAroundTheSongRoot)
{
    makePanel (2, 0, "C.......Am......", "D");   // the pattern's bass is written in D
    EXPECT_EQ (panel->getKeyButton().getButtonText(), "D");

    const auto items = itemsOf (panel->makeKeyMenu());
    ASSERT_EQ (items.size(), 13u);
    for (int i = 1; i <= 13; ++i)
    {
        EXPECT_EQ (items[(size_t) i - 1].id, i);
        EXPECT_EQ (items[(size_t) i - 1].text, RootIndex::toName (2 + i - 7));
        EXPECT_EQ (items[(size_t) i - 1].ticked, i == 7);
    }

    panel->chooseKey (13);
    EXPECT_EQ (machine->getTranspose(), 6);
    EXPECT_EQ (machine->getSong().RootChord, 6);
    EXPECT_EQ (panel->getKeyButton().getButtonText(), "G#");   // six semitones above D
    EXPECT_EQ (panel->getChordProgress().getTranspose(), 6);
    ASSERT_FALSE (panel->getChordProgress().getLaidOutChords().empty());
    EXPECT_EQ (panel->getChordProgress().getLaidOutChords()[0].text, "F#");
    EXPECT_EQ (savedSong().RootChord, 6);
    EXPECT_TRUE (itemsOf (panel->makeKeyMenu())[12].ticked);

    panel->chooseKey (7);
    EXPECT_EQ (machine->getTranspose(), 0);
    EXPECT_EQ (panel->getKeyButton().getButtonText(), "D");
    EXPECT_EQ (panel->getChordProgress().getLaidOutChords()[0].text, "C");
    EXPECT_EQ (savedSong().RootChord, 0);

    panel->chooseKey (1);
    EXPECT_EQ (machine->getTranspose(), -6);
    panel->chooseKey (14);   // no such item
    EXPECT_EQ (machine->getTranspose(), -6);
}

TEST_F (JamGuiRhythmPanel, WithoutLoopOrRecorderTheSongEndStopsAndReturnsToTheStart)
{
    ScopedAudioRunning running;
    makePanel (1, 0);
    const auto length = machine->getLength();
    ASSERT_EQ (length, 88200);
    AudioPump pump (*machine, sync);

    // With a recorder in the jam the rhythm plays on (the recorder may be recording).
    link.recorders = 1;
    panel->startOrPause (true);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return state().getPosition() > length; }, 5000));
    panel->updateLocate();
    EXPECT_FALSE (state().isStopped());
    EXPECT_EQ (panel->getLocateBar().getValue(), length);
    panel->stopPlaying();
    ASSERT_TRUE (state().isStopped());

    link.recorders = 0;
    panel->startOrPause (true);
    EXPECT_TRUE (panel->getPlayButton().getToggleState());
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return state().getPosition() >= length; }, 5000));
    panel->getLocateBar().tick();
    EXPECT_TRUE (state().isStopped());
    EXPECT_EQ (state().getPosition(), 0);
    EXPECT_EQ (panel->getLocateBar().getValue(), 0);
    EXPECT_FALSE (panel->getPlayButton().getToggleState());
}

TEST_F (JamGuiRhythmPanel, MetersLightSixPixelsPerStepFromTheBottom)
{
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (0.0f), 1);
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (0.0015849f), 7);
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (0.5f), 37);
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (0.9f), 43);
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (1.0f), 51);
    EXPECT_EQ (rhythmpanel::LvMeter::litHeight (1.2f), 51);

    const auto image = art::getImage (art::Picture::rhythmMeter);
    ASSERT_EQ (image.getHeight(), rhythmpanel::LvMeter::imageHeight);
    rhythmpanel::LvMeter meter;
    meter.setImage (image);
    meter.setBounds (0, 0, image.getWidth(), image.getHeight());

    const auto litRowsMatch = [&] (int litRows)
    {
        const auto shot = uitest::snapshot (meter);
        int wrong = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto expected = y >= image.getHeight() - litRows ? image.getPixelAt (x, y).getAlpha() : 0;
                if (std::abs ((int) shot.getPixelAt (x, y).getAlpha() - (int) expected) > 2)
                    ++wrong;
            }
        return wrong;
    };
    meter.setValue (0.5f);
    EXPECT_EQ (meter.getLitHeight(), 37);
    EXPECT_EQ (litRowsMatch (37), 0);
    meter.setValue (1.2f);
    EXPECT_EQ (litRowsMatch (51), 0) << "the whole picture";
    meter.setValue (0.5f);   // the peak of 51 is held above the lit part
    EXPECT_EQ (meter.getPeakHeight(), 51);
    meter.setValue (-1.0f);
    EXPECT_EQ (meter.getLitHeight(), 0);
    EXPECT_EQ (litRowsMatch (0), 0);

    // The panel's meters read the machine's parts while playing and go dark when stopped.
    makePanel();
    panel->getDrumMeter().setValue (0.5f);
    panel->refresh();
    EXPECT_EQ (panel->getDrumMeter().getLitHeight(), 0);
    EXPECT_EQ (panel->getDrumMeter().getBounds(), juce::Rectangle<int> (8, 70, 12, 48));
}

TEST_F (JamGuiRhythmPanel, KitAndVoiceMenusComeFromTheEngineAndSave)
{
    makePanel();
    EXPECT_TRUE (panel->getDrumKitButton().isEnabled());
    EXPECT_EQ (panel->getDrumKitButton().getButtonText(), "Fake Kit 0");
    EXPECT_EQ (panel->getBassVoiceButton().getButtonText(), "Fake Bass 0");

    const auto kits = itemsOf (panel->makeDrumKitMenu());
    ASSERT_EQ (kits.size(), 4u);
    EXPECT_EQ (kits[3].text, "Fake Kit 3");
    EXPECT_TRUE (kits[0].ticked);
    EXPECT_EQ (itemsOf (panel->makeBassVoiceMenu()).size(), 3u);

    panel->chooseDrumKit (2);
    EXPECT_EQ (machine->getSong().RhythmVoice, 2);
    EXPECT_EQ (panel->getDrumKitButton().getButtonText(), "Fake Kit 2");
    EXPECT_EQ (savedSong().RhythmVoice, 2);
    EXPECT_TRUE (itemsOf (panel->makeDrumKitMenu())[2].ticked);

    panel->chooseBassVoice (1);
    EXPECT_EQ (savedSong().BassVoice, 1);
    panel->chooseBassVoice (3);   // the engine has three
    EXPECT_EQ (machine->getSong().BassVoice, 1);
}

TEST_F (JamGuiRhythmPanel, WithoutAnEngineInstanceKitAndVoiceAreDisabled)
{
    environment.engineLibrary = temp / "no-such-engine.so";
    makePanel();
    ASSERT_EQ (machine->getDrumInstance(), nullptr);
    ASSERT_EQ (machine->getBassInstance(), nullptr);
    panel->refresh();
    EXPECT_FALSE (panel->getDrumKitButton().isEnabled());
    EXPECT_FALSE (panel->getBassVoiceButton().isEnabled());
    EXPECT_EQ (panel->getDrumKitButton().getButtonText(), "---");
    EXPECT_EQ (panel->makeDrumKitMenu().getNumItems(), 0);
    EXPECT_EQ (panel->makeBassVoiceMenu().getNumItems(), 0);
    panel->chooseDrumKit (0);
    panel->chooseBassVoice (0);
    EXPECT_FALSE (settingFile().exists()) << "nothing was chosen";
    // The rest of the panel works as before.
    EXPECT_TRUE (panel->getPlayButton().isEnabled());
    EXPECT_TRUE (panel->getKeyButton().isEnabled());
}

TEST_F (JamGuiRhythmPanel, CountMenuSetsTheToolSetsCountInWithAnUndoStep)
{
    makePanel();
    const auto items = itemsOf (panel->makeCountMenu());
    ASSERT_EQ (items.size(), 10u);
    EXPECT_EQ (items[0].text, "SP");
    EXPECT_EQ (items[1].text, "OFF");
    EXPECT_TRUE (items[1].ticked);
    EXPECT_EQ (items[9].text, "8");

    panel->chooseCount (-1);
    EXPECT_EQ (machine->getPreCount(), -1);
    EXPECT_EQ (panel->getCountButton().getButtonText(), "SP");
    EXPECT_EQ (link.project.PreCount, -1);
    EXPECT_EQ (link.undoSteps, 1);
    panel->chooseCount (4);
    EXPECT_EQ (panel->getCountButton().getButtonText(), "4");
    panel->refresh();
    EXPECT_EQ (panel->getCountButton().getButtonText(), "4");
    EXPECT_FALSE (settingFile().exists()) << "the count-in belongs to the tool set, not to the setting file";
}

TEST_F (JamGuiRhythmPanel, EveryChangeIsWrittenThroughAndTheRulesFollowTheTransport)
{
    makePanel();
    EXPECT_EQ (panel->getSongNameLabel().getText(), "[  Song.xml  ]");
    EXPECT_EQ (panel->getPowerButton().getName(), "PowerButton");
    EXPECT_EQ (panel->getPreviousBarButton().getComponentID(), "PreviousBar");

    panel->setRepeat (true);
    EXPECT_EQ (savedSong().Repeat, 1);
    panel->setDrumMute (true);
    EXPECT_EQ (savedSong().RhythmMute, 1);
    panel->setBassMute (true);
    EXPECT_EQ (savedSong().BassMute, 1);
    panel->refresh();
    EXPECT_TRUE (panel->getRepeatButton().getToggleState());
    EXPECT_TRUE (panel->getDrumMuteButton().getToggleState());

    // A level drag: the value at once, the file at the drag's end.
    auto& level = panel->getDrumLevelSlider();
    level.mouseDown (mouseAt (level, 10, 6));
    EXPECT_LT (machine->getSong().RhythmLv, 100);
    const int dragged = machine->getSong().RhythmLv;
    EXPECT_EQ (savedSong().RhythmLv, 100);
    level.mouseUp (mouseAt (level, 10, 6));
    EXPECT_EQ (savedSong().RhythmLv, dragged);

    // Power off: saved, and everything but power and close waits for it.
    panel->switchPower (false);
    EXPECT_FALSE (machine->isRhythmOn());
    EXPECT_EQ (savedSong().OnOff, 0);
    EXPECT_TRUE (panel->getPowerButton().isEnabled());
    EXPECT_TRUE (panel->getCloseButton().isEnabled());
    for (auto* c : std::initializer_list<juce::Component*> { &panel->getPlayButton(), &panel->getStopButton(),
                                                             &panel->getRepeatButton(), &panel->getCountButton(),
                                                             &panel->getKeyButton(), &panel->getLocateBar(),
                                                             &panel->getDrumLevelSlider(), &panel->getDrumKitButton() })
        EXPECT_FALSE (c->isEnabled()) << c->getComponentID();
    EXPECT_FALSE (panel->getTempoLabel().isEditableOnSingleClick());
    panel->switchPower (true);
    EXPECT_EQ (savedSong().OnOff, 1);

    // While playing: no power, close, loop or count-in changes.
    ScopedAudioRunning running;
    AudioPump pump (*machine, sync);
    panel->startOrPause (true);
    panel->refresh();
    EXPECT_FALSE (panel->getPowerButton().isEnabled());
    EXPECT_FALSE (panel->getCloseButton().isEnabled());
    EXPECT_FALSE (panel->getRepeatButton().isEnabled());
    EXPECT_FALSE (panel->getCountButton().isEnabled());
    EXPECT_TRUE (panel->getPlayButton().getToggleState());
    EXPECT_TRUE (panel->getNextBarButton().isEnabled());
    panel->stopPlaying();
    panel->refresh();
    EXPECT_TRUE (panel->getPowerButton().isEnabled());
    EXPECT_FALSE (panel->getPlayButton().getToggleState());
}

TEST_F (JamGuiRhythmPanel, PositionsPastThirtyTwoBitsStayExact)
{
    // 70000 quarter notes at 40 BPM: 4 630 500 000 samples, past 2^32.
    writePattern ("Long", { { 0, 0x99, 36, 100 }, { 240, 0x89, 36, 0 } }, 480 * 70000, "4/4", 1024);
    const auto song = writeSong ("Long.xml", { { "Long", 0 } }, 40);
    machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (song, {}));
    panel = new RhythmerUI (*machine, link, oxatest::stageFolder().getChildFile ("resources"));
    const auto length = machine->getLength();
    ASSERT_EQ (length, (juce::int64) 4630500000);
    panel->refresh();
    EXPECT_EQ (panel->getLocateBar().getMaximum(), length);

    auto& bar = panel->getLocateBar();
    bar.mouseDown (mouseAt (bar, 100, 8));
    EXPECT_TRUE (bar.isDragging());
    bar.mouseUp (mouseAt (bar, 100, 8));
    EXPECT_FALSE (bar.isDragging());
    const auto expected = (juce::int64) (100 - 9 / 2) * length / (123 - 9);
    EXPECT_EQ (bar.getValue(), expected);
    EXPECT_GT (expected, (juce::int64) 0xffffffff / 2);
    EXPECT_EQ (state().getPosition(), expected) << "the drag's end moves the song there";

    // 90 061.23 seconds of play.
    EXPECT_EQ (rhythmpanel::PlayTime::textFor ((juce::int64) 3971700243), "1501m1s");
    EXPECT_EQ (rhythmpanel::PlayTime::textFor (127 * 44100 + 5), "2m7s");
    machine->locateTo ((juce::int64) 3971700243);
    panel->getPlayTime().setPosition (state().getPosition());
    EXPECT_EQ (panel->getPlayTime().getText(), "1501m1s");
}

TEST_F (JamGuiRhythmPanel, FiguresLiveOnlyWhileOpenAndNotAboveTheSection)
{
    makePanel();
    EXPECT_EQ (panel->getDrummer(), nullptr) << "made once the section places the panel";
    panel->placed (10);
    ASSERT_NE (panel->getDrummer(), nullptr);
    ASSERT_NE (panel->getBassist(), nullptr);
    EXPECT_EQ (panel->getDrummer()->getBounds(), juce::Rectangle<int> (25, 19, 92, 75));
    EXPECT_EQ (panel->getBassist()->getBounds().getPosition(), juce::Point<int> (260, 19));

    panel->placed (-1);
    EXPECT_EQ (panel->getDrummer(), nullptr);
    EXPECT_EQ (panel->getBassist(), nullptr);
    panel->placed (0);
    ASSERT_NE (panel->getDrummer(), nullptr);

    juce::Component::SafePointer<juce::Component> before (panel->getDrummer());
    panel->recreatePlayers();
    EXPECT_EQ (before.getComponent(), nullptr) << "the old figure is gone";
    ASSERT_NE (panel->getDrummer(), nullptr);

    panel->setFolded (true);
    EXPECT_EQ (panel->getHeight(), 22);
    EXPECT_EQ (panel->getDrummer(), nullptr);
    EXPECT_TRUE (link.updates.contains (jamSectionFlag));
    panel->placed (0);
    EXPECT_EQ (panel->getDrummer(), nullptr);
    panel->recreatePlayers();
    EXPECT_EQ (panel->getDrummer(), nullptr);
    panel->setFolded (false);
    EXPECT_EQ (panel->getHeight(), 124);
    EXPECT_NE (panel->getDrummer(), nullptr);
}

TEST_F (JamGuiRhythmPanel, TimersRunOnlyWhileShown)
{
    makePanel();
    EXPECT_FALSE (panel->arePanelTimersRunning());
    panel->tellShown();
    EXPECT_TRUE (panel->arePanelTimersRunning());
    EXPECT_TRUE (panel->getLocateBar().isRunning());
    EXPECT_TRUE (panel->getChordProgress().isFollowing());
    EXPECT_TRUE (panel->getDrumMeter().isRunning());
    EXPECT_TRUE (panel->getPlayTime().isRunning());
    panel->tellHidden();
    EXPECT_FALSE (panel->arePanelTimersRunning());
    EXPECT_FALSE (panel->getLocateBar().isRunning());
    EXPECT_FALSE (panel->getChordProgress().isFollowing());
    EXPECT_FALSE (panel->getBassMeter().isRunning());

    // Folded, only the panel's own timer runs (name, tempo and power show).
    panel->setFolded (true);
    panel->tellShown();
    EXPECT_TRUE (panel->arePanelTimersRunning());
    EXPECT_FALSE (panel->getLocateBar().isRunning());
    EXPECT_FALSE (panel->getPlayBBT().isRunning());
}

TEST_F (JamGuiRhythmPanel, ClosingSwitchesTheRhythmOffAndAsksToRemoveTheMachine)
{
    makePanel();
    panel->placed (0);
    machine->setPreCount (2);

    link.removeAnswer = requestFalse;
    EXPECT_FALSE (panel->remove());
    EXPECT_TRUE (sync.getMaster().isRhythmOn()) << "refused: it plays on as before";
    EXPECT_NE (panel->getDrummer(), nullptr);

    link.removeAnswer = requestTrue;
    EXPECT_TRUE (panel->remove());
    EXPECT_EQ (link.removedKind, 0);
    EXPECT_FALSE (sync.getMaster().isRhythmOn());
    EXPECT_EQ (machine->getPreCount(), 0);
    EXPECT_EQ (panel->getDrummer(), nullptr);

    // The machine lets go of its panel: the panel forgets it and stops.
    panel->tellShown();
    panel->itemDetached();
    EXPECT_EQ (panel->getRhythmer(), nullptr);
    EXPECT_FALSE (panel->arePanelTimersRunning());
    panel->refresh();
    panel->stepToNextBar();
    EXPECT_FALSE (panel->remove());
}

TEST_F (JamGuiRhythmPanel, BarBeatPlayTimeAndChordCursorFollowThePosition)
{
    makePanel (4, 1);
    panel->tellShown();
    machine->locateTo (88200 * 5 + 44100 + 100);   // the second pass: bar 2, beat 3
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return panel->getPlayBBT().getText() == "2-3"; }, 3000));
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return panel->getPlayTime().getText() == "0m11s"; }, 3000))
        << "the play time counts every pass";
    const int cursor = (int) ((88200 + 44100 + 100) * 7.0 / 22050.0);
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return panel->getChordProgress().getCursorX() == cursor; }, 3000));
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return panel->getLocateBar().getValue() == 88200 + 44100 + 100; }, 3000));

    // With the rhythm off the displays keep what they show.
    panel->switchPower (false);
    machine->locateTo (0);
    oxatest::pumpMessagesUntil ([] { return false; }, 300);
    EXPECT_EQ (panel->getPlayBBT().getText(), "2-3");
}

TEST_F (JamGuiRhythmPanel, TheSectionMakesThePanelShowsItAndLetsGoOfIt)
{
    makePanel();
    panel = nullptr;   // the section has the machine make its own
    link.jam = new JamArray (sync, nullptr, nullptr);
    link.jam->setRhythmItem (machine.get());

    juce::Component::SafePointer<juce::Component> made;
    {
        SectionJam section (link);
        ASSERT_EQ (section.getPanels().size(), 1);
        auto* shownPanel = dynamic_cast<RhythmerUI*> (section.getPanels()[0].get());
        ASSERT_NE (shownPanel, nullptr);
        made = shownPanel;
        EXPECT_EQ (shownPanel->getRhythmer(), machine.get());
        EXPECT_EQ (machine->getPanel().get(), static_cast<ItemPanel*> (shownPanel));
        EXPECT_EQ (shownPanel->getHeight(), 124);
        EXPECT_TRUE (shownPanel->arePanelTimersRunning());
        EXPECT_NE (shownPanel->getDrummer(), nullptr);
        EXPECT_TRUE (link.repaints.contains (0xffff));

        section.hide();
        EXPECT_FALSE (shownPanel->arePanelTimersRunning());

        juce::Component::SafePointer<juce::Component> before (shownPanel->getDrummer());
        section.setPlayersShown (true);
        EXPECT_EQ (before.getComponent(), nullptr);
        EXPECT_NE (shownPanel->getDrummer(), nullptr);
    }
    EXPECT_EQ (made.getComponent(), nullptr) << "no panel outlives the section";
    link.jam = nullptr;
}

TEST_F (JamGuiRhythmPanel, AnAuditionsPanelWritesNoSettingFile)
{
    writePattern ("P", { { 0, 0x99, 36, 100 } }, 1920);
    const auto song = writeSong ("Audition.xml", { { "P", 0 } });
    machine = makeMachine (true);
    ASSERT_TRUE (machine->loadSong (song, {}));
    panel = new RhythmerUI (*machine, link, oxatest::stageFolder().getChildFile ("resources"));
    panel->setRepeat (true);
    panel->chooseKey (9);
    EXPECT_EQ (machine->getTranspose(), 2);
    EXPECT_FALSE (settingFile().exists());
}

TEST_F (JamGuiRhythmPanel, DraggingThePositionShowsBarAndBeatAndMovesTheSongAtTheEnd)
{
    makePanel (4, 1);   // 352800 samples, looping
    machine->locateTo (2 * 352800 + 1000);   // the third pass
    panel->updateLocate();
    auto& bar = panel->getLocateBar();
    EXPECT_EQ (bar.getValue(), 1000);

    bar.mouseDown (mouseAt (bar, 66, 8));
    const auto value = (juce::int64) (66 - 4) * 352800 / (123 - 9);
    EXPECT_EQ (bar.getValue(), value);
    EXPECT_EQ (bar.getShownText(), "03-01");
    panel->updateLocate();   // a tick while dragging leaves the thumb where the mouse put it
    EXPECT_EQ (bar.getValue(), value);
    bar.mouseUp (mouseAt (bar, 66, 8));
    EXPECT_EQ (state().getPosition(), 2 * 352800 + value) << "within the pass being played";
}

TEST_F (JamGuiRhythmPanel, FiguresAnimateOnlyWhileShownAndTheRhythmIsOn)
{
    link.settings.Character = true;   // 3D views (they draw nothing here: the panel is on no screen)
    makePanel();
    panel->placed (0);
    ASSERT_NE (panel->getDrummer(), nullptr);
    ASSERT_NE (panel->getDrummer()->getView(), nullptr);
    auto paused = [this]
    {
        return std::make_pair (panel->getDrummer()->getView()->isPaused(), panel->getBassist()->getView()->isPaused());
    };

    panel->tellShown();
    EXPECT_EQ (paused(), std::make_pair (false, false));
    panel->tellHidden();
    EXPECT_EQ (paused(), std::make_pair (true, true));
    panel->tellShown();
    panel->switchPower (false);
    EXPECT_EQ (paused(), std::make_pair (true, true));
    panel->placed (2);   // moved within the section: still off
    EXPECT_EQ (paused(), std::make_pair (true, true));
    panel->switchPower (true);
    EXPECT_EQ (paused(), std::make_pair (false, false));
}

TEST_F (JamGuiRhythmPanel, FiguresCloseTheirViewsBeforeTheyLeaveTheWindow)
{
    // A 3D view that leaves the window with its context open leaves the window's
    // peer calling into a closed context on its next expose event (a crash some
    // time later). Every way the panel lets go of its figures closes them first.
    link.settings.Character = true;
    makePanel();
    juce::Component window;
    window.setBounds (0, 0, 360, 140);
    window.addAndMakeVisible (*panel);
    window.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    window.setVisible (true);

    const int before = Player::getOrphanedViewCount();
    auto openViews = [&]
    {
        panel->placed (0);
        window.repaint();
        return oxatest::pumpMessagesUntil ([&]
        {
            return panel->getDrummer() != nullptr && panel->getDrummer()->getView() != nullptr
                   && panel->getDrummer()->getView()->isReady() && panel->getBassist()->getView()->isReady();
        }, 10000);
    };

    ASSERT_TRUE (openViews());
    panel->recreatePlayers();
    EXPECT_EQ (Player::getOrphanedViewCount(), before) << "recreated";
    ASSERT_TRUE (openViews());
    panel->setFolded (true);
    EXPECT_EQ (Player::getOrphanedViewCount(), before) << "folded";
    panel->setFolded (false);
    ASSERT_TRUE (openViews());
    panel->placed (-1);
    EXPECT_EQ (Player::getOrphanedViewCount(), before) << "placed above the section";
    ASSERT_TRUE (openViews());
    panel->releasePlayers();
    EXPECT_EQ (Player::getOrphanedViewCount(), before) << "released";
    EXPECT_EQ (Player::getLiveViewCount(), 0);
    window.removeChildComponent (panel.get());
}
