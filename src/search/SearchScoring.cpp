#include "search/SearchScoring.h"

#include "documents/PatchManager.h"
#include "rhythm/SongManager.h"

#include <algorithm>
#include <numeric>

namespace T730
{

juce::String searchUpperCase (const juce::String& text)
{
    auto utf8 = text.toStdString();
    bool changed = false;
    for (auto& c : utf8)
        if (c >= 'a' && c <= 'z')
        {
            c = (char) (c - 'a' + 'A');
            changed = true;
        }
    return changed ? juce::String::fromUTF8 (utf8.data(), (int) utf8.size()) : text;
}

//==============================================================================
void KeywordCounter::add (const juce::StringArray& keywords)
{
    for (const auto& word : keywords)
    {
        if (word.isEmpty())
            continue;

        const auto upper = searchUpperCase (word).toStdString();
        const auto found = indexOfUpper.find (upper);
        if (found != indexOfUpper.end())
        {
            ++counts[(size_t) found->second];
            continue;
        }
        indexOfUpper.emplace (upper, spelled.size());
        spelled.add (word);
        counts.push_back (1);
    }
}

juce::StringArray KeywordCounter::words() const
{
    std::vector<int> order ((size_t) spelled.size());
    std::iota (order.begin(), order.end(), 0);
    std::stable_sort (order.begin(), order.end(), [this] (int a, int b) { return counts[(size_t) a] > counts[(size_t) b]; });

    juce::StringArray result;
    result.ensureStorageAllocated ((int) order.size());
    for (int i : order)
        result.add (spelled[i]);
    return result;
}

int KeywordCounter::count (const juce::String& word) const
{
    const auto found = indexOfUpper.find (searchUpperCase (word).toStdString());
    return found != indexOfUpper.end() ? counts[(size_t) found->second] : 0;
}

juce::StringArray buildKeywordWords (const PatchManager* patches, const SongManager* songs)
{
    if (patches == nullptr || songs == nullptr)
        return {};

    KeywordCounter counter;
    for (int g = 0; g < patches->getNumGroups(); ++g)
    {
        const auto* group = patches->getGroup (g);
        if (group == nullptr || ! group->allKeyworded)
            continue;
        for (const auto& patch : group->patches)
            counter.add (patch.keywords);
    }
    for (int s = 0; s < songs->getNumSongs(); ++s)
        if (const auto* song = songs->getSong (s))
            counter.add (song->keywords);

    return counter.words();
}

//==============================================================================
SearchQuery::SearchQuery (const juce::String& freeText, const juce::StringArray& selectedWords)
{
    const auto upper = searchUpperCase (freeText);
    if (upper.isNotEmpty())
    {
        pieces.add (upper);
        // Split at every space: two spaces in a row give an empty piece, which scores nothing.
        int start = 0;
        for (int i = 0; i <= upper.length(); ++i)
        {
            if (i == upper.length() || upper[i] == ' ')
            {
                if (i > start)
                    pieces.add (upper.substring (start, i));
                start = i + 1;
            }
        }
    }

    // An empty word would be contained in every name and keyword.
    for (const auto& word : selectedWords)
        if (word.isNotEmpty())
            words.add (searchUpperCase (word));
}

SearchKey::SearchKey (const SearchTarget& target) : SearchKey (target.getName(), target.keywords)
{
}

SearchKey::SearchKey (const juce::String& n, const juce::StringArray& k) : name (searchUpperCase (n))
{
    keywords.ensureStorageAllocated (k.size());
    for (const auto& word : k)
        keywords.add (searchUpperCase (word));
}

int scoreOf (const SearchKey& key, const SearchQuery& query)
{
    int score = 0;

    for (const auto& q : query.pieces)
    {
        if (key.name == q)
            score += 20;
        if (key.name.contains (q))
            score += 10;
        for (const auto& k : key.keywords)
        {
            if (k == q)
                score += 8;
            if (k.contains (q))
                score += 4;
        }
    }

    if (! query.words.isEmpty())
    {
        if (query.words.contains (key.name))
            score += 2;
        for (const auto& k : key.keywords)
        {
            if (query.words.contains (k))
                score += 4;
            for (const auto& w : query.words)
                if (k.contains (w))
                    score += 2;
        }
        for (const auto& w : query.words)
            if (key.name.contains (w))
                score += 1;
    }
    return score;
}

std::vector<int> rankRecords (const std::vector<SearchKey>& keys, const SearchQuery& query, std::vector<int>& scores)
{
    scores.assign (keys.size(), 0);
    std::vector<int> results;
    if (query.isEmpty())
        return results;

    for (size_t i = 0; i < keys.size(); ++i)
    {
        scores[i] = scoreOf (keys[i], query);
        if (scores[i] > 0)
            results.push_back ((int) i);
    }
    std::stable_sort (results.begin(), results.end(),
                      [&scores] (int a, int b) { return scores[(size_t) a] > scores[(size_t) b]; });
    return results;
}

} // namespace T730
