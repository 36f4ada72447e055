#include "PatternWriter.h"

#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"
#include "rhythm/ChordChart.h"
#include "rhythm/RootIndex.h"
#include "rhythm/SMFParser.h"
#include "rhythm/Song.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>

namespace oxafactory
{

namespace
{
    constexpr int ticksPerQuarter = 480;
    constexpr int drumChannel = 10, bassChannel = 1;   // JUCE counts channels from 1
    constexpr int crashCymbal = 49;
    constexpr int countInClick = 37;

    struct Chord
    {
        int root = 0;
        juce::String quality, name;
    };

    using Bar = std::vector<Chord>;

    int barTicks (const Groove& g) { return g.numerator * ticksPerQuarter * 4 / g.denominator; }
    int slotsPerBar (const Groove& g) { return g.numerator * 8 / g.denominator; }

    std::vector<Bar> parseBars (const std::string& text, const Groove& g)
    {
        std::vector<Bar> bars;
        for (auto& barText : juce::StringArray::fromTokens (juce::String (text), "|", ""))
        {
            Bar bar;
            for (auto& name : juce::StringArray::fromTokens (barText.trim(), " ", ""))
            {
                if (name.isEmpty())
                    continue;
                const auto root = T730::RootIndex::leadingName (name);
                if (root.isEmpty())
                    throw RhythmError { "not a chord: " + name };
                bar.push_back ({ T730::RootIndex::fromName (root), name.substring (root.length()), name });
            }
            const auto m = (int) bar.size();
            if (m == 0 || g.stepsPerBar % m != 0 || slotsPerBar (g) % m != 0 || slotsPerBar (g) / m < 2)
                throw RhythmError { "a bar of " + juce::String (m) + " chords does not fit " + juce::String (g.key) };
            bars.push_back (bar);
        }
        if (bars.empty())
            throw RhythmError { "a section without bars" };
        return bars;
    }

    /** The bass register: roots from E1 (28) up to D#2 (39). */
    int bassRoot (int pitchClass) { return 28 + ((pitchClass - 4) % 12 + 12) % 12; }

    /** The interval of a chord's third, fifth or seventh above its root. */
    int intervalOf (const Chord& c, const std::vector<int>& candidates, int fallback)
    {
        const auto tones = T730::ChordChart::tones (0, c.quality);
        for (int i : candidates)
            if (std::find (tones.begin(), tones.end(), i) != tones.end())
                return i;
        return fallback;
    }

    int bassNote (char symbol, const Chord& chord, const Chord& next)
    {
        const int root = bassRoot (chord.root);
        switch (symbol)
        {
            case '1': return root;
            case '8': return root + 12;
            case '3': return root + intervalOf (chord, { 4, 3, 5, 2 }, 0);
            case '5': return root + intervalOf (chord, { 7, 6, 8 }, 7);
            case '6': return root + 9;
            case '7': return root + intervalOf (chord, { 10, 11 }, 10);
            case 'b': return root + 10;
            case 'a':
            {
                const int target = bassRoot (next.root);
                return target - 1 >= 28 ? target - 1 : target + 1;
            }
            default: throw RhythmError { juce::String ("unknown bass symbol ") + symbol };
        }
    }

    bool isChordToneSymbol (char s) { return s == '1' || s == '3' || s == '5' || s == '8'; }

    int velocityOf (char hit)
    {
        switch (hit)
        {
            case 'X': return 118;
            case 'x': return 92;
            case 'o': return 50;
            case '.': return 0;
            default: throw RhythmError { juce::String ("unknown drum hit ") + hit };
        }
    }

    char stepOf (const std::string& row, int bar, int step, int stepsPerBar)
    {
        if (row.size() != (size_t) stepsPerBar && row.size() != (size_t) (2 * stepsPerBar))
            throw RhythmError { "a row of " + juce::String ((int) row.size()) + " steps in a bar of "
                                + juce::String (stepsPerBar) };
        const auto bars = (int) row.size() / stepsPerBar;
        return row[(size_t) ((bar % bars) * stepsPerBar + step)];
    }

    void addNote (juce::MidiMessageSequence& seq, int channel, int note, int velocity, int on, int off)
    {
        seq.addEvent (juce::MidiMessage::noteOn (channel, note, (juce::uint8) velocity), on);
        seq.addEvent (juce::MidiMessage::noteOff (channel, note), off);
    }

