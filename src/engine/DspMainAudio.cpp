// The audio engine's callback: work buffers, meters, the tuner feed and the output level.
#include "engine/DspMain.h"

#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLibVolumePdl.h"

#include <cmath>

namespace T730
{

namespace
{
    constexpr double engineRate = 44100.0;

    void flushDenormals (float* samples, int count) noexcept
    {
        for (int i = 0; i < count; ++i)
            samples[i] = FadeRamp::flush (samples[i]);
    }

    /** The largest sample value from 0.0: negative samples never raise it. */
    float largestSample (const float* samples, int count, float from) noexcept
    {
        float largest = from;
        for (int i = 0; i < count; ++i)
            largest = juce::jmax (largest, samples[i]);
        return largest;
    }

    void clearOutputs (float* const* outputs, int numOutputs, int from, int numSamples) noexcept
    {
        for (int c = from; c < numOutputs; ++c)
            if (outputs[c] != nullptr)
                juce::FloatVectorOperations::clear (outputs[c], numSamples);
    }
} // namespace

//==============================================================================
void DspMain::audioDeviceAboutToStart (juce::AudioIODevice* device)
{
    if (device == nullptr)
        return;

    auto& settings = getEngineSettings();
    const int blockSize = device->getCurrentBufferSizeSamples();
    const double rate = device->getCurrentSampleRate();
    settings.blockSize = blockSize;
    settings.sampleRate = rate;
    settings.outputLatency = device->getOutputLatencyInSamples();
    settings.inputLatency = device->getInputLatencyInSamples();

    // The transport counts as running only while the engine renders.
    settings.audioRunning = prepareToPlay (rate, blockSize);
}

void DspMain::audioDeviceStopped()
{
}

bool DspMain::prepareToPlay (double sampleRate, int blockSize)
{
    const bool rateOk = std::abs (sampleRate - engineRate) < 0.5;
    const int frames = juce::jmax (1, blockSize);

    {
        // Buffer changes land between two blocks (of the device or the mix-down).
        const juce::ScopedLock sl (getAudioLock());

        if (frames > capacity)
        {
            for (auto* buffer : { &inputL, &inputR, &rhythmL, &rhythmR, &itemL, &itemR, &mixL, &mixR })
                buffer->assign ((size_t) frames, 0.0f);
            tunerL.assign ((size_t) frames, 0.0);
            tunerR.assign ((size_t) frames, 0.0);
            capacity = frames;
        }

        if (tunerNode != nullptr)
        {
            tunerNode->setSampleRate (sampleRate);
            tunerNode->setBlockSize (capacity);
        }
        if (volumePedal != nullptr)
        {
            volumePedal->setSampleRate (sampleRate);
            volumePedal->setBlockSize (capacity);   // also sizes the pedal's own buffers
        }

        preparedBlockSize = frames;
        ready = rateOk;
    }

    if (! rateOk)
    {
        juce::Logger::writeToLog ("Audio device runs at " + juce::String (sampleRate, 0)
                                  + " Hz, not 44100 Hz: no audio.");
        return false;
    }

    // Outside the audio lock: the list takes its own lock first, then the audio lock.
    prepareJam (sampleRate, frames);
    return true;
}

//==============================================================================
void DspMain::audioDeviceIOCallbackWithContext (const float* const* inputs, int numInputs,
                                                float* const* outputs, int numOutputs, int numSamples,
                                                const juce::AudioIODeviceCallbackContext&)
{
    if (numSamples <= 0 || outputs == nullptr)
        return;

    // Outputs past the first two are never written: the device would play
    // whatever its buffers held.
    clearOutputs (outputs, numOutputs, 2, numSamples);

    const bool usable = numInputs >= 2 && numOutputs >= 2 && inputs != nullptr
                        && inputs[0] != nullptr && inputs[1] != nullptr
                        && outputs[0] != nullptr && outputs[1] != nullptr;
    if (! usable || ! ready.load())
    {
        clearOutputs (outputs, juce::jmin (2, numOutputs), 0, numSamples);
        return;
    }

    const juce::ScopedLock sl (getAudioLock());

    float inputPeaks[2] = { 0.0f, 0.0f }, outputPeaks[2] = { 0.0f, 0.0f };
    const int piece = juce::jmax (1, capacity);
    for (int done = 0; done < numSamples; done += piece)
        renderPiece (inputs, outputs, done, juce::jmin (piece, numSamples - done), inputPeaks, outputPeaks);

    peaks[0].store (inputPeaks[0]);
    peaks[1].store (inputPeaks[1]);
    peaks[2].store (outputPeaks[0]);
    peaks[3].store (outputPeaks[1]);
}

void DspMain::renderPiece (const float* const* inputs, float* const* outputs, int offset, int count,
                           float* inputPeaks, float* outputPeaks) noexcept
{
    const float* in[2] = { inputs[0] + offset, inputs[1] + offset };
    float* out[2] = { outputs[0] + offset, outputs[1] + offset };

    // The tuner page shows: the module hears the input (what it writes back is not used).
    if (tunerFeed.load() && tunerNode != nullptr && tunerNode->getEffect() != nullptr)
    {
        for (int i = 0; i < count; ++i)
        {
            tunerL[(size_t) i] = (double) in[0][i];
            tunerR[(size_t) i] = (double) in[1][i];
        }
        double* channels[2] = { tunerL.data(), tunerR.data() };
        tunerNode->process (channels, channels, count);
    }

    juce::FloatVectorOperations::copy (inputL.data(), in[0], count);
    juce::FloatVectorOperations::copy (inputR.data(), in[1], count);
    inputPeaks[0] = largestSample (inputL.data(), count, inputPeaks[0]);
    inputPeaks[1] = largestSample (inputR.data(), count, inputPeaks[1]);

    const float* input[2] = { inputL.data(), inputR.data() };
    float* rhythm[2] = { rhythmL.data(), rhythmR.data() };
    float* item[2] = { itemL.data(), itemR.data() };
    float* mix[2] = { mixL.data(), mixR.data() };

    if (const auto* list = getRenderList())
    {
        list->renderBlock (input, rhythm, item, mix, count);
    }
    else
    {
        for (auto* buffer : { rhythm[0], rhythm[1], mix[0], mix[1] })
            juce::FloatVectorOperations::clear (buffer, count);
    }

    for (int c = 0; c < 2; ++c)
    {
        juce::FloatVectorOperations::add (out[c], mix[c], rhythm[c], count);
        flushDenormals (out[c], count);
    }

    if (volumePedal != nullptr)
    {
        volumePedal->processFloat (count, out[0], out[1], out[0], out[1]);
        flushDenormals (out[0], count);
        flushDenormals (out[1], count);
    }

    outputPeaks[0] = largestSample (out[0], count, outputPeaks[0]);
    outputPeaks[1] = largestSample (out[1], count, outputPeaks[1]);

    sync.advance (count);
}

//==============================================================================
void DspMain::setMasterVolume (float gain)
{
    if (volumePedal != nullptr)
        volumePedal->setRawValue (TypeLibVolumePdl::levelParameter, juce::jlimit (0.0f, 1.0f, gain));
}

juce::String DspMain::getMasterLevelText()
{
    juce::String text;
    if (volumePedal != nullptr)
        volumePedal->getParamText (TypeLibVolumePdl::levelParameter, text);
    return text;
}

float DspMain::takePeak (bool output, int channel) noexcept
{
    if (channel < 0 || channel > 1)
        return -1.0f;

    return peaks[(output ? 2 : 0) + channel].exchange (-1.0f);
}

} // namespace T730
