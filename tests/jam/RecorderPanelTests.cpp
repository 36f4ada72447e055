// The recorder panel over a real recorder: what it shows, what its keys,
// sliders and range bars change and save, the enabling by panel state, WAV
// import and its errors, and the panel's life beside its recorder.
#include "../ui/UiTestSupport.h"
#include "RecorderPanelTestSupport.h"
#include "art/ArtLayout.h"
#include "jam/RecorderTime.h"

using namespace T730;
using jamtest::RecorderPanelRig;

namespace
{
/** Clicks a key as the user does (the click arrives as a posted message). */
void click (juce::Button& button)
{
    int clicks = 0;
    struct Counter : juce::Button::Listener
    {
        explicit Counter (int& n) : count (n) {}
        void buttonClicked (juce::Button*) override { ++count; }
        int& count;
    } counter (clicks);
    button.addListener (&counter);
    button.triggerClick();
    oxatest::pumpMessagesUntil ([&] { return clicks > 0; }, 1000);
    button.removeListener (&counter);
}

/** The audio thread's part of the transport commands: blocks until the recorder's play state has stopped. */
void runAudio (jamtest::RecorderPanelRig& r)
{
    for (int i = 0; i < 20 && ! r.recorder().getCurrentPlayState()->isStopped(); ++i)
        r.rig.block();
    r.rig.block();
}

juce::String savedText (Recorder& recorder, const juce::String& path)
{
    auto xml = jamtest::savedSetting (recorder);
    if (xml == nullptr)
        return "<no file>";
    auto* element = xml.get();
    for (const auto& step : juce::StringArray::fromTokens (path, "/", ""))
    {
        element = element != nullptr ? element->getChildByName (step) : nullptr;
    }
    return element != nullptr ? element->getAllSubText() : "<missing>";
}
} // namespace

TEST (JamGuiRecorderPanel, StretchZeroShowsFullSpeedAndTheSliderStandsForTenPercentSteps)
{
    RecorderPanelRig r;
    r.status().Stretch = 0;
    r.panel->refresh();
    EXPECT_EQ (r.panel->getSpeedSlider().getValue(), 5);
    EXPECT_EQ (r.panel->getSliderText (r.panel->getSpeedSlider()), "x1.0");

    r.recorder().setSpeed (70);
    r.panel->refresh();
    EXPECT_EQ (r.panel->getSpeedSlider().getValue(), 2);
    EXPECT_EQ (r.panel->getSliderText (r.panel->getSpeedSlider()), "x0.7");

    EXPECT_EQ (RecorderUI::stretchForPosition (0), 50);
    EXPECT_EQ (RecorderUI::stretchForPosition (5), 100);
    EXPECT_EQ (RecorderUI::speedPositionFor (50), 0);
    EXPECT_EQ (RecorderUI::speedPositionFor (100), 5);
}

TEST (JamGuiRecorderPanel, PositionAndLengthTextsAndTheSpanAreSixtyFourBit)
{
    RecorderPanelRig r;
    // 90 061 230 ms at 44.1 kHz: 3 971 700 243 samples, past 2^31.
    const juce::int64 at = 3971700243LL;
    r.controller.longest = 5000000000LL;
    r.recorder().locateTo (at);
    r.panel->refresh();

    EXPECT_EQ (r.panel->getPositionLabel().getText(), "1501:01:23");
    EXPECT_EQ (r.panel->getLengthLabel().getText(), "(00:00:00)");
    EXPECT_EQ (r.panel->getPositionSlider().getMaximum(), 5000000000LL + 60 * 44100 - 1);
    EXPECT_EQ (r.panel->getPositionSlider().getValue(), at);
    EXPECT_EQ (r.panel->getPunchBar().getMaximum(), 5000000000LL + 60 * 44100 - 1);
    EXPECT_EQ (r.panel->getSliderText (r.panel->getPositionSlider()), "1501:01:23");

    // The span is at least the play position.
    r.controller.longest = 0;
    r.panel->refresh();
    EXPECT_EQ (r.panel->currentSpan(), at);
    EXPECT_EQ (r.panel->getPositionSlider().getValue(), at - 1);
}

