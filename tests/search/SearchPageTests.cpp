// The search page on stores of its own, in a window standing for the main
// component: the word grid, the free text and the clear button, the result
// lists and their order and numbers, loading a patch and a rhythm, the rhythm
// preview with its click catcher and the transport rule, a refresh, tooltips.
#include "SearchTestSupport.h"

#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "ui/ToolTipEx.h"

using namespace T730;
using namespace searchtest;

namespace
{
class SearchGuiPage : public ::testing::Test
{
protected:
    SearchGuiPage()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        // Counts: rock 4; bright, fast, blues 2; clean, metal 1.
        writeGroup (stores.patchFolder, "Tones.xml",
                    { { "Crunchy", { "rock" } }, { "Glassy", { "clean", "bright" } }, { "RockOn", { "rock" } },
                      { "Metal", { "metal", "rock" } }, { "Shiny", { "bright" } } });
        writeGroup (stores.patchFolder, "Mine.xml", { { "Secret", { "rock", "hidden" } } }, false, 2);
        writeSong (stores.songFolder, "S1.xml", "Rock Train", { "rock", "fast" }, 150, "A train beat");
        writeSong (stores.songFolder, "S2.xml", "Slow Blues", { "blues" }, 70);
        writeSong (stores.songFolder, "S3.xml", "Blues", { "blues", "fast" }, 120);
        writeSong (stores.songFolder, "S4.xml", "Jazz Walk", {}, 140);
        stores.load();
        link.patches = &stores.patches;
        link.songs = &stores.songs;
        host = std::make_unique<Host> (link);
        settle();
        link.requests.clear();
    }

