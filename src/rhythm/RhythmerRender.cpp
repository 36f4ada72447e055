// The rhythm machine's audio thread: the song's events of each block routed to the two
// parts at their sample offsets, the count-in, and the silence asked for by the jam.
#include "rhythm/Rhythmer.h"

#include "engine/TypeLibVolumePdl.h"
#include "rhythm/RhythmEngineHost.h"

namespace T730
{

namespace
{
    /** Room for the messages of a dense block without the buffers growing. */
    constexpr int midiBytesPerBlock = 4096;

    float positivePeak (const float* a, const float* b, int n) noexcept
    {
        float peak = 0.0f;
        for (int i = 0; i < n; ++i)
            peak = juce::jmax (peak, a[i], b[i]);
        return peak;
    }
} // namespace

void Rhythmer::growWorkBuffers (int samples)
{
    if (samples <= workCapacity)
        return;

    for (auto* buffer : { &drumLeft, &drumRight, &bassLeft, &bassRight, &roomWork })
        buffer->assign ((size_t) samples, 0.0f);
    workCapacity = samples;
    drumMidi.ensureSize (midiBytesPerBlock);
    bassMidi.ensureSize (midiBytesPerBlock);
}

void Rhythmer::silence()
{
    silenceRequested.store (true);
}

void Rhythmer::silenceAtLocate (juce::int64)
{
    silence();
}

bool Rhythmer::startBlock (int samples)
{
    growWorkBuffers (samples);
    drumMidi.clear();
    bassMidi.clear();

    if (! silenceRequested.exchange (false))
        return false;

    // All sound off at the start of this block, on both parts.
    nextEvent = 0;
    const juce::uint8 bassOff[] = { 0xb0, 120, 0 };
    const juce::uint8 drumOff[] = { 0xb9, 120, 0 };
    bassMidi.addEvent (bassOff, 3, 0);
    drumMidi.addEvent (drumOff, 3, 0);
    return true;
}

//==============================================================================
size_t Rhythmer::firstEventAtOrAfter (juce::int64 from, juce::int64 length, int tempo) const noexcept
{
    // An event at the song's very end sounds one sample before it.
    auto at = [&] (size_t i)
    {
        const auto t = toSamples (merged[i].time, tempo);
        return t >= length ? length - 1 : t;
    };

    const size_t n = merged.size();
    if (nextEvent < n && at (nextEvent) >= from && (nextEvent == 0 || at (nextEvent - 1) < from))
        return nextEvent;

    size_t lo = 0, hi = n;
    while (lo < hi)
    {
        const size_t mid = lo + (hi - lo) / 2;
        if (at (mid) < from)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void Rhythmer::routeRange (juce::int64 from, juce::int64 to, juce::int64 shift, juce::int64 length, int tempo, bool on)
{
    size_t i = firstEventAtOrAfter (from, length, tempo);
    for (; i < merged.size(); ++i)
    {
        auto t = toSamples (merged[i].time, tempo);
        if (t >= length)
            t = length - 1;
        if (t >= to)
            break;
        route (merged[i], (int) (t + shift), on);
    }
    nextEvent = i;
}

void Rhythmer::route (const NoteEvent& e, int offset, bool on)
{
    const bool release = e.kind == NoteEvent::noteOff || e.velocity <= 0;
    const auto status = (juce::uint8) ((e.kind == NoteEvent::noteOn ? 0x90 : 0x80) | (e.channel & 0x0f));

    if (e.channel == drumChannel)
    {
        if ((! drumMuted.load() && on) || release)
        {
            const juce::uint8 message[] = { status, (juce::uint8) (e.note & 0x7f), (juce::uint8) juce::jlimit (0, 127, e.velocity) };
            drumMidi.addEvent (message, 3, offset);
        }
    }
    else if (e.channel == bassChannel)
    {
        const int note = e.note + transpose.load();
        if (note < 0 || note > 127)
            return;   // transposed out of the MIDI range: left out, never folded back
        if ((! bassMuted.load() && on) || release)
        {
            const juce::uint8 message[] = { status, (juce::uint8) note, (juce::uint8) juce::jlimit (0, 127, e.velocity) };
            bassMidi.addEvent (message, 3, offset);
        }
    }
    // Other channels (the end marker's among them) are not played.
}

//==============================================================================
void Rhythmer::render (juce::int64 position, const float* const*, float* const* output, int firstSample, int count)
{
    if (count <= 0)
        return;

    startBlock (count);

    const auto length = songLength.load();
    const int tempo = getCurrentPlayState()->getTempo();
    const bool on = getCurrentPlayState()->isRhythmOn();
    watchBlock (*getCurrentPlayState());
    watchedCountIn.store (0, std::memory_order_relaxed);

    if (length > 0 && ! merged.empty() && position >= 0)
    {
        if (repeat.load())
        {
            // Block by block through the song, wrapping at its end as often as the
            // block needs: every event of the block once, and the scan always ends.
            juce::int64 p = position % length;
            juce::int64 done = 0;
            while (done < count)
            {
                const auto end = juce::jmin (length, p + (count - done));
                routeRange (p, end, done - p, length, tempo, on);
                done += end - p;
                p = 0;
            }
        }
        else if (position < length)
        {
            routeRange (position, juce::jmin (length, position + count), -position, length, tempo, on);
        }
    }

    renderParts (position, output, firstSample, count, true);
}

void Rhythmer::renderCountIn (juce::int64 elapsed, const float* const*, float* const* output, int firstSample, int count)
{
    if (count <= 0)
        return;

    startBlock (count);

    auto* ps = getCurrentPlayState();
    const int tempo = ps->getTempo();
    watchBlock (*ps);
    watchedCountIn.store (elapsed + count);
    if (! drumMuted.load() && ps->isRhythmOn())
        for (const auto& e : preCountEvents)
        {
            const auto t = toSamples (e.time, tempo);
            if (t >= elapsed && t < elapsed + count && e.channel == drumChannel)
            {
                const juce::uint8 message[] = { (juce::uint8) ((e.kind == NoteEvent::noteOn ? 0x90 : 0x80) | drumChannel),
                                                (juce::uint8) (e.note & 0x7f), (juce::uint8) juce::jlimit (0, 127, e.velocity) };
                drumMidi.addEvent (message, 3, (int) (t - elapsed));
            }
        }

    // On the timeline the count-in ends where the song starts, so the drum part runs on
    // without a jump into the song.
    const auto timeline = ps->getPosition() - ps->getCountInLength() + elapsed;
    renderParts (timeline, output, firstSample, count, false);
}

void Rhythmer::watchBlock (const PlayState& ps) noexcept
{
    watchedTempo.store (ps.getTempo(), std::memory_order_relaxed);
    watchedRhythmOn.store (ps.isRhythmOn(), std::memory_order_relaxed);
}

void Rhythmer::idleRender (const float* const*, int, int count)
{
    if (auto* ps = getCurrentPlayState())
        watchBlock (*ps);
    if (count <= 0 || ! silenceRequested.load())
        return;

    if (startBlock (count))
    {
        float* discard[2] = { drumLeft.data(), drumRight.data() };
        head->samples = 0;
        for (auto* instance : { drums.get(), bass.get() })
            if (instance != nullptr)
            {
                juce::AudioBuffer<float> buffer (discard, 2, count);
                instance->processBlock (buffer, instance == drums.get() ? drumMidi : bassMidi);
            }
    }
}

//==============================================================================
float Rhythmer::processPart (RhythmEngineInstance* instance, TypeLibVolumePdl& level, juce::Reverb* room,
                             juce::MidiBuffer& midi, std::vector<float>& left, std::vector<float>& right,
                             juce::int64 position, int count)
{
    if (instance == nullptr)
        return 0.0f;

    float* channels[2] = { left.data(), right.data() };
    juce::AudioBuffer<float> buffer (channels, 2, count);
    head->samples = position;
    instance->processBlock (buffer, midi);
    if (room != nullptr)
    {
        if (position != roomNext)
            room->reset();
        auto* tail = roomWork.data();
        for (int i = 0; i < count; ++i)
            tail[i] = 0.5f * (channels[0][i] + channels[1][i]);
        room->processMono (tail, count);
        juce::FloatVectorOperations::add (channels[0], tail, count);
        juce::FloatVectorOperations::add (channels[1], tail, count);
        roomNext = position + count;
    }
    level.processFloat (count, channels[0], channels[1], channels[0], channels[1]);
    return positivePeak (channels[0], channels[1], count);
}

void Rhythmer::renderParts (juce::int64 position, float* const* output, int firstSample, int count, bool withBass)
{
    const bool haveBass = withBass && bass != nullptr;
    if (haveBass)
        bassMeter.store (processPart (bass.get(), *bassLevel, nullptr, bassMidi, bassLeft, bassRight, position, count));
    if (drums != nullptr)
        drumMeter.store (processPart (drums.get(), *drumLevel, &drumRoom, drumMidi, drumLeft, drumRight, position, count));

    for (int k = 0; k < count; ++k)
    {
        float left = 0.0f, right = 0.0f;
        if (drums != nullptr)
        {
            left += drumLeft[(size_t) k];
            right += drumRight[(size_t) k];
        }
        if (haveBass)
        {
            left += bassLeft[(size_t) k];
            right += bassRight[(size_t) k];
        }
        output[0][firstSample + k] = left;
        output[1][firstSample + k] = right;
    }
}

} // namespace T730
