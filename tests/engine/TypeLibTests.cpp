#include <gtest/gtest.h>

#include "TestSupport.h"
#include "documents/Archive.h"
#include "engine/ControlRules.h"
#include "engine/DspLoader.h"
#include "engine/EngineSettings.h"
#include "engine/ModuleHost.h"
#include "engine/FxChain.h"
#include "engine/TypeLib.h"
#include "engine/TypeLibVolumePdl.h"
#include "engine/TypeListner.h"

#include <atomic>
#include <thread>

using namespace T730;

namespace
{
juce::File testModules()
{
    return juce::File (OXA_ENGINE_TEST_MODULES);
}

struct PitchCatcher : NetListOwner
{
    std::vector<float> reports;
    void nodePitchDetected (float frequency) override { reports.push_back (frequency); }
};

PrmPropLib described (int flags, int minInteger = 0, int maxInteger = 0, float smallStep = 0.0f)
{
    EffectParamProperties record {};
    record.flags = flags;
    record.minInteger = minInteger;
    record.maxInteger = maxInteger;
    record.smallStepFloat = smallStep;
    return PrmPropLib::fromProperties (record);
}

/** A resources folder holding the probe library under `moduleName` and, when
    given, an archive "<moduleName>.orc" with that module description. */
struct ModuleFolder
{
    oxatest::TempFolder tmp;
    juce::File resources = tmp / "resources";

    ModuleFolder (const juce::String& moduleName, bool withLibrary, const juce::String& layoutXml)
    {
        resources.createDirectory();
        if (withLibrary)
            testModules().getChildFile ("EngineProbe.so").copyFileTo (resources.getChildFile (moduleName + ".so"));
        if (layoutXml.isNotEmpty())
        {
            auto tree = tmp / "tree";
            tree.getChildFile ("resource").createDirectory();
            tree.getChildFile ("EfxType.xml").replaceWithText (layoutXml);
            ArchiveWriter().write (tree, resources.getChildFile (moduleName + ".orc"));
        }
    }
};

const char* const layoutOnlyXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<EfxType>
  <Ctrls>
    <Ctrl index="0" prm="0"><Type>Knob</Type><DspMax>30</DspMax><PrmOffset>-10</PrmOffset>
      <PrmName>Gain</PrmName><PrmUnit>dB</PrmUnit><PrmInterval>5</PrmInterval><InitDspVal>12</InitDspVal></Ctrl>
    <Ctrl index="1" prm="1"><Type>Led</Type><PrmName>On</PrmName><InitDspVal>1</InitDspVal></Ctrl>
    <Ctrl index="2" prm="2"><Type>Knob</Type><DspMax>4</DspMax><UsePrmTable>1</UsePrmTable><PrmName>Time</PrmName>
      <PrmTable><String>10</String><String>20</String><String>40</String><String>80</String><String>160</String></PrmTable></Ctrl>
    <Ctrl index="3" prm="2"><Type>Led</Type><DspMax>99</DspMax><InitDspVal>3</InitDspVal></Ctrl>
    <Ctrl index="4" prm="-1"><Type>Knob</Type></Ctrl>
    <Ctrl index="5" prm="9"><Type>Knob</Type></Ctrl>
  </Ctrls>
</EfxType>)";
} // namespace

TEST (EngineTypeLib, StepConversionsAndStepCounts)
{
    const auto three = described (kParamUsesIntegerMinMax, 2, 5);
    ASSERT_EQ (three.steps, 3);
    const float expected[] = { 0.0f, 0.375f, 0.625f, 1.0f };
    for (int k = 0; k <= 3; ++k)
    {
        EXPECT_FLOAT_EQ (three.stepToValue (k), expected[k]) << k;
        EXPECT_EQ (three.valueToStep (three.stepToValue (k)), k) << k;
    }
    EXPECT_EQ (three.stepToValue (7), 1.0f);
    EXPECT_EQ (three.stepToValue (-2), 0.0f);
    EXPECT_EQ (three.valueToStep (1.5f), 3);
    EXPECT_EQ (three.valueToStep (-1.0f), 0);

    // Every step of a long range survives its round trip.
    const auto many = described (kParamUsesIntegerMinMax, 0, 127);
    for (int k = 0; k <= 127; ++k)
        ASSERT_EQ (many.valueToStep (many.stepToValue (k)), k) << k;

    const auto onOff = described (kParamIsSwitch);
    EXPECT_EQ (onOff.steps, 1);
    EXPECT_EQ (onOff.stepToValue (1), 1.0f);
    EXPECT_EQ (onOff.valueToStep (0.99f), 0);
    EXPECT_EQ (onOff.valueToStep (1.0f), 1);

    EXPECT_EQ (described (0).steps, 300);
    EXPECT_EQ (described (kParamUsesFloatStep, 0, 0, 0.1f).steps, 10);
    EXPECT_EQ (described (kParamUsesFloatStep, 0, 0, 0.0f).steps, 300);
    EXPECT_EQ (described (kParamUsesIntegerMinMax, 4, 4).steps, 300);
}

