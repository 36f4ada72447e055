#pragma once

// The search page under test: patch groups and songs written into temporary
// folders (with the keywords a test wants), the staged module catalogue as the
// program's resources, a controller that records what the page asks of it, and
// a window standing for the main component.

#include "TestSupport.h"
#include "../ui/UiTestSupport.h"
#include "app/ControllerRequest.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"
#include "editor/ModuleNameLoader.h"
#include "engine/DspLoader.h"
#include "platform/DataFolders.h"
#include "rhythm/SongManager.h"
#include "search/SectionSearch.h"
#include "ui/ControllerLink.h"
#include "ui/T730LookAndFeel.h"

#include <gtest/gtest.h>
#include <vector>

namespace searchtest
{

/** One patch as a test writes it: name, keywords, and (when set) a parameter filler. */
struct PatchPlan
{
    juce::String name;
    juce::StringArray keywords;
};

/** Writes a patch group: the given patches first, the rest of the 100 left out
    of the file. `keyworded` false adds one patch without keywords at the end,
    so the group is not allKeyworded. */
inline juce::File writeGroup (const juce::File& folder, const juce::String& fileName, const std::vector<PatchPlan>& plans,
                              bool keyworded = true, int seed = 1)
{
    T730::PatchSet set;
    set.Name = fileName.upToLastOccurrenceOf (".", false, false);
    for (int i = 0; i < T730::PatchSet::numPatches; ++i)
    {
        auto& patch = set.patches[(size_t) i];
        patch.setName (i < (int) plans.size() ? plans[(size_t) i].name : "Extra");
        patch.tooltip = "Tip of " + patch.getName();
        for (int p = 0; p < T730::EditBuf::numParams; ++p)
            patch.edit.params[p] = (seed * 31 + i * 7 + p * 3) % 30;
    }

    juce::XmlElement root ("PatchSet");
    set.write (&root);
    auto* list = root.getChildByName ("Patches");
    const int count = (int) plans.size() + (keyworded ? 0 : 1);
    int i = 0;
    for (auto* patch = list->getFirstChildElement(); patch != nullptr; ++i)
    {
        auto* next = patch->getNextElement();
        if (i >= count)
            list->removeChildElement (patch, true);
        else if (i < (int) plans.size())
            for (const auto& word : plans[(size_t) i].keywords)
                T730::addTextChild (patch->getChildByName ("Keywords"), "Keyword", word);
        patch = next;
    }

    const auto file = folder.getChildFile (fileName);
    EXPECT_TRUE (T730::writeXmlDocument (file, root)) << fileName;
    return file;
}

/** Writes a song document with a name, tempo, keywords and a tooltip. */
inline juce::File writeSong (const juce::File& folder, const juce::String& fileName, const juce::String& name,
                             const juce::StringArray& keywords, int bpm = 120, const juce::String& tooltip = {})
{
    juce::XmlElement root ("Song");
    T730::addTextChild (&root, "SongName", name);
    T730::addTextChild (&root, "BPM", juce::String (bpm));
    T730::addTextChild (&root, "Tooltip", tooltip);
    auto* list = root.createNewChildElement ("Keywords");
    for (const auto& word : keywords)
        T730::addTextChild (list, "Keyword", word);
    const auto file = folder.getChildFile (fileName);
    EXPECT_TRUE (T730::writeXmlDocument (file, root)) << fileName;
    return file;
}

/** A patch group folder and a song folder with their stores. */
struct Stores
{
    Stores()
    {
        patchFolder.createDirectory();
        songFolder.createDirectory();
        patches.setFolder (patchFolder);
        songs.setFolder (songFolder);
    }

    void load()
    {
        patches.loadAll();
        songs.loadAll();
    }

    oxatest::TempFolder temp;
    juce::File patchFolder = temp / "patchgroupM7";
    juce::File songFolder = temp / "song";
    T730::PatchManager patches;
    T730::SongManager songs;
};

/** The controller as the page sees it: the stores, the requests in order. */
struct FakeLink : public T730::ControllerLink
{
    struct Request
    {
        int code, param1;
        juce::String text;   // LoadSong's path, SetCurrentPatch's group file
    };

    int request (int code, int param1, int, void* data) override
    {
        Request r { code, param1, {} };
        switch (code)
        {
            case T730::GetPatchManager:
                *static_cast<T730::PatchManager**> (data) = patches;
                break;
            case T730::GetSongManager:
                *static_cast<T730::SongManager**> (data) = songs;
                break;
            case T730::SendEditBuffer:
                sent.push_back (*static_cast<const T730::EditBuf*> (data));
                break;
            case T730::LoadSong:
            case T730::SetCurrentPatch:
                r.text = *static_cast<const juce::String*> (data);
                break;
            default:
                break;
        }
        requests.push_back (r);
        if (onRequest)
            onRequest (code);
        return T730::requestTrue;
    }

    T730::Project& getCurrentProject() override { return project; }
    void postRepaint (int flags) override { repaints.push_back (flags); }

    std::vector<int> codes() const { return oxatest::requestCodes (requests); }

    int count (int code) const { return oxatest::requestCount (requests, code); }

    T730::PatchManager* patches = nullptr;
    T730::SongManager* songs = nullptr;
    T730::Project project;
    std::vector<Request> requests;
    std::vector<T730::EditBuf> sent;
    std::vector<int> repaints;
    std::function<void (int)> onRequest;
};

/** The staged catalogue and module descriptions as the program's resources while it lives. */
struct ScopedStagedResources
{
    ScopedStagedResources()
    {
        T730::ModuleNameLoader::deleteInstance();
        T730::overrideFolderRoots (oxatest::stageFolder(), documents.get());
        T730::DspLoader::setDefaultResourceFolder (oxatest::stageFolder().getChildFile ("resources"));
    }

    ~ScopedStagedResources()
    {
        T730::ModuleNameLoader::deleteInstance();
        T730::DspLoader::setDefaultResourceFolder ({});
        T730::clearFolderRootOverrides();
    }

    oxatest::TempFolder documents;
};

/** The main component in small: a drag-and-drop container holding the page and a button beside it. */
struct Host : public juce::Component, public juce::DragAndDropContainer
{
    explicit Host (T730::ControllerLink& link) : page (link), other ("OTHER")
    {
        setSize (page.getWidth() + 100, page.getHeight());
        addAndMakeVisible (page);
        other.setBounds (page.getWidth() + 10, 10, 80, 24);
        other.onClick = [this] { ++otherClicks; };
        addAndMakeVisible (other);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setTopLeftPosition (60, 60);
        setVisible (true);
    }

    T730::SectionSearch page;
    juce::TextButton other;
    int otherClicks = 0;
};

inline void settle (int ms = 30)
{
    oxatest::pumpMessagesUntil ({}, ms);
}

} // namespace searchtest