TEST (JamGuiRecorderPanel, ThreeOfEveryFourTicksRefreshTheWholePanelTheFourthOnlyThePosition)
{
    RecorderPanelRig r;
    for (int i = 0; i < 3; ++i)
        r.panel->tick();
    EXPECT_EQ (r.panel->getNameLabel().getText(), "Recorder 1");

    r.recorder().setName ("Lead");
    r.recorder().locateTo (44100 * 61);
    r.panel->tick();   // the fourth
    EXPECT_EQ (r.panel->getPositionLabel().getText(), "01:01:00");
    EXPECT_EQ (r.panel->getNameLabel().getText(), "Recorder 1");

    r.panel->tick();
    EXPECT_EQ (r.panel->getNameLabel().getText(), "Lead");

    // A recorder switched off keeps its position text.
    r.recorder().setOn (false);
    r.recorder().locateTo (44100 * 2);
    r.panel->tick();
    EXPECT_EQ (r.panel->getPositionLabel().getText(), "01:01:00");
}

TEST (JamGuiRecorderPanel, PunchInOutSwitchedOnWithoutARangeCoversTheSpanAndIsSaved)
{
    RecorderPanelRig r;
    r.controller.longest = 441000;
    r.panel->refresh();
    const auto maximum = r.panel->getPositionSlider().getMaximum();
    ASSERT_EQ (maximum, 441000 + 60 * 44100 - 1);
    EXPECT_FALSE (r.panel->getPunchBar().isVisible());

    click (r.panel->getPunchButton());
    EXPECT_TRUE (r.status().PIOPoint.enabled);
    EXPECT_EQ (r.status().PIOPoint.start, 0);
    EXPECT_EQ (r.status().PIOPoint.end, maximum - 1);
    EXPECT_TRUE (r.panel->getPunchBar().isVisible());
    EXPECT_EQ (r.panel->getPunchBar().getEnd(), maximum - 1);
    EXPECT_EQ (savedText (r.recorder(), "PIOPoint/OnOff"), "1");
    EXPECT_EQ (savedText (r.recorder(), "PIOPoint/EndPoint"), juce::String (maximum - 1));

    // Off and on again keeps the range it had.
    click (r.panel->getPunchButton());
    EXPECT_FALSE (r.panel->getPunchBar().isVisible());
    r.recorder().setPunchRange ({ 1000, 2000, false });
    click (r.panel->getPunchButton());
    EXPECT_EQ (r.status().PIOPoint, LocateRange (1000, 2000, true));
}

TEST (JamGuiRecorderPanel, LoopSwitchedOnBecomesTheMastersAndTheOtherRecorderLetsGo)
{
    RecorderPanelRig r;
    auto other = r.rig.make();
    other->setLoopRange ({ 10, 20, true });
    r.controller.followers.add (other.get());

    click (r.panel->getLoopButton());
    EXPECT_TRUE (r.status().LoopPoint.enabled);
    EXPECT_TRUE (r.controller.syncedTo.contains (&r.recorder()));
    EXPECT_FALSE (other->getStatus().LoopPoint.enabled);
    const auto master = r.rig.sync.getMaster().getLoopRange();
    EXPECT_TRUE (master.enabled);
    EXPECT_EQ (master.end, r.status().LoopPoint.end);
    EXPECT_TRUE (r.panel->getLoopBar().isVisible());
    EXPECT_EQ (savedText (r.recorder(), "LoopPoint/OnOff"), "1");

    // Moving its end moves the master's loop at once and is saved.
    auto& bar = r.panel->getLoopBar();
    jamtest::dragAlong (bar, { bar.getWidth() - 2, bar.getWidth() / 2 });
    EXPECT_LT (r.status().LoopPoint.end, master.end);
    EXPECT_EQ (r.rig.sync.getMaster().getLoopRange().end, r.status().LoopPoint.end);
    EXPECT_EQ (savedText (r.recorder(), "LoopPoint/EndPoint"), juce::String (r.status().LoopPoint.end));

    click (r.panel->getLoopButton());
    EXPECT_FALSE (r.rig.sync.getMaster().getLoopRange().enabled);
}