TEST (EngineTypeLib, TapAveragesAfterAResetAndRestartsAfterALongPause)
{
    TapState tap;
    const double expected[] = { 0.0, 500.0 / 3.0, 1000.0 / 3.0, 500.0, 500.0 };
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR (tap.tap (1000.0 + 500.0 * i), expected[i], 1e-9) << i;

    EXPECT_EQ (tap.tap (3000.0 + 15001.0), 0.0);
    EXPECT_NEAR (tap.tap (3000.0 + 15001.0 + 600.0), 200.0, 1e-9);
    // Exactly 15 s still counts as a tap.
    EXPECT_NEAR (tap.tap (3000.0 + 15001.0 + 600.0 + 15000.0), (15000.0 + 600.0) / 3.0, 1e-9);
}

TEST (EngineTypeLib, NodeWithAnObjectForwardsAndCapsItsParameters)
{
    DspLoader loader (testModules(), false);
    PitchCatcher owner;
    auto node = std::make_unique<TypeLib> ("EngineProbe", &owner, true, false, &loader);
    ASSERT_NE (node->getEffect(), nullptr);
    EXPECT_TRUE (node->isInstantiated());
    EXPECT_EQ (node->getNumParams(), 32) << "40 parameters are capped";

    EXPECT_EQ (node->getMaxStep (0), 3);
    EXPECT_EQ (node->getMaxStep (1), 1);
    EXPECT_EQ (node->getMaxStep (2), 300);
    EXPECT_EQ (node->getMaxStep (3), 10);
    EXPECT_EQ (node->getMaxStep (32), 0);
    EXPECT_FLOAT_EQ (node->getDefaultValue (5), 0.25f);

    node->setStep (0, 2, false);
    EXPECT_EQ (node->getStep (0, false), 2);
    EXPECT_EQ (node->getStep (0, true), 1) << "not stored: current keeps the default 0.25";
    node->setStep (0, 3, true);
    EXPECT_EQ (node->getStep (0, true), 3);
    node->setStep (40, 1, true);
    EXPECT_EQ (node->getStep (40, true), 0);

    juce::String text;
    ASSERT_TRUE (node->getParamText (0, text));
    EXPECT_EQ (text, "Prm0 : 100ms");
    ASSERT_TRUE (node->getStepText (0, 1, text));
    EXPECT_EQ (text, "v0.375ms");
    EXPECT_TRUE (node->getParamName (1, text));
    EXPECT_EQ (text, "Prm1");
    EXPECT_FALSE (node->getParamText (32, text));
    EXPECT_TRUE (text.isEmpty());

    node->resetToDefaults();
    EXPECT_EQ (node->getStep (0, false), 1);
    EXPECT_FLOAT_EQ (node->getCurrentValue (0), 0.25f);

    EXPECT_EQ (node->query152(), 52);
    EXPECT_EQ (node->query155 (3), 553);
    EXPECT_EQ (node->query158(), 58);

    // In-place processing; the module's report reaches the owner.
    double left[4] = { 1, 2, 3, 4 }, right[4] = { -1, -2, -3, -4 };
    double* channels[2] = { left, right };
    node->process (channels, channels, 4);
    EXPECT_EQ (left[3], 8.0);
    EXPECT_EQ (right[0], -2.0);
    ASSERT_EQ (owner.reports.size(), 1u);
    EXPECT_EQ (owner.reports[0], 4.0f);
    node->getListener()->setMuted (true);
    node->process (channels, channels, 2);
    EXPECT_EQ (owner.reports.size(), 1u);

    // Flushing runs silence with parameter 0 at zero, then puts it back.
    node->setRawValue (0, 0.625f);
    node->flush();
    EXPECT_EQ (node->getStep (0, false), 2);

    // The tap time goes to the module; a late tap changes nothing.
    node->tapAt (4, true, 1000.0);
    EXPECT_FLOAT_EQ (node->getCurrentValue (4), 0.25f);
    node->tapAt (4, true, 1600.0);
    EXPECT_FLOAT_EQ (node->getCurrentValue (4), 0.2f / 10.0f);
    node->tapAt (4, true, 1600.0 + 15001.0);
    EXPECT_FLOAT_EQ (node->getCurrentValue (4), 0.02f);
    node->setFromSeconds (4, 3.0);
    EXPECT_FLOAT_EQ (node->getCurrentValue (4), 0.3f);
}

