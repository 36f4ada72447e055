// "rhythmmachine": the instrument the rhythm machine plays its drum part and its bass part
// on. Each instance is a FluidSynth synthesiser playing the process's General MIDI
// SoundFont (SoundLibrary); parameters 0..127 choose the bass voice (channel 1), 128 and
// above the drum kit (channel 10).
//
// Timing: FluidSynth starts notes on its 64-sample grid. process renders up to each
// message's offset, hands the message over and renders on, so a note starts at the first
// grid point at or after its offset; and it keeps the grid on the host's timeline (the
// synthesiser's rendered count and the block position agree modulo 64, and every jump on
// the timeline starts the synthesiser afresh), so a song sounds the same however the host
// cuts it into blocks: live and in a mix-down.

#include "SoundLibrary.h"

#include <algorithm>
#include <cstring>

namespace T730::Rhythm
{

namespace
{
    constexpr int grid = 64;
    constexpr int bassChannel = 0;
    constexpr int drumChannel = 9;
    constexpr int graveSlots = 4;

    void copyName (char* text, const std::string& name)
    {
        const auto n = std::min (name.size(), (size_t) kRhythmNameSize - 1);
        std::memcpy (text, name.data(), n);
        text[n] = 0;
    }
} // namespace

class EngineInstance final : public SynthClient
{
public:
    EngineInstance()
    {
        for (auto& slot : grave)
            slot.store (nullptr);
        SoundLibrary::get().requestSynth (*this, requestedRate);
    }

    ~EngineInstance()
    {
        SoundLibrary::get().cancel (*this);
        SoundLibrary::destroySynth (pending.exchange (nullptr));
        SoundLibrary::destroySynth (live);
        sweep();
    }

    void prepare (double sampleRate, int32_t)
    {
        sweep();
        if (sampleRate > 0.0 && sampleRate != requestedRate)
        {
            requestedRate = sampleRate;
            SoundLibrary::get().requestSynth (*this, sampleRate);
        }
    }

    void release() { sweep(); }

    void synthBuilt (fluid_synth_t* synth, int) override
    {
        sweep();
        SoundLibrary::destroySynth (pending.exchange (synth, std::memory_order_acq_rel));
        ready.store (true, std::memory_order_release);
    }

    bool isReady() const noexcept { return ready.load (std::memory_order_acquire); }

    void setParameter (int32_t index, float)
    {
        if (index >= 0 && index < kRhythmFirstDrumKit)
            wantedBass.store (index);
        else if (index >= kRhythmFirstDrumKit && index < kRhythmNumParameters)
            wantedKit.store (index - kRhythmFirstDrumKit);
    }

    void getParameterName (int32_t index, char* text) const
    {
        text[0] = 0;
        auto& library = SoundLibrary::get();
        if (library.getState() != kRhythmSoundsReady)
            return;

        const auto& basses = library.getBassVoices();
        const auto& kits = library.getDrumKits();
        if (index >= 0 && index < kRhythmFirstDrumKit && (size_t) index < basses.size())
            copyName (text, basses[(size_t) index].name);
        else if (index >= kRhythmFirstDrumKit && (size_t) (index - kRhythmFirstDrumKit) < kits.size())
            copyName (text, kits[(size_t) (index - kRhythmFirstDrumKit)].name);
    }

    void process (float* left, float* right, int32_t frames, const RhythmMidiEvent* events, int32_t numEvents,
                  int64_t position)
    {
        if (frames <= 0 || left == nullptr || right == nullptr)
            return;

        takeNewSynth();

        if (live == nullptr)
        {
            std::fill (left, left + frames, 0.0f);
            std::fill (right, right + frames, 0.0f);
            return;
        }

        if (position != kRhythmNoPosition)
            alignGrid (position);
        applyVoices();

        int done = 0;
        for (int32_t i = 0; i < numEvents && events != nullptr; ++i)
        {
            const auto& e = events[i];
            const int offset = std::clamp (e.offset, done, frames - 1);
            if (offset > done)
            {
                write (left, right, done, offset - done);
                done = offset;
            }
            send (e);
        }
        write (left, right, done, frames - done);
        expected = position == kRhythmNoPosition ? kRhythmNoPosition : position + frames;
    }

private:
    /** Audio thread: a synthesiser the library built replaces the one in use. */
    void takeNewSynth()
    {
        if (pending.load (std::memory_order_relaxed) == nullptr)
            return;

        auto* synth = pending.exchange (nullptr, std::memory_order_acq_rel);
        if (synth == nullptr)
            return;

        bury (live);
        live = synth;
        rendered = 0;
        expected = kRhythmNoPosition;
        appliedBass = appliedKit = -1;
    }

    /** Audio thread: the old synthesiser waits for a thread that may free it. */
    void bury (fluid_synth_t* synth)
    {
        if (synth == nullptr)
            return;
        for (auto& slot : grave)
        {
            fluid_synth_t* empty = nullptr;
            if (slot.compare_exchange_strong (empty, synth))
                return;
        }
        // Every slot taken (a rate change per block): it is kept rather than freed here.
    }

    /** Any thread but the audio thread. */
    void sweep()
    {
        for (auto& slot : grave)
            SoundLibrary::destroySynth (slot.exchange (nullptr));
    }

