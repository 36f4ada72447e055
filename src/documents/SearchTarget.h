#pragma once

#include "documents/UserData.h"

#include <cstdint>

namespace T730
{

/** The searchable record base of patches and songs: keywords and a tooltip,
    plus the search page's score and result position (never stored). */
class SearchTarget : public UserData
{
public:
    SearchTarget() = default;
    SearchTarget (const SearchTarget&) = default;
    SearchTarget& operator= (const SearchTarget&) = default;
    virtual ~SearchTarget() = default;

    virtual juce::String getName() const = 0;

    /** A copy of the keyword list. */
    virtual juce::StringArray getKeywords() const { return keywords; }

    /** Replaces the keyword list. */
    virtual void setKeywords (const juce::StringArray& newKeywords) { keywords = newKeywords; }

    /** Reads the keywords of a `Keywords` element: the text of its first
        `Keyword` child and of every sibling after it, empty texts skipped.
        The list is cleared first; returns true when a keyword was found. */
    bool readKeywords (const juce::XmlElement* keywordsElement);

    int32_t score = 0;
    int32_t resultPosition = 0;
    juce::StringArray keywords;
    juce::String tooltip;
};

} // namespace T730
