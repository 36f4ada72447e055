#pragma once

#include <juce_core/juce_core.h>

namespace oxatest
{

/** A fresh empty folder under the system's temporary folder, deleted with the object. */
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();

    const juce::File& get() const noexcept { return folder; }
    juce::File operator/ (const juce::String& relative) const { return folder.getChildFile ("./" + relative); }

private:
    juce::File folder;
};

/** Simulates a full disk: while it lives, the process cannot write files past the
    given size (writes fail with EFBIG instead of raising SIGXFSZ). Works as root. */
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit (long long maxBytes);
    ~ScopedFileSizeLimit();

    bool isActive() const noexcept { return active; }

private:
    bool active = false;
    long long previousSoft = 0, previousHard = 0;
    void (*previousHandler) (int) = nullptr;
};

/** A file of tests/data. */
juce::File testData (const juce::String& relative);

/** The staged install folder of the build (executable, resources/, factory folders). */
juce::File stageFolder();

/** Runs the message loop for the given time (or until the predicate is true). */
bool pumpMessagesUntil (const std::function<bool()>& done, int timeoutMs);

} // namespace oxatest