    ~SearchGuiPage() override
    {
        host.reset();
        ToolTipEx::deleteInstance();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    SectionSearch& page() { return host->page; }
    SS_WordList& grid() { return page().getWordList(); }
    SS_PatchList& patches() { return page().getPatchList(); }
    SS_RhythmList& rhythms() { return page().getRhythmList(); }

    void pickWord (const juce::String& word)
    {
        const int k = grid().getWords().indexOf (word);
        ASSERT_GE (k, 0) << word;
        grid().pressAt (grid().getCellBounds (k % SS_WordList::rows, k / SS_WordList::rows).getCentre());
    }

    juce::StringArray names (SS_VScrollingUI& list)
    {
        juce::StringArray n;
        for (int r = 0; r < list.getResultCount(); ++r)
            n.add (list.getResult (r)->getName());
        return n;
    }

    juce::Point<int> playSpotOf (int row)
    {
        return rhythms().getRowBounds (row).getPosition() + SS_RhythmListItem::playSpot().getCentre();
    }

    /** Lets the double-click time pass, so that the next click on the same spot is a click of its own. */
    static void pauseBetweenClicks()
    {
        settle (juce::MouseEvent::getDoubleClickTimeout() + 60);
    }

    void click (juce::Component& c, juce::Point<int> at)
    {
        uitest::clickThroughPeer (c, at);
        settle();
    }

    ScopedStagedResources resources;
    T730LookAndFeel lookAndFeel;
    Stores stores;
    FakeLink link;
    std::unique_ptr<Host> host;
};

TEST_F (SearchGuiPage, TheFirstFillListsEveryWordAndNoResultUntilASearch)
{
    EXPECT_EQ (grid().getWords(), juce::StringArray ({ "rock", "bright", "fast", "blues", "clean", "metal" }));
    EXPECT_EQ (patches().getResultCount(), 0);
    EXPECT_EQ (rhythms().getResultCount(), 0);
    EXPECT_FALSE (patches().getResultBar().isVisible());
    EXPECT_EQ (patches().getNumTargets(), 5) << "the unkeyworded group's patch is not offered";
    EXPECT_EQ (rhythms().getNumTargets(), 4);

    // Six words: 4 rows and 2 columns; word 4 in row 0 of column 1; the last two cells are empty.
    EXPECT_EQ (grid().getRowCount(), 4);
    EXPECT_EQ (grid().getColumnCount(), 2);
    EXPECT_EQ (grid().getCellText (0, 1), "clean");
    EXPECT_EQ (grid().getCellText (1, 1), "metal");
    EXPECT_EQ (grid().getCellText (2, 1), "");
    grid().pressAt (grid().getCellBounds (3, 1).getCentre());
    EXPECT_TRUE (grid().getSelectedWords().isEmpty());
    EXPECT_FALSE (grid().getWordCell (3, 1)->isHighlighted());
}

TEST_F (SearchGuiPage, PickingWordsSearchesBothListsBestFirstInStoreOrderFrom000)
{
    pickWord ("rock");
    EXPECT_EQ (grid().getSelectedWords(), juce::StringArray ({ "rock" }));
    EXPECT_TRUE (grid().getWordCell (0)->isHighlighted());

    // RockOn's name contains the word (7); Crunchy and Metal score 4 + 2 in the store's order; "Secret" never.
    EXPECT_EQ (names (patches()), juce::StringArray ({ "RockOn", "Crunchy", "Metal" }));
    EXPECT_EQ (patches().getResult (0)->resultPosition, 0);
    EXPECT_EQ (patches().getResult (2)->resultPosition, 2);
    EXPECT_EQ (patches().getResult (0)->score, 4 + 2 + 1);
    EXPECT_EQ (patches().getResult (1)->score, 4 + 2);
    // Rock Train: keyword 4 + 2, name contains 1.
    EXPECT_EQ (names (rhythms()), juce::StringArray ({ "Rock Train" }));
    EXPECT_EQ (rhythms().getResult (0)->score, 7);
    ASSERT_NE (patches().getPatchCell (0), nullptr);
    EXPECT_EQ (patches().getPatchCell (0)->getPatch().getName(), "RockOn");
    EXPECT_EQ (patches().getPatchCell (0)->getPatch().resultPosition, 0);
}

TEST_F (SearchGuiPage, ResultsAreOrderedByScoreAndAPickedWordClickedAgainIsDropped)
{
    pickWord ("bright");
    EXPECT_EQ (names (patches()), juce::StringArray ({ "Glassy", "Shiny" }));
    pickWord ("rock");
    // Crunchy 6, Glassy 6, RockOn 7, Metal 6, Shiny 6: RockOn first, then the store's order.
    EXPECT_EQ (names (patches()), juce::StringArray ({ "RockOn", "Crunchy", "Glassy", "Metal", "Shiny" }));

    pickWord ("bright");
    EXPECT_EQ (grid().getSelectedWords(), juce::StringArray ({ "rock" }));
    EXPECT_FALSE (grid().getWordCell (1)->isHighlighted());
    EXPECT_EQ (names (patches()), juce::StringArray ({ "RockOn", "Crunchy", "Metal" }));
}

TEST_F (SearchGuiPage, TypingSearchesAndClearForgetsWordsTextAndResults)
{
    auto& field = page().getFreeTextField();
    field.setText ("blues", true);
    settle();
    EXPECT_EQ (grid().getFreeText(), "blues");
    // "Blues": 2 x (20 + 10 + 8 + 4) = 84; "Slow Blues": 2 x (10 + 8 + 4) = 44.
    EXPECT_EQ (names (rhythms()), juce::StringArray ({ "Blues", "Slow Blues" }));
    EXPECT_EQ (rhythms().getResult (0)->score, 84);
    EXPECT_EQ (rhythms().getResult (1)->score, 44);
    EXPECT_EQ (patches().getResultCount(), 0);

    // A song without keywords matches only by its name.
    field.setText ("walk", true);
    settle();
    EXPECT_EQ (names (rhythms()), juce::StringArray ({ "Jazz Walk" }));

    // The field takes at most 24 characters of its set.
    field.setText ({}, true);
    settle();
    field.insertTextAtCaret ("a\\b*c<d>e\"f");
    EXPECT_EQ (field.getText(), "abcdef");
    field.insertTextAtCaret ("0123456789012345678901234567");
    EXPECT_EQ (field.getText().length(), 24);

    pickWord ("rock");
    click (page().getButton (SectionSearch::clearButton), { 20, 8 });
    EXPECT_EQ (field.getText(), "");
    EXPECT_TRUE (grid().getSelectedWords().isEmpty());
    EXPECT_EQ (grid().getFreeText(), "");
    EXPECT_FALSE (grid().getWordCell (0)->isHighlighted());
    EXPECT_EQ (patches().getResultCount(), 0);
    EXPECT_EQ (rhythms().getResultCount(), 0);
}

TEST_F (SearchGuiPage, LoadingAPatchCopiesItIntoTheToolSetAndTellsTheDevice)
{
    // Nothing highlighted: nothing happens.
    click (page().getButton (SectionSearch::patchLoadButton), { 10, 7 });
    EXPECT_TRUE (link.requests.empty());

    pickWord ("metal");
    ASSERT_EQ (patches().getResultCount(), 1);
    click (patches(), patches().getRowBounds (0).getCentre());
    EXPECT_EQ (patches().getHighlightedRow(), 0);
    click (page().getButton (SectionSearch::patchLoadButton), { 10, 7 });

    EXPECT_EQ (link.codes(), (std::vector<int> { SendEditBuffer, SetEditBuffer, SetCurrentPatch, RecordUndoAndMarkEdited }));
    const auto* metal = patches().getPatchTarget (3);
    ASSERT_NE (metal, nullptr);
    EXPECT_TRUE (link.project.editBuffer.sameContentAs (metal->edit));
    EXPECT_EQ (link.project.editBuffer.name, "Metal");
    ASSERT_EQ (link.sent.size(), 1u);
    EXPECT_TRUE (link.sent[0].sameContentAs (metal->edit));
    EXPECT_EQ (link.requests[2].param1, 3);
    EXPECT_EQ (link.requests[2].text, stores.patchFolder.getChildFile ("Tones.xml").getFullPathName());

    // A double click loads too.
    link.requests.clear();
    uitest::clickThroughPeer (patches(), patches().getRowBounds (0).getCentre());
    uitest::clickThroughPeer (patches(), patches().getRowBounds (0).getCentre());
    settle();
    EXPECT_EQ (link.count (SendEditBuffer), 1);

    // The stored patches are untouched by the copies' use.
    for (int g = 0; g < stores.patches.getNumGroups(); ++g)
        EXPECT_EQ (stores.patches.getGroup (g)->patches[0].score, 0);
}

TEST_F (SearchGuiPage, TheRhythmLoadButtonLoadsTheHighlightedSongAndAlwaysRecordsAnUndoStep)
{
    click (page().getButton (SectionSearch::rhythmLoadButton), { 10, 7 });
    EXPECT_EQ (link.codes(), (std::vector<int> { RecordUndoAndMarkEdited }));

    pickWord ("blues");
    click (rhythms(), rhythms().getRowBounds (1).getCentre().withX (20));
    EXPECT_EQ (rhythms().getHighlightedRow(), 1);
    EXPECT_FALSE (rhythms().isPreviewing()) << "a press beside the play spot only highlights";
    link.requests.clear();
    click (page().getButton (SectionSearch::rhythmLoadButton), { 10, 7 });
    ASSERT_EQ (link.codes(), (std::vector<int> { LoadSong, RecordUndoAndMarkEdited }));
    EXPECT_EQ (link.requests[0].text, stores.songFolder.getChildFile ("S2.xml").getFullPathName());
}

TEST_F (SearchGuiPage, APreviewPlaysUntilTheNextClickWhichIsSwallowed)
{
    pickWord ("fast");
    ASSERT_EQ (names (rhythms()), juce::StringArray ({ "Rock Train", "Blues" }));
    link.requests.clear();

    click (rhythms(), playSpotOf (0));
    EXPECT_TRUE (rhythms().isPreviewing());
    EXPECT_EQ (rhythms().getPreviewedRow(), 0);
    ASSERT_EQ (link.codes(), (std::vector<int> { BeginRhythmPreview, LoadSong, StartRhythmPreview }));
    EXPECT_EQ (link.requests[1].text, stores.songFolder.getChildFile ("S1.xml").getFullPathName());
    ASSERT_NE (rhythms().getCatcher(), nullptr);
    EXPECT_EQ (rhythms().getCatcher()->getParentComponent(), host.get()) << "over the main component";
    EXPECT_EQ (rhythms().getCatcher()->getBounds(), host->getLocalBounds());
    EXPECT_EQ (rhythms().getRhythmCell (0)->getPreviewState(), 1);

    // The running light moves every 333 ms.
    const int frame = rhythms().getRhythmCell (0)->getAnimationFrame();
    oxatest::pumpMessagesUntil ([&] { return rhythms().getRhythmCell (0)->getAnimationFrame() != frame; }, 2000);
    EXPECT_NE (rhythms().getRhythmCell (0)->getAnimationFrame(), frame);

    // A click on another button: swallowed, and the preview stops.
    link.requests.clear();
    click (host->other, { 10, 10 });
    EXPECT_EQ (host->otherClicks, 0);
    EXPECT_FALSE (rhythms().isPreviewing());
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview }));
    EXPECT_EQ (rhythms().getRhythmCell (0)->getPreviewState(), 0);
    EXPECT_FALSE (rhythms().isAnimating());
    settle();
    EXPECT_EQ (rhythms().getCatcher(), nullptr);
    EXPECT_EQ (host->getNumChildComponents(), 2) << "the catcher is gone";

    // The next click reaches the button.
    click (host->other, { 10, 10 });
    EXPECT_EQ (host->otherClicks, 1);
}

