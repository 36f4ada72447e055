#include "download/SectionDownload.h"

namespace T730
{

SectionDownload::SectionDownload (ControllerLink& c) : controller (c)
{
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionDownload::stopDownloadThread()
{
    updateSection();
}

} // namespace T730
