#pragma once

#include "app/ProgressWindow.h"
#include <juce_core/juce_core.h>
#include <atomic>

namespace T730
{

class InstController;

/** The first-run installer: copies the factory user-data folders from the
    install folder into the user's documents, under the modal start-up
    progress window. */
class FileCopyThread : public juce::Thread, public ProgressWindowListener
{
public:
    explicit FileCopyThread (InstController* controller);
    ~FileCopyThread() override;

    /** Copies "setting", "song", "rhythm", "patchgroupM7" and "toolsets" (each only
        when missing), raising the progress target after each, then reports done. */
    void run() override;

    /** Moves the displayed progress on by 0.003 while it is below the current target. */
    float advance() override;
    void cancel() override {}
    bool isDone() override { return done.load(); }

    /** The progress the bar may grow to (set by run before each folder). */
    void setTargetProgress (float target) noexcept { targetProgress = target; }

    static constexpr float step = 0.003f;

private:
    InstController* controller;                // not owned
    float progress = 0.0f;                     // message thread only (advance)
    std::atomic<float> targetProgress { 0.0f }; // written by the copy thread
    std::atomic<bool> done { false };          // written by the copy thread

    JUCE_DECLARE_NON_COPYABLE (FileCopyThread)
};

} // namespace T730
