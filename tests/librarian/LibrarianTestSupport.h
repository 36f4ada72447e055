#pragma once

#include "TestSupport.h"
#include "../ui/UiTestSupport.h"
#include "app/ControllerRequest.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"
#include "librarian/SL_ModalWindow.h"
#include "librarian/SectionLibrarian.h"
#include "librarian/StoreAs.h"
#include "ui/ControllerLink.h"
#include "ui/OxDialog.h"
#include "ui/SectionDialogs.h"
#include "ui/T730LookAndFeel.h"

#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace libtest
{

/** The parameters test patch `index` of a group seeded with `seed` carries. */
inline int testParam (int seed, int index, int param) { return (seed * 31 + index * 7 + param * 3) % 64; }

/** A group of patches named "<prefix>00".."<prefix>99" with distinct parameters;
    with keywords on every patch it is protected. Only `count` patches are written. */
inline juce::File writeGroupFile (const juce::File& folder, const juce::String& fileName, const juce::String& name,
                                  int count = 100, bool keyworded = false, int seed = 1, const juce::String& prefix = "P")
{
    T730::PatchSet set;
    set.Name = name;
    for (int i = 0; i < T730::PatchSet::numPatches; ++i)
    {
        auto& patch = set.patches[(size_t) i];
        patch.setName (prefix + juce::String (i).paddedLeft ('0', 2));
        patch.tooltip = "Tip " + juce::String (i);
        for (int p = 0; p < T730::EditBuf::numParams; ++p)
            patch.edit.params[p] = testParam (seed, i, p);
    }

    juce::XmlElement root ("PatchSet");
    set.write (&root);
    auto* list = root.getChildByName ("Patches");
    int i = 0;
    for (auto* patch = list->getFirstChildElement(); patch != nullptr;)
    {
        auto* next = patch->getNextElement();
        if (i >= count)
            list->removeChildElement (patch, true);
        else if (keyworded)
            T730::addTextChild (patch->getChildByName ("Keywords"), "Keyword", "word" + juce::String (i));
        patch = next;
        ++i;
    }

    const auto file = folder.getChildFile (fileName);
    EXPECT_TRUE (T730::writeXmlDocument (file, root)) << fileName;
    return file;
}

/** The controller as the librarian sees it: requests recorded (and the few it
    needs answered), updates recorded, dialogs answered from a script. */
struct FakeLink : public T730::ControllerLink, public T730::SectionDialogs
{
    struct Request
    {
        int code, param1, param2;
    };

    int request (int code, int param1, int param2, void* data) override
    {
        requests.push_back ({ code, param1, param2 });
        switch (code)
        {
            case T730::GetPatchManager:
                *static_cast<T730::PatchManager**> (data) = store;
                return T730::requestTrue;
            case T730::SetEditBuffer:
                project.editBuffer = *static_cast<const T730::EditBuf*> (data);
                return T730::requestTrue;
            case T730::SetCurrentPatch:
                project.CurrentPatchSet = *static_cast<const juce::String*> (data);
                project.CurrentPatchIdx = param1;
                return T730::requestTrue;
            case T730::SendEditBuffer:
                sent.push_back (*static_cast<const T730::EditBuf*> (data));
                return T730::requestTrue;
            case T730::BackupFromDevice:
                if (backup)
                    return backup (*static_cast<T730::PatchSet*> (data)) ? T730::requestTrue : T730::requestFalse;
                return T730::requestFalse;
            case T730::RestoreToDevice:
            {
                auto& set = *static_cast<T730::PatchSet*> (data);
                restoredSets.push_back (&set);
                restored.emplace_back (set.patches.begin(), set.patches.begin() + juce::jlimit (0, 100, param1));
                return T730::requestTrue;
            }
            default:
                return T730::requestTrue;
        }
    }

    T730::Project& getCurrentProject() override { return project; }
    void postUpdate (int flags) override { posted.push_back (flags); }
    T730::SectionDialogs* getDialogs() override { return this; }

    bool confirm (const juce::String& text) override
    {
        questions.add (text);
        if (auto meanwhile = std::exchange (duringDialog, {}))
            meanwhile();
        return confirmAnswer;
    }

    void showError (const juce::String& text) override { errors.add (text); }

    bool chooseFileToOpen (const juce::File&, const juce::String& extension, juce::File& chosen) override
    {
        extensions.add (extension);
        if (auto meanwhile = std::exchange (duringDialog, {}))
            meanwhile();
        chosen = openChoice;
        return openChoice != juce::File();
    }

    bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
    {
        extensions.add (extension);
        saveInitials.add (initial.getFullPathName());
        if (auto meanwhile = std::exchange (duringDialog, {}))
            meanwhile();
        chosen = saveChoice;
        return saveChoice != juce::File();
    }

    int count (int code) const { return oxatest::requestCount (requests, code); }

    std::vector<int> codes() const { return oxatest::requestCodes (requests); }

    T730::PatchManager* store = nullptr;
    T730::Project project;
    std::vector<Request> requests;
    std::vector<T730::EditBuf> sent;
    std::vector<std::vector<T730::PatchData>> restored;
    std::vector<const T730::PatchSet*> restoredSets;
    std::vector<int> posted;
    std::function<bool (T730::PatchSet&)> backup;
    bool confirmAnswer = true;
    juce::File openChoice, saveChoice;
    std::function<void()> duringDialog;   // runs inside the next dialog, as a device message or update would
    juce::StringArray questions, errors, extensions, saveInitials;
};

/** The page in a window of its own that is the drag-and-drop container, as the main component is. */
struct Host : public juce::Component, public juce::DragAndDropContainer
{
    explicit Host (T730::ControllerLink& link) : page (link)
    {
        setSize (page.getWidth(), page.getHeight());
        addAndMakeVisible (page);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setTopLeftPosition (80, 80);
        setVisible (true);
    }

    T730::SectionLibrarian page;
};

/** Scrolls a table so that a cell is in view (as the user does with the bar). */
inline void bringIntoView (T730::EditableTable& table, int row, int column)
{
    if (table.isHorizontalBarShown())
        table.getHorizontalBar().setCurrentRangeStart (column * table.getColumnWidth (0), juce::sendNotificationSync);
    if (table.isVerticalBarShown())
        table.getVerticalBar().setCurrentRangeStart (row * table.getRowHeight (0), juce::sendNotificationSync);
}

/** Inside the next modal window: hands over its content. */
template <typename Content>
void whenOpen (std::function<void (Content&)> act)
{
    uitest::whenModal ([]
                       {
                           auto* modal = juce::Component::getCurrentlyModalComponent();
                           auto* window = dynamic_cast<T730::OxDialogWindow*> (modal);
                           return window != nullptr && dynamic_cast<Content*> (window->getContentComponent()) != nullptr;
                       },
                       [act]
                       {
                           auto* window = dynamic_cast<T730::OxDialogWindow*> (juce::Component::getCurrentlyModalComponent());
                           ASSERT_NE (window, nullptr) << "no modal window came up";
                           auto* content = dynamic_cast<Content*> (window->getContentComponent());
                           ASSERT_NE (content, nullptr) << "another window came up";
                           act (*content);
                       });
}

/** Answers the next chooser with its upper (1000) or lower (2000) button. */
inline void chooseInWizard (bool upper)
{
    whenOpen<T730::SL_ModalWindow> ([upper] (T730::SL_ModalWindow& wizard)
    {
        // Pressed as the keyboard would: a synthetic click on a dialog's button
        // just after it came up is now and then not taken on a loaded display.
        auto& button = upper ? wizard.getUpperButton() : wizard.getLowerButton();
        button.triggerClick();
        juce::Component::SafePointer<T730::SL_ModalWindow> open (&wizard);
        oxatest::pumpMessagesUntil ([open] { return open == nullptr || ! open->isShowing()
                                                 || juce::Component::getCurrentlyModalComponent() != open->getTopLevelComponent(); },
                                    3000);
    });
}

/** A store in a temporary patch group folder and the page on it. */
class PageFixture : public ::testing::Test
{
protected:
    PageFixture()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        folder.createDirectory();
        store.setFolder (folder);
        store.onFileError = [this] (const juce::String& message) { link.errors.add (message); };
        link.store = &store;
    }

    ~PageFixture() override
    {
        host.reset();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    /** Loads the store and builds the page on it. */
    T730::SectionLibrarian& makePage()
    {
        store.loadAll();
        host = std::make_unique<Host> (link);
        settle();
        return host->page;
    }

    T730::SectionLibrarian& page() { return host->page; }
    T730::PatchSet& group (int index) { return *store.getGroup (index); }

    void settle (int ms = 30) { oxatest::pumpMessagesUntil ({}, ms); }

    /** A click on a cell of one of the page's tables, through the window. */
    void clickCell (T730::EditableTable& table, int row, int column)
    {
        if (! juce::Rectangle<int> (table.getViewWidth(), table.getViewHeight()).contains (table.getCellBounds (row, column).getCentre()))
            bringIntoView (table, row, column);
        uitest::clickThroughPeer (table, table.getCellBounds (row, column).getCentre());
    }

    void clickPatch (int index) { clickCell (page().getPatchTable(), index % 5, index / 5); }
    void clickGroup (int row) { clickCell (page().getGroupTable(), row, 0); }

    /** A click on one of the page's buttons, through the window (its action runs inside). */
    void clickButton (T730::SectionLibrarian::ButtonId id)
    {
        auto& button = page().getButton (id);
        uitest::clickThroughPeer (button, { button.getWidth() / 2, button.getHeight() / 2 });
    }

    /** Drags a cell of a table onto another through the window, as the system
        does; a target out of view is reached by holding the pointer at the
        grid's edge until the grid has scrolled to it. */
    void dragCell (T730::EditableTable& table, int fromRow, int fromColumn, int toRow, int toColumn)
    {
        auto* peer = host->getPeer();
        ASSERT_NE (peer, nullptr);
        const auto source = juce::MouseInputSource::InputSourceType::mouse;
        const auto down = juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier);
        auto time = juce::Time::currentTimeMillis() + 1000;   // never a double click with an earlier press
        auto send = [&] (juce::Point<int> p, bool pressed)
        {
            peer->handleMouseEvent (source, host->getLocalPoint (&table, p).toFloat(), pressed ? down : juce::ModifierKeys(),
                                    juce::MouseInputSource::defaultPressure, 0.0f, time += 20);
        };

        auto from = table.getCellBounds (fromRow, fromColumn).getCentre();
        send (from, true);
        for (int i = 1; i <= 4; ++i)
        {
            send (from + juce::Point<int> (2 * i, 0), true);
            settle (10);
        }

        const juce::Rectangle<int> view (0, 0, table.getViewWidth(), table.getViewHeight());
        for (int attempt = 0; attempt < 100 && table.isDragging() && ! view.contains (table.getCellBounds (toRow, toColumn)); ++attempt)
        {
            const auto target = table.getCellBounds (toRow, toColumn);
            const juce::Point<int> edge (target.getRight() > view.getRight() ? view.getRight() - 3
                                         : target.getX() < 0                 ? 3
                                                                             : target.getCentreX(),
                                         target.getBottom() > view.getBottom() ? view.getBottom() - 3
                                         : target.getY() < 0                   ? 3
                                                                               : target.getCentreY());
            send (edge, true);
            settle (70);

        }

        const auto to = table.getCellBounds (toRow, toColumn).getCentre();
        for (int i = 1; i <= 4; ++i)
        {
            send (to, true);
            settle (10);
        }
        send (to, false);
        oxatest::pumpMessagesUntil ([this] { return ! host->isDragAndDropActive(); }, 2000);
    }

    /** A mouse event at a point of a component. */
    static juce::MouseEvent eventAt (juce::Component& component, juce::Point<int> point)
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), point.toFloat(), {},
                                 juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &component, &component,
                                 now, point.toFloat(), now, 1, false);
    }

    oxatest::TempFolder temp;
    juce::File folder { temp / "patchgroupM7" };
    T730::PatchManager store;
    FakeLink link;
    T730::T730LookAndFeel lookAndFeel;
    std::unique_ptr<Host> host;
};

/** The bytes of a file. */
inline juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

} // namespace libtest