TEST_F (SearchGuiPage, DuringAPreviewTheSamePlaySpotOnlyStopsAndAnotherOneStartsItsOwn)
{
    pickWord ("fast");
    click (rhythms(), playSpotOf (0));
    ASSERT_TRUE (rhythms().isPreviewing());

    // The previewed cell's play spot: stop only.
    link.requests.clear();
    pauseBetweenClicks();
    click (rhythms(), playSpotOf (0));
    EXPECT_FALSE (rhythms().isPreviewing());
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview }));

    // Another cell's play spot: the first stops, the other starts.
    pauseBetweenClicks();
    click (rhythms(), playSpotOf (0));
    link.requests.clear();
    click (rhythms(), playSpotOf (1));
    EXPECT_EQ (rhythms().getPreviewedRow(), 1);
    EXPECT_EQ (rhythms().getHighlightedRow(), 1);
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview, BeginRhythmPreview, LoadSong,
                                                  StartRhythmPreview }));

    // A new search stops it; so does a double click, which loads the song under the pointer.
    pickWord ("blues");
    EXPECT_FALSE (rhythms().isPreviewing());
    click (rhythms(), playSpotOf (0));
    ASSERT_TRUE (rhythms().isPreviewing());
    link.requests.clear();
    rhythms().mouseDoubleClick (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(),
                                                  rhythms().getRowBounds (1).getCentre().toFloat(), {}, 0.0f, 0.0f, 0.0f,
                                                  0.0f, 0.0f, &rhythms(), &rhythms(), juce::Time::getCurrentTime(),
                                                  rhythms().getRowBounds (1).getCentre().toFloat(), juce::Time::getCurrentTime(), 2, false));
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview, LoadSong, RecordUndoAndMarkEdited }));
    EXPECT_EQ (link.requests[2].text, stores.songFolder.getChildFile ("S2.xml").getFullPathName());
    settle();
}

