// Cost of each effect module library, loaded straight with dlopen, per 512-frame stereo block at
// 44.1 kHz: processor time on average, at the 99th percentile and in the worst block, as
// fractions of the block's real time.

#include "ModuleHarness.h"
#include "SyntheticTone.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace moduletest;

namespace
{

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
constexpr double kSeconds = 60.0;

std::string libraryPath (const char* name)
{
    return std::string (OXA_BENCH_RESOURCES_DIR) + "/" + name + ".so";
}

struct Cost
{
    double average = 0.0;      // fraction of real time over the run
    double percentile99 = 0.0; // 99th percentile block, as a fraction of its duration
    double worst = 0.0;        // the most expensive block
};

/** Processor time of this thread in seconds: unlike the wall clock it leaves out the time the
    thread waits while other processes run, so the figures hold on a busy machine too. */
double threadSeconds()
{
    timespec t {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double> (t.tv_sec) + 1e-9 * static_cast<double> (t.tv_nsec);
}

/** Times `block(i)` for every block of a run of kSeconds. */
Cost timeBlocks (const std::function<void (size_t)>& block)
{
    const auto blocks = static_cast<size_t> (kSeconds * kRate / kBlock);
    const double blockSeconds = kBlock / kRate;
    std::vector<double> spent (blocks);
    double total = 0.0;
    for (size_t i = 0; i < blocks; ++i)
    {
        const double start = threadSeconds();
        block (i);
        spent[i] = threadSeconds() - start;
        total += spent[i];
    }
    std::sort (spent.begin(), spent.end());
    return { total / (blocks * blockSeconds), spent[blocks * 99 / 100] / blockSeconds, spent.back() / blockSeconds };
}

void print (const char* what, const Cost& cost)
{
    std::printf ("%-32s %8.4f %% of real time; per block: 99th percentile %7.3f %%, worst %7.3f %%\n", what,
                 100.0 * cost.average, 100.0 * cost.percentile99, 100.0 * cost.worst);
}

/** A minute of guitar: plucked notes of two seconds each over the strings' range. */
StereoSignal guitarTake()
{
    StereoSignal take;
    const double notes[] = { 82.41, 110.0, 146.83, 196.0, 246.94, 329.63, 440.0, 61.74 };
    for (int i = 0; take.size() < static_cast<size_t> (kSeconds * kRate) + kBlock * 4; ++i)
        appendPluckedNote (take, notes[i % 8], 2.0, kRate, static_cast<unsigned> (i));
    return take;
}

void benchTuner (const StereoSignal& take)
{
    ModuleLibrary library (libraryPath ("Tuner"));
    auto tuner = library.create (kBlock, static_cast<float> (kRate));
    if (! tuner)
        return (void) std::printf ("Tuner: not loaded (%s)\n", library.getError().c_str());
    ReportCollector reports;
    tuner->setListener (&reports);
    std::vector<double> left (kBlock), right (kBlock);
    print ("Tuner (4096 window, 1024 hop)", timeBlocks ([&] (size_t i) {
               std::copy_n (take.left.begin() + static_cast<long> (i * kBlock), kBlock, left.begin());
               std::copy_n (take.right.begin() + static_cast<long> (i * kBlock), kBlock, right.begin());
               double* channels[2] = { left.data(), right.data() };
               tuner->processDoubleReplacing (channels, channels, kBlock);
           }));
    tuner->setListener (nullptr);
}

void benchVolumePedal (const StereoSignal& take)
{
    ModuleLibrary library (libraryPath ("Volume_Pedal"));
    auto pedal = library.create (kBlock, static_cast<float> (kRate));
    if (! pedal)
        return (void) std::printf ("Volume_Pedal: not loaded (%s)\n", library.getError().c_str());
    std::vector<double> left (kBlock), right (kBlock);
    print ("Volume_Pedal (level moving)", timeBlocks ([&] (size_t i) {
               if (i % 16 == 0)
                   pedal->setParameter (1, (i / 16) % 2 == 0 ? 0.3f : 0.9f);
               std::copy_n (take.left.begin() + static_cast<long> (i * kBlock), kBlock, left.begin());
               std::copy_n (take.right.begin() + static_cast<long> (i * kBlock), kBlock, right.begin());
               double* channels[2] = { left.data(), right.data() };
               pedal->processDoubleReplacing (channels, channels, kBlock);
           }));
}

void benchDecelerator (const StereoSignal& take, int speed)
{
    ModuleLibrary library (libraryPath ("Decelerator"));
    auto decelerator = library.create (kBlock, static_cast<float> (kRate));
    if (! decelerator)
        return (void) std::printf ("Decelerator: not loaded (%s)\n", library.getError().c_str());
    decelerator->setParameter (0, speed >= 100 ? 1.0f : (speed - 50) / 50.0f);
    const float ratio = std::pow (2.0f, (speed >= 100 ? 1.0f : (speed - 50) / 50.0f) - 1.0f);

    // The recorder's side: the frames the slowed transport covered, at the start of the buffer.
    std::vector<double> left (kBlock + 4), right (kBlock + 4);
    double remainder = 0.0;
    size_t position = 0;
    char label[64];
    std::snprintf (label, sizeof label, "Decelerator at speed %d", speed);
    print (label, timeBlocks ([&] (size_t) {
               const double covered = ratio * kBlock + remainder;
               const int needed = std::min (static_cast<int> (covered + 0.5) + 2, kBlock + 4);
               remainder = covered - std::floor (covered);
               std::copy_n (take.left.begin() + static_cast<long> (position), needed, left.begin());
               std::copy_n (take.right.begin() + static_cast<long> (position), needed, right.begin());
               double* channels[2] = { left.data(), right.data() };
               decelerator->processDoubleReplacing (channels, channels, kBlock);
               position += static_cast<size_t> (covered);
           }));
}

} // namespace

int main()
{
    std::printf ("Effect modules, %d-frame stereo blocks at %.0f Hz, %.0f s of audio each\n", kBlock, kRate, kSeconds);
    const auto take = guitarTake();
    benchTuner (take);
    benchVolumePedal (take);
    for (int speed : { 50, 75, 99, 100 })
        benchDecelerator (take, speed);
    return 0;
}
