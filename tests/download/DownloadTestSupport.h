#pragma once

// The download page and its service under test: a catalogue server on
// 127.0.0.1 at a free port (the project's own, with faulty answers of its own
// at /fault/...), catalogues written by the test whose files come from the
// staged download catalogue, user-data folders in a temporary folder, and a
// controller that records what the page asks of it.

#include "TestSupport.h"
#include "../ui/UiTestSupport.h"
#include "CatalogueServer.h"
#include "app/ControllerRequest.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"
#include "download/SectionDownload.h"
#include "rhythm/SongManager.h"
#include "ui/ControllerLink.h"
#include "ui/SectionDialogs.h"

#include <httplib.h>

#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include <vector>

namespace downloadtest
{

/** The staged download catalogue (build/stage-catalogue) and its files. */
inline juce::File stagedCatalogue()
{
    return oxatest::stageFolder().getSiblingFile ("stage-catalogue");
}

inline juce::File stagedFiles()
{
    return stagedCatalogue().getChildFile ("archive/oxa_tools_data/M7c");
}

/** A catalogue server serving a temporary folder, with the faulty answers:
    /fault/404, /fault/500, /fault/html.xml (an HTML page), /fault/truncated.xml
    (promises 5000 bytes, sends 100), /fault/huge.xml (promises 2 GB) and
    /fault/silent.xml (says nothing for 30 s). */
struct TestServer
{
    TestServer() : server (root.get().getFullPathName().toStdString())
    {
        auto& http = server.http();
        http.Get ("/fault/404", [] (const httplib::Request&, httplib::Response& r) { r.status = 404; r.set_content ("not here", "text/plain"); });
        http.Get ("/fault/500", [] (const httplib::Request&, httplib::Response& r) { r.status = 500; r.set_content ("broken", "text/plain"); });
        http.Get ("/fault/html.xml", [] (const httplib::Request&, httplib::Response& r)
                  { r.set_content ("<!DOCTYPE html><html><body>Sorry<br>try later</body></html>", "text/html"); });
        http.Get ("/fault/truncated.xml", [] (const httplib::Request&, httplib::Response& r)
                  {
                      r.set_content_provider (5000, "application/xml", [] (size_t offset, size_t, httplib::DataSink& sink)
                                              {
                                                  if (offset > 0)
                                                      return false;
                                                  const std::string part (100, ' ');
                                                  sink.write (part.data(), part.size());
                                                  return false;
                                              });
                  });
        http.Get ("/fault/huge.xml", [this] (const httplib::Request&, httplib::Response& r)
                  {
                      r.set_content_provider ((size_t) 2 * 1024 * 1024 * 1024, "application/xml",
                                              [this] (size_t, size_t length, httplib::DataSink& sink)
                                              {
                                                  ++hugeChunks;
                                                  const std::string block (std::min<size_t> (length, 65536), 'x');
                                                  return ! server.isStopping() && hugeChunks < 40000 && sink.write (block.data(), block.size());
                                              });
                  });
        http.Get ("/fault/silent.xml", [this] (const httplib::Request&, httplib::Response& r)
                  {
                      for (int i = 0; i < 300 && ! server.isStopping(); ++i)
                          std::this_thread::sleep_for (std::chrono::milliseconds (100));
                      r.set_content ("late", "text/plain");
                  });
        started = server.start();
        EXPECT_TRUE (started);
    }

    juce::String address() const { return juce::String (server.getAddress()); }
    juce::String url (const juce::String& path) const { return address() + path; }
    /** The folder behind the server's paths. */
    juce::File files() const { return root.get(); }
    juce::File catalogueFile() const { return root / "archive/oxa_tools_data/M7c/DownloadInfo.xml"; }

    /** Copies a staged catalogue file (relative to the staged M7c folder) to the same place here. */
    juce::String serveStaged (const juce::String& relative)
    {
        const auto target = root / ("archive/oxa_tools_data/M7c/" + relative);
        target.getParentDirectory().createDirectory();
        EXPECT_TRUE (stagedFiles().getChildFile (relative).copyFileTo (target)) << relative;
        return url ("/archive/oxa_tools_data/M7c/" + juce::URL::addEscapeChars (relative, false).replace ("%2F", "/"));
    }

    /** The whole staged catalogue, its URLs pointed at this server. */
    bool serveStagedCatalogue()
    {
        if (! stagedCatalogue().copyDirectoryTo (root.get()))
            return false;
        const auto text = catalogueFile().loadFileAsString().replace ("http://127.0.0.1:8730", address());
        return catalogueFile().replaceWithText (text);
    }

