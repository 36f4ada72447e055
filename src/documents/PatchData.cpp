#include "documents/PatchData.h"

#include "documents/PatchSet.h"
#include "documents/XmlPath.h"

namespace T730
{

bool PatchData::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    loaded = true;
    {
        const juce::ScopedLock sl (edit.lock);
        edit.name = getElementText (element, "Name");
    }
    tooltip = getElementText (element, "Tooltip");

    if (readKeywords (findElement (element, "Keywords")))
        hasKeywords = true;

    return edit.read (element);
}

bool PatchData::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "Name", getName());
    addTextChild (element, "Tooltip", tooltip);
    element->createNewChildElement ("Keywords");
    return edit.write (element);
}

juce::String PatchData::getName() const
{
    const juce::ScopedLock sl (edit.lock);
    return edit.name;
}

void PatchData::setName (const juce::String& newName)
{
    const juce::ScopedLock sl (edit.lock);
    edit.name = newName;
}

bool PatchData::readPatchFile (const juce::XmlElement* root)
{
    fileImported = false;

    if (root == nullptr || root->getTagName() != "PatchData")
        return false;

    auto* product = root->getChildByName ("Product");

    if (product == nullptr || getOwnText (product) != "M7c")
        return false;

    fileImported = true;
    return read (root);
}

bool PatchData::writePatchFile (juce::XmlElement* root)
{
    if (root == nullptr)
        return false;

    addTextChild (root, "Product", "M7c");
    return write (root);
}

} // namespace T730
