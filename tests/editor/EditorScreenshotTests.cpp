// Pictures of the editor for review: factory patches chosen so that every
// module type the editor shows stands on the board in at least one of them
// (build/screenshots/editor-<n>.png: the whole board as it scrolls by, with
// the strip as it first shows above it), and the main window with the editor
// (main-with-editor.png).
#include "EditorTestSupport.h"

#include "app/GuiMain.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "app/ToolSetTestSupport.h"
#include "editor/EditorSlots.h"

#include <set>

using namespace editortest;

namespace
{
/** The keys a buffer puts on the board. */
std::set<juce::String> keysShown (const T730::EditBuf& buffer, const std::vector<SE_ModuleInfosNode>& catalogue)
{
    std::set<juce::String> keys;
    const int cabinet = T730::EditorSlots::cabinetOf (buffer.getParam (4, 2));
    for (int category = 1; category <= 9; ++category)
    {
        const auto info = T730::EditorSlots::moduleInfo (category, buffer, catalogue, cabinet);
        if (info.key.isNotEmpty() && category != 3)
            keys.insert (info.key);
    }
    return keys;
}

/** Every key the editor can show: all catalogue keys but the EQ bands (category 3, always covered by slot 6). */
std::set<juce::String> showableKeys (const std::vector<SE_ModuleInfosNode>& catalogue)
{
    std::set<juce::String> keys { "shieldDrive", "UltraClean", "ShieldCabinet" };
    for (const auto& node : catalogue)
        if (node.category != 3)
            for (int i = 0; i < node.size(); ++i)
                if (! (node.category == 2 && node.isModeling (i)))
                    keys.insert (node.keys[i]);
    return keys;
}

juce::Image caption (const juce::String& text, int width)
{
    juce::Image image (juce::Image::RGB, width, 20, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colour (0xff101012));
    g.setColour (juce::Colour (255, 155, 0));
    g.setFont (13.0f);
    g.drawText (text, 8, 0, width - 16, 20, juce::Justification::centredLeft);
    return image;
}

juce::Image stack (const std::vector<juce::Image>& parts)
{
    int w = 0, h = 0;
    for (const auto& p : parts)
    {
        w = juce::jmax (w, p.getWidth());
        h += p.getHeight() + 4;
    }
    juce::Image image (juce::Image::RGB, w, h, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colour (0xff202024));
    int y = 0;
    for (const auto& p : parts)
    {
        g.drawImageAt (p, 0, y);
        y += p.getHeight() + 4;
    }
    return image;
}

TEST (EditorGuiScreenshots, FactoryPatchesShowEveryModuleTypeOnTheBoard)
{
    ScopedResources resources;
    RecordingLink link;
    T730::SectionEditor editor (link);
    link.repaintTarget = &editor;
    TestWindow window (editor);

    const auto& catalogue = editor.getCatalogue();
    auto uncovered = showableKeys (catalogue);
    const auto wanted = uncovered.size();

    struct Choice { juce::String group; int number; T730::EditBuf buffer; };
    std::vector<Choice> candidates, chosen;
    for (const auto* group : { "Factory Tones.xml", "Factory Effects.xml" })
    {
        const auto patches = factoryPatches (group);
        ASSERT_FALSE (patches.empty()) << group;
        for (size_t i = 0; i < patches.size(); ++i)
            candidates.push_back ({ juce::String (group).upToLastOccurrenceOf (".", false, false), (int) i + 1, patches[i] });
    }

    // Greedy: the patch that shows the most types not yet seen, until none adds any.
    for (;;)
    {
        size_t best = 0, bestCount = 0;
        for (size_t i = 0; i < candidates.size(); ++i)
        {
            size_t n = 0;
            for (const auto& k : keysShown (candidates[i].buffer, catalogue))
                n += uncovered.count (k);
            if (n > bestCount)
            {
                bestCount = n;
                best = i;
            }
        }
        if (bestCount == 0)
            break;
        for (const auto& k : keysShown (candidates[best].buffer, catalogue))
            uncovered.erase (k);
        chosen.push_back (candidates[best]);
    }

    juce::String missing;
    for (const auto& k : uncovered)
        missing << k << " ";
    EXPECT_TRUE (uncovered.empty()) << "types no factory patch shows: " << missing;
    EXPECT_GT (wanted, 60u);

    int n = 0;
    for (const auto& choice : chosen)
    {
        link.project.editBuffer = choice.buffer;
        editor.updateSection();
        ASSERT_TRUE (waitForFloor (editor));

        const auto geo = editor.getFloor().getGeometry();
        const auto board = editor.getFloor().renderArea ({ 0, geo.view.getY(), geo.chainWidth + 2 * T730::FloorThread::startX,
                                                           geo.view.getHeight() });
        const auto strip = editor.getFloor().getShownPicture();
        ASSERT_TRUE (board.isValid());
        ASSERT_TRUE (strip.isValid());

        juce::String shown;
        for (int slot = 0; slot < 8; ++slot)
            if (editor.getInfo (slot).name.isNotEmpty())
                shown << (shown.isEmpty() ? "" : " > ") << editor.getInfo (slot).name;
        const auto title = choice.group + " " + juce::String (choice.number).paddedLeft ('0', 3) + " \""
                           + choice.buffer.name + "\":  " + shown;
        EXPECT_TRUE (uitest::writeScreenshot (stack ({ caption (title, board.getWidth()), strip, board }),
                                              "editor-" + juce::String (++n)));
    }
    EXPECT_GE (n, 3);
}

TEST (EditorGuiScreenshots, MainWindowWithTheEditor)
{
    oxatest::UserDataSandbox sandbox;
    ASSERT_TRUE ((sandbox.root / "install").createDirectory());
    for (auto* name : { T730::UserFolder::patchgroup, T730::UserFolder::setting })
        sandbox.folder (name).createDirectory();
    const auto installed = juce::File (T730::getInstallFolder()).getChildFile ("resources");
    ASSERT_TRUE (stagedResources().createSymbolicLink (installed, true));
    ScopedResources resources (installed);
    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;

    auto window = std::make_unique<HelloWorldWindow>();
    auto& controller = *window->getController();
    auto patches = factoryPatches ("Factory Tones.xml");
    ASSERT_GT (patches.size(), 10u);
    controller.request (T730::SetEditBuffer, 0, 0, &patches[4]);
    auto& editor = controller.getGui()->getEditorSection();
    oxatest::pumpMessagesUntil ([&editor] { return editor.getTimesUpdated() > 1 && editor.getFloor().isIdle(); }, 5000);
    oxatest::pumpMessagesUntil ({}, 200);

    const auto picture = window->createComponentSnapshot (window->getLocalBounds(), true, 1.0f);
    EXPECT_TRUE (uitest::writeScreenshot (picture, "main-with-editor"));
    window.reset();
}
} // namespace
