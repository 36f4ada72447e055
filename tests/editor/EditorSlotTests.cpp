// The slot table, the edit buffer applied to the modules and the mapping of
// the controls to device parameters and back, on the staged modules.
#include "EditorTestSupport.h"

#include "editor/EditorSlots.h"
#include "editor/ModuleViews.h"
#include "engine/FxChain.h"

using namespace editortest;
using namespace T730;

namespace
{
const std::vector<SE_ModuleInfosNode>& catalogue()
{
    static const auto nodes = readModuleCatalogue (stagedResources().getChildFile ("Module.xml"));
    return nodes;
}

/** A module node of a key with its view in a chain of its own (the view's
    controls describe the node's parameters). */
struct Module
{
    explicit Module (const juce::String& key)
    {
        auto* made = new TypeLib (key, nullptr, false, true);
        if (! buildView (*made, chain))
        {
            delete made;
            return;
        }
        node = made;
    }

    FxChain chain;
    TypeLib* node = nullptr;   // owned by the chain through its view
};

TEST (EditorSlots, SlotsAndCategoriesCorrespond)
{
    for (int slot = 0; slot < 8; ++slot)
    {
        EXPECT_EQ (EditorSlots::slotOfCategory (EditorSlots::categoryOfSlot (slot)), slot);
    }
    EXPECT_EQ (EditorSlots::slotOfCategory (3), 6);
    EXPECT_EQ (EditorSlots::slotOfCategory (10), -1);
    EXPECT_EQ (EditorSlots::categoryOfSlot (8), -1);
}

TEST (EditorSlots, AnAmpModelCoversTheDriveSlotAndStandsInTheAmpSlot)
{
    ScopedResources resources;
    const auto* drives = EditorSlots::findCategory (catalogue(), 2);
    ASSERT_NE (drives, nullptr);
    int model = -1, pedal = -1;
    for (int i = 0; i < drives->size(); ++i)
        (drives->isModeling (i) ? model : pedal) = i;
    ASSERT_GE (model, 0);
    ASSERT_GE (pedal, 0);

    EditBuf b;
    b.setParam (2, 1, model);
    const auto drive = EditorSlots::moduleInfo (2, b, catalogue(), 0);
    EXPECT_EQ (drive.key, "shieldDrive");
    EXPECT_EQ (drive.name, drives->names[model]);
    const auto amp = EditorSlots::moduleInfo (8, b, catalogue(), 0);
    EXPECT_EQ (amp.key, drives->keys[model]);

    b.setParam (2, 1, pedal);
    EXPECT_EQ (EditorSlots::moduleInfo (2, b, catalogue(), 0).key, drives->keys[pedal]);
    const auto clean = EditorSlots::moduleInfo (8, b, catalogue(), 0);
    EXPECT_EQ (clean.key, "UltraClean");
    EXPECT_EQ (clean.name, "UltraClean");

    // An index past the end of its category leaves the slot empty.
    b.setParam (2, 1, 500);
    EXPECT_TRUE (EditorSlots::moduleInfo (2, b, catalogue(), 0).name.isEmpty());
    EXPECT_TRUE (EditorSlots::moduleInfo (8, b, catalogue(), 0).name.isEmpty());
    b.setParam (5, 1, -3);
    EXPECT_TRUE (EditorSlots::moduleInfo (5, b, catalogue(), 0).name.isEmpty());
    EXPECT_EQ (EditorSlots::moduleInfo (3, b, catalogue(), 0).name, "EQ");
    EXPECT_TRUE (EditorSlots::moduleInfo (3, b, catalogue(), 0).key.isEmpty());
    EXPECT_TRUE (EditorSlots::moduleInfo (10, b, catalogue(), 0).name.isEmpty());
}

TEST (EditorSlots, TheCabinetAndThresholdShareOneValue)
{
    ScopedResources resources;
    EditBuf b;
    b.setParam (4, 0, 1);
    b.setParam (4, 2, 23);
    const int cabinet = EditorSlots::cabinetOf (b.getParam (4, 2));
    EXPECT_EQ (cabinet, 2);
    const auto* cabinets = EditorSlots::findCategory (catalogue(), 9);
    ASSERT_NE (cabinets, nullptr);
    EXPECT_EQ (EditorSlots::moduleInfo (9, b, catalogue(), cabinet).key, cabinets->keys[1]);
    const auto off = EditorSlots::moduleInfo (9, b, catalogue(), 0);
    EXPECT_EQ (off.key, "ShieldCabinet");
    EXPECT_EQ (off.name, "off");
    EXPECT_TRUE (EditorSlots::moduleInfo (9, b, catalogue(), 9).name.isEmpty());

    Module nr ("NoiseReduction");
    ASSERT_NE (nr.node, nullptr);
    EditorSlots::applyEditBuffer (*nr.node, 4, "NoiseReduction", b);
    EXPECT_EQ (nr.node->getStep (2, true), 2);
    EXPECT_EQ (nr.node->getStep (0, true), 1);
    b.setParam (4, 2, 20);
    EditorSlots::applyEditBuffer (*nr.node, 4, "NoiseReduction", b);
    EXPECT_EQ (nr.node->getStep (0, true), 0) << "threshold 0 is the noise reduction switched off";
    EXPECT_EQ (nr.node->getStep (2, true), 2) << "the threshold stays";

    // The menu ticks: off while module 4 is off or no cabinet is set.
    bool off1 = false;
    EXPECT_EQ (EditorSlots::currentTypeIndex (9, b, off1), 1);
    EXPECT_FALSE (off1);
    b.setParam (4, 0, 0);
    EXPECT_EQ (EditorSlots::currentTypeIndex (9, b, off1), -1);
    EXPECT_TRUE (off1);
}

TEST (EditorSlots, NoiseReductionSwitchSendsTheCabinetWithTheThreshold)
{
    ScopedResources resources;
    Module nr ("NoiseReduction");
    ASSERT_NE (nr.node, nullptr);
    nr.node->setStep (2, 4, true);

    nr.node->setStep (0, 0, true);
    using W = EditorSlots::DeviceWrite;
    EXPECT_EQ (EditorSlots::controlToDevice (1, "NoiseReduction", 0, 0, *nr.node, 2), (std::vector<W> { { 4, 2, 20 } }));
    EXPECT_TRUE (EditorSlots::controlToDevice (1, "NoiseReduction", 2, 5, *nr.node, 2).empty())
        << "the threshold sends nothing while the unit is off";

    nr.node->setStep (0, 1, true);
    EXPECT_EQ (EditorSlots::controlToDevice (1, "NoiseReduction", 0, 1, *nr.node, 2),
               (std::vector<W> { { 4, 0, 1 }, { 4, 2, 25 } }));
    EXPECT_EQ (EditorSlots::controlToDevice (1, "NoiseReduction", 2, 6, *nr.node, 3), (std::vector<W> { { 4, 2, 37 } }));

    // Parameters the table does not list send nothing.
    EXPECT_TRUE (EditorSlots::controlToDevice (1, "NoiseReduction", 5, 1, *nr.node, 0).empty());
    EXPECT_TRUE (EditorSlots::controlToDevice (0, "Compressor", 3, 1, *nr.node, 0).empty());
    EXPECT_TRUE (EditorSlots::controlToDevice (7, "Stack4x12", 0, 1, *nr.node, 0).empty());
    EXPECT_EQ (EditorSlots::deviceValueOf (7, "Stack4x12", 0, 1, *nr.node, 0), -1);
}

TEST (EditorSlots, LongTimesTravelAsTheirShownValueAndComeBack)
{
    ScopedResources resources;
    Module delay ("Delay1"), reverse ("Reverse");
    ASSERT_NE (delay.node, nullptr);
    ASSERT_NE (reverse.node, nullptr);

    // Every step of both comes back as itself.
    for (int step = 0; step <= delay.node->getMaxStep (3); ++step)
    {
        const int v = EditorSlots::deviceValueOf (3, "Delay1", 3, step, *delay.node, 0);
        ASSERT_EQ (EditorSlots::timeStepFromDevice (5, "Delay1", v, *delay.node), step) << step;
    }
    for (int step = 0; step <= reverse.node->getMaxStep (3); ++step)
    {
        const int v = EditorSlots::deviceValueOf (4, "Reverse", 3, step, *reverse.node, 0);
        ASSERT_EQ (EditorSlots::timeStepFromDevice (6, "Reverse", v, *reverse.node), step) << step;
    }
    EXPECT_EQ (EditorSlots::deviceValueOf (3, "Delay1", 3, 100, *delay.node, 0), 125);

    // Values no step sends fall into the device's windows.
    EXPECT_EQ (EditorSlots::timeStepFromDevice (6, "Reverse", 110, *reverse.node), 92);
    EXPECT_EQ (EditorSlots::timeStepFromDevice (5, "Delay1", 112, *delay.node), 99);
    EXPECT_EQ (EditorSlots::timeStepFromDevice (5, "Delay1", 98, *delay.node), 98);
    EXPECT_EQ (EditorSlots::timeStepFromDevice (5, "Chorus", 140, *delay.node), 140) << "other modules read the value as the step";

    // A patch holding a long time shows it when the chain is built from it.
    EditBuf b;
    b.setParam (5, 0, 1);
    b.setParam (5, 3, 125);
    EditorSlots::applyEditBuffer (*delay.node, 5, "Delay1", b);
    EXPECT_EQ (delay.node->getStep (3, true), 100);
    b.setParam (6, 3, EditorSlots::deviceValueOf (4, "Reverse", 3, 95, *reverse.node, 0));
    EditorSlots::applyEditBuffer (*reverse.node, 6, "Reverse", b);
    EXPECT_EQ (reverse.node->getStep (3, true), 95);
}

TEST (EditorSlots, TheAmpSlotTakesTheEqualiserAndTheDrivesGain)
{
    ScopedResources resources;
    const auto* amps = EditorSlots::findCategory (catalogue(), 8);
    ASSERT_NE (amps, nullptr);
    int model = -1;
    for (int i = 0; i < amps->size() && model < 0; ++i)
        if (amps->isModeling (i))
            model = i;
    Module amp (amps->keys[model]), clean ("UltraClean");
    ASSERT_NE (amp.node, nullptr);
    ASSERT_NE (clean.node, nullptr);

    EditBuf b;
    b.setParam (2, 0, 1);
    b.setParam (2, 3, 21);
    b.setParam (3, 0, 1);
    b.setParam (3, 2, 4);
    b.setParam (3, 3, 30);
    b.setParam (3, 4, 18);
    EditorSlots::applyEditBuffer (*amp.node, 8, amps->keys[model], b);
    EXPECT_EQ (amp.node->getStep (0, true), 1);
    EXPECT_EQ (amp.node->getStep (3, true), 21);
    EXPECT_EQ (amp.node->getStep (1, true), 1);
    EXPECT_EQ (amp.node->getStep (4, true), 4);
    EXPECT_EQ (amp.node->getStep (5, true), 30);
    EXPECT_EQ (amp.node->getStep (6, true), 18);

    EditorSlots::applyEditBuffer (*clean.node, 8, "UltraClean", b);
    EXPECT_EQ (clean.node->getStep (5, true), 30);
    EXPECT_EQ (clean.node->getStep (3, true), 0) << "the clean preamp has no gain of its own";

    using W = EditorSlots::DeviceWrite;
    EXPECT_EQ (EditorSlots::controlToDevice (6, amps->keys[model], 1, 0, *amp.node, 0), (std::vector<W> { { 3, 0, 0 } }));
    EXPECT_EQ (EditorSlots::controlToDevice (6, amps->keys[model], 6, 9, *amp.node, 0), (std::vector<W> { { 3, 4, 9 } }));
    EXPECT_EQ (EditorSlots::controlToDevice (6, amps->keys[model], 3, 9, *amp.node, 0), (std::vector<W> { { 2, 3, 9 } }));
}
} // namespace
