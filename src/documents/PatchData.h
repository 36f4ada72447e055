#pragma once

#include "documents/EditBuf.h"
#include "documents/SearchTarget.h"

namespace T730
{

class PatchSet;

/** One stored patch: its edit buffer (whose name is the patch name), the
    search fields, and where it sits (group and position). */
class PatchData : public SearchTarget
{
public:
    PatchData() = default;
    PatchData (const PatchData&) = default;
    PatchData& operator= (const PatchData&) = default;
    ~PatchData() override = default;

    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;
    juce::String getName() const override;

    virtual void setName (const juce::String& newName);

    /** Reads a single-patch document: its root must be "PatchData" with
        `Product` "M7c"; anything else is refused with nothing read. */
    virtual bool readPatchFile (const juce::XmlElement* root);

    /** Fills a single-patch document's root: `Product` "M7c", then the patch. */
    virtual bool writePatchFile (juce::XmlElement* root);

    EditBuf edit;
    bool fileImported = false;
    bool loaded = false;
    bool hasKeywords = false;
    bool searchFlag = false;   // used by the search page
    PatchSet* owner = nullptr; // the group holding this patch; not owned
    int index = 0;             // position 0..99 in the group
};

} // namespace T730
