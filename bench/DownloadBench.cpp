// Figures for the download page against the catalogue server on 127.0.0.1:
// fetching and reading a catalogue of 1 000 entries (and the parse alone); the
// page from being asked to connect to online, with that catalogue and with the
// factory's; and downloading every file of the factory catalogue, four at a
// time as the page does and one after the other.
#include "CatalogueServer.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "documents/XmlPath.h"
#include "download/SectionDownload.h"
#include "ui/ControllerLink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace T730;

namespace
{
    double msSince (std::chrono::steady_clock::time_point start)
    {
        return std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count();
    }

    struct Stats
    {
        double median, best, worst;
    };

    Stats measure (int runs, const std::function<void()>& work)
    {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
        {
            const auto start = std::chrono::steady_clock::now();
            work();
            ms.push_back (msSince (start));
        }
        std::sort (ms.begin(), ms.end());
        return { ms[ms.size() / 2], ms.front(), ms.back() };
    }

    struct Link : ControllerLink
    {
        int request (int, int, int, void*) override { return requestFalse; }
        Project& getCurrentProject() override { return project; }
        Project project;
    };

    juce::File catalogueIn (const juce::File& root) { return root.getChildFile ("archive/oxa_tools_data/M7c/DownloadInfo.xml"); }

    /** A catalogue of n entries: half patch sets (one URL), half rhythms (a song, two patterns, two MIDI files). */
    juce::String bigCatalogue (int n, const juce::String& server)
    {
        juce::XmlElement root ("DownloadInfo");
        addTextChild (&root, "LastTime", "2026-12-01 09:30:00");
        auto* sets = root.createNewChildElement ("Patchsets");
        auto* rhythms = root.createNewChildElement ("Rhythms");
        for (int i = 0; i < n; ++i)
        {
            const bool rhythm = i % 2 == 1;
            auto* e = (rhythm ? rhythms : sets)->createNewChildElement (rhythm ? "Rhythm" : "Patchset");
            e->setAttribute ("name", "Entry " + juce::String (i));
            e->setAttribute ("new", i % 3 == 0 ? "true" : "false");
            addTextChild (e, "Comment", "A comment long enough to be shown as the tooltip of entry " + juce::String (i));
            auto* urls = e->createNewChildElement ("Urls");
            const auto base = server + "/archive/oxa_tools_data/M7c/files/" + juce::String (i);
            if (! rhythm)
                addTextChild (urls, "Url", base + "/Set%20" + juce::String (i) + ".xml");
            else
            {
                addTextChild (urls, "Url", base + "/Song_" + juce::String (i) + ".xml")->setAttribute ("song", "true");
                for (auto* suffix : { "_A.xml", "_B.xml", "_A.mid", "_B.mid" })
                    addTextChild (urls, "Url", base + "/P" + juce::String (i) + suffix);
            }
        }
        return root.toString();
    }

    double pageOnlineMs (const juce::String& server)
    {
        Link link;
        SectionDownload page (link);
        const auto start = std::chrono::steady_clock::now();
        page.setServer (server);
        while (page.getState() == SectionDownload::State::connecting && msSince (start) < 10000)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
        return page.isOnline() ? msSince (start) : -1.0;
    }
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    ::setenv ("OXA_DOWNLOAD_SERVER", "http://127.0.0.1:9", 0);

    const auto stage = juce::File (OXA_BENCH_CATALOGUE_DIR);
    if (! catalogueIn (stage).existsAsFile())
    {
        std::printf ("no staged catalogue at %s: build the target oxa_stage first\n", stage.getFullPathName().toRawUTF8());
        return 0;
    }

    // The factory catalogue, its URLs pointed at a server on a free port.
    const auto temp = juce::File::createTempFile ("oxa-bench-download");
    stage.copyDirectoryTo (temp);
    oxaserver::CatalogueServer server (temp.getFullPathName().toStdString());
    if (! server.start())
    {
        std::printf ("cannot start the catalogue server\n");
        return 0;
    }
    const juce::String address (server.getAddress());
    const auto factoryText = catalogueIn (temp).loadFileAsString().replace ("http://127.0.0.1:8730", address);
    catalogueIn (temp).replaceWithText (factoryText);