TEST (EngineTypeLib, NodeWithoutAnythingAnswersDefaults)
{
    DspLoader loader (testModules(), false);
    TypeLib node ("Missing", nullptr, true, true, &loader);
    EXPECT_TRUE (node.isInstantiated());
    EXPECT_EQ (node.getEffect(), nullptr);
    EXPECT_FALSE (node.isLayoutLoaded());
    EXPECT_EQ (node.getNumParams(), 0);
    EXPECT_EQ (node.query152(), 1);
    EXPECT_EQ (node.query153(), 1);
    EXPECT_EQ (node.query154 (0), 2);
    EXPECT_EQ (node.query155 (0), 1);
    EXPECT_EQ (node.query156 (0), 0);
    EXPECT_EQ (node.query157 (0), 0);
    EXPECT_EQ (node.query158(), -1);
    juce::String text;
    EXPECT_FALSE (node.getParamName (0, text));
    node.onPitchDetected (440.0f); // no owner: nothing happens
    node.flush();
    node.tap (0, true);
}

TEST (EngineTypeLib, LayoutDescribesTheParametersOfANodeWithoutAnObject)
{
    ModuleFolder folder ("Comp", false, layoutOnlyXml);
    DspLoader loader (folder.resources, false);
    TypeLib node ("Comp", nullptr, false, true, &loader);
    ASSERT_TRUE (node.isLayoutLoaded());
    EXPECT_EQ (node.getNumParams(), 0);

    for (int i = 0; i <= 6; ++i)
        if (auto* ctrl = node.getCtrlLayout (i))
            node.describeParameter (*ctrl);
    EXPECT_EQ (node.getCtrlLayout (6), nullptr);
    EXPECT_EQ (node.getNumParams(), 8);

    EXPECT_EQ (node.getMaxStep (0), 30);
    EXPECT_EQ (node.getStep (0, true), 12);
    juce::String text;
    ASSERT_TRUE (node.getParamText (0, text));
    EXPECT_EQ (text, "Gain : 2dB");
    ASSERT_TRUE (node.getStepText (0, 30, text));
    EXPECT_EQ (text, "20");
    EXPECT_EQ (node.getProperties (0)->interval, 5);

    EXPECT_TRUE (node.getProperties (1)->isSwitch);
    EXPECT_EQ (node.getStep (1, true), 1);

    // The first control describes the parameter; the last one sets its initial step.
    auto* time = node.getProperties (2);
    ASSERT_NE (time, nullptr);
    EXPECT_TRUE (time->isTable);
    EXPECT_EQ (time->steps, 4);
    EXPECT_EQ (time->table.size(), 5);
    EXPECT_EQ (node.getStep (2, true), 3);
    ASSERT_TRUE (node.getParamText (2, text));
    EXPECT_EQ (text, "Time : 80");
    EXPECT_TRUE (node.getStepText (2, 4, text));
    EXPECT_EQ (text, "160");
    EXPECT_FALSE (node.getStepText (2, 5, text));

    // Entries below index 99 are read in hundredths; the last entry unchanged.
    EXPECT_FLOAT_EQ (node.nearestTableStep (2, 0.25f), node.stepToValue (2, 1));
    EXPECT_FLOAT_EQ (node.nearestTableStep (2, 0.35f), node.stepToValue (2, 2));
    EXPECT_FLOAT_EQ (node.nearestTableStep (2, 160.0f), 1.0f);
    EXPECT_FLOAT_EQ (node.nearestTableStep (2, 0.05f), 0.0f);
    node.setFromSeconds (2, 0.7);
    EXPECT_EQ (node.getStep (2, true), 3);
    node.setFromSeconds (0, 7.9);
    EXPECT_EQ (node.getStep (0, true), 7);

    EXPECT_EQ (node.getProperties (3), nullptr);
    node.setStep (3, 1, true);
    EXPECT_EQ (node.getStep (3, true), 0);
}