    oxatest::TempFolder root;
    oxaserver::CatalogueServer server;
    std::atomic<int> hugeChunks { 0 };
    bool started = false;
};

/** One entry as a test writes it into a catalogue. */
struct Entry
{
    juce::String name;
    juce::StringArray urls;
    int songIndex = -1;   // the URL marked as the song
    juce::String isNew = "false";
    juce::String comment {};
};

/** The text of a download info document. */
inline juce::String catalogueText (const std::vector<Entry>& patchsets, const std::vector<Entry>& rhythms,
                                   const juce::String& lastTime = "2009-03-15 14:25:07")
{
    juce::XmlElement root ("DownloadInfo");
    T730::addTextChild (&root, "LastTime", lastTime);
    for (auto [tag, list] : { std::pair { "Patchsets", &patchsets }, std::pair { "Rhythms", &rhythms } })
    {
        auto* group = root.createNewChildElement (tag);
        for (auto& e : *list)
        {
            auto* entry = group->createNewChildElement ("Entry");
            entry->setAttribute ("name", e.name);
            entry->setAttribute ("new", e.isNew);
            T730::addTextChild (entry, "Comment", e.comment);
            auto* urls = entry->createNewChildElement ("Urls");
            for (int i = 0; i < e.urls.size(); ++i)
            {
                auto* u = T730::addTextChild (urls, "Url", e.urls[i]);
                if (i == e.songIndex)
                    u->setAttribute ("song", "true");
            }
        }
    }
    return root.toString();
}

/** The user-data folders and their stores. */
struct UserFolders
{
    UserFolders()
    {
        for (auto& f : { folders.patchgroup, folders.song, folders.rhythm, audition })
            f.createDirectory();
        patches.setFolder (folders.patchgroup);
        songs.setFolder (folders.song);
    }

    oxatest::TempFolder temp;
    T730::DownloadFolders folders { temp / "patchgroupM7", temp / "song", temp / "rhythm" };
    juce::File audition = temp / "audition";
    T730::PatchManager patches;
    T730::SongManager songs;
};

/** The dialogs with scripted answers. */
struct ScriptedDialogs : public T730::SectionDialogs
{
    bool confirm (const juce::String&) override { return true; }
    void showError (const juce::String& text) override { errors.add (text); }
    int askOverwrite (const juce::String& text) override
    {
        questions.add (text);
        return overwriteAnswer;
    }
    bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File&) override { return false; }
    bool chooseFileToSave (const juce::File& initial, const juce::String&, juce::File& chosen) override
    {
        chosen = initial;
        return true;
    }

    int overwriteAnswer = 0;
    juce::StringArray questions, errors;
};

/** The controller as the page sees it: stores, edit buffer, the requests in order. */
struct FakeLink : public T730::ControllerLink
{
    struct Request
    {
        int code;
        juce::String text;
    };

    int request (int code, int, int, void* data) override
    {
        Request r { code, {} };
        switch (code)
        {
            case T730::GetPatchManager: *static_cast<T730::PatchManager**> (data) = patches; break;
            case T730::GetSongManager: *static_cast<T730::SongManager**> (data) = songs; break;
            case T730::SetEditBuffer:
            {
                const auto& from = *static_cast<const T730::EditBuf*> (data);
                const juce::ScopedLock sl (project.editBuffer.lock);
                project.editBuffer = from;
                break;
            }
            case T730::SendEditBuffer: sent.push_back (*static_cast<const T730::EditBuf*> (data)); break;
            case T730::LoadSong: r.text = *static_cast<const juce::String*> (data); break;
            default: break;
        }
        requests.push_back (r);
        return T730::requestTrue;
    }

    T730::Project& getCurrentProject() override { return project; }
    T730::SectionDialogs* getDialogs() override { return &dialogs; }
    void postUpdate (int flags) override { updates.push_back (flags); }

    std::vector<int> codes() const { return oxatest::requestCodes (requests); }

    int count (int code) const { return oxatest::requestCount (requests, code); }

    T730::PatchManager* patches = nullptr;
    T730::SongManager* songs = nullptr;
    T730::Project project;
    ScriptedDialogs dialogs;
    std::vector<Request> requests;
    std::vector<T730::EditBuf> sent;
    std::vector<int> updates;
};

/** Short limits, so that the silent server's test ends soon. */
inline T730::HttpLimits testLimits()
{
    T730::HttpLimits limits;
    limits.timeoutMs = 1000;
    limits.totalMs = 8000;
    limits.maxBytes = 4 * 1024 * 1024;
    return limits;
}

inline bool settleUntil (const std::function<bool()>& done, int timeoutMs = 8000)
{
    return oxatest::pumpMessagesUntil (done, timeoutMs);
}

} // namespace downloadtest
