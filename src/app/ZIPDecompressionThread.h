#pragma once

#include "app/ProgressWindow.h"

#include <juce_core/juce_core.h>

#include <atomic>

namespace T730
{

/** True when an entry path of an archive stays inside the folder it is unpacked
    into: not absolute, no drive letter, no ".." step (with "/" or "\" as
    separators), no control characters, and valid UTF-8. A leading "~" is part
    of a name. */
bool isSafeEntryPath (const juce::String& entryPath);

/** Unpacks a ZIP file into a folder on the "Decompression Thread" while the
    progress window polls it.

    The whole file is checked before anything is written: an entry whose path
    would leave the destination, a symbolic link, or entries whose declared sizes
    add up to more than the disk has free make the unpacking fail with nothing
    written. An entry that gives more bytes than it declares fails it too. */
class ZIPDecompressionThread : public juce::Thread, public ProgressWindowListener
{
public:
    ZIPDecompressionThread (const juce::File& zipFile, const juce::File& destinationFolder);
    ~ZIPDecompressionThread() override;

    // The progress window's side.
    /** Moves the shown progress on by 0.003 up to 0.95 and returns it. */
    float advance() override;
    /** The dialog was closed early: stop unpacking (waiting up to 2000 ms). */
    void cancel() override;
    bool isDone() override { return done.load(); }

    /** True when every entry was unpacked. */
    bool isCompleted() const noexcept { return completed.load(); }
    /** True when the file held an unsafe entry or could not be unpacked. */
    bool hasFailed() const noexcept { return failed.load(); }

    /** Unpacks on the calling thread (run() does the same on the worker). */
    void unpack();

private:
    void run() override;

    const juce::File source, destination;

    /** Shown progress: written and read by the message thread (advance). */
    std::atomic<float> progress { 0.0f };

    // Written by the worker (or the caller of unpack), read by the message thread.
    std::atomic<bool> done { false };
    std::atomic<bool> completed { false };
    std::atomic<bool> failed { false };

    JUCE_DECLARE_NON_COPYABLE (ZIPDecompressionThread)
};

} // namespace T730
