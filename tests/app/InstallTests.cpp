// cmake --install puts the staged program, its command, a desktop entry and the icons under a prefix.
#include "TestSupport.h"

#include <juce_graphics/juce_graphics.h>
#include <unistd.h>

#include <gtest/gtest.h>

TEST (AppInstall, TheProgramItsCommandADesktopEntryAndTheIconsGoUnderThePrefix)
{
    oxatest::TempFolder prefix;
    juce::ChildProcess install;
    juce::StringArray arguments;
    arguments.add (OXA_CMAKE_COMMAND);
    arguments.addArray ({ "--install", OXA_BUILD_DIR, "--prefix", prefix.get().getFullPathName() });
    ASSERT_TRUE (install.start (arguments));
    const auto output = install.readAllProcessOutput();
    ASSERT_EQ (install.getExitCode(), 0u) << output;

    const auto home = prefix / "lib/oxa-tools";
    EXPECT_TRUE (home.getChildFile ("oxa-tools").existsAsFile());
    EXPECT_EQ (::access (home.getChildFile ("oxa-tools").getFullPathName().toRawUTF8(), X_OK), 0);
    EXPECT_TRUE (home.getChildFile ("resources").isDirectory());
    for (const auto* folder : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
        EXPECT_TRUE (home.getChildFile (folder).isDirectory()) << folder;

    const auto command = prefix / "bin/oxa-tools";
    EXPECT_TRUE (command.isSymbolicLink());
    EXPECT_EQ (command.getLinkedTarget(), home.getChildFile ("oxa-tools")) << "the program finds its data beside the real file";

    const auto entry = (prefix / "share/applications/oxa-tools.desktop").loadFileAsString();
    const auto lines = juce::StringArray::fromLines (entry);
    EXPECT_EQ (lines[0], "[Desktop Entry]");
    for (const auto* line : { "Type=Application", "Name=OXA Tools", "Exec=oxa-tools", "Icon=oxa-tools", "Terminal=false",
                              "StartupWMClass=OXA Tools" })
        EXPECT_TRUE (lines.contains (line)) << line;

    for (const auto* size : { "256x256", "48x48" })
    {
        const auto icon = prefix.get().getChildFile ("share/icons/hicolor").getChildFile (size).getChildFile ("apps/oxa-tools.png");
        const auto image = juce::ImageFileFormat::loadFrom (icon);
        ASSERT_TRUE (image.isValid()) << size;
        EXPECT_EQ (juce::String (image.getWidth()) + "x" + juce::String (image.getHeight()), size);
    }
}
