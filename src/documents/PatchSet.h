#pragma once

#include "documents/PatchData.h"

#include <array>

namespace T730
{

/** A patch group: a name and 100 patches, stored as one "PatchSet" document. */
class PatchSet : public UserData
{
public:
    static constexpr int numPatches = 100;

    PatchSet();
    ~PatchSet() = default;

    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    juce::String Name;
    std::array<PatchData, numPatches> patches;
    juce::File path;              // the group file
    bool allKeyworded = false;    // every loaded patch carries keywords
    int count = numPatches;       // number of patches read

    JUCE_DECLARE_NON_COPYABLE (PatchSet)
};

} // namespace T730
