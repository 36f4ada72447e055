#pragma once

#include "engine/TypeLib.h"

#include <vector>

namespace T730
{

/** The output volume pedal ("Volume_Pedal"): processes the engine's float output
    pair in place; parameter 1 is the output level 0.0 to 1.0. */
class TypeLibVolumePdl : public TypeLib
{
public:
    static constexpr int levelParameter = 1;

    explicit TypeLibVolumePdl (NetListOwner* owner = nullptr, DspLoader* modules = nullptr);

    /** Also grows the work buffers to `frames` (they never shrink). */
    void setBlockSize (int frames) override;

    /** Runs `frames` frames of a float stereo pair through the module (input and
        output may be the same buffers). Without a module nothing is written. Audio thread. */
    void processFloat (int frames, const float* inLeft, const float* inRight, float* outLeft, float* outRight);

private:
    /** Work buffers of the audio thread (also grown by setBlockSize on the message
        thread before audio runs). */
    std::vector<double> left, right;
};

/** The tuner's pitch detector ("Tuner"): a plain node with a live object whose
    reports go to the owner's nodePitchDetected. */
class TypeLibTuner : public TypeLib
{
public:
    explicit TypeLibTuner (NetListOwner* owner, DspLoader* modules = nullptr);
};

} // namespace T730