TEST (EngineTypeLib, EditLinksUseTheEditedParametersStepCount)
{
    const char* xml = R"(<EfxType><Ctrls>
        <Ctrl index="0" prm="0"><SetWhenEdited><WillSet><Prm>1</Prm><To>1</To></WillSet>
                                             <WillSet><Prm>-1</Prm></WillSet>
                                             <WillSet><Prm>50</Prm><To>1</To></WillSet></SetWhenEdited></Ctrl>
        <Ctrl index="1" prm="3"><SetWhenEdited><WillSet><Prm>0</Prm><To>2</To></WillSet></SetWhenEdited></Ctrl>
      </Ctrls></EfxType>)";
    ModuleFolder folder ("Linked", true, xml);
    DspLoader loader (folder.resources, false);
    TypeLib node ("Linked", nullptr, true, false, &loader);
    ASSERT_NE (node.getEffect(), nullptr);
    ASSERT_TRUE (node.isLayoutLoaded()) << "a node with an object reads its links when it is made";

    node.setStep (0, 2, true);
    ASSERT_EQ (node.getLinks().size(), 4u);
    // Step 1 with parameter 0's three steps is 0.375, even though parameter 1 is a switch.
    EXPECT_FLOAT_EQ (node.getCurrentValue (1), 0.375f);
    EXPECT_EQ (node.getStep (1, false), 0);

    node.setStep (3, 5, false);
    EXPECT_FLOAT_EQ (node.getCurrentValue (0), 0.625f) << "not stored";
    EXPECT_FLOAT_EQ (node.getEffect()->getParameter (0), node.stepToValue (3, 2)) << "ten-step band of step 2";
}

TEST (EngineTypeLib, VolumePedalProcessesFloatPairsOfAnySize)
{
    ModuleFolder folder ("Volume_Pedal", true, {});
    DspLoader loader (folder.resources, false);
    TypeLibVolumePdl pedal (nullptr, &loader);
    ASSERT_NE (pedal.getEffect(), nullptr);

    std::vector<float> left (1000), right (1000);
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = (float) i * 0.001f;
        right[i] = -(float) i * 0.001f;
    }
    pedal.processFloat (1000, left.data(), right.data(), left.data(), right.data());
    EXPECT_FLOAT_EQ (left[999], 1.998f);
    EXPECT_FLOAT_EQ (right[500], -1.0f);

    std::vector<float> out (4, 7.0f);
    const float in[4] = { 0.5f, 0.5f, 0.5f, 0.5f };
    pedal.processFloat (4, in, in, out.data(), out.data());
    EXPECT_EQ (out[3], 1.0f);

    // Without the module nothing is written.
    ModuleFolder empty ("Other", false, {});
    DspLoader none (empty.resources, false);
    TypeLibVolumePdl missing (nullptr, &none);
    missing.processFloat (4, in, in, out.data(), out.data());
    EXPECT_EQ (out[0], 1.0f);
}

namespace
{
struct CountedView : NetListView
{
    CountedView (NetListItem& node, int& deletions) : NetListView (node), deleted (deletions) {}
    ~CountedView() override { ++deleted; }
    int& deleted;
};

struct CountedRecord : FxChainRecord
{
    explicit CountedRecord (int& deletions) : deleted (deletions) {}
    ~CountedRecord() override { ++deleted; }
    int& deleted;
};
} // namespace

TEST (EngineFxChain, ANodeLivesWhileItsViewIsInAChain)
{
    int viewsDeleted = 0, recordsDeleted = 0;
    auto* first = new TypeLib ("A", nullptr, false, false);
    first->setView (std::make_unique<CountedView> (*first, viewsDeleted));
    auto* second = new TypeLib ("B", nullptr, false, false);
    second->setView (std::make_unique<CountedView> (*second, viewsDeleted));

    FxChain editor, search;
    editor.append (first->getView(), std::make_unique<CountedRecord> (recordsDeleted));
    search.append (first->getView(), std::make_unique<CountedRecord> (recordsDeleted));
    editor.append (second->getView(), std::make_unique<CountedRecord> (recordsDeleted));
    EXPECT_EQ (editor.length(), 2);
    EXPECT_EQ (first->getViewCount(), 2);

    // Replacing a view with itself keeps its node.
    editor.replace (0, first->getView(), std::make_unique<CountedRecord> (recordsDeleted));
    EXPECT_EQ (viewsDeleted, 0);
    EXPECT_EQ (recordsDeleted, 1);
    EXPECT_EQ (first->getViewCount(), 2);

    // Replacing the second node's only view deletes it.
    editor.replace (1, first->getView(), std::make_unique<CountedRecord> (recordsDeleted));
    EXPECT_EQ (viewsDeleted, 1);
    EXPECT_EQ (editor.getView (1), first->getView());
    editor.replace (5, nullptr, nullptr);
    EXPECT_EQ (editor.length(), 2);

    editor.count = 3;
    editor.clear();
    EXPECT_EQ (editor.count, 0);
    EXPECT_EQ (editor.length(), 0);
    EXPECT_EQ (viewsDeleted, 1) << "still in the search chain";
    EXPECT_EQ (first->getViewCount(), 1);

    search.clear();
    EXPECT_EQ (viewsDeleted, 2);
    EXPECT_EQ (recordsDeleted, 5);
}

