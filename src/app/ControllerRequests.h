#pragma once

#include "app/ControllerParts.h"
#include "app/ControllerRequest.h"

namespace T730
{

class ToolSetOperations;

/** The dispatcher behind InstController::request: one numbered request in,
    -1 (true), 0 (false) or a value out; a code outside 1..55 answers 0.
    Requests for a subsystem that is not there answer as for an empty one
    (no items, no lengths, no peaks). Message thread, except the reading
    requests the engine sends (11, 12, 15, 16, 17, 21, 41). */
class ControllerRequests
{
public:
    ControllerRequests (ControllerParts& parts, ToolSetOperations& toolSet);

    int handle (int code, int param1, int param2, void* data);

    /** A meter peak (0..1) as a meter value 0..511: 511 × √peak, truncated. */
    static int peakToMeter (float peak);

private:
    int prepareQuit();
    int readPeak (bool output, int channel);
    int undo();
    int loadSong (const juce::String* song);
    int device (int code, int param1, void* data);

    void post (int sectionFlags);
    void repaint (int sectionFlags);
    void enterBusy();
    void leaveBusy();

    ControllerParts& parts;
    ToolSetOperations& toolSet;
};

/** Request 49's data: which patch of the device memory, and its content. */
struct PatchDumpData
{
    int patchNumber = 0;
    const class EditBuf* patch = nullptr;
};

} // namespace T730
