#include "engine/TypeLibVolumePdl.h"

namespace T730
{

TypeLibVolumePdl::TypeLibVolumePdl (NetListOwner* owner, DspLoader* modules)
    : TypeLib ("Volume_Pedal", owner, true, false, modules)
{
    setSampleRate (44100.0);
    setBlockSize (256);
}

void TypeLibVolumePdl::setBlockSize (int frames)
{
    if (frames > (int) left.size())
    {
        left.resize ((size_t) frames);
        right.resize ((size_t) frames);
    }
    TypeLib::setBlockSize (frames);
}

void TypeLibVolumePdl::processFloat (int frames, const float* inLeft, const float* inRight, float* outLeft,
                                     float* outRight)
{
    if (getEffect() == nullptr || frames <= 0)
        return;
    if (frames > (int) left.size())
        setBlockSize (frames);

    for (int i = 0; i < frames; ++i)
    {
        left[(size_t) i] = inLeft[i];
        right[(size_t) i] = inRight[i];
    }
    double* channels[2] = { left.data(), right.data() };
    process (channels, channels, frames);
    for (int i = 0; i < frames; ++i)
    {
        outLeft[i] = (float) left[(size_t) i];
        outRight[i] = (float) right[(size_t) i];
    }
}

TypeLibTuner::TypeLibTuner (NetListOwner* owner, DspLoader* modules)
    : TypeLib ("Tuner", owner, true, false, modules)
{
}

} // namespace T730
