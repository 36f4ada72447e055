#include "documents/PatchSet.h"

#include "documents/XmlPath.h"

namespace T730
{

PatchSet::PatchSet()
{
    for (int i = 0; i < numPatches; ++i)
    {
        patches[(size_t) i].owner = this;
        patches[(size_t) i].index = i;
    }
}

bool PatchSet::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    auto* product = element->getChildByName ("Product");
    auto* first = findElement (element, "Patches/PatchData");

    if (product == nullptr || getOwnText (product) != "M7c" || first == nullptr)
        return false;

    Name = getElementText (element, "Name");

    int n = 0;

    // Every element after the first PatchData is a patch; stray text is passed over.
    for (auto* e = first; e != nullptr && n < numPatches; e = e->getNextElement())
    {
        if (e->isTextElement())
            continue;

        auto& patch = patches[(size_t) n];
        patch.read (e);
        patch.owner = this;
        patch.index = n;
        ++n;
    }

    count = n;

    bool every = true;

    for (auto& patch : patches)
        if (patch.loaded && ! patch.hasKeywords)
            every = false;

    if (every)
        allKeyworded = true;

    return true;
}

bool PatchSet::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "Product", "M7c");
    addTextChild (element, "Version", "1");
    addTextChild (element, "Name", Name);

    auto* list = element->createNewChildElement ("Patches");

    for (auto& patch : patches)
        patch.write (list->createNewChildElement ("PatchData"));

    return true;
}

} // namespace T730
