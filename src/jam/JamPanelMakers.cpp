// The makers of the jam's panels: the rhythm machine and the recorders make
// their panels through these on their first request, while a jam section exists.
#include "jam/SectionJam.h"

#include "jam/RecorderUI.h"
#include "jam/RhythmerUI.h"
#include "recorder/Recorder.h"
#include "rhythm/Rhythmer.h"

namespace T730
{

void SectionJam::installPanelMakers()
{
    Rhythmer::setPanelFactory ([&link = controller] (Rhythmer& machine) -> ItemPanel::Ptr
                               { return new RhythmerUI (machine, link); });
    Recorder::setPanelFactory ([&link = controller] (Recorder& recorder) -> ItemPanel::Ptr
                               { return new RecorderUI (link, recorder); });
}

void SectionJam::uninstallPanelMakers()
{
    Rhythmer::setPanelFactory (nullptr);
    Recorder::setPanelFactory (nullptr);
}

} // namespace T730
