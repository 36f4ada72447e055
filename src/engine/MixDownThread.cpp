#include "engine/MixDownThread.h"

#include "engine/DspMain.h"
#include "engine/Synchronizer.h"
#include "recorder/WaveFile.h"

#include <vector>

namespace T730
{

namespace
{
    constexpr int fallbackBlockSize = 512;
}

MixDownThread::MixDownThread (DspMain& owner) : juce::Thread ("Mix Down Thread"), engine (owner)
{
}

MixDownThread::~MixDownThread()
{
    cancel();
}

bool MixDownThread::start (const juce::File& wavFile)
{
    waitUntilFinished();

    file = wavFile;
    blockIndex = 0;
    blockCount = 0;
    succeeded = false;
    cancelled = false;

    // An engine that cannot render (a device at another rate) would write
    // silence; then the file: one that cannot be made leaves everything as it was.
    output = std::make_unique<WaveFile>();
    if (! engine.isReady() || ! output->openForWriting (file))
    {
        output.reset();
        finished = true;
        return false;
    }

    finished = false;
    jam = engine.copyJamList();
    startThread();
    return true;
}

void MixDownThread::cancel()
{
    // Signal, then wait for the block in hand to end: a thread killed while it
    // holds the audio lock or a file would leave both behind.
    signalThreadShouldExit();
    waitUntilFinished();
}

void MixDownThread::waitUntilFinished()
{
    waitForThreadToExit (-1);
    jam = nullptr;   // here, on the message thread
}

float MixDownThread::getProgress() const noexcept
{
    const auto count = blockCount.load();
    return count > 0 ? (float) ((double) blockIndex.load() / (double) count) : 0.0f;
}

//==============================================================================
void MixDownThread::run()
{
    auto& master = engine.getSynchronizer().getMaster();
    master.reset();
    master.stop (false);

    detachItems();

    bool ok = false;
    try
    {
        ok = render();
    }
    catch (...)
    {
        ok = false;
    }

    if (ok && ! cancelled.load())
    {
        ok = output->finish();
        output.reset();
    }
    else
    {
        output.reset();
    }

    if (! ok || cancelled.load())
        file.deleteFile();

    reattachItems();
    master.reset();
    master.stop (false);

    succeeded = ok && ! cancelled.load();
    finished = true;
}

void MixDownThread::detachItems()
{
    if (jam == nullptr)
        return;

    auto& master = engine.getSynchronizer().getMaster();

    // From here on every item runs on a play state of its own, from 0.
    jam->visitSnapshot (true, [] (PlayableItem& recorder)
    {
        recorder.pause();
        recorder.detach();
        recorder.getCurrentPlayState()->reset();
        recorder.play();
        return false;
    });

    if (auto rhythm = jam->getRhythmItem())
    {
        rhythm->pause();
        auto& own = rhythm->getPlayStateB();
        rhythm->useOwnPlayState (own);
        own.reset();
        own.stop (false);   // stopped: back to 0 (a previous run left it at its end)
        own.setTempo (master.getTempo());
        rhythm->play();
    }
}

void MixDownThread::reattachItems()
{
    if (jam == nullptr)
        return;

    jam->visitSnapshot (true, [] (PlayableItem& recorder)
    {
        recorder.getCurrentPlayState()->reset();
        recorder.reattach();
        return false;
    });

    if (auto rhythm = jam->getRhythmItem())
    {
        rhythm->getCurrentPlayState()->reset();
        rhythm->restoreSavedPlayState();
    }
}

bool MixDownThread::render()
{
    const int blockSize = engine.getPreparedBlockSize() > 0 ? engine.getPreparedBlockSize() : fallbackBlockSize;
    // The longest item of the jam as the run found it.
    juce::int64 length = 0;
    if (jam != nullptr)
        jam->visitSnapshot (false, [&length] (PlayableItem& item)
        {
            length = juce::jmax (length, item.getLength());
            return false;
        });

    blockCount = (length + blockSize - 1) / blockSize;

    std::vector<float> inL ((size_t) blockSize), inR ((size_t) blockSize);
    std::vector<float> outL ((size_t) blockSize), outR ((size_t) blockSize);
    const float* inputs[2] = { inL.data(), inR.data() };
    float* outputs[2] = { outL.data(), outR.data() };

    for (juce::int64 block = 0; block < blockCount.load(); ++block)
    {
        if (threadShouldExit())
        {
            cancelled = true;
            return false;
        }

        for (auto* buffer : { &inL, &inR, &outL, &outR })
            std::fill (buffer->begin(), buffer->end(), 0.0f);

        engine.audioDeviceIOCallbackWithContext (inputs, 2, outputs, 2, blockSize, {});

        if (! output->writeWaiting (blockSize, block * blockSize, outputs, 0))
            return false;

        blockIndex = block + 1;
    }

    return true;
}

} // namespace T730
