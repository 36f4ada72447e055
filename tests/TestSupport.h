#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace oxatest
{

/** The codes of the requests a test's controller link logged, in order. */
template <typename Logged>
std::vector<int> requestCodes (const std::vector<Logged>& requests)
{
    std::vector<int> codes;
    for (const auto& r : requests)
        codes.push_back (r.code);
    return codes;
}

/** How many of the logged requests carry this code. */
template <typename Logged>
int requestCount (const std::vector<Logged>& requests, int code)
{
    int n = 0;
    for (const auto& r : requests)
        n += r.code == code ? 1 : 0;
    return n;
}

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

/** Collects the log lines written while it is the current logger (from any thread). */
class LogCapture : public juce::Logger
{
public:
    LogCapture() : previous (juce::Logger::getCurrentLogger()) { juce::Logger::setCurrentLogger (this); }
    ~LogCapture() override { juce::Logger::setCurrentLogger (previous); }

    void logMessage (const juce::String& message) override
    {
        const juce::ScopedLock sl (lock);
        lines.add (message);
    }

    juce::StringArray getLines() const
    {
        const juce::ScopedLock sl (lock);
        return lines;
    }

private:
    juce::Logger* previous;
    juce::CriticalSection lock;
    juce::StringArray lines;
};

/** A file of tests/data. */
juce::File testData (const juce::String& relative);

/** The staged install folder of the build (executable, resources/, factory folders). */
juce::File stageFolder();

/** Runs the message loop for the given time (or until the predicate is true). */
bool pumpMessagesUntil (const std::function<bool()>& done, int timeoutMs);

} // namespace oxatest
