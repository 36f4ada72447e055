#pragma once

#include "ModuleHarness.h"
#include "TestSupport.h"

namespace moduletest
{

/** Path of a staged module library, "<name>.so" in the resources folder. */
inline std::string modulePath (const char* name)
{
    return oxatest::stageFolder().getChildFile ("resources").getChildFile (juce::String (name) + ".so")
        .getFullPathName().toStdString();
}

} // namespace moduletest
