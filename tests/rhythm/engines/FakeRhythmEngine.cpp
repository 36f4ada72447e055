#include "FakeRhythmEngine.h"

#include <oxa/RhythmEngineAbi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace
{
    std::mutex mutex;
    std::vector<faketest::Record> records;
    int32_t instances = 0;

    struct Fake
    {
        int32_t id = 0;
        int64_t rendered = 0;
        int held = 0;
    };

    void add (const Fake& f, int64_t position, int32_t offset, int32_t frames, uint8_t a, uint8_t b, uint8_t c)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        records.push_back ({ f.id, position, f.rendered, offset, frames, { a, b, c } });
    }

    void startLoading (const T730::RhythmEngineHost*) {}
    int32_t loadState() { return T730::kRhythmSoundsReady; }

    void* create (const T730::RhythmEngineHost*)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        auto* f = new Fake();
        f->id = instances++;
        return f;
    }

    void destroy (void* p) { delete static_cast<Fake*> (p); }
    void prepare (void*, double, int32_t) {}
    void release (void*) {}

    void process (void* p, float* left, float* right, int32_t frames, const T730::RhythmMidiEvent* events, int32_t n,
                  int64_t position)
    {
        auto& f = *static_cast<Fake*> (p);
        int done = 0;
        auto fill = [&] (int upTo)
        {
            for (; done < upTo; ++done)
                left[done] = right[done] = f.held > 0 ? faketest::gateLevel : 0.0f;
        };

        for (int32_t i = 0; i < n; ++i)
        {
            const auto& e = events[i];
            fill (std::clamp (e.offset, done, frames));
            add (f, position, e.offset, frames, e.data[0], e.size > 1 ? e.data[1] : 0, e.size > 2 ? e.data[2] : 0);
            const int kind = e.data[0] & 0xf0;
            if (kind == 0x90 && e.size > 2 && e.data[2] > 0)
                ++f.held;
            else if ((kind == 0x80 || kind == 0x90) && f.held > 0)
                --f.held;
            else if (kind == 0xb0 && e.size > 1 && e.data[1] == 120)
                f.held = 0;
        }
        fill (frames);
        f.rendered += frames;
    }

    int32_t getNumParameters (void*) { return T730::kRhythmFirstDrumKit + 4; }

    void getParameterName (void*, int32_t index, char* text)
    {
        text[0] = 0;
        if (index >= 0 && index < 3)
            std::snprintf (text, T730::kRhythmNameSize, "Fake Bass %d", index);
        else if (index >= T730::kRhythmFirstDrumKit && index < T730::kRhythmFirstDrumKit + 4)
            std::snprintf (text, T730::kRhythmNameSize, "Fake Kit %d", index - T730::kRhythmFirstDrumKit);
    }

    void setParameter (void* p, int32_t index, float)
    {
        add (*static_cast<Fake*> (p), -1, 0, 0, 0xff, 0, (uint8_t) std::clamp (index, 0, 255));
    }

    int32_t isReady (void*) { return 1; }

    const T730::RhythmEngineApi api { T730::kRhythmEngineAbiVersion, startLoading, loadState, create, destroy, prepare,
                                      release, process, getNumParameters, getParameterName, setParameter, isReady };
} // namespace

extern "C" __attribute__ ((visibility ("default"))) const T730::RhythmEngineApi* OxRhythmEngine() { return &api; }

extern "C" __attribute__ ((visibility ("default"))) int32_t fakeRhythmEngineRecords (faketest::Record* out, int32_t max)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto n = std::min<size_t> (records.size(), (size_t) std::max (max, 0));
    std::copy (records.begin(), records.begin() + (long) n, out);
    return (int32_t) records.size();
}

extern "C" __attribute__ ((visibility ("default"))) void fakeRhythmEngineClear()
{
    const std::lock_guard<std::mutex> lock (mutex);
    records.clear();
}
