// The tuner page end to end on a private JACK server: a tone or a recorded
// guitar note played into the engine's inputs reaches the Tuner module, whose
// reports light the page's lamp and note as its arithmetic says.
#include "../app/ToolSetTestSupport.h"
#include "../app/JackControllerFixture.h"
#include "../plugins/InstrumentNotes.h"
#include "TunerTestSupport.h"

#include "app/GuiMain.h"
#include "app/InstController.h"
#include "app/SectionTab.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"

#include <gtest/gtest.h>

using namespace T730;
using namespace tunertest;

namespace
{
class TunerGuiJack : public oxatest::JackControllerTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE (makeFolders (temp / "install"));
        ASSERT_NO_FATAL_FAILURE (openOnJack (440.0));
        ASSERT_TRUE (isAudioReady());
        ASSERT_NE (controller->getGui(), nullptr);

        auto& tab = controller->getGui()->getTabSection();
        tab.selectPage (&tab.getTunerPage());
        ASSERT_TRUE (controller->getEngine()->isTunerFeedOn());
    }

    SectionTuner& page() { return controller->getGui()->getTabSection().getTunerPage(); }

    void press (SectionTuner::ButtonId id)
    {
        page().getButton (id).triggerClick();
        oxatest::pumpMessagesUntil ({}, 20);
    }

    /** Waits until the page's lit lamp rests on `lamp` with a note shown. */
    bool settlesOn (int lamp, int timeoutMs = 15000)
    {
        return oxatest::pumpMessagesUntil ([&]
                                           {
                                               return page().getNoteIndex() != SectionTuner::noNote
                                                   && page().getTarget() == lamp && page().getDisplayPosition() == lamp;
                                           }, timeoutMs);
    }
};
} // namespace

TEST_F (TunerGuiJack, ATonesLampAndNoteFollowTheReference)
{
    // 440 Hz: A, in tune.
    ASSERT_TRUE (settlesOn (10)) << page().getLastPitch() << " Hz, lamp " << page().getTarget();
    EXPECT_EQ (page().getNoteIndex(), 0);
    EXPECT_TRUE (page().isLeftArrowLit() && page().isRightArrowLit());

    // 446 Hz at 440: 23.4 cents sharp, lamp 15.
    feed->setTone (446.0, 0.5f);
    ASSERT_TRUE (settlesOn (15)) << page().getLastPitch() << " Hz, lamp " << page().getTarget();
    EXPECT_EQ (page().getNoteIndex(), 0);
    EXPECT_TRUE (page().isRightArrowLit());
    EXPECT_FALSE (page().isLeftArrowLit());

    // The reference at 445: 3.9 cents sharp, lamp 11.
    for (int i = 0; i < 5; ++i)
        press (SectionTuner::referenceUp);
    EXPECT_EQ (page().getTunerLib()->referenceHz, 445);
    ASSERT_TRUE (settlesOn (11)) << page().getLastPitch() << " Hz, lamp " << page().getTarget();
    EXPECT_EQ (page().getNoteIndex(), 0);
}

TEST_F (TunerGuiJack, RecordedGuitarStringsShowTheirNoteAndStringDigitInGuitarMode)
{
    moduletest::InstrumentRenderer renderer;
    ASSERT_TRUE (renderer.isReady()) << "the General MIDI SoundFont (fluid-soundfont-gm) is needed";
    press (SectionTuner::modeDown);
    ASSERT_EQ (page().getCurrentMode()->getName(), "Guitar");

    struct OpenString
    {
        int key, string, note;   // MIDI key, string index, note index from A
    };
    const OpenString strings[] = { { 40, 5, 7 }, { 45, 4, 0 }, { 50, 3, 5 }, { 55, 2, 10 }, { 59, 1, 2 }, { 64, 0, 7 } };

    for (const auto& s : strings)
    {
        SCOPED_TRACE ("key " + std::to_string (s.key));
        // A picked steel-string note, looped: 2.6 s held of every 3 s.
        auto audio = renderer.render (moduletest::singleNote (25, s.key, 0.0, 0.1, 2.6, 3.0));
        moduletest::normalisePeak (audio, 0.5f);
        feed->setLoop (audio.mono());

        // The previous string's last reports pass first.
        oxatest::pumpMessagesUntil ({}, 400);
        int shown = 0, rightString = 0, rightNote = 0;
        const auto end = juce::Time::getMillisecondCounter() + 2000;
        while (juce::Time::getMillisecondCounter() < end)
        {
            oxatest::pumpMessagesUntil ({}, 20);
            if (page().getNoteIndex() == SectionTuner::noNote)
                continue;
            ++shown;
            rightString += page().getStringIndex() == s.string ? 1 : 0;
            rightNote += page().getNoteIndex() == s.note ? 1 : 0;
        }
        EXPECT_GT (shown, 40);
        EXPECT_GE (rightString, shown * 9 / 10) << rightString << " of " << shown;
        EXPECT_GE (rightNote, shown * 9 / 10) << rightNote << " of " << shown;
    }
}
