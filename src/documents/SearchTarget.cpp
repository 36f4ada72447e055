#include "documents/SearchTarget.h"

#include "documents/XmlPath.h"

namespace T730
{

bool SearchTarget::readKeywords (const juce::XmlElement* keywordsElement)
{
    keywords.clear();

    if (keywordsElement == nullptr)
        return false;

    for (auto* e = keywordsElement->getChildByName ("Keyword"); e != nullptr; e = e->getNextElement())
    {
        if (e->isTextElement())
            continue;

        const auto word = getOwnText (e);

        if (word.isNotEmpty())
            keywords.add (word);
    }

    return ! keywords.isEmpty();
}

} // namespace T730
