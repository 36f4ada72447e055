#pragma once

#include "app/ProgressWindow.h"
#include "download/DownloadCatalogue.h"
#include "download/DownloadHttp.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>

namespace T730
{

/** Fetches the catalogue from the download server. */
class DL_Core
{
public:
    DL_Core (juce::String serverAddress, HttpLimits limits);

    /** An HTTP GET of the catalogue, the whole answer as text; "" when it failed
        (the reason in getLastError). Any thread. */
    juce::String fetch();

    juce::String getUrl() const { return url; }
    juce::String getLastError() const;
    /** Stops a running fetch (any thread). */
    void cancel() { canceller.cancel(); }

private:
    const juce::String url;
    const HttpLimits limits;
    HttpCancel canceller;
    mutable juce::CriticalSection errorLock;
    juce::String lastError;   // guarded by errorLock
};

/** What the catalogue thread reports. `accept` is asked on the thread itself;
    `received` and `failed` come on the message thread, posted there (never
    under the message lock) and only while the thread is still the listener's. */
class DL_ThreadListener
{
public:
    virtual ~DL_ThreadListener() = default;
    virtual void received (const juce::String& text) = 0;
    virtual void failed() = 0;
    virtual bool accept (const juce::String& text) = 0;

    JUCE_DECLARE_WEAK_REFERENCEABLE (DL_ThreadListener)
};

/** "T730 Download Thread": runs one catalogue fetch, started at once. Stopping
    it (or deleting it) drops a result not yet handed over. */
class DL_Thread : public juce::Thread
{
public:
    /** Message thread. The core is not owned and outlives the thread. */
    DL_Thread (DL_Core& core, DL_ThreadListener& listener);
    ~DL_Thread() override;

    /** Stops the fetch and waits for the thread (up to the time given). */
    bool stop (int timeoutMs);

    void run() override;

private:
    DL_Core& core;
    DL_ThreadListener& listener;
    juce::WeakReference<DL_ThreadListener> weakListener;
    /** Set on the message thread when the thread is stopped; read there by the posted result. */
    std::shared_ptr<std::atomic<bool>> abandoned = std::make_shared<std::atomic<bool>> (false);
};

/** What the lists tell the page. */
class DL_DownloadListener
{
public:
    virtual ~DL_DownloadListener() = default;
    /** Downloads the entry; true when every file arrived and was written. */
    virtual bool download (DL_ItemInfo& entry) = 0;
    /** Auditions the entry; the song or patch set file in `path`. */
    virtual void audition (DL_ItemInfo& entry, bool downloaded, juce::String& path) = 0;
    virtual void listChanged() = 0;
};

/** One file of a transfer, and what came of it. */
struct TransferFile
{
    juce::String url;
    DownloadContent content = DownloadContent::patchGroup;
    juce::MemoryBlock bytes;
    /** "" when the file arrived and is what it should be. */
    juce::String error;
};

/** Fetches a list of files on a thread of its own ("T730 Download Transfer"),
    with up to `parallel` requests at a time, and checks each one's content,
    while the progress window polls it. A cancel (the progress window closed)
    drops the running requests at once. */
class DownloadTransfer : public juce::Thread, public ProgressWindowListener
{
public:
    static constexpr int parallel = 4;

    DownloadTransfer (std::vector<TransferFile> files, HttpLimits limits);
    ~DownloadTransfer() override;

    void run() override;

    float advance() override;
    void cancel() override;
    bool isDone() override { return done.load(); }

    bool wasCancelled() const noexcept { return cancelled.load(); }
    /** Every file arrived and is what it should be (read once done). */
    bool allArrived() const;
    std::vector<TransferFile>& getFiles() noexcept { return files; }

private:
    void fetchFrom (HttpCancel& canceller);

    std::vector<TransferFile> files;   // each written by the one request thread that took it, until done
    const HttpLimits limits;
    HttpCancel cancellers[parallel];
    std::atomic<bool> cancelled { false };
    std::atomic<size_t> nextFile { 0 };
    std::atomic<int> finished { 0 };
    std::atomic<bool> done { false };
};

} // namespace T730