    juce::MidiMessageSequence sectionEvents (const Groove& g, const std::vector<Bar>& bars)
    {
        juce::MidiMessageSequence seq;
        const int stepTicks = barTicks (g) / g.stepsPerBar;
        const int nBars = (int) bars.size();

        for (int b = 0; b < nBars; ++b)
        {
            const int start = b * barTicks (g);
            const auto& rows = (b == nBars - 1 && ! g.fill.empty()) ? g.fill : g.main;

            if (b == 0 && g.crashOnSections)
                addNote (seq, drumChannel, crashCymbal, 110, start, start + stepTicks);

            for (auto& row : rows)
                for (int s = 0; s < g.stepsPerBar; ++s)
                    if (const int v = velocityOf (stepOf (row.hits, b, s, g.stepsPerBar)); v > 0)
                        addNote (seq, drumChannel, row.note, v, start + s * stepTicks,
                                 start + s * stepTicks + std::max (30, stepTicks / 2));

            const auto& bar = bars[(size_t) b];
            const int m = (int) bar.size();
            const int chordSteps = g.stepsPerBar / m;
            for (int s = 0; s < g.stepsPerBar; ++s)
            {
                const int j = s / chordSteps;
                const bool chordStart = s % chordSteps == 0;
                char symbol = stepOf (g.bass, b, s, g.stepsPerBar);
                if (chordStart && ! isChordToneSymbol (symbol))
                    symbol = '1';   // a chord always starts on a chord tone
                if (symbol == '-' || symbol == '.')
                    continue;

                // Held through the following '-' steps, never past the next chord.
                int length = 1;
                while (s + length < g.stepsPerBar && (s + length) % chordSteps != 0
                       && stepOf (g.bass, b, s + length, g.stepsPerBar) == '-')
                    ++length;

                const auto& chord = bar[(size_t) j];
                const auto& next = j + 1 < m ? bar[(size_t) j + 1] : bars[(size_t) ((b + 1) % nBars)].front();
                const int on = start + s * stepTicks;
                addNote (seq, bassChannel, bassNote (symbol, chord, next), chordStart ? 104 : 88, on,
                         on + length * stepTicks - 10);
            }
        }

        seq.addEvent (juce::MidiMessage::endOfTrack(), nBars * barTicks (g));
        seq.sort();
        return seq;
    }

    void writeMidi (const juce::File& file, const juce::MidiMessageSequence& seq)
    {
        juce::MidiFile midi;
        midi.setTicksPerQuarterNote (ticksPerQuarter);
        midi.addTrack (seq);
        juce::MemoryOutputStream out;
        if (! midi.writeTo (out, 0) || ! T730::replaceFileContent (file, out.getData(), out.getDataSize()))
            throw RhythmError { "cannot write " + file.getFullPathName() };
    }

    /** The file as the program reads it: every message and the end where the pattern ends. */
    void checkMidi (const juce::File& file, int endTick, size_t messages)
    {
        std::vector<T730::NoteEvent> events;
        if (! T730::readMidiFile (file, events) || events.empty())
            throw RhythmError { "the reader refuses " + file.getFileName() };
        if (events.back().time != (float) endTick * 60.0f / (float) ticksPerQuarter || events.size() != messages + 1)
            throw RhythmError { file.getFileName() + " does not read back as written" };
    }

    const Groove& grooveOf (const SongPlan& plan)
    {
        const auto* g = findGroove (plan.groove);
        if (g == nullptr)
            throw RhythmError { "no groove " + juce::String (plan.groove) };
        return *g;
    }