TEST (EngineTypeLib, ANodeWithAnObjectButNoArchiveLooksForItOnceOnly)
{
    // Setting a parameter applies the layout's edit links, possibly on the audio
    // thread: a missing archive must not be looked for on the disk each time.
    ModuleFolder folder ("Probe", true, {});
    DspLoader loader (folder.resources, false);
    TypeLib node ("Probe", nullptr, true, false, &loader);
    ASSERT_NE (node.getEffect(), nullptr);
    EXPECT_FALSE (node.isLayoutLoaded());

    // The archive appears later: the node does not go back to the disk for it.
    auto tree = folder.tmp / "late";
    tree.getChildFile ("resource").createDirectory();
    ASSERT_TRUE (tree.getChildFile ("EfxType.xml").replaceWithText (layoutOnlyXml));
    ASSERT_TRUE (ArchiveWriter().write (tree, folder.resources.getChildFile ("Probe.orc")));

    node.setStep (0, 1, true);
    node.tapAt (0, true, 1000.0);
    node.tapAt (0, true, 1500.0);
    node.setFromSeconds (0, 0.5);
    EXPECT_FALSE (node.isLayoutLoaded());
    EXPECT_FALSE (node.loadLayout());
}

TEST (EngineTypeLib, DamagedStepCountsAreKeptInTheSameRangeAsTheEditors)
{
    const char* xml = R"(<EfxType><Ctrls>
        <Ctrl index="0" prm="0"><DspMax>2147483647</DspMax><InitDspVal>2147483647</InitDspVal></Ctrl>
        <Ctrl index="1" prm="1"><DspMax>-5</DspMax></Ctrl>
        <Ctrl index="2" prm="2"><DspMax>40</DspMax><UsePrmTable>1</UsePrmTable>
          <PrmTable><String>a</String> stray <String>b</String><Other>c</Other></PrmTable></Ctrl>
      </Ctrls></EfxType>)";
    ModuleFolder folder ("Damaged", false, xml);
    DspLoader loader (folder.resources, false);
    TypeLib node ("Damaged", nullptr, false, true, &loader);
    ASSERT_TRUE (node.isLayoutLoaded());
    for (int i = 0; i < 3; ++i)
        node.describeParameter (*node.getCtrlLayout (i));

    EXPECT_EQ (node.getMaxStep (0), ControlRules::largestDspMax);
    EXPECT_EQ (node.getStep (0, true), ControlRules::largestDspMax);
    juce::String text;
    ASSERT_TRUE (node.getStepText (2, 2, text));
    EXPECT_EQ (text, "c") << "the table is read as the editor reads it";
    EXPECT_EQ (ControlRules::readPrmTable (*node.getCtrlLayout (2)), juce::StringArray ({ "a", "b", "c" }));
}

TEST (EngineModuleHost, TheTimeRecordIsNeverSeenHalfWrittenByModulesAskingAtOnce)
{
    auto& settings = getEngineSettings();
    const double oldRate = settings.sampleRate.load();
    settings.sampleRate = 44100.0;

    std::atomic<int> torn { 0 };
    auto ask = [&torn]
    {
        for (int i = 0; i < 20000; ++i)
        {
            auto* time = reinterpret_cast<const TimeInfo*> (ModuleHost::hostCallback (nullptr, kHostGetTime, 0, 0, nullptr, 0.0f));
            if (time == nullptr || time->sampleRate != 44100.0 || time->flags != (kTimeTempoValid | kTimeQuarterNotePosValid))
                ++torn;
        }
    };
    std::thread first (ask), second (ask);
    first.join();
    second.join();
    EXPECT_EQ (torn.load(), 0);

    settings.sampleRate = oldRate;
}
