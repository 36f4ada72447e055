#pragma once

#include <juce_core/juce_core.h>

/* The factory generator makes the data of the install folder: the factory
   copies of the user-data folders and whatever else the staged program needs
   beside its executable. It runs a list of steps in order; each step is a
   function in its own source file that registers itself with a
   FactoryStepRegistration (see factory/CMakeLists.txt for adding one). */
namespace oxafactory
{

/** Where a step works. */
struct FactoryContext
{
    juce::File stage;     // the install folder being made (build/stage)
    juce::File resources; // stage/resources
    juce::File sources;   // hand-made inputs: factory/data in the source tree
    juce::File catalogue; // the download catalogue folder (build/stage-catalogue); none: not made
};

/** A step: true on success; on failure it writes why to std::cerr. */
using FactoryStepFunction = bool (*) (const FactoryContext&);

/** Registers a step. Steps run by ascending order number (ties by name):
    0 is the user-data folders step, which empties and recreates the five
    folders, so every step that fills them uses a larger number. */
struct FactoryStepRegistration
{
    FactoryStepRegistration (int order, const char* name, FactoryStepFunction run);
};

/** The five user-data folders, as the installed program expects them. */
inline const char* const userDataFolders[] = { "setting", "song", "rhythm", "patchgroupM7", "toolsets" };

} // namespace oxafactory
