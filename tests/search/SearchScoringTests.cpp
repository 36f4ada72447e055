// The search's words and scores without a display: the keyword vocabulary
// (counted without regard to case, spelled as met first, most frequent first,
// groups without allKeyworded left out), the free text's pieces and every rule
// of the score, the result order, and whether the shipped keywords make a grid
// worth clicking.
#include "SearchTestSupport.h"

using namespace T730;
using namespace searchtest;

namespace
{
TEST (SearchScoring, AOneWordFreeTextIsCountedTwiceAndCaseDoesNotMatter)
{
    // The text itself and its only piece: 2 x (20 equal + 10 contains).
    EXPECT_EQ (scoreOf (SearchKey ("Blues", {}), SearchQuery ("bLUES", {})), 60);
    // Contained only: 2 x 10.
    EXPECT_EQ (scoreOf (SearchKey ("Slow Blues", {}), SearchQuery ("blues", {})), 20);
    // A keyword equal to the text: 2 x (8 + 4).
    EXPECT_EQ (scoreOf (SearchKey ("X", { "Rock" }), SearchQuery ("rock", {})), 24);
    EXPECT_EQ (scoreOf (SearchKey ("X", { "rock" }), SearchQuery ("jazz", {})), 0);
}

TEST (SearchScoring, TwoWordsAreScoredAsTheWholeTextAndEachWordAndADoubleSpaceAddsNothing)
{
    const SearchKey key ("Hard Rock", { "hard rock", "rock" });
    // Whole text "HARD ROCK": name equal 20 + contains 10, keyword equal 8 + contains 4 = 42.
    // "HARD": name contains 10, keyword "HARD ROCK" contains 4 = 14.
    // "ROCK": name contains 10, "HARD ROCK" contains 4, "ROCK" equal 8 + contains 4 = 26.
    EXPECT_EQ (scoreOf (key, SearchQuery ("hard rock", {})), 42 + 14 + 26);

    const SearchQuery doubled ("hard  rock", {});
    EXPECT_EQ (doubled.pieces, juce::StringArray ({ "HARD  ROCK", "HARD", "ROCK" }));
    // The whole text no longer matches anything; the two words still do.
    EXPECT_EQ (scoreOf (key, doubled), 14 + 26);

    EXPECT_TRUE (SearchQuery ({}, {}).isEmpty());
    EXPECT_TRUE (SearchQuery ({}, { "" }).isEmpty()) << "an empty word matches nothing";
    EXPECT_TRUE (SearchQuery ("", { }).pieces.isEmpty());
}

TEST (SearchScoring, SelectedWordsScoreEqualAndContainedKeywordsAndTheName)
{
    // One keyword equal to the word, one containing it: +4, then +2 for each containing keyword.
    EXPECT_EQ (scoreOf (SearchKey ("Night", { "rock", "hard rock" }), SearchQuery ({}, { "ROCK" })), 4 + 2 * 2);
    // A name containing the word adds 1; a name equal to a word adds 2 more.
    EXPECT_EQ (scoreOf (SearchKey ("Rock City", { "rock", "hard rock" }), SearchQuery ({}, { "rock" })), 4 + 4 + 1);
    EXPECT_EQ (scoreOf (SearchKey ("Rock", {}), SearchQuery ({}, { "rock" })), 2 + 1);
    // Two words: a keyword equal to one of them counts once for equality, and once per word it contains.
    EXPECT_EQ (scoreOf (SearchKey ("Z", { "blues rock" }), SearchQuery ({}, { "blues", "rock" })), 2 + 2);
    EXPECT_EQ (scoreOf (SearchKey ("Z", { "blues" }), SearchQuery ({}, { "blues", "BLUES" })), 4 + 2 + 2);
}

TEST (SearchScoring, ResultsGoBestFirstAndEqualScoresKeepTheRecordOrder)
{
    const std::vector<SearchKey> keys = { SearchKey ("A", { "rock" }), SearchKey ("B", { "jazz" }),
                                          SearchKey ("C", { "rock", "hard rock" }), SearchKey ("D", { "rock" }),
                                          SearchKey ("Rock", {}) };
    std::vector<int> scores;
    const auto ranked = rankRecords (keys, SearchQuery ({}, { "rock" }), scores);
    EXPECT_EQ (scores, (std::vector<int> { 6, 0, 8, 6, 3 }));
    EXPECT_EQ (ranked, (std::vector<int> { 2, 0, 3, 4 }));

    EXPECT_TRUE (rankRecords (keys, SearchQuery(), scores).empty());
    EXPECT_EQ (scores, (std::vector<int> (5, 0)));
}

TEST (SearchScoring, OnlyATooZAreUpperCased)
{
    EXPECT_EQ (searchUpperCase ("abc xyz 12 !?"), "ABC XYZ 12 !?");
    EXPECT_EQ (searchUpperCase (juce::String (juce::CharPointer_UTF8 ("caf\xc3\xa9"))),
               juce::String (juce::CharPointer_UTF8 ("CAF\xc3\xa9")));
}

TEST (SearchScoring, TheVocabularyMergesCaseKeepsTheFirstSpellingAndPutsTheMostFrequentFirst)
{
    Stores s;
    writeGroup (s.patchFolder, "A.xml", { { "One", { "Warm", "clean" } }, { "Two", { "warm", "" } } });
    writeGroup (s.patchFolder, "B.xml", { { "Three", { "Clean", "WARM" } } });
    // Keywords of a group without allKeyworded are never words.
    writeGroup (s.patchFolder, "C.xml", { { "Four", { "hidden", "hidden" } } }, false);
    writeSong (s.songFolder, "S1.xml", "Song One", { "fast", "clean" });
    writeSong (s.songFolder, "S2.xml", "Song Two", { "fast" });
    s.load();
    ASSERT_EQ (s.patches.getNumGroups(), 3);
    ASSERT_FALSE (s.patches.getGroup (2)->allKeyworded);

    // warm 3, clean 3, fast 2: equal counts in the order first met.
    EXPECT_EQ (buildKeywordWords (&s.patches, &s.songs), juce::StringArray ({ "Warm", "clean", "fast" }));

    // Without either store there are no words.
    EXPECT_TRUE (buildKeywordWords (nullptr, &s.songs).isEmpty());
    EXPECT_TRUE (buildKeywordWords (&s.patches, nullptr).isEmpty());

    KeywordCounter counter;
    counter.add ({ "Ab", "aB", "AB" });
    EXPECT_EQ (counter.words(), juce::StringArray ({ "Ab" }));
    EXPECT_EQ (counter.count ("ab"), 3);
}

TEST (SearchScoring, TheShippedKeywordsMakeAUsefulGrid)
{
    PatchManager patches;
    patches.setFolder (oxatest::stageFolder().getChildFile ("patchgroupM7"));
    patches.loadAll();
    SongManager songs;
    songs.setFolder (oxatest::stageFolder().getChildFile ("song"));
    songs.loadAll();
    ASSERT_GE (songs.getNumSongs(), 30);

    KeywordCounter counter;
    int groups = 0;
    for (int g = 0; g < patches.getNumGroups(); ++g)
        if (patches.getGroup (g)->allKeyworded)
        {
            ++groups;
            for (const auto& patch : patches.getGroup (g)->patches)
                counter.add (patch.keywords);
        }
    for (int i = 0; i < songs.getNumSongs(); ++i)
        counter.add (songs.getSong (i)->keywords);
    ASSERT_GE (groups, 2);

    const auto words = counter.words();
    EXPECT_EQ (words, buildKeywordWords (&patches, &songs));
    EXPECT_GE (words.size(), 40) << "enough words to pick from";

    juce::StringArray raw;   // every spelling met, to catch words differing only in case
    for (int g = 0; g < patches.getNumGroups(); ++g)
        for (const auto& patch : patches.getGroup (g)->patches)
            raw.addArray (patch.keywords);
    for (int i = 0; i < songs.getNumSongs(); ++i)
        raw.addArray (songs.getSong (i)->keywords);

    for (const auto& word : words)
    {
        EXPECT_GE (counter.count (word), 2) << "\"" << word << "\" finds only one record";
        for (const auto& spelling : raw)
            EXPECT_TRUE (spelling.compareIgnoreCase (word) != 0 || spelling == word)
                << "\"" << spelling << "\" and \"" << word << "\" differ only in case";
        EXPECT_EQ (word.trim(), word) << "no stray spaces";
    }
}
} // namespace
