// The makers of the jam's panels: the rhythm machine and the recorders make
// their panels through these on their first request, while a jam section exists.
#include "jam/SectionJam.h"

#include "jam/RecorderUI.h"
#include "recorder/Recorder.h"
#include "rhythm/Rhythmer.h"

namespace T730
{

void SectionJam::installPanelMakers()
{
    // Each panel kind adds its maker here.
    Recorder::setPanelFactory ([this] (Recorder& recorder) -> ItemPanel::Ptr { return new RecorderUI (controller, recorder); });
}

void SectionJam::uninstallPanelMakers()
{
    Rhythmer::setPanelFactory (nullptr);
    Recorder::setPanelFactory (nullptr);
}

} // namespace T730
