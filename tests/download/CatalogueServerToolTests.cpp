// The catalogue server as a user runs it: build/oxa-catalogue-server serving
// the staged catalogue folder on a port of 127.0.0.1, and its usage errors.
#include "DownloadTestSupport.h"

using namespace T730;
using namespace downloadtest;

namespace
{
juce::File serverTool()
{
    return oxatest::stageFolder().getSiblingFile ("oxa-catalogue-server");
}

TEST (DownloadCatalogueServerTool, ServesTheStagedCatalogueAndNothingOutsideIt)
{
    ASSERT_TRUE (serverTool().existsAsFile());

    // A port that was free a moment ago.
    int port = 0;
    {
        oxaserver::CatalogueServer probe ({});
        ASSERT_TRUE (probe.start());
        port = probe.getPort();
    }

    juce::ChildProcess tool;
    ASSERT_TRUE (tool.start (juce::StringArray { serverTool().getFullPathName(), "--root", stagedCatalogue().getFullPathName(),
                                                 "--port", juce::String (port) }));
    const auto base = "http://127.0.0.1:" + juce::String (port);
    HttpResult catalogue;
    for (int i = 0; i < 50 && ! catalogue.ok; ++i)
    {
        catalogue = httpGet (catalogueUrl (base), testLimits());
        if (! catalogue.ok)
            juce::Thread::sleep (100);
    }
    ASSERT_TRUE (catalogue.ok) << catalogue.error;

    DownloadCatalogue read;
    ASSERT_TRUE (parseDownloadCatalogue (juce::String::createStringFromData (catalogue.body.getData(), (int) catalogue.body.getSize()), read));
    EXPECT_EQ (read.patchsets.size(), 4u);
    EXPECT_EQ (read.rhythms.size(), 10u);
    const auto song = read.rhythms[0].urls[0].replace ("http://127.0.0.1:8730", base);
    EXPECT_TRUE (httpGet (song, testLimits()).ok);

    const auto outside = httpGet (base + "/../../stage/setting/OXAToolsM7c.xml", testLimits());
    EXPECT_FALSE (outside.ok);
    EXPECT_EQ (outside.status, 404);

    EXPECT_TRUE (tool.kill());
}

TEST (DownloadCatalogueServerTool, RefusesWhatItCannotServe)
{
    for (const auto& args : { juce::StringArray { "--root" }, juce::StringArray { "--port", "80x" },
                              juce::StringArray { "--root", "/nonexistent/folder", "--port", "1" } })
    {
        juce::ChildProcess tool;
        auto command = args;
        command.insert (0, serverTool().getFullPathName());
        ASSERT_TRUE (tool.start (command, juce::ChildProcess::wantStdErr));
        EXPECT_TRUE (tool.waitForProcessToFinish (5000)) << args.joinIntoString (" ");
        EXPECT_NE (tool.getExitCode(), 0u) << args.joinIntoString (" ");
    }
}
} // namespace
