#pragma once

#include "editor/ModuleNameLoader.h"

#include <vector>

namespace T730
{

class EditBuf;
class TypeLib;

/** The module a slot of the editor shows: its catalogue category (-1 when
    empty), its type key (the module to build; empty for none) and the name
    the user sees. */
struct SE_ModuleInfo
{
    int category = -1;
    juce::String key;
    juce::String name;

    bool operator== (const SE_ModuleInfo& other) const
    {
        return category == other.category && key == other.key && name == other.name;
    }
};

/** How the editor's eight slots stand for the edit buffer: which module each
    slot shows, how a module takes its steps from the buffer, and how a
    control's step travels to a device parameter and back. The edit buffer is
    addressed as module m (0..8), parameter p (0..7). No locking here: callers
    pass a buffer they own or hold the lock of. */
namespace EditorSlots
{
    constexpr int numSlots = 8;
    /** The section keeps this many module infos (only the first 8 are used). */
    constexpr int numInfos = 11;
    /** Names of the modules the editor chooses by itself. */
    inline constexpr const char* ampCover = "shieldDrive";
    inline constexpr const char* cleanPreamp = "UltraClean";
    inline constexpr const char* noCabinet = "ShieldCabinet";
    inline constexpr const char* longDelay = "Delay1";
    inline constexpr const char* reverseDelay = "Reverse";

    /** Slot to category: 0..7 -> 1, 4, 2, 5, 6, 7, 8, 9; -1 for any other slot. */
    int categoryOfSlot (int slot) noexcept;
    /** Category to slot: 1..9 -> 0, 2, 6, 1, 3, 4, 5, 6, 7; -1 for any other category. */
    int slotOfCategory (int category) noexcept;

    /** The category's record in a catalogue; null when the catalogue has none. */
    const SE_ModuleInfosNode* findCategory (const std::vector<SE_ModuleInfosNode>& catalogue, int category);

    /** The module category `category` stands for in the buffer (the slot
        table); `cabinet` is the cabinet number for category 9. Empty (display
        name empty) for an index past the end of its category and for
        categories outside 1..9; category 3 gives the name "EQ" and no key. */
    SE_ModuleInfo moduleInfo (int category, const EditBuf& buffer, const std::vector<SE_ModuleInfosNode>& catalogue,
                              int cabinet);

    /** The cabinet number a module 4, parameter 2 value holds. */
    inline int cabinetOf (int value) noexcept { return value / 10; }

    /** Sets the module's steps from the buffer (stored as current values),
        for the module of a slot of `category` with type key `key`. */
    void applyEditBuffer (TypeLib& module, int category, const juce::String& key, const EditBuf& buffer);

    struct DeviceWrite
    {
        int module = 0, param = 0, value = 0;
        bool operator== (const DeviceWrite& o) const { return module == o.module && param == o.param && value == o.value; }
    };

    /** What a control of a slot sends when its parameter `prm` stands at
        `step`: the device parameters in the order they are sent. Empty when
        the slot does not map the parameter (nothing is sent then). */
    std::vector<DeviceWrite> controlToDevice (int slot, const juce::String& key, int prm, int step, TypeLib& module,
                                              int cabinet);

    /** The device value a step of a slot's parameter travels as (the value
        of the last write of controlToDevice); -1 when it is not mapped. */
    int deviceValueOf (int slot, const juce::String& key, int prm, int step, TypeLib& module, int cabinet);

    /** The step module 5 or 6, parameter 3 shows for a device value: a value
        a step sends gives that step back; any other long time is read with
        the windows of the device (see the .cpp). */
    int timeStepFromDevice (int deviceModule, const juce::String& key, int value, TypeLib& module);

    /** The type the menu of a category ticks: the index within the category,
        or -1 for none; for category 9, `offTicked` tells whether "off" is. */
    int currentTypeIndex (int category, const EditBuf& buffer, bool& offTicked);
} // namespace EditorSlots

} // namespace T730