TEST (JamGuiRecorderPanel, RemovingTheRhythmMachineClearsSnapAtTheNextRefresh)
{
    RecorderPanelRig r;
    click (r.panel->getSnapButton());
    ASSERT_TRUE (r.status().Snap);
    EXPECT_TRUE (r.panel->getPositionSlider().isSnapping());
    EXPECT_TRUE (r.panel->getPunchBar().isSnapping());
    EXPECT_EQ (savedText (r.recorder(), "Snap"), "1");

    r.controller.hasRhythm = false;
    r.panel->refresh();
    EXPECT_FALSE (r.status().Snap);
    EXPECT_FALSE (r.panel->getSnapButton().getToggleState());
    EXPECT_FALSE (r.panel->getSnapButton().isEnabled());
    EXPECT_FALSE (r.panel->getLoopBar().isSnapping());
    EXPECT_EQ (savedText (r.recorder(), "Snap"), "0");
}

TEST (JamGuiRecorderPanel, SnappedPointsFollowTheMastersTempo)
{
    RecorderPanelRig r;
    r.rig.sync.getMaster().setTempo (60);   // one beat: 44100 samples
    click (r.panel->getSnapButton());
    click (r.panel->getPunchButton());
    auto& bar = r.panel->getPunchBar();
    ASSERT_TRUE (bar.isVisible());

    // x 14 lies about 68 000 samples in: the beat before is at 44 100.
    jamtest::dragAlong (bar, { bar.getWidth() - 2, 14 });
    EXPECT_EQ (r.status().PIOPoint.end, 44100);

    // The position slider's arrow keys step a beat while snapping.
    auto& slider = r.panel->getPositionSlider();
    slider.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
    EXPECT_EQ (slider.getValue(), 44100);
    EXPECT_EQ (r.recorder().getCurrentPlayState()->getPosition(), 44100);
    slider.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
    slider.keyPressed (juce::KeyPress (juce::KeyPress::leftKey));
    EXPECT_EQ (slider.getValue(), 44100);
}

TEST (JamGuiRecorderPanel, ASpeedChangeAcrossFullSpeedIsRefusedWhilePlaying)
{
    RecorderPanelRig r;
    r.recorder().play();
    r.rig.block();
    r.panel->refresh();
    ASSERT_EQ (r.panel->getPanelState(), RecorderUI::playingState);
    auto& speed = r.panel->getSpeedSlider();
    ASSERT_TRUE (speed.isEnabled());

    jamtest::dragAlong (speed, { 38, 38 });   // position 4: 90 %
    EXPECT_EQ (r.status().Stretch, 100);
    EXPECT_EQ (speed.getValue(), 5);
    EXPECT_TRUE (r.recorder().getCurrentPlayState()->isMaster());

    // Stopped, the change goes through: a slowed recorder runs on its own clock.
    click (r.panel->getStopButton());
    runAudio (r);
    r.panel->refresh();
    ASSERT_EQ (r.panel->getPanelState(), RecorderUI::stoppedState);
    jamtest::dragAlong (speed, { 38, 38 });
    EXPECT_EQ (r.status().Stretch, 90);
    EXPECT_FALSE (r.recorder().getCurrentPlayState()->isMaster());
    EXPECT_EQ (savedText (r.recorder(), "Stretch"), "90");
    EXPECT_FALSE (r.panel->getRecButton().isEnabled());
    EXPECT_EQ (r.panel->getSliderText (speed), "x0.9");

    r.panel->moveSpeedSlider (0);
    EXPECT_EQ (r.status().Stretch, 50);
    EXPECT_EQ (r.panel->getSpeedSlider().getValue(), 0);
    r.panel->moveSpeedSlider (4);

    // Switched off while the jam stands still, the recorder may go back to full speed.
    click (r.panel->getPowerButton());
    ASSERT_EQ (r.panel->getPanelState(), RecorderUI::offState);
    jamtest::dragAlong (speed, { speed.getThumbX() + 3, 48 });
    EXPECT_EQ (r.status().Stretch, 100);
    EXPECT_TRUE (r.recorder().getCurrentPlayState()->isMaster());
}