TEST_F (SearchGuiPage, ThePlaySpotWhileTheJamPlaysPausesTheTransportAndStartsNoPreview)
{
    // A transport of the test's own, started as with the audio device running (no audio thread applies its commands).
    auto& running = getEngineSettings().audioRunning;
    const bool wasRunning = running.load();
    running = true;
    Synchronizer sync;
    auto& transport = sync.getMaster();
    rhythms().setTransport (&transport);
    transport.play();
    ASSERT_EQ (transport.getState(), PlayState::startRequested);

    pickWord ("fast");
    link.requests.clear();
    pauseBetweenClicks();
    click (rhythms(), playSpotOf (0));
    EXPECT_EQ (transport.getPendingCommand(), PlayState::pauseCommand) << "the jam was told to pause";
    EXPECT_FALSE (rhythms().isPreviewing());
    EXPECT_TRUE (link.requests.empty()) << ::testing::PrintToString (link.codes());
    EXPECT_EQ (rhythms().getCatcher(), nullptr);
    EXPECT_EQ (rhythms().getHighlightedRow(), 0);

    // Stopped, the same press previews.
    transport.reset();
    pauseBetweenClicks();
    click (rhythms(), playSpotOf (0));
    EXPECT_TRUE (rhythms().isPreviewing());
    rhythms().stopPreview();
    rhythms().setTransport (nullptr);
    running = wasRunning;
}

