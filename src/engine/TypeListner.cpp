#include "engine/TypeListner.h"

#include "engine/TypeLib.h"

namespace T730
{

void TypeListner::listnerNotify (float value)
{
    getMediated().onPitchDetected (value);
}

} // namespace T730
