#pragma once
// The device's side of the cable for a controller's MIDI link: while it lives, the
// link's output reaches the virtual M7c and the device's answers come back to it.
#include "VirtualM7c.h"
#include "device/MidiMain.h"

namespace oxatest
{

struct DeviceCable
{
    DeviceCable (m7c::VirtualM7c& device, T730::MidiMain& midi) : port (device, midi), link (midi) { link.setOutput (&port); }
    ~DeviceCable() { link.setOutput (nullptr); }

    m7c::VirtualM7cPort port;
    T730::MidiMain& link;
};

} // namespace oxatest