    std::printf ("Download page against oxa_catalogue_server on %s\n\n", address.toRawUTF8());

    // 1 000 entries.
    const auto bigText = bigCatalogue (1000, address);
    const auto bigRoot = temp.getSiblingFile (temp.getFileName() + "-big");
    catalogueIn (bigRoot).getParentDirectory().createDirectory();
    catalogueIn (bigRoot).replaceWithText (bigText);
    oxaserver::CatalogueServer bigServer (bigRoot.getFullPathName().toStdString());
    bigServer.start();
    const juce::String bigAddress (bigServer.getAddress());

    DownloadCatalogue parsed;
    const auto parse = measure (20, [&] { parseDownloadCatalogue (bigText, parsed); });
    std::printf ("[ figure ] catalogue of 1000 entries (%d bytes): parse median %.2f ms (best %.2f, worst %.2f)\n",
                 (int) bigText.getNumBytesAsUTF8(), parse.median, parse.best, parse.worst);
    const auto fetch = measure (10, [&]
    {
        DL_Core core (bigAddress, {});
        const auto text = core.fetch();
        parseDownloadCatalogue (text, parsed);
    });
    std::printf ("[ figure ] catalogue of 1000 entries: fetch and parse median %.1f ms (best %.1f, worst %.1f); %d patch sets, %d rhythms\n",
                 fetch.median, fetch.best, fetch.worst, (int) parsed.patchsets.size(), (int) parsed.rhythms.size());

    std::vector<double> online, onlineBig;
    for (int i = 0; i < 5; ++i)
    {
        online.push_back (pageOnlineMs (address));
        onlineBig.push_back (pageOnlineMs (bigAddress));
    }
    std::sort (online.begin(), online.end());
    std::sort (onlineBig.begin(), onlineBig.end());
    std::printf ("[ figure ] page asked to connect -> online: factory catalogue median %.1f ms (worst %.1f), 1000 entries median %.1f ms (worst %.1f); goal 300 ms\n",
                 online[2], online.back(), onlineBig[2], onlineBig.back());

    // Every file of the factory catalogue.
    DownloadCatalogue factory;
    parseDownloadCatalogue (factoryText, factory);
    std::vector<TransferFile> files;
    for (const auto* list : { &factory.patchsets, &factory.rhythms })
        for (const auto& e : *list)
            for (int i = 0; i < e.urls.size(); ++i)
                files.push_back ({ e.urls[i], expectedContent (e, i), {}, {} });

    size_t bytes = 0;
    bool allArrived = false;
    const auto parallel = measure (3, [&]
    {
        DownloadTransfer job (files, {});
        job.startThread();
        while (! job.isDone())
            juce::Thread::sleep (1);
        allArrived = job.allArrived();
        bytes = 0;
        for (auto& f : job.getFiles())
            bytes += f.bytes.getSize();
    });
    std::printf ("[ figure ] whole factory catalogue (%d entries, %d files, %.1f kB), %d at a time, content checked: median %.0f ms (best %.0f, worst %.0f), %s\n",
                 (int) (factory.patchsets.size() + factory.rhythms.size()), (int) files.size(), (double) bytes / 1024.0,
                 DownloadTransfer::parallel, parallel.median, parallel.best, parallel.worst, allArrived ? "every file arrived" : "FILES MISSING");

    const auto serial = measure (1, [&]
    {
        for (auto& f : files)
            httpGet (f.url, {});
    });
    std::printf ("[ figure ] the same one file after the other (no checks): %.0f ms, %.1f ms a file (JUCE's curl loop waits 100 ms while a connection has no socket yet)\n",
                 serial.median, serial.median / (double) files.size());

    server.stop();
    bigServer.stop();
    temp.deleteRecursively();
    bigRoot.deleteRecursively();
    return 0;
}
