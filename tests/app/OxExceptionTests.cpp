#include "TestSupport.h"
#include "app/OxException.h"
#include <gtest/gtest.h>

using namespace T730;

TEST (AppOxException, CreatingEachErrorLogsItsExactMessage)
{
    oxatest::LogCapture log;
    {
        OxExceptionInvalidProjData e1;
        OxExceptionAccessDenied e2;
        OxExceptionRecorderFileWrite e3;
        OxExceptionSongFileWrite e4;
        OxExceptionProjectFolderNeeded e5;
        OxExceptionWavWrite e6;
        OxExceptionZipImpNoSong e7;
        OxExceptionZipImpNoToolSet e8;
        OxExceptionPatchListWrite e9;
        OxExceptionWavImport e10;
        OxExceptionBackupRestore e11 ("\nTimeout at the identity request.");
    }

    const juce::StringArray expected {
        "Toolset load error.", "File error.", "Recorder file error.", "Rhythm file error.", "No toolset.",
        "Backup/Restore error.", "Rhythm import error.", "Toolset import error.", "File error.",
        "WAV import error.", "Error occurred during backup/restore process.\nTimeout at the identity request.",
    };
    EXPECT_EQ (log.getLines(), expected);
}

TEST (AppOxException, ThrownPointerKeepsItsMessageAndShowUsesTheProgramTitle)
{
    oxatest::LogCapture log;
    juce::String shownTitle, shownMessage;
    auto previous = OxException::setPresenter ([&] (const juce::String& title, const juce::String& message)
                                               {
                                                   shownTitle = title;
                                                   shownMessage = message;
                                               });
    try
    {
        throw static_cast<OxException*> (new OxExceptionWavImport());
    }
    catch (OxException* e)
    {
        e->show();
        delete e;
    }
    OxException::setPresenter (previous);

    EXPECT_EQ (shownTitle, "OXA Tools");
    EXPECT_EQ (shownMessage, "WAV import error.");
    EXPECT_EQ (log.getLines(), juce::StringArray { "WAV import error." }) << "logged once, on creation";
}

TEST (AppOxException, ErrorsCreatedOnWorkerThreadsAreAllLogged)
{
    oxatest::LogCapture log;
    std::vector<std::unique_ptr<juce::Thread>> threads;
    for (int i = 0; i < 4; ++i)
    {
        struct Worker : juce::Thread
        {
            Worker() : juce::Thread ("error maker") {}
            void run() override
            {
                for (int n = 0; n < 50; ++n)
                    OxExceptionAccessDenied();
            }
        };
        threads.push_back (std::make_unique<Worker>());
        threads.back()->startThread();
    }
    for (auto& t : threads)
        t->stopThread (5000);

    const auto lines = log.getLines();
    EXPECT_EQ (lines.size(), 200);
    for (const auto& line : lines)
        EXPECT_EQ (line, "File error.");
}
