// The shipped module descriptions as the module nodes read them: every
// parameter gets the range its controls describe, every step survives the
// node's step/value conversion, table parameters show their texts, and the
// picture cache counts the node as a user of its archive while it lives.
#include "editor/ModuleDescription.h"
#include "editor/ModuleNameLoader.h"
#include "editor/ModulePictures.h"

#include "TestSupport.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "ui/FlyWeight.h"

#include <gtest/gtest.h>

namespace
{
juce::File stagedResources() { return oxatest::stageFolder().getChildFile ("resources"); }

juce::StringArray stagedKeys()
{
    juce::StringArray keys;
    for (const auto& node : T730::readModuleCatalogue (stagedResources().getChildFile ("Module.xml")))
        for (const auto& key : node.keys)
            keys.addIfNotAlreadyThere (key);
    keys.addArray ({ "shieldDrive", "UltraClean", "ShieldCabinet" });
    return keys;
}

TEST (EditorShippedModuleNodes, NodesTakeTheDescribedRangesAndKeepEveryStep)
{
    T730::FlyWeight::deleteInstance();
    T730::PictureCacheArchiveUser cacheUser;
    T730::NetListItem::setArchiveUser (&cacheUser);
    T730::DspLoader registry (stagedResources(), false);

    const auto keys = stagedKeys();
    ASSERT_GT (keys.size(), 60);
    int steps = 0;
    for (const auto& key : keys)
    {
        SCOPED_TRACE (key.toStdString());
        auto node = std::make_unique<T730::TypeLib> (key, nullptr, false, true, &registry);
        ASSERT_TRUE (node->isLayoutLoaded());
        EXPECT_EQ (T730::FlyWeight::getInstance()->lookup (key)->getUseCount(), 1);

        auto document = T730::loadModuleDescription (stagedResources(), key);
        ASSERT_NE (document, nullptr);
        const auto layout = T730::readModuleLayout (*document);
        if (auto* ctrls = document->getChildByName ("Ctrls"))
            for (auto* ctrl : ctrls->getChildWithTagNameIterator ("Ctrl"))
                node->describeParameter (*ctrl);

        for (const auto& ctrl : layout.ctrls)
        {
            const auto& p = layout.describingCtrl (ctrl.prm)->param;
            ASSERT_EQ (node->getMaxStep (ctrl.prm), p.dspMax) << "prm " << ctrl.prm;
            EXPECT_EQ (node->getStep (ctrl.prm, true), layout.initialStep (ctrl.prm));
            for (int step = 0; step <= p.dspMax; ++step)
            {
                ASSERT_EQ (node->valueToStep (ctrl.prm, node->stepToValue (ctrl.prm, step)), step) << "prm " << ctrl.prm;
                juce::String text;
                ASSERT_TRUE (node->getStepText (ctrl.prm, step, text));
                // the step text carries no unit; the tooltip adds it
                EXPECT_EQ (text, p.usePrmTable ? p.shownText (step) : juce::String (step + p.prmOffset));
                ++steps;
            }
        }

        node.reset();
        EXPECT_EQ (T730::FlyWeight::getInstance()->lookup (key)->getUseCount(), 0) << "the archive was not given back";
    }
    EXPECT_GT (steps, 3000);

    T730::NetListItem::setArchiveUser (nullptr);
    T730::FlyWeight::deleteInstance();
}
} // namespace
