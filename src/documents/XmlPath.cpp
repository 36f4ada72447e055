#include "documents/XmlPath.h"

#include <limits>

namespace T730
{

juce::StringArray splitAt (const juce::String& text, juce::juce_wchar separator)
{
    juce::StringArray pieces;
    auto start = text.getCharPointer();
    auto p = start;

    for (;;)
    {
        auto c = p.getAndAdvance();
        if (c == separator || c == 0)
        {
            auto end = p;
            --end;
            pieces.add (juce::String (start, end));
            if (c == 0)
                break;
            start = p;
        }
    }

    return pieces;
}

namespace
{
/** The index of the attribute with this name, its case disregarded like tag names; -1 when absent. */
int findAttribute (const juce::XmlElement& child, const juce::String& name)
{
    for (int i = 0; i < child.getNumAttributes(); ++i)
        if (child.getAttributeName (i).equalsIgnoreCase (name))
            return i;
    return -1;
}

bool passesSelectors (const juce::XmlElement& child, const juce::StringArray& pieces)
{
    for (int i = 1; i < pieces.size(); ++i)
    {
        auto parts = splitAt (pieces[i], '=');
        if (parts.size() != 2)
            continue;

        const auto index = findAttribute (child, parts[0]);
        if (index >= 0 && child.getAttributeValue (index) != parts[1])
            return false;
    }
    return true;
}

juce::XmlElement* findStep (const juce::XmlElement* element, const juce::String& step, bool withSelectors)
{
    if (element == nullptr || step.isEmpty())
        return nullptr;

    juce::StringArray pieces;
    if (withSelectors)
        pieces = splitAt (step, ',');
    else
        pieces.add (step);

    const auto& tag = pieces[0];
    if (tag.isEmpty())
        return nullptr;

    for (auto* child : element->getChildIterator())
        if (child->hasTagName (tag) && passesSelectors (*child, pieces))
            return child;

    return nullptr;
}

juce::XmlElement* follow (const juce::XmlElement* element, const juce::String& path, bool withSelectors)
{
    if (element == nullptr)
        return nullptr;

    auto* current = const_cast<juce::XmlElement*> (element);
    for (auto& step : splitAt (path, '/'))
    {
        current = findStep (current, step, withSelectors);
        if (current == nullptr)
            return nullptr;
    }
    return current;
}
} // namespace

juce::XmlElement* findElement (const juce::XmlElement* element, const juce::String& path)
{
    return follow (element, path, false);
}

juce::XmlElement* findElementSelect (const juce::XmlElement* element, const juce::String& path)
{
    return follow (element, path, true);
}

juce::String getOwnText (const juce::XmlElement* element)
{
    if (element == nullptr)
        return {};

    juce::String text;
    for (auto* child : element->getChildIterator())
        if (child->isTextElement())
            text << child->getText();
    return text;
}

juce::String getElementText (const juce::XmlElement* element, const juce::String& path)
{
    return getOwnText (findElement (element, path));
}

juce::String getElementSelectText (const juce::XmlElement* element, const juce::String& path)
{
    return getOwnText (findElementSelect (element, path));
}

int readLeadingInt (const juce::String& text) noexcept
{
    auto p = text.getCharPointer();
    while (juce::CharacterFunctions::isWhitespace (*p))
        ++p;

    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;

    // Accumulated in 64 bits and held at the int range, so that a long run of
    // digits neither overflows nor wraps round to a small number.
    juce::int64 value = 0;
    while (juce::CharacterFunctions::isDigit (*p))
    {
        value = value * 10 + (*p - '0');
        if (value > (juce::int64) std::numeric_limits<int>::max() + 1)
            value = (juce::int64) std::numeric_limits<int>::max() + 1;
        ++p;
    }

    if (negative)
        value = -value;

    return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                               (juce::int64) std::numeric_limits<int>::max(), value);
}

int getElementInt (const juce::XmlElement* element, const juce::String& path, int defaultValue)
{
    auto* found = findElement (element, path);
    if (found == nullptr)
        return defaultValue;
    return readLeadingInt (getOwnText (found));
}

juce::XmlElement* addTextChild (juce::XmlElement* parent, const juce::String& tag, const juce::String& text)
{
    if (parent == nullptr)
        return nullptr;

    auto* child = parent->createNewChildElement (tag);
    child->addTextElement (text);
    return child;
}

juce::XmlElement* addIndexedTextChild (juce::XmlElement* parent, const juce::String& tag,
                                       const juce::String& attribute, int index, const juce::String& text)
{
    auto* child = addTextChild (parent, tag, text);
    if (child != nullptr)
        child->setAttribute (attribute, index);
    return child;
}

} // namespace T730