TEST_F (SearchGuiPage, ARefreshKeepsWordsTextAndHighlightsAndShowsTheStoresAnew)
{
    page().getFreeTextField().setText ("o", true);
    settle();
    pickWord ("rock");
    click (patches(), patches().getRowBounds (1).getCentre());
    const int before = patches().getResultCount();

    // A new keyworded group appears in the store.
    writeGroup (stores.patchFolder, "More.xml", { { "Rocket", { "rock", "space" } } }, true, 3);
    stores.patches.loadAll();
    link.repaints.clear();
    page().refresh();

    EXPECT_EQ (grid().getSelectedWords(), juce::StringArray ({ "rock" }));
    EXPECT_TRUE (grid().getWordCell (0)->isHighlighted()) << "highlights come back by position";
    EXPECT_EQ (grid().getFreeText(), "o");
    EXPECT_TRUE (grid().getWords().contains ("space"));
    EXPECT_EQ (patches().getResultCount(), before + 1);
    EXPECT_EQ (patches().getHighlightedRow(), 1);
    EXPECT_EQ (link.repaints, (std::vector<int> { 0x08 }));
}

TEST_F (SearchGuiPage, TooltipsShowTheRecordsTextAndHideOffTheCells)
{
    pickWord ("fast");
    auto* tip = ToolTipEx::getInstance();
    const auto over = rhythms().getRowBounds (0).getCentre();
    rhythms().mouseMove (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), over.toFloat(), {}, 0.0f,
                                           0.0f, 0.0f, 0.0f, 0.0f, &rhythms(), &rhythms(), juce::Time::getCurrentTime(),
                                           over.toFloat(), juce::Time::getCurrentTime(), 0, false));
    EXPECT_EQ (tip->getText(), "A train beat");
    EXPECT_TRUE (tip->isVisible());

    const juce::Point<float> below (20.0f, 150.0f);
    rhythms().mouseMove (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), below, {}, 0.0f, 0.0f,
                                           0.0f, 0.0f, 0.0f, &rhythms(), &rhythms(), juce::Time::getCurrentTime(), below,
                                           juce::Time::getCurrentTime(), 0, false));
    EXPECT_FALSE (tip->isVisible());
}

TEST_F (SearchGuiPage, LongNamesAreShortenedToTheirLongestPrefixThatFits)
{
    const auto font = SS_VScrollingUIItem::nameFont();
    const auto text = SS_VScrollingUIItem::shortened ("Warmest Clean Tone", font, 46);
    EXPECT_TRUE (text.endsWith ("..."));
    EXPECT_LE (font.getStringWidth (text), 46);
    const auto longer = juce::String ("Warmest Clean Tone").substring (0, text.length() - 2) + "...";
    EXPECT_GT (font.getStringWidth (longer), 46) << "one more character would not fit";
    EXPECT_EQ (SS_VScrollingUIItem::shortened ("Glass", font, 46), "Glass");
}
} // namespace

