#pragma once

#include <juce_graphics/juce_graphics.h>

namespace T730
{

/** Limits on the size a module picture may declare. Module pictures are a few
    hundred pixels wide; a file that declares more is damaged or hostile and is
    refused before the decoder allocates anything for it. */
constexpr juce::int64 largestModulePictureSide = 4096;
constexpr juce::int64 largestModulePicturePixels = 4 * 1024 * 1024;

/** True when the data is a PNG or JPEG file whose size, as the decoder's own
    header read finds it, keeps within the limits above. */
bool isAcceptablePictureSize (const void* data, size_t size);

/** Decodes a PNG or JPEG file's bytes; a null image when it cannot be decoded,
    is damaged anywhere, declares a size beyond the limits or is of another
    format (GIF included). Never crashes on damaged data. */
juce::Image decodeModulePicture (const juce::MemoryBlock& data);

} // namespace T730