    void applyVoices()
    {
        const auto& library = SoundLibrary::get();
        const int bass = wantedBass.load();
        if (bass != appliedBass)
        {
            appliedBass = bass;
            const auto& voices = library.getBassVoices();
            if ((size_t) bass < voices.size())
            {
                fluid_synth_bank_select (live, bassChannel, voices[(size_t) bass].bank);
                fluid_synth_program_change (live, bassChannel, voices[(size_t) bass].program);
            }
        }

        const int kit = wantedKit.load();
        if (kit != appliedKit)
        {
            appliedKit = kit;
            const auto& kits = library.getDrumKits();
            if ((size_t) kit < kits.size())
                fluid_synth_program_change (live, drumChannel, kits[(size_t) kit].program);
        }
    }

    /** A jump on the timeline (a start, a locate, the first block) starts the
        synthesiser afresh on the timeline's grid: the rest of the 64-sample block it
        has rendered is left out, every voice is cut and the controllers are reset
        (from the next block on), the block in which the cut voices fade is left out,
        and up to 63 more samples so that grid points fall on positions that are
        multiples of 64. The jam silences its items
        at every jump anyway; what sounds after it then depends only on the position. */
    void alignGrid (int64_t position)
    {
        if (position == expected)
            return;

        skip ((int) ((grid - rendered % grid) % grid));
        // In this order: a reset made after the cut lets the voices sound on. The cut
        // voices fade out over one block of their own, which is left out too.
        fluid_synth_system_reset (live);
        fluid_synth_all_sounds_off (live, -1);
        appliedBass = appliedKit = -1;
        skip (grid + (int) ((position % grid + grid) % grid));
    }

    void skip (int count)
    {
        if (count <= 0)
            return;
        fluid_synth_write_float (live, count, scratchLeft, 0, 1, scratchRight, 0, 1);
        rendered += count;
    }

    void write (float* left, float* right, int start, int count)
    {
        if (count <= 0)
            return;
        fluid_synth_write_float (live, count, left, start, 1, right, start, 1);
        rendered += count;
    }

    void send (const RhythmMidiEvent& e)
    {
        if (e.size < 1)
            return;

        const int status = e.data[0];
        const int channel = status & 0x0f;
        const int d1 = e.size > 1 ? (e.data[1] & 0x7f) : 0;
        const int d2 = e.size > 2 ? (e.data[2] & 0x7f) : 0;

        switch (status & 0xf0)
        {
            case 0x90:
                if (d2 > 0)
                    fluid_synth_noteon (live, channel, d1, d2);
                else
                    fluid_synth_noteoff (live, channel, d1);
                break;
            case 0x80: fluid_synth_noteoff (live, channel, d1); break;
            case 0xb0:
                if (d1 == 120)
                    fluid_synth_all_sounds_off (live, channel);
                else
                    fluid_synth_cc (live, channel, d1, d2);
                break;
            case 0xe0: fluid_synth_pitch_bend (live, channel, d1 | (d2 << 7)); break;
            default: break;
        }
    }

    double requestedRate = 44100.0;                     // message thread
    std::atomic<fluid_synth_t*> pending { nullptr };    // library thread -> audio thread
    std::atomic<fluid_synth_t*> grave[graveSlots];      // audio thread -> other threads
    std::atomic<bool> ready { false };
    std::atomic<int> wantedBass { 0 }, wantedKit { 0 };  // message thread -> audio thread

    // The audio thread's.
    fluid_synth_t* live = nullptr;
    int64_t rendered = 0;
    int64_t expected = kRhythmNoPosition;
    int appliedBass = -1, appliedKit = -1;
    float scratchLeft[grid] {}, scratchRight[grid] {};
};

//==============================================================================
namespace
{
    EngineInstance* cast (void* instance) { return static_cast<EngineInstance*> (instance); }

    void startLoading (const RhythmEngineHost* host) { SoundLibrary::get().start (host); }
    int32_t loadState() { return SoundLibrary::get().getState(); }

    void* create (const RhythmEngineHost* host)
    {
        try
        {
            SoundLibrary::get().start (host);
            return new EngineInstance();
        }
        catch (...)
        {
            return nullptr;
        }
    }

    void destroy (void* instance) { delete cast (instance); }

    void prepare (void* instance, double rate, int32_t block)
    {
        if (instance != nullptr)
            cast (instance)->prepare (rate, block);
    }

    void release (void* instance)
    {
        if (instance != nullptr)
            cast (instance)->release();
    }

    void process (void* instance, float* left, float* right, int32_t frames, const RhythmMidiEvent* events,
                  int32_t numEvents, int64_t position)
    {
        if (instance != nullptr)
            cast (instance)->process (left, right, frames, events, numEvents, position);
    }

    int32_t getNumParameters (void*) { return kRhythmNumParameters; }

    void getParameterName (void* instance, int32_t index, char* text)
    {
        if (text == nullptr)
            return;
        text[0] = 0;
        if (instance != nullptr)
            cast (instance)->getParameterName (index, text);
    }

    void setParameter (void* instance, int32_t index, float value)
    {
        if (instance != nullptr)
            cast (instance)->setParameter (index, value);
    }

    int32_t isReady (void* instance) { return instance != nullptr && cast (instance)->isReady() ? 1 : 0; }

    const RhythmEngineApi api { kRhythmEngineAbiVersion, startLoading, loadState, create, destroy, prepare, release,
                                process, getNumParameters, getParameterName, setParameter, isReady };
} // namespace

} // namespace T730::Rhythm

extern "C" __attribute__ ((visibility ("default"))) const T730::RhythmEngineApi* OxRhythmEngine()
{
    return &T730::Rhythm::api;
}
