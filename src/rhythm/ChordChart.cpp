#include "rhythm/ChordChart.h"

#include "rhythm/RootIndex.h"

#include <algorithm>

namespace T730::ChordChart
{

namespace
{
    /** Calls visit (run) for every slot: "." for an empty one, the run otherwise. */
    template <typename Visit>
    void forEachRun (const juce::String& text, Visit&& visit)
    {
        int i = 0;
        const int n = text.length();
        while (i < n)
        {
            if (text[i] == '.')
            {
                visit (juce::String ("."));
                ++i;
                continue;
            }
            int end = i;
            while (end < n && text[end] != '.')
                ++end;
            visit (text.substring (i, end));
            i = end;
        }
    }
} // namespace

juce::StringArray parse (const juce::String& text)
{
    juce::StringArray list;
    forEachRun (text, [&] (const juce::String& run)
    {
        if (run == ".")
        {
            list.add (".");
            return;
        }
        const auto name = RootIndex::leadingName (run);
        if (name.isNotEmpty())
            list.add (juce::String (RootIndex::fromName (name)) + "/" + run.substring (name.length()));
    });
    return list;
}

std::vector<Chord> chords (const juce::String& text)
{
    std::vector<Chord> list;
    int slot = 0;
    forEachRun (text, [&] (const juce::String& run)
    {
        if (run == ".")
        {
            ++slot;
            return;
        }
        const auto name = RootIndex::leadingName (run);
        if (name.isEmpty())
            return;
        list.push_back ({ slot, RootIndex::fromName (name), run.substring (name.length()) });
        ++slot;
    });
    return list;
}

int countSlots (const juce::String& text)
{
    return parse (text).size();
}

std::vector<int> tones (int root, const juce::String& quality)
{
    auto q = quality;
    int third = 4, fifth = 7;
    std::vector<int> extra;

    const bool major7 = q.startsWith ("maj") || q.startsWith ("M");
    if (major7)
        q = q.fromFirstOccurrenceOf (q.startsWith ("maj") ? "maj" : "M", false, false);
    else if (q.startsWith ("m"))
    {
        third = 3;
        q = q.substring (1);
    }

    if (q.startsWith ("dim"))
    {
        third = 3;
        fifth = 6;
        if (q.startsWith ("dim7"))
            extra.push_back (9);
        q = q.substring (q.startsWith ("dim7") ? 4 : 3);
    }
    else if (q.startsWith ("aug") || q.startsWith ("+"))
    {
        fifth = 8;
    }

    if (q.contains ("sus4"))
        third = 5;
    else if (q.contains ("sus2"))
        third = 2;
    if (q == "5")
        third = -1;
    if (q.contains ("b5"))
        fifth = 6;
    if (q.contains ("#5"))
        fifth = 8;

    const bool addOnly = q.contains ("add");
    if (major7)
        extra.push_back (11);
    else if (q.contains ("7") || ((q.contains ("9") || q.contains ("11") || q.contains ("13")) && ! addOnly))
        extra.push_back (10);
    if (q.contains ("6") || q.contains ("13"))
        extra.push_back (9);
    if (q.contains ("9") || q.contains ("sus2"))
        extra.push_back (2);
    if (q.contains ("11"))
        extra.push_back (5);

    std::vector<int> result { root % 12 };
    if (third >= 0)
        result.push_back ((root + third) % 12);
    result.push_back ((root + fifth) % 12);
    for (int e : extra)
        result.push_back ((root + e) % 12);

    std::sort (result.begin(), result.end());
    result.erase (std::unique (result.begin(), result.end()), result.end());
    return result;
}

bool isChordTone (int midiNote, int root, const juce::String& quality)
{
    const auto t = tones (root, quality);
    return std::find (t.begin(), t.end(), ((midiNote % 12) + 12) % 12) != t.end();
}

} // namespace T730::ChordChart
