#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace T730
{

class PatchManager;
class SongManager;
class SearchTarget;

/** A text with a to z made A to Z (nothing else changes): the search's one
    way of ignoring case. */
juce::String searchUpperCase (const juce::String& text);

/** The keyword vocabulary: every keyword met, counted without regard to case
    and spelled as it was met first; the most frequent first (equal counts in
    the order they were first met). */
class KeywordCounter
{
public:
    /** Counts the keywords of one record (empty keywords are skipped). */
    void add (const juce::StringArray& keywords);

    /** The words, most frequent first. */
    juce::StringArray words() const;

    int count (const juce::String& word) const;

private:
    juce::StringArray spelled;
    std::vector<int> counts;
    std::unordered_map<std::string, int> indexOfUpper;
};

/** The words of the search page's grid: the keywords of every patch of the
    groups whose allKeyworded flag is set (groups in display order, their 100
    patches in order), then of every song of the catalogue. Empty without a
    store or without a catalogue. */
juce::StringArray buildKeywordWords (const PatchManager* patches, const SongManager* songs);

/** A search as the lists score it: the free text and its pieces (split at
    every space; empty pieces score nothing) and the selected words, all in
    upper case. */
struct SearchQuery
{
    SearchQuery() = default;
    SearchQuery (const juce::String& freeText, const juce::StringArray& selectedWords);

    bool isEmpty() const noexcept { return pieces.isEmpty() && words.isEmpty(); }

    juce::StringArray pieces;   // the whole free text first, then each piece; empty ones left out
    juce::StringArray words;
};

/** What the search reads of a record: its name and keywords in upper case. */
struct SearchKey
{
    SearchKey() = default;
    explicit SearchKey (const SearchTarget& target);
    SearchKey (const juce::String& name, const juce::StringArray& keywords);

    juce::String name;
    juce::StringArray keywords;
};

/** The score of a record for a search:
    for the free text and each of its pieces q: +20 when the name equals q,
    +8 per keyword equal to q, +10 when the name contains q, +4 per keyword
    containing q; for the selected words W: +2 when the name equals a word of
    W, +4 per keyword equal to a word of W, +1 per word of W the name contains,
    +2 per keyword and word of W where the keyword contains the word. */
int scoreOf (const SearchKey& key, const SearchQuery& query);

/** The positions of the records that score above 0, best first; equal scores
    keep the records' order. `scores` receives every record's score. */
std::vector<int> rankRecords (const std::vector<SearchKey>& keys, const SearchQuery& query, std::vector<int>& scores);

} // namespace T730
