#pragma once

#include <juce_core/juce_core.h>
#include "platform/PlainNames.h"

/* Where the program finds its data.

   The install folder holds the factory copies of the user-data folders, the
   resource folder and the effect-module libraries. The user's own data lives in
   five folders under <documents>/VELD/OXA Tools. Every folder the program
   uses is formed here. */
namespace T730
{

/** Names of the five user-data folders. */
namespace UserFolder
{
    inline constexpr const char* setting = "setting";
    inline constexpr const char* toolsets = "toolsets";
    inline constexpr const char* patchgroup = "patchgroupM7";
    inline constexpr const char* song = "song";
    inline constexpr const char* rhythm = "rhythm";
}

/** The install folder as text, always ending in the path separator; "" when unknown.
    Cached after the first successful answer. */
juce::String getInstallFolder();

/** The program's version text (cached). */
juce::String getModuleVersion();

/** The user's documents folder (default place for exports and mix-downs). */
juce::File getDocumentsFolder();

/** The root of the user data: documents folder, then "VELD", then "OXA Tools". */
juce::File getUserDataRoot();

/** A user-data folder (one of UserFolder). With copyIfMissing, when nothing exists
    at its path yet, the installed folder of the same name is copied there first
    (recursively; a failed copy is not reported). An existing folder is never
    touched, even when empty. */
juce::File getUserDataFolder (const juce::String& name, bool copyIfMissing);

/** The installed factory copy of a user-data folder. */
juce::File getInstalledDataFolder (const juce::String& name);

/** The install folder's "resources". */
juce::File getResourceFolder();

// The next three take only plain names (isPlainName); any other name gives an empty File.

/** A resource archive: the resource folder, then name + ".orc". */
juce::File getResourceArchive (const juce::String& name);

/** A resource inside an archive: the archive's path, then "resource", then the file name. */
juce::File getResourceInArchive (const juce::String& archiveName, const juce::String& fileName);

/** An effect-module library: the resource folder, then name + ".so". */
juce::File getEffectModuleLibrary (const juce::String& name);


/** Redirects the install folder and the documents folder (tests run the folder
    logic inside temporary folders). An empty File keeps the normal source. */
void overrideFolderRoots (const juce::File& installFolder, const juce::File& documentsFolder);

/** Back to the executable's folder and the user's documents folder. */
void clearFolderRootOverrides();

} // namespace T730
