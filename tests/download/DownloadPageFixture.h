#pragma once

#include "DownloadTestSupport.h"

#include "ui/T730LookAndFeel.h"
#include "ui/ToolTipEx.h"

namespace downloadtest
{

/** The main component in small: a drag-and-drop container holding the page. */
struct Host : public juce::Component, public juce::DragAndDropContainer
{
    explicit Host (T730::ControllerLink& link) : page (link)
    {
        setSize (page.getWidth(), page.getHeight());
        addAndMakeVisible (page);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setTopLeftPosition (60, 60);
        setVisible (true);
    }

    T730::SectionDownload page;
};

/** The page on its own user-data folders, talking to a local catalogue server. */
class PageFixture : public ::testing::Test
{
protected:
    PageFixture()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        user.patches.loadAll();
        user.songs.loadAll();
        link.patches = &user.patches;
        link.songs = &user.songs;
        host = std::make_unique<Host> (link);
        page().setFolders (user.folders);
        page().setAuditionFolder (user.audition);
        page().setLimits (testLimits());
    }

    ~PageFixture() override
    {
        host.reset();
        T730::ToolTipEx::deleteInstance();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    T730::SectionDownload& page() { return host->page; }

    /** Serves the catalogue and connects the page to the server; true once it is online. */
    bool connect (const std::vector<Entry>& patchsets, const std::vector<Entry>& rhythms)
    {
        server.catalogueFile().getParentDirectory().createDirectory();
        server.catalogueFile().replaceWithText (catalogueText (patchsets, rhythms));
        page().setServer (server.address());
        return waitForAnswer() && page().isOnline();
    }

    bool waitForAnswer()
    {
        return settleUntil ([this] { return page().getState() != T730::SectionDownload::State::connecting; });
    }

    /** A staged patch set as an entry of this server. */
    Entry patchset (const juce::String& name, const juce::String& isNew = "false")
    {
        return { name, { server.serveStaged ("patchsets/" + name + ".xml") }, -1, isNew, "The " + name };
    }

    /** A staged rhythm as an entry: its song first, then its patterns and MIDI files. */
    Entry rhythm (const juce::String& name, const juce::String& song, const juce::String& patternPrefix)
    {
        Entry e { name, { server.serveStaged ("rhythms/song/" + song) }, 0, "false", "The " + name };
        auto files = stagedFiles().getChildFile ("rhythms/rhythm").findChildFiles (juce::File::findFiles, false, patternPrefix + "_*");
        files.sort();
        for (auto& f : files)
            e.urls.add (server.serveStaged ("rhythms/rhythm/" + f.getFileName()));
        return e;
    }

    T730::DL_VScrollingUI& list (int kind)
    {
        if (kind == T730::DL_ItemInfo::rhythmKind)
            return page().getRhythmList();
        return page().getPatchsetList();
    }

    void pressSpot (int kind, int row, juce::Rectangle<int> spot)
    {
        auto& l = list (kind);
        l.pressAt (l.spotCentre (row, spot));
    }

    void pressDownload (int kind, int row) { pressSpot (kind, row, T730::DL_VScrollingUIItem::downloadSpot()); }
    void pressAudition (int kind, int row) { pressSpot (kind, row, T730::DL_VScrollingUIItem::auditionSpot()); }

    juce::Array<juce::File> filesIn (const juce::File& folder) const
    {
        return folder.findChildFiles (juce::File::findFiles, true);
    }

    T730::T730LookAndFeel lookAndFeel;
    UserFolders user;
    FakeLink link;
    TestServer server;
    std::unique_ptr<Host> host;
};

} // namespace downloadtest
