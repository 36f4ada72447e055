#pragma once

// The staged module data (resources/Module.xml and the module descriptions),
// read with the program's own readers, and the editor's mapping between a
// module slot's controls and the device parameters of the edit buffer.
// The tests check the shipped data against these rules.

#include "editor/ModuleDescription.h"
#include "editor/ModuleNameLoader.h"

#include <map>
#include <string>
#include <vector>

namespace stagedtest
{

juce::File resourceFolder();

/** The staged catalogue (read once). */
const std::vector<SE_ModuleInfosNode>& catalogue();

/** Every key with an archive: the catalogue's keys (once each) and the three
    modules the editor places by itself. */
std::vector<std::string> shippedModuleKeys();

/** The description of a key (read once); null when it does not load. */
const SE_ModuleLayout* layoutOf (const juce::String& key);

/** The editor slot (0..7) a key is shown in; -1 for the EQ bands, which are never shown. */
int slotOf (const juce::String& key);

/** The catalogue category of a slot. */
int categoryOfSlot (int slot);

struct DeviceWrite
{
    int module, param, value;
};

/** The device parameters a control change sends (the editor's table). `cabinet`
    and `nrStep` are the cabinet number and the noise reduction's prm 2 step for
    slot 1. An empty list: the slot does not map that prm. */
std::vector<DeviceWrite> controlToDevice (int slot, const juce::String& key, int prm, int step,
                                          const SE_ModuleLayout& layout, int cabinet = 0, int nrStep = 0);

/** The step the editor shows for a device value of module m, parameter p.
    `edgeReading` reads the long "Delay1" times as the worked examples do
    (99 + (v - 108) / 10, no raise of values ending in 9). */
int deviceToStep (int slot, const juce::String& key, int prm, int m, int p, int v, bool edgeReading = false);

/** The highest step of a parameter of a layout (DspMax of its describing control; 0 when none). */
int maxStepOf (const SE_ModuleLayout& layout, int prm);

/** Why an edit buffer is not a valid patch for the staged modules; "" when it is. */
juce::String patchProblem (const int32_t* params72);

} // namespace stagedtest
