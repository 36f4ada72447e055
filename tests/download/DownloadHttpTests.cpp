// HTTP fetches against the local catalogue server: a whole answer, and each
// faulty one (404, 500, a truncated body, a 2 GB body, a silent server, a
// refused connection, a cancel from another thread), every one within its limits.
#include "DownloadTestSupport.h"

using namespace T730;
using namespace downloadtest;

namespace
{
class DownloadHttp : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (server.started); }

    HttpResult get (const juce::String& path, HttpLimits limits = testLimits())
    {
        return httpGet (server.url (path), limits);
    }

    TestServer server;
};

TEST_F (DownloadHttp, AWholeAnswerArrives)
{
    const auto url = server.serveStaged ("patchsets/Blues Box.xml");
    const auto result = httpGet (url, testLimits());
    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_EQ (result.status, 200);
    EXPECT_EQ ((juce::int64) result.body.getSize(), stagedFiles().getChildFile ("patchsets/Blues Box.xml").getSize());
}

TEST_F (DownloadHttp, StatusOtherThan200TruncatedAndEmptyAnswersFail)
{
    for (auto* path : { "/fault/404", "/fault/500", "/missing.xml" })
    {
        const auto r = get (path);
        EXPECT_FALSE (r.ok) << path;
        EXPECT_NE (r.status, 200) << path;
        EXPECT_EQ (r.body.getSize(), 0u) << path;
    }

    const auto truncated = get ("/fault/truncated.xml");
    EXPECT_FALSE (truncated.ok);
    EXPECT_EQ (truncated.body.getSize(), 0u);

    server.files().getChildFile ("empty.xml").replaceWithText ({});
    EXPECT_FALSE (get ("/empty.xml").ok);
}

TEST_F (DownloadHttp, ABodyAboveTheBoundIsRefusedWithoutReadingIt)
{
    const auto started = juce::Time::getMillisecondCounter();
    const auto r = get ("/fault/huge.xml");
    EXPECT_FALSE (r.ok);
    EXPECT_TRUE (r.error.startsWith ("too large")) << r.error;
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 3000u);

    // A body that says nothing of its length is cut at the bound.
    server.server.http().Get ("/fault/chunked.xml", [] (const httplib::Request&, httplib::Response& res)
                              {
                                  res.set_chunked_content_provider ("application/xml", [] (size_t offset, httplib::DataSink& sink)
                                                                    {
                                                                        const std::string block (65536, 'y');
                                                                        return offset < (size_t) 64 * 1024 * 1024 && sink.write (block.data(), block.size());
                                                                    });
                              });
    const auto chunked = get ("/fault/chunked.xml");
    EXPECT_FALSE (chunked.ok);
    EXPECT_EQ (chunked.error, "too large");
}

TEST_F (DownloadHttp, ASilentServerTimesOutAndACancelStopsAtOnce)
{
    auto started = juce::Time::getMillisecondCounter();
    const auto silent = get ("/fault/silent.xml");
    EXPECT_FALSE (silent.ok);
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 6000u);

    HttpCancel cancel;
    auto limits = testLimits();
    limits.timeoutMs = 20000;
    limits.totalMs = 30000;
    std::thread canceller ([&cancel] { std::this_thread::sleep_for (std::chrono::milliseconds (300)); cancel.cancel(); });
    started = juce::Time::getMillisecondCounter();
    const auto cancelled = httpGet (server.url ("/fault/silent.xml"), limits, &cancel);
    canceller.join();
    EXPECT_FALSE (cancelled.ok);
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 3000u);
}

TEST_F (DownloadHttp, ARefusedConnectionAndOtherSchemesFail)
{
    oxaserver::CatalogueServer closed ({});
    ASSERT_TRUE (closed.start());
    const auto address = juce::String (closed.getAddress());
    closed.stop();
    EXPECT_FALSE (httpGet (address + "/x.xml", testLimits()).ok);
    EXPECT_FALSE (httpGet ("file:///etc/passwd", testLimits()).ok);
}

TEST_F (DownloadHttp, TheCatalogueThreadHandsItsResultToTheMessageThread)
{
    server.catalogueFile().getParentDirectory().createDirectory();
    server.catalogueFile().replaceWithText (catalogueText ({ { "A", { "http://h/a.xml" } } }, {}));

    struct Listener : DL_ThreadListener
    {
        void received (const juce::String& t) override { text = t; onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread(); }
        void failed() override { ++failures; }
        bool accept (const juce::String& t) override { return isAcceptableCatalogue (t); }
        juce::String text;
        bool onMessageThread = false;
        int failures = 0;
    } listener;

    DL_Core core (server.address(), testLimits());
    {
        DL_Thread thread (core, listener);
        EXPECT_EQ (thread.getThreadName(), "T730 Download Thread");
        ASSERT_TRUE (settleUntil ([&] { return listener.text.isNotEmpty() || listener.failures > 0; }));
    }
    EXPECT_TRUE (listener.onMessageThread);
    EXPECT_TRUE (listener.text.contains ("Patchsets"));

    // A thread stopped before its result arrived hands nothing over, and stops within its second.
    DL_Core silent ("http://127.0.0.1:" + juce::String (server.server.getPort()) + "/fault/silent.xml?", testLimits());
    Listener late;
    {
        DL_Thread thread (silent, late);
        juce::Thread::sleep (200);
        const auto started = juce::Time::getMillisecondCounter();
        EXPECT_TRUE (thread.stop (1000));
        EXPECT_LT (juce::Time::getMillisecondCounter() - started, 1500u);
    }
    settleUntil ({}, 200);
    EXPECT_EQ (late.failures, 0);
    EXPECT_TRUE (late.text.isEmpty());
}
} // namespace
