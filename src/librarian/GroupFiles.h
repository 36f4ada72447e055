#pragma once

#include "documents/PatchSet.h"

#include <memory>

namespace T730
{

/** The librarian's files: groups and single patches written as documents
    through the safe replacement (a failed write leaves the old file as it
    was), and the checks that keep the librarian from writing a group over a
    file that is not, or no longer, its own to write. */
namespace GroupFiles
{
    /** Whether a group may be written over its own file. */
    enum class Verdict
    {
        writable,      // the file is a patch group of the M7c that may be written, or it is missing
        readOnly,      // the file may not be written
        notAPatchGroup // the file is damaged or of another product: it is left alone
    };

    Verdict checkOwnFile (const PatchSet& group);

    /** True for a document that reads as a patch group of the M7c (a `Product`
        "M7c" and at least one patch under `Patches`). */
    bool isPatchGroupFile (const juce::File& file);

    /** True when the file exists and may not be written. A missing file counts as writable. */
    bool isReadOnly (const juce::File& file);

    /** Writes the group as a "PatchSet" document. */
    bool writeGroup (PatchSet& group, const juce::File& file);

    /** Writes one patch as a "PatchData" document. */
    bool writePatch (PatchData& patch, const juce::File& file);

    /** A copy of the group that refers to itself (its patches' owner is the copy). */
    std::unique_ptr<PatchSet> copyOf (const PatchSet& group);

    /** Puts a copy's content back into the group (the patches keep their owner and places). */
    void restore (PatchSet& group, const PatchSet& copy);

    /** A file for a new group in the folder: name + ".xml", or, when that is
        taken, name + "-2.xml", "-3.xml", ... (never an existing file). */
    juce::File freeFileFor (const juce::File& folder, const juce::String& name);
} // namespace GroupFiles

} // namespace T730
