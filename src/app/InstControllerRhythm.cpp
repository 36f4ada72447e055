// The controller's rhythm machines: the maker the engine's item factory calls
// for the jam's machine and for the preview machine, and the folder previews
// find the files they were sent in.
#include "app/InstController.h"

#include "app/ControllerEngine.h"
#include "app/ControllerRhythmOwner.h"
#include "documents/Project.h"
#include "rhythm/Rhythmer.h"

namespace T730
{

void InstController::installRhythmMaker()
{
    itemFactory->makeRhythm = [this] (Synchronizer& synchronizer, bool preview) -> PlayableItem::Ptr
    {
        // The tool set exists before any item is made and keeps its address.
        if (rhythmOwner.get() == nullptr)
            rhythmOwner.reset (new ControllerRhythmOwner ([this] (int code, int p1, int p2, void* data)
                                                          {
                                                              return request (code, p1, p2, data);
                                                          },
                                                          project.get()));

        auto environment = Rhythmer::Environment::standard();
        environment.owner = rhythmOwner.get();
        if (preview)
            environment.temporaryFolder = getRhythmAuditionFolder();

        return new Rhythmer (synchronizer, environment, preview);
    };

    if (jamEngine.get() != nullptr)
        jamEngine->setSongCatalogue (songManager.get());
}

} // namespace T730