namespace
{
struct CatcherListener : public T730::TransparentCompListener
{
    void overlayClicked (T730::TransparentComp& c) override
    {
        calls.add ("clicked");
        c.dismiss();   // as the rhythm list does when it stops the preview
    }
    void overlayMouseUp (const juce::MouseEvent& e) override
    {
        calls.add ("up");
        at = e.getPosition();
        parent = e.eventComponent;
    }
    juce::StringArray calls;
    juce::Point<int> at;
    juce::Component* parent = nullptr;
};

TEST (SearchGuiCatcher, ItCoversItsComponentTellsBothStepsAndIsDeletedFromTheMessageLoop)
{
    juce::Component covered;
    covered.setSize (200, 100);
    juce::Component child;
    child.setBounds (10, 10, 50, 50);
    covered.addAndMakeVisible (child);

    CatcherListener listener;
    juce::Component::SafePointer<T730::TransparentComp> catcher (new T730::TransparentComp (covered, &listener));
    EXPECT_EQ (catcher->getBounds(), covered.getLocalBounds());
    EXPECT_EQ (covered.getIndexOfChildComponent (catcher.getComponent()), covered.getNumChildComponents() - 1);
    covered.setSize (300, 120);
    EXPECT_EQ (catcher->getBounds(), covered.getLocalBounds()) << "it follows the covered component";

    const juce::Point<float> at (40.0f, 30.0f);
    const juce::MouseEvent up (juce::Desktop::getInstance().getMainMouseSource(), at, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                               catcher.getComponent(), catcher.getComponent(), juce::Time::getCurrentTime(), at,
                               juce::Time::getCurrentTime(), 1, false);
    catcher->mouseUp (up);
    EXPECT_EQ (listener.calls, juce::StringArray ({ "clicked", "up" }));
    EXPECT_EQ (listener.parent, &covered);
    EXPECT_EQ (listener.at, juce::Point<int> (40, 30));

    // Out of its parent at once, deleted only when the message loop runs.
    ASSERT_NE (catcher.getComponent(), nullptr);
    EXPECT_EQ (catcher->getParentComponent(), nullptr);
    searchtest::settle();
    EXPECT_EQ (catcher.getComponent(), nullptr);
}
} // namespace

#include "../engine/JamTestItems.h"
#include "engine/DspMain.h"

namespace
{
/** The page's preview requests carried to an engine with a test item maker, as
    the controller carries them to its own (whose preview machine is the rhythm
    subsystem's). */
TEST_F (SearchGuiPage, APreviewReplacesTheJamsRhythmMachineUntilTheCatcherIsClicked)
{
    oxatest::ScopedEngineRunning running;
    oxatest::ToneFactory factory;
    Synchronizer sync;
    DspMain engine (nullptr, &factory, sync);
    engine.addJamItem (0, {}, {});
    const auto jamRhythm = engine.getRhythmItem();
    ASSERT_NE (jamRhythm, nullptr);

    juce::StringArray loaded;
    link.onRequest = [&] (int code)
    {
        switch (code)
        {
            case BeginRhythmPreview: engine.beginRhythmPreview(); break;
            case StartRhythmPreview: engine.startRhythmPreview(); break;
            case StopRhythmPreview:  engine.stopRhythmPreview(); break;
            case EndRhythmPreview:   engine.endRhythmPreview(); break;
            case LoadSong:           loaded.add (link.requests.back().text); break;
            default: break;
        }
    };
    rhythms().setTransport (&sync.getMaster());

    pickWord ("fast");
    click (rhythms(), playSpotOf (1));
    ASSERT_TRUE (rhythms().isPreviewing());
    const auto preview = engine.getRhythmItem();
    ASSERT_NE (preview, nullptr);
    EXPECT_EQ (preview->getName(), "preview");
    EXPECT_EQ (preview->getPlayStateB().getState(), PlayState::startRequested);
    EXPECT_TRUE (sync.getMaster().isStopped()) << "the jam's own transport stays where it was";
    EXPECT_EQ (loaded, juce::StringArray ({ stores.songFolder.getChildFile ("S3.xml").getFullPathName() }));

    click (host->other, { 5, 5 });
    EXPECT_EQ (engine.getRhythmItem(), jamRhythm) << "the jam's rhythm machine is back";
    EXPECT_EQ (engine.getPreviewItem(), nullptr);
    EXPECT_EQ (host->otherClicks, 0);
    rhythms().setTransport (nullptr);
}
} // namespace