TEST (JamGuiRecorderPanel, ASpeedChangeDisarmsAndKeepsThePosition)
{
    RecorderPanelRig r;
    r.recorder().locateTo (5000);
    click (r.panel->getRecButton());
    ASSERT_TRUE (r.recorder().isArmed());
    EXPECT_TRUE (r.panel->getRecButton().getToggleState());
    EXPECT_TRUE (r.controller.syncedTo.contains (&r.recorder()));

    jamtest::dragAlong (r.panel->getSpeedSlider(), { 38, 38 });
    EXPECT_FALSE (r.recorder().isArmed());
    EXPECT_FALSE (r.panel->getRecButton().getToggleState());
    EXPECT_EQ (r.recorder().getCurrentPlayState()->getPosition(), 5000);
}

TEST (JamGuiRecorderPanel, ControlsAreEnabledByPanelState)
{
    RecorderPanelRig r;
    auto& p = *r.panel;
    p.refresh();
    ASSERT_EQ (p.getPanelState(), RecorderUI::stoppedState);
    for (juce::Component* c : std::initializer_list<juce::Component*> { &p.getPowerButton(), &p.getNewButton(), &p.getOpenButton(),
                                                                        &p.getPunchButton(), &p.getLoopButton(), &p.getLevelSlider(),
                                                                        &p.getFoldButton(), &p.getCloseButton(), &p.getRecButton() })
        EXPECT_TRUE (c->isEnabled()) << c->getName();
    EXPECT_FALSE (p.getTakePrevButton().isEnabled());
    EXPECT_FALSE (p.getTakeNextButton().isEnabled());

    r.recorder().play();
    r.rig.block();
    p.refresh();
    ASSERT_EQ (p.getPanelState(), RecorderUI::playingState);
    for (juce::Component* c : std::initializer_list<juce::Component*> { &p.getPowerButton(), &p.getNewButton(), &p.getOpenButton(),
                                                                        &p.getPunchButton(), &p.getPunchBar(), &p.getFoldButton(),
                                                                        &p.getCloseButton() })
        EXPECT_FALSE (c->isEnabled()) << c->getName();
    for (juce::Component* c : std::initializer_list<juce::Component*> { &p.getLevelSlider(), &p.getPanSlider(), &p.getPositionSlider(),
                                                                        &p.getPlayButton(), &p.getStopButton(), &p.getSpeedSlider(),
                                                                        &p.getRecButton(), &p.getSnapButton() })
        EXPECT_TRUE (c->isEnabled()) << c->getName();

    click (p.getStopButton());
    runAudio (r);
    p.refresh();
    EXPECT_FALSE (p.getPlayButton().getToggleState());
    EXPECT_TRUE (r.recorder().getCurrentPlayState()->isStopped());
    EXPECT_EQ (r.recorder().getCurrentPlayState()->getPosition(), 0);

    // Off: the power key, fold and close stay; the transport and the ranges go.
    click (p.getPowerButton());
    EXPECT_FALSE (r.status().OnOff);
    EXPECT_EQ (p.getPanelState(), RecorderUI::offState);
    EXPECT_EQ (savedText (r.recorder(), "OnOff"), "1");   // the power key is not saved
    for (juce::Component* c : std::initializer_list<juce::Component*> { &p.getPowerButton(), &p.getFoldButton(), &p.getCloseButton(),
                                                                        &p.getSpeedSlider(), &p.getRecButton() })
        EXPECT_TRUE (c->isEnabled()) << c->getName();
    for (juce::Component* c : std::initializer_list<juce::Component*> { &p.getLevelSlider(), &p.getPlayButton(), &p.getNewButton(),
                                                                        &p.getSnapButton(), &p.getLoopButton() })
        EXPECT_FALSE (c->isEnabled()) << c->getName();
}

TEST (JamGuiRecorderPanel, LevelPanAndMuteAreSetAndSavedWithTheirTooltips)
{
    RecorderPanelRig r;
    auto& p = *r.panel;
    jamtest::dragAlong (p.getPanSlider(), { p.getPanSlider().getThumbX() + 3, 47 });
    EXPECT_EQ (r.status().Pan, (int) p.getPanSlider().getValue());
    EXPECT_GT (r.status().Pan, 50);
    EXPECT_EQ (p.getSliderText (p.getPanSlider()), juce::String (r.status().Pan - 50));
    EXPECT_EQ (savedText (r.recorder(), "Pan"), juce::String (r.status().Pan));

    jamtest::dragAlong (p.getLevelSlider(), { p.getLevelSlider().getThumbX() + 3, 3 });
    EXPECT_EQ (r.status().Level, 0);
    EXPECT_EQ (p.getSliderText (p.getLevelSlider()), r.recorder().getLevelText());
    EXPECT_EQ (savedText (r.recorder(), "Level"), "0");

    click (p.getMuteButton());
    EXPECT_TRUE (r.status().Mute);
    EXPECT_EQ (savedText (r.recorder(), "Mute"), "1");
}

