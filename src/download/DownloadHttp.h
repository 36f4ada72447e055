#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace T730
{

/** The path of the catalogue on every download server. */
inline constexpr const char* downloadCataloguePath = "/archive/oxa_tools_data/M7c/DownloadInfo.xml";

/** The server the program uses when nothing else is said. */
inline constexpr const char* defaultDownloadServer = "http://download.oxa-tools.invalid";

/** The download server: the environment variable OXA_DOWNLOAD_SERVER when set,
    otherwise the first line of "DownloadServer.txt" beside the settings file,
    otherwise the default. Only http and https servers are taken (anything else
    counts as not said); a trailing "/" is dropped. */
juce::String getDownloadServer (const juce::File& settingFolder);

/** The server's address as taken ("" when it is not an http or https address with a host). */
juce::String cleanServerAddress (const juce::String& text);

/** The catalogue's URL on a server. */
juce::String catalogueUrl (const juce::String& server);

/** The bounds of one HTTP request. */
struct HttpLimits
{
    /** To connect, and the longest the server may stay silent (less than
        100 bytes a second) while it answers. */
    int timeoutMs = 10000;
    /** The whole request. */
    int totalMs = 120000;
    /** The largest body taken. */
    juce::int64 maxBytes = 32 * 1024 * 1024;
};

/** Lets another thread stop a running request (at once: the connection is dropped). */
class HttpCancel
{
public:
    void cancel();
    bool isCancelled() const noexcept { return cancelled.load(); }
    void reset() noexcept { cancelled = false; }

private:
    friend struct HttpRequestScope;
    std::atomic<bool> cancelled { false };
    juce::CriticalSection lock;
    juce::WebInputStream* current = nullptr;   // guarded by lock; the request's own stream
};

struct HttpResult
{
    bool ok = false;
    int status = 0;
    juce::MemoryBlock body;
    /** Why it failed ("" when ok). */
    juce::String error;
};

/** An HTTP GET into memory (through JUCE's URL streams, libcurl underneath).
    Only a complete answer with status 200 and a non-empty body within the
    limits counts. Any thread; blocks until done, failed, timed out or cancelled. */
HttpResult httpGet (const juce::String& url, const HttpLimits& limits, HttpCancel* cancel = nullptr);

} // namespace T730