    const Section& sectionOf (const SongPlan& plan, char letter)
    {
        for (auto& s : plan.sections)
            if (s.letter == letter)
                return s;
        throw RhythmError { juce::String (plan.name) + " has no section " + juce::String::charToString (letter) };
    }
} // namespace

juce::String patternId (const SongPlan& plan, char letter)
{
    const auto base = juce::File (juce::String (plan.file)).getFileNameWithoutExtension().fromFirstOccurrenceOf ("Song_", false, false);
    return base.toUpperCase() + "_" + juce::String::charToString (letter);
}

juce::String chordChart (const SongPlan& plan)
{
    const auto& g = grooveOf (plan);
    juce::String chart;
    for (char letter : plan.order)
        for (auto& bar : parseBars (sectionOf (plan, letter).chords, g))
        {
            const int slots = slotsPerBar (g);
            const int perChord = slots / (int) bar.size();
            for (int s = 0; s < slots; ++s)
                chart << (s % perChord == 0 ? bar[(size_t) (s / perChord)].name : juce::String ("."));
        }
    return chart;
}

void writeSongPlan (const SongPlan& plan, const juce::File& songFolder, const juce::File& rhythmFolder)
{
    const auto& g = grooveOf (plan);
    if (T730::RootIndex::toName (T730::RootIndex::fromName (plan.key)) != juce::String (plan.key))
        throw RhythmError { "not a root: " + juce::String (plan.key) };

    T730::Song song;
    song.SongName = plan.name;
    song.Comment = juce::String (plan.style) + ", " + juce::String (plan.bpm) + " BPM, in " + juce::String (plan.key);
    song.BPM = plan.bpm;
    song.RhythmLv = plan.drumLevel;
    song.RhythmVoice = plan.kit;
    song.BassLv = plan.bassLevel;
    song.BassVoice = plan.bassVoice;
    song.Repeat = 1;
    song.OnOff = 1;
    song.RootChord = 0;
    song.tooltip = plan.tooltip;
    song.DispChord = chordChart (plan);

    // The sections as patterns, each written once.
    juce::String written;
    for (auto& section : plan.sections)
    {
        if (written.containsChar (section.letter))
            throw RhythmError { juce::String (plan.name) + ": section letters repeat" };
        written << juce::String::charToString (section.letter);

        const auto bars = parseBars (section.chords, g);
        const auto id = patternId (plan, section.letter);
        const auto seq = sectionEvents (g, bars);
        const auto midiFile = rhythmFolder.getChildFile (id + ".mid");
        writeMidi (midiFile, seq);
        checkMidi (midiFile, (int) bars.size() * barTicks (g), (size_t) seq.getNumEvents() - 1);

        juce::XmlElement pattern ("RhythmPattern");
        T730::addTextChild (&pattern, "ID", id);
        T730::addTextChild (&pattern, "FileName", midiFile.getFileName());
        T730::addTextChild (&pattern, "TimeSig", juce::String (g.numerator) + "/" + juce::String (g.denominator));
        T730::addTextChild (&pattern, "BarLen", juce::String ((int) bars.size()));
        T730::addTextChild (&pattern, "Root", plan.key);
        if (! T730::writeXmlDocument (rhythmFolder.getChildFile (id + ".xml"), pattern))
            throw RhythmError { "cannot write the pattern " + id };
    }

    // The song plays the sections in order; positions in quarter notes × 60.
    const int barTime = g.numerator * 240 / g.denominator;
    int position = 0;
    for (char letter : plan.order)
    {
        T730::SongEv e;
        e.Type = T730::SongEv::patternType;
        e.Position = position;
        e.Prm = patternId (plan, letter);
        song.Events.push_back (e);
        position += barTime * (int) parseBars (sectionOf (plan, letter).chords, g).size();
    }

    juce::XmlElement root (T730::Song::rootTag);
    song.write (&root);
    // The song writer leaves keywords out; the factory's songs carry them for the search page.
    auto* keywords = root.createNewChildElement ("Keywords");
    for (auto& word : juce::StringArray::fromTokens (juce::String (plan.keywords), "|", ""))
        T730::addTextChild (keywords, "Keyword", word);
    if (! T730::writeXmlDocument (songFolder.getChildFile (plan.file), root))
        throw RhythmError { "cannot write the song " + juce::String (plan.file) };
}

void writeCountInFiles (const juce::File& folder)
{
    auto write = [&folder] (const juce::String& name, const std::vector<int>& beats, int length)
    {
        juce::MidiMessageSequence seq;
        for (size_t i = 0; i < beats.size(); ++i)
        {
            const int at = beats[i] * ticksPerQuarter;
            addNote (seq, drumChannel, countInClick, i == 0 ? 120 : 92, at, at + ticksPerQuarter / 4);
        }
        seq.addEvent (juce::MidiMessage::endOfTrack(), length * ticksPerQuarter);
        seq.sort();
        const auto file = folder.getChildFile (name);
        writeMidi (file, seq);
        checkMidi (file, length * ticksPerQuarter, beats.size() * 2);
    };

    for (int n = 1; n <= 8; ++n)
    {
        std::vector<int> beats;
        for (int b = 0; b < n; ++b)
            beats.push_back (b);
        write ("preCount" + juce::String (n) + ".mid", beats, n);
    }
    write ("preCountSP.mid", { 0, 2, 4, 5, 6, 7 }, 8);
}

} // namespace oxafactory