TEST (JamGuiRecorderPanel, TheNameTakesOnlyNameCharactersAndIsSaved)
{
    RecorderPanelRig r;
    auto& label = r.panel->getNameLabel();
    label.setText ("Bass <line> 2", juce::sendNotificationSync);
    EXPECT_EQ (r.recorder().getName(), "Bass line 2");
    EXPECT_EQ (label.getText(), "Bass line 2");
    EXPECT_EQ (savedText (r.recorder(), "Name"), "Bass line 2");

    label.setText (juce::String::repeatedString ("x", 40), juce::sendNotificationSync);
    EXPECT_EQ (r.recorder().getName().length(), 32);

    label.setText ("***", juce::sendNotificationSync);   // nothing left: the name stays
    EXPECT_EQ (r.recorder().getName().length(), 32);

    juce::Component holder;
    holder.setSize (400, 100);
    holder.addAndMakeVisible (*r.panel);
    holder.addToDesktop (0);
    holder.setVisible (true);
    label.showEditor();
    ASSERT_NE (label.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (label.getCurrentTextEditor()->getName(), "RecorderNameEditor");
    label.hideEditor (true);
    holder.removeChildComponent (r.panel.get());
}

TEST (JamGuiRecorderPanel, WavImportBecomesTheTakeAndResetsBothRanges)
{
    RecorderPanelRig r;
    r.recorder().setPunchRange ({ 100, 200, true });
    r.recorder().setLoopRange ({ 300, 400, true });
    r.controller.dialogs.answer = r.makeWave ("guitar.wav", 44100);

    click (r.panel->getOpenButton());
    EXPECT_EQ (r.controller.dialogs.askedExtension, "wav");
    EXPECT_EQ (r.controller.dialogs.openedAt.getFileName(), "Default");
    EXPECT_EQ (r.controller.dialogs.openedAt.getParentDirectory().getFileName(), "toolsets");
    EXPECT_TRUE (r.controller.dialogs.errors.isEmpty());

    EXPECT_EQ (r.recorder().getLength(), 44100);
    EXPECT_EQ (r.status().PIOPoint, LocateRange());
    EXPECT_EQ (r.status().LoopPoint, LocateRange());
    EXPECT_FALSE (r.rig.sync.getMaster().getLoopRange().enabled);
    EXPECT_EQ (savedText (r.recorder(), "PIOPoint/OnOff"), "0");
    EXPECT_NE (savedText (r.recorder(), "CurrentTake/OneRecord/Filename"), "<missing>");
    EXPECT_TRUE (r.controller.updates.contains (jamSectionFlag));
    EXPECT_EQ (r.panel->getLengthLabel().getText(), "(00:01:00)");

    // A second import: the take before it can be stepped back to.
    ASSERT_TRUE (r.panel->importWave (r.makeWave ("two.wav", 88200)));
    EXPECT_TRUE (r.panel->getTakePrevButton().isEnabled());
    EXPECT_TRUE (r.panel->getTakePrevButton().getToggleState());
    click (r.panel->getTakePrevButton());
    EXPECT_EQ (r.recorder().getLength(), 44100);
    EXPECT_TRUE (r.panel->getTakeNextButton().isEnabled());
    click (r.panel->getTakeNextButton());
    EXPECT_EQ (r.recorder().getLength(), 88200);
}

TEST (JamGuiRecorderPanel, AFailedImportShowsItsErrorOnceAndLeavesTheTake)
{
    RecorderPanelRig r;
    ASSERT_TRUE (r.panel->importWave (r.makeWave ("first.wav", 44100)));
    const auto take = savedText (r.recorder(), "CurrentTake/OneRecord/Filename");

    const auto broken = r.rig.toolSet().getChildFile ("sources/broken.wav");
    broken.replaceWithText ("RIFF but not a wave file at all");
    EXPECT_FALSE (r.panel->importWave (broken));
    EXPECT_EQ (r.controller.dialogs.errors, juce::StringArray ("WAV import error."));
    EXPECT_TRUE (r.rig.owner->problems.empty());   // told once: by the panel, not the recorder too
    EXPECT_EQ (r.recorder().getLength(), 44100);
    EXPECT_EQ (savedText (r.recorder(), "CurrentTake/OneRecord/Filename"), take);

    // Without a tool set folder nothing is imported.
    r.controller.dialogs.errors.clear();
    r.controller.settings.CurrentProject = {};
    EXPECT_FALSE (r.panel->importWave (r.makeWave ("second.wav", 88200)));
    EXPECT_EQ (r.controller.dialogs.errors, juce::StringArray ("No toolset."));
    EXPECT_EQ (r.recorder().getLength(), 44100);

    // A chooser closed without a file does nothing.
    r.controller.dialogs.errors.clear();
    r.controller.dialogs.answer = juce::File();
    click (r.panel->getOpenButton());
    EXPECT_TRUE (r.controller.dialogs.errors.isEmpty());
}

TEST (JamGuiRecorderPanel, ThePositionSliderLocatesAtTheEndOfADrag)
{
    RecorderPanelRig r;
    auto& slider = r.panel->getPositionSlider();
    jamtest::dragAlong (slider, { 3, 100 });
    EXPECT_GT (slider.getValue(), 0);
    EXPECT_EQ (r.recorder().getCurrentPlayState()->getPosition(), slider.getValue());
    EXPECT_TRUE (r.recorder().getCurrentPlayState()->isStopped());

    // While dragged the slider keeps its value against the refresh.
    slider.mouseDown (jamtest::mouseAt (slider, 100, 9));
    slider.mouseDrag (jamtest::mouseAt (slider, 150, 9, false, 100));
    const auto dragged = slider.getValue();
    r.panel->refresh();
    EXPECT_EQ (slider.getValue(), dragged);
    EXPECT_EQ (r.panel->getSliderText (slider), recorderTime::timeText (dragged, 44100.0));
    slider.mouseUp (jamtest::mouseAt (slider, 150, 9, false, 100));
    EXPECT_EQ (r.recorder().getCurrentPlayState()->getPosition(), dragged);
}

TEST (JamGuiRecorderPanel, NewStartsTheRecorderAfreshAndCloseRemovesItsItem)
{
    RecorderPanelRig r;
    ASSERT_TRUE (r.panel->importWave (r.makeWave ("take.wav", 44100)));
    r.recorder().setLevel (90);
    click (r.panel->getNewButton());
    EXPECT_EQ (r.recorder().getLength(), 0);
    EXPECT_EQ (r.status().Level, 56);
    EXPECT_EQ (r.status().Name, "Recorder 1");

    r.recorder().setJamIndex (2);
    click (r.panel->getCloseButton());
    ASSERT_EQ (r.controller.removed.size(), 1);
    EXPECT_EQ (r.controller.removed[0], std::make_pair (1, 2));
    EXPECT_EQ (r.controller.undoSteps, 1);
}

TEST (JamGuiRecorderPanel, FoldingPutsAwayWhatLiesBelowTheTopRow)
{
    RecorderPanelRig r;
    click (r.panel->getPunchButton());
    r.panel->setFolded (true);
    EXPECT_EQ (r.panel->getHeight(), layout::jamFoldedHeight);
    EXPECT_FALSE (r.panel->getPositionSlider().isVisible());
    EXPECT_FALSE (r.panel->getPunchBar().isVisible());
    EXPECT_FALSE (r.panel->getBandDisplay().isVisible());
    EXPECT_TRUE (r.panel->getPowerButton().isVisible());
    EXPECT_TRUE (r.panel->getNameLabel().isVisible());

    r.panel->tellShown();
    EXPECT_TRUE (r.panel->isPanelTimerRunning());
    EXPECT_FALSE (r.panel->getBandDisplay().isTimerRunning());

    r.panel->setFolded (false);
    r.panel->tellShown();
    EXPECT_TRUE (r.panel->getBandDisplay().isTimerRunning());
    EXPECT_EQ (r.panel->getHeight(), layout::jamRecorderOpenHeight);
    EXPECT_TRUE (r.panel->getPositionSlider().isVisible());
    EXPECT_TRUE (r.panel->getPunchBar().isVisible());
}

TEST (JamGuiRecorderPanel, TheBandDisplayShowsWhatTheRecorderAnalysesAndFadesWithout)
{
    RecorderPanelRig r;
    std::vector<float> left (512), right (512);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = right[i] = (i / 2) % 2 == 0 ? 0.8f : -0.8f;   // about 11 kHz
    r.recorder().getSpectrum().process (left.data(), right.data(), 512);

    auto& display = r.panel->getBandDisplay();
    display.timerCallback();
    EXPECT_GT (display.getShownValue (14), 0.0f);
    const auto shown = display.getShownValue (14);
    display.timerCallback();   // nothing new arrived
    EXPECT_NEAR (display.getShownValue (14), shown * 0.9f, 1e-6f);
}

TEST (JamGuiRecorderPanel, TimersRunOnlyWhileShownAndNeverKeepThePanelAlive)
{
    RecorderPanelRig r;
    Recorder::setPanelFactory ([&r] (Recorder& recorder) -> ItemPanel::Ptr { return new RecorderUI (r.controller, recorder); });
    auto made = r.rig.make();
    auto* panel = dynamic_cast<RecorderUI*> (made->getPanel().get());
    Recorder::setPanelFactory (nullptr);
    ASSERT_NE (panel, nullptr);
    juce::Component::SafePointer<juce::Component> alive (panel);

    EXPECT_FALSE (panel->isPanelTimerRunning());
    panel->tellShown();
    EXPECT_TRUE (panel->isPanelTimerRunning());
    EXPECT_TRUE (panel->getBandDisplay().isTimerRunning());
    panel->tellHidden();
    EXPECT_FALSE (panel->isPanelTimerRunning());
    EXPECT_FALSE (panel->getBandDisplay().isTimerRunning());

    // Held by the section too: the recorder going detaches the panel and stops it.
    panel->tellShown();
    JamItem::Ptr held (panel);
    made = nullptr;
    ASSERT_NE (alive.getComponent(), nullptr);
    EXPECT_EQ (panel->getRecorder(), nullptr);
    EXPECT_FALSE (panel->isPanelTimerRunning());
    EXPECT_FALSE (panel->getBandDisplay().isTimerRunning());
    panel->tick();
    panel->refresh();
    panel->shown();
    EXPECT_FALSE (panel->isPanelTimerRunning());
    EXPECT_FALSE (panel->remove());

    // The last reference goes here, on the message thread, and nothing else keeps it.
    oxatest::pumpMessagesUntil ({}, 150);
    held = nullptr;
    EXPECT_EQ (alive.getComponent(), nullptr);
}

TEST (JamGuiRecorderPanel, TheKeysTakeClicksThroughTheWindowAtTheirEdges)
{
    RecorderPanelRig r;
    juce::Component holder;
    holder.setSize (layout::jamPanelWidth, layout::jamRecorderOpenHeight);
    holder.addAndMakeVisible (*r.panel);
    holder.addToDesktop (0);
    holder.setVisible (true);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return holder.isShowing(); }, 2000));

    // Their leftmost columns lie over the timeline's and the range bars' ends.
    for (auto* key : { &r.panel->getSnapButton(), &r.panel->getPunchButton(), &r.panel->getLoopButton(), &r.panel->getMuteButton() })
    {
        const bool before = key->getToggleState();
        uitest::clickThroughPeer (*key, { 0, key->getHeight() / 2 });
        oxatest::pumpMessagesUntil ([&] { return key->getToggleState() != before; }, 1000);
        EXPECT_NE (key->getToggleState(), before) << key->getName();
    }
    EXPECT_TRUE (r.status().Snap);
    EXPECT_TRUE (r.status().PIOPoint.enabled);
    EXPECT_TRUE (r.status().LoopPoint.enabled);
    EXPECT_TRUE (r.status().Mute);

    uitest::clickThroughPeer (r.panel->getPlayButton(), { 10, 10 });
    oxatest::pumpMessagesUntil ([&] { return ! r.recorder().getCurrentPlayState()->isStopped(); }, 1000);
    EXPECT_FALSE (r.recorder().getCurrentPlayState()->isStopped());
    holder.removeChildComponent (r.panel.get());
}
