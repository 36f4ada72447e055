#include "download/DownloadService.h"

#include <thread>

namespace T730
{

DL_Core::DL_Core (juce::String server, HttpLimits l) : url (catalogueUrl (server)), limits (l)
{
}

juce::String DL_Core::fetch()
{
    auto result = httpGet (url, limits, &canceller);
    {
        const juce::ScopedLock sl (errorLock);
        lastError = result.error;
    }
    if (! result.ok)
        return {};
    return juce::String::createStringFromData (result.body.getData(), (int) result.body.getSize());
}

juce::String DL_Core::getLastError() const
{
    const juce::ScopedLock sl (errorLock);
    return lastError;
}

//==============================================================================
DL_Thread::DL_Thread (DL_Core& c, DL_ThreadListener& l)
    : juce::Thread ("T730 Download Thread"), core (c), listener (l), weakListener (&l)
{
    startThread();
}

DL_Thread::~DL_Thread()
{
    stop (4000);
}

bool DL_Thread::stop (int timeoutMs)
{
    abandoned->store (true);
    signalThreadShouldExit();
    core.cancel();
    return stopThread (timeoutMs);
}

void DL_Thread::run()
{
    const auto text = core.fetch();
    if (threadShouldExit())
        return;

    const bool accepted = text.isNotEmpty() && listener.accept (text);
    if (! accepted && text.isNotEmpty())
        juce::Logger::writeToLog ("Download: the catalogue at " + core.getUrl() + " is not a download info document.");
    else if (text.isEmpty())
        juce::Logger::writeToLog ("Download: no catalogue from " + core.getUrl() + " (" + core.getLastError() + ").");

    auto weak = weakListener;
    auto gone = abandoned;
    juce::MessageManager::callAsync ([weak, gone, accepted, text]
    {
        auto* l = weak.get();
        if (l == nullptr || gone->load())
            return;
        if (accepted)
            l->received (text);
        else
            l->failed();
    });
}

//==============================================================================
DownloadTransfer::DownloadTransfer (std::vector<TransferFile> f, HttpLimits l)
    : juce::Thread ("T730 Download Transfer"), files (std::move (f)), limits (l)
{
}

DownloadTransfer::~DownloadTransfer()
{
    cancel();
    stopThread (limits.timeoutMs + 2000);
}

void DownloadTransfer::fetchFrom (HttpCancel& canceller)
{
    for (;;)
    {
        const auto index = nextFile++;
        if (index >= files.size())
            return;

        auto& file = files[index];
        if (cancelled.load() || threadShouldExit())
        {
            file.error = "cancelled";
            continue;
        }

        auto result = httpGet (file.url, limits, &canceller);
        if (! result.ok)
            file.error = result.error;
        else if (const auto wrong = checkDownloadedContent (file.content, result.body.getData(), result.body.getSize());
                 wrong.isNotEmpty())
            file.error = wrong;
        else
            file.bytes = std::move (result.body);
        ++finished;
    }
}

void DownloadTransfer::run()
{
    const int helpers = juce::jmin (parallel, (int) files.size()) - 1;
    std::vector<std::thread> others;
    for (int k = 1; k <= helpers; ++k)
        others.emplace_back ([this, k] { fetchFrom (cancellers[k]); });
    fetchFrom (cancellers[0]);
    for (auto& t : others)
        t.join();
    done = true;
}

float DownloadTransfer::advance()
{
    return files.empty() ? 1.0f : (float) finished.load() / (float) files.size();
}

void DownloadTransfer::cancel()
{
    if (! done.load())
    {
        cancelled = true;
        for (auto& c : cancellers)
            c.cancel();
    }
    signalThreadShouldExit();
}

bool DownloadTransfer::allArrived() const
{
    if (! done.load())
        return false;
    for (auto& file : files)
        if (file.error.isNotEmpty())
            return false;
    return true;
}

} // namespace T730
