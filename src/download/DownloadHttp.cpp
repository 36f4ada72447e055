#include "download/DownloadHttp.h"

namespace T730
{

juce::String cleanServerAddress (const juce::String& text)
{
    auto address = text.trim();
    while (address.endsWithChar ('/'))
        address = address.dropLastCharacters (1);

    const auto scheme = address.upToFirstOccurrenceOf ("://", false, false).toLowerCase();
    if (! address.contains ("://") || (scheme != "http" && scheme != "https"))
        return {};
    const auto host = address.fromFirstOccurrenceOf ("://", false, false).upToFirstOccurrenceOf ("/", false, false);
    if (host.isEmpty() || address.containsAnyOf (" \t\r\n\"<>\\"))
        return {};
    return address;
}

juce::String getDownloadServer (const juce::File& settingFolder)
{
    if (const auto fromEnvironment = cleanServerAddress (juce::SystemStats::getEnvironmentVariable ("OXA_DOWNLOAD_SERVER", {}));
        fromEnvironment.isNotEmpty())
        return fromEnvironment;

    if (settingFolder != juce::File())
    {
        const auto file = settingFolder.getChildFile ("DownloadServer.txt");
        if (file.existsAsFile() && file.getSize() < 4096)
        {
            juce::StringArray lines;
            lines.addLines (file.loadFileAsString());
            lines.removeEmptyStrings();
            if (! lines.isEmpty())
                if (const auto fromFile = cleanServerAddress (lines[0]); fromFile.isNotEmpty())
                    return fromFile;
        }
    }

    return defaultDownloadServer;
}

juce::String catalogueUrl (const juce::String& server)
{
    return cleanServerAddress (server) + downloadCataloguePath;
}

//==============================================================================
void HttpCancel::cancel()
{
    cancelled = true;
    const juce::ScopedLock sl (lock);
    if (current != nullptr)
        current->cancel();
}

/** Registers a request's stream with its canceller while it runs. */
struct HttpRequestScope
{
    HttpRequestScope (HttpCancel* c, juce::WebInputStream& stream) : canceller (c)
    {
        if (canceller != nullptr)
        {
            const juce::ScopedLock sl (canceller->lock);
            canceller->current = &stream;
        }
    }

    ~HttpRequestScope()
    {
        if (canceller != nullptr)
        {
            const juce::ScopedLock sl (canceller->lock);
            canceller->current = nullptr;
        }
    }

    HttpCancel* canceller;
};

HttpResult httpGet (const juce::String& address, const HttpLimits& limits, HttpCancel* cancel)
{
    HttpResult result;
    const auto fail = [&result] (const juce::String& why)
    {
        result.ok = false;
        result.body.reset();
        result.error = why;
        return result;
    };

    const auto scheme = address.upToFirstOccurrenceOf ("://", false, false).toLowerCase();
    if (scheme != "http" && scheme != "https")
        return fail ("not an http or https address");

    if (cancel != nullptr && cancel->isCancelled())
        return fail ("cancelled");

    const auto started = juce::Time::getMillisecondCounterHiRes();
    juce::WebInputStream stream (juce::URL (address), false);
    stream.withConnectionTimeout (juce::jmax (1, limits.timeoutMs)).withNumRedirectsToFollow (3);
    HttpRequestScope scope (cancel, stream);

    // A cancel that came before the stream was registered.
    if (cancel != nullptr && cancel->isCancelled())
        return fail ("cancelled");

    if (! stream.connect (nullptr) || stream.isError())
        return fail (cancel != nullptr && cancel->isCancelled() ? "cancelled" : "no answer");

    result.status = stream.getStatusCode();
    if (result.status != 200)
        return fail ("status " + juce::String (result.status));

    const auto total = stream.getTotalLength();
    if (total > limits.maxBytes)
        return fail ("too large (" + juce::String (total) + " bytes)");

    constexpr int chunk = 64 * 1024;
    juce::HeapBlock<char> buffer (chunk);
    juce::MemoryOutputStream out;

    for (;;)
    {
        if (cancel != nullptr && cancel->isCancelled())
            return fail ("cancelled");
        if (juce::Time::getMillisecondCounterHiRes() - started > limits.totalMs)
            return fail ("timed out");

        const int n = stream.read (buffer, chunk);
        if (n < 0 || stream.isError())
            return fail (cancel != nullptr && cancel->isCancelled() ? "cancelled" : "transfer broken off");
        if (n == 0)
        {
            if (stream.isExhausted())
                break;
            if (stream.isError())
                return fail ("transfer broken off");
            break;
        }
        if ((juce::int64) out.getDataSize() + n > limits.maxBytes)
            return fail ("too large");
        out.write (buffer, (size_t) n);
    }
    if (stream.isError())
        return fail ("transfer broken off");
    const auto got = (juce::int64) out.getDataSize();
    if (total >= 0 && got != total)
        return fail ("truncated (" + juce::String (got) + " of " + juce::String (total) + " bytes)");
    if (got == 0)
        return fail ("empty answer");

    result.body = out.getMemoryBlock();

    result.ok = true;
    return result;
}

} // namespace T730
