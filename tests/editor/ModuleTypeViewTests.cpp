// Every module type of the shipped catalogue as the editor shows it: its view
// builds with a control for every "Ctrl" of a known kind, every control draws
// a picture at every step, and every control's parameter travels to the device
// module and parameter the factory patches use, and back to the same step.
// Also the drawing queue's rules.
#include "EditorTestSupport.h"

#include "editor/EditorSlots.h"
#include "editor/ModuleDescription.h"
#include "editor/ModuleViews.h"
#include "engine/FxChain.h"
#include "factory/StagedModules.h"

#include <cmath>

using namespace editortest;
using namespace T730;

namespace
{
class EditorModuleTypeView : public ::testing::TestWithParam<std::string>
{
};

/** The value the factory's table gives, as decimal arithmetic gives it: the long
    times are the shown seconds in hundredths (the table's binary arithmetic
    truncates some of them, such as 1.15 s, one below). */
int decimalValue (const stagedtest::DeviceWrite& w, int slot, const juce::String& key, int prm, int step,
                  const SE_ModuleLayout& layout)
{
    const bool longTime = prm == 3 && ((slot == 3 && key == "Delay1" && step >= 100) || (slot == 4 && key == "Reverse" && step > 89));
    if (! longTime)
        return w.value;
    const double shown = layout.describingCtrl (3)->param.shownText (step).getDoubleValue();
    return (int) std::lround (shown * 100.0) - (key == "Reverse" ? 10 : 0);
}

TEST_P (EditorModuleTypeView, BuildsDrawsAndMapsEveryControl)
{
    ScopedResources resources;
    const juce::String key (GetParam());
    const auto* layout = stagedtest::layoutOf (key);
    ASSERT_NE (layout, nullptr);

    FxChain chain;
    auto* node = new TypeLib (key, nullptr, false, true);
    ASSERT_TRUE (buildView (*node, chain)) << "the view builds";
    auto* view = viewOf (*node);
    ASSERT_NE (view, nullptr);

    int known = 0;
    for (const auto& c : layout->ctrls)
        known += c.isKnownKind() ? 1 : 0;
    ASSERT_EQ (view->getNumControls(), known);
    EXPECT_TRUE (view->getPicture().isValid());
    EXPECT_EQ (view->getModuleBounds().getWidth(), layout->width);
    EXPECT_FALSE (view->getBodyBounds().isEmpty());

    // Every control draws a picture at every step.
    view->moveTo (95);
    EXPECT_EQ (view->getInputPlugs().front().getY() + view->getModuleBounds().getY(), 42);
    juce::Image canvas (juce::Image::ARGB, 600, 300, true);
    juce::Graphics g (canvas);
    view->paint (g);
    for (int i = 0; i < view->getNumControls(); ++i)
    {
        auto* control = view->getControl (i);
        SCOPED_TRACE (key.toStdString() + " control " + std::to_string (control->getControlNumber()));
        for (int step = 0; step <= control->getMaxStep(); ++step)
        {
            control->setStep (step);
            control->draw (g);
            ASSERT_EQ (control->getDrawnFrame(), control->getFrameIndex());
            ASSERT_TRUE (control->getPicture().isValid()) << "step " << step;
        }
    }

    // Redrawing what changed: nothing when nothing did, else only the pixels under the changed control.
    view->paint (g);
    const auto before = canvas.createCopy();
    EXPECT_EQ (view->paintChanged (g), 0);
    auto differs = [&canvas, &before] (juce::Rectangle<int> outsideOf)
    {
        int n = 0;
        for (int y = 0; y < canvas.getHeight(); ++y)
            for (int x = 0; x < canvas.getWidth(); ++x)
                if (! outsideOf.contains (x, y) && canvas.getPixelAt (x, y) != before.getPixelAt (x, y))
                    ++n;
        return n;
    };
    EXPECT_EQ (differs ({}), 0);
    for (int i = 0; i < view->getNumControls(); ++i)
    {
        auto* control = view->getControl (i);
        const int drawn = control->getDrawnFrame();
        int target = -1;
        for (int step = 0; step <= control->getMaxStep() && target < 0; ++step)
        {
            control->setStep (step);
            if (control->getFrameIndex() != drawn)
                target = step;
        }
        if (target < 0)
            continue;   // a push key shows its press, not its step
        EXPECT_EQ (view->paintChanged (g), 1);
        EXPECT_EQ (differs (control->getBounds()), 0) << "control " << control->getControlNumber();
        EXPECT_EQ (control->getDrawnFrame(), control->getFrameIndex());
        break;
    }

    // Every control's parameter maps as the factory's table says, and comes back.
    const int slot = stagedtest::slotOf (key);
    if (slot < 0 || slot > 6)
        return;   // the EQ bands are never shown; the cabinets have no controls
    auto& module = view->getModule();
    const int nrStep = 4;
    module.setStep (0, 1, true);
    module.setStep (2, nrStep, true);
    std::set<int> prms;
    for (const auto& c : layout->ctrls)
        prms.insert (c.prm);
    for (int prm : prms)
        for (int step = 0; step <= stagedtest::maxStepOf (*layout, prm); ++step)
        {
            SCOPED_TRACE (key.toStdString() + " prm " + std::to_string (prm) + " step " + std::to_string (step));
            const auto expected = stagedtest::controlToDevice (slot, key, prm, step, *layout, 1, nrStep);
            const auto sent = EditorSlots::controlToDevice (slot, key, prm, step, module, 1);
            ASSERT_EQ (sent.size(), expected.size());
            for (size_t i = 0; i < sent.size(); ++i)
            {
                EXPECT_EQ (sent[i].module, expected[i].module);
                EXPECT_EQ (sent[i].param, expected[i].param);
                EXPECT_EQ (sent[i].value, decimalValue (expected[i], slot, key, prm, step, *layout));
            }
            if (prm == 3 && (slot == 3 || slot == 4))
            {
                EXPECT_EQ (EditorSlots::timeStepFromDevice (slot == 3 ? 5 : 6, key, sent.back().value, module), step);
            }
        }
}

std::vector<std::string> shownKeys()
{
    return stagedtest::shippedModuleKeys();
}

INSTANTIATE_TEST_SUITE_P (EditorShipped, EditorModuleTypeView, ::testing::ValuesIn (shownKeys()),
                          [] (const ::testing::TestParamInfo<std::string>& info) { return info.param; });

//==============================================================================
struct CountingHost : public FloorHost
{
    void floorRendered() override { ++renders; }
    std::atomic<int> renders { 0 };
};

TEST (EditorFloorQueue, RedundantCommandsAreDroppedBeforeTheyRun)
{
    ScopedResources resources;
    FxChain chain;
    for (auto* key : { "Chorus", "Delay" })
        buildView (*new TypeLib (key, nullptr, false, true), chain);
    auto* a = dynamic_cast<TypeUI*> (chain.getView (0));
    auto* b = dynamic_cast<TypeUI*> (chain.getView (1));
    ASSERT_NE (a, nullptr);
    ASSERT_NE (b, nullptr);

    CountingHost host;
    FloorThread floor (chain, host, 652, 146);   // not started: the commands wait
    EXPECT_EQ (floor.getThreadName(), "OXA Fx Section Drawing Thread");
    using K = FloorThread::Kind;
    auto kinds = [&floor]
    {
        std::vector<std::pair<int, TypeUI*>> list;
        for (const auto& c : floor.getPendingCommands())
            list.push_back ({ c.kind, c.view });
        return list;
    };
    using L = std::vector<std::pair<int, TypeUI*>>;

    floor.queue (K::redrawControls, a);
    floor.queue (K::redrawControls, b);
    floor.queue (K::redrawControls, a);
    floor.queue (K::redrawControls, a);
    EXPECT_EQ (kinds(), (L { { 1, a }, { 1, b }, { 1, a } })) << "a view's later redraws keep one";
    floor.queue (K::layoutAll);
    EXPECT_EQ (kinds(), (L { { 1, a }, { 0, nullptr } })) << "a layout drops everything after the first";
    floor.queue (K::redrawControls, b);
    floor.queue (K::layoutAll);
    EXPECT_EQ (kinds(), (L { { 1, a }, { 0, nullptr } }));
    floor.forgetView (a);
    EXPECT_EQ (kinds(), (L { { 0, nullptr } }));

    // Running: a storm of redraws keeps the queue short, and everything gets drawn.
    floor.start();
    for (int i = 0; i < 1000; ++i)
    {
        {
            const juce::ScopedLock sl (chain.getLock());
            a->getModule().setStep (2, i % 16, true);
            a->refreshControls (true);
        }
        floor.queue (K::redrawControls, i % 2 == 0 ? a : b);
    }
    EXPECT_LE (floor.getLongestQueue(), 4);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&floor] { return floor.isIdle(); }, 5000));
    EXPECT_GT (host.renders.load(), 0);
    const juce::ScopedLock sl (chain.getLock());
    for (int i = 0; i < a->getNumControls(); ++i)
    {
        EXPECT_EQ (a->getControl (i)->getDrawnFrame(), a->getControl (i)->getFrameIndex());
    }
    floor.stop();
}
} // namespace
