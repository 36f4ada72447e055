#include "VirtualM7c.h"

#include <random>

namespace m7c
{

namespace SysEx = T730::SysEx;

VirtualM7c::VirtualM7c (std::string v)
    : version (std::move (v)), patches ((size_t) numPatches)
{
    for (int i = 0; i < numPatches; ++i)
        patches[(size_t) i].name = "Patch" + std::to_string (i);

    deliveryThread = std::thread ([this] { run(); });
}

VirtualM7c::~VirtualM7c()
{
    {
        std::lock_guard<std::mutex> lg (queueLock);
        quit = true;
    }
    queueChanged.notify_all();
    deliveryThread.join();
}

void VirtualM7c::setHostSink (std::function<void (const Bytes&)> sink)
{
    std::lock_guard<std::mutex> lg (stateLock);
    hostSink = std::move (sink);
}

void VirtualM7c::setFaults (const Faults& f)
{
    std::lock_guard<std::mutex> lg (stateLock);
    faults = f;
}

VirtualM7c::Faults VirtualM7c::getFaults() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return faults;
}

PatchFields VirtualM7c::getPatch (int number) const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return number >= 0 && number < numPatches ? patches[(size_t) number] : PatchFields {};
}

void VirtualM7c::setPatch (int number, const PatchFields& patch)
{
    std::lock_guard<std::mutex> lg (stateLock);

    if (number >= 0 && number < numPatches)
        patches[(size_t) number] = patch;
}

PatchFields VirtualM7c::getEditBuffer() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return editBuffer;
}

void VirtualM7c::setEditBuffer (const PatchFields& buffer)
{
    std::lock_guard<std::mutex> lg (stateLock);
    editBuffer = buffer;
}

void VirtualM7c::fillWithTestPatches (unsigned seed)
{
    std::mt19937 random (seed);
    std::lock_guard<std::mutex> lg (stateLock);

    for (int n = 0; n < numPatches; ++n)
    {
        PatchFields patch;

        for (int m = 0; m < SysEx::numModules; ++m)
            for (int k = 0; k < SysEx::fieldsPerModule; ++k)
                if (const int width = SysEx::recordFieldWidths[m][k]; width > 0)
                    patch.params[(size_t) (m * SysEx::paramsPerModule + k)]
                        = (int32_t) (random() & ((1u << width) - 1u));

        patch.name = "Dev" + std::to_string (1000 + n).substr (1) + "xy";
        patches[(size_t) n] = patch;
    }
}

std::vector<uint8_t> VirtualM7c::getReceivedCommands() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return received;
}

void VirtualM7c::clearReceivedCommands()
{
    std::lock_guard<std::mutex> lg (stateLock);
    received.clear();
}

int VirtualM7c::countReceived (uint8_t command) const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return (int) std::count (received.begin(), received.end(), command);
}

bool VirtualM7c::isEditorOn() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return editorOn;
}

bool VirtualM7c::isTunerModeOn() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return tunerModeOn;
}

std::vector<int> VirtualM7c::getTunerModeChanges() const
{
    std::lock_guard<std::mutex> lg (stateLock);
    return tunerModeChanges;
}

//==============================================================================
void VirtualM7c::turnKnob (int module, int param, int value)
{
    std::lock_guard<std::mutex> lg (stateLock);

    if (module >= 0 && module < SysEx::numModules && param >= 0 && param < SysEx::paramsPerModule)
        editBuffer.params[(size_t) (module * SysEx::paramsPerModule + param)] = value;

    queueLocked (SysEx::parameterChange (module, param, value));
}

void VirtualM7c::sendEditBufferToHost()
{
    std::lock_guard<std::mutex> lg (stateLock);
    queueLocked (SysEx::editBufferDump (SysEx::encodeRecordWithNameBytes (editBuffer.params.data(), editBuffer.name)));
}

void VirtualM7c::receiveFromHost (const uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;

    handle (Bytes (data, data + size));
}

void VirtualM7c::handle (const Bytes& message)
{
    std::lock_guard<std::mutex> lg (stateLock);

    // The one control change the device takes: its tuner mode (75 on channel 1).
    if (message.size() == 3 && message[0] == 0xB0 && message[1] == 75 && message[2] < 0x80)
    {
        tunerModeOn = message[2] >= 64;
        tunerModeChanges.push_back (message[2]);
        return;
    }

    if (message.size() < 6 || message[0] != 0xF0)
        return;

    // Universal: the identity request.
    if (message[1] == 0x7E)
    {
        received.push_back (0x7E);

        if (message[3] == 0x06 && message[4] == 0x01)
            queueLocked (SysEx::identityReply (version));

        return;
    }

    if (message[1] != SysEx::manufacturer || message[3] != SysEx::model)
        return;

    const uint8_t command = message[4];
    received.push_back (command);

    switch (command)
    {
        case SysEx::Command::editorOn:  editorOn = true;  break;
        case SysEx::Command::editorOff: editorOn = false; break;

        case SysEx::Command::patchInfoRequest:
            queueLocked (SysEx::patchInfo (numPatches));
            break;

        case SysEx::Command::allDataDump:
        case SysEx::Command::endOfData:
            if (command == SysEx::Command::endOfData && faults.ignoreEndOfData)
                break;
            queueLocked (SysEx::response (faults.responseCode));
            break;

        case SysEx::Command::patchDumpRequest:
        {
            if (message.size() < 8)
                break;

            const int number = (message[5] & 0x7F) | ((message[6] & 0x7F) << 7);

            if (number >= numPatches)
            {
                queueLocked (SysEx::response (rejectedCode));
                break;
            }

            if (faults.staleDumpFirst && number > 0)
            {
                const auto& previous = patches[(size_t) number - 1];
                queueLocked (SysEx::patchDataDump (number - 1, SysEx::encodeRecordWithNameBytes (previous.params.data(), previous.name)));
            }

            const auto& patch = patches[(size_t) number];
            auto dump = SysEx::patchDataDump (number, SysEx::encodeRecordWithNameBytes (patch.params.data(), patch.name));

            if (faults.wrongCheck)
                dump[dump.size() - 2] ^= 0x01;

            queueLocked (std::move (dump));
            break;
        }

        case SysEx::Command::patchDataDump:
        {
            const auto parsed = SysEx::parseMessage (message.data(), message.size());

            if (parsed.kind != SysEx::MessageKind::patchData || parsed.patchNumber >= numPatches)
            {
                queueLocked (SysEx::response (rejectedCode));
                break;
            }

            PatchFields patch;
            SysEx::decodeRecord (parsed.record, patch);
            patches[(size_t) parsed.patchNumber] = patch;
            queueLocked (SysEx::response (faults.responseCode));
            break;
        }

        case SysEx::Command::editBufferDump:
        {
            const auto parsed = SysEx::parseMessage (message.data(), message.size());

            if (parsed.kind == SysEx::MessageKind::editBuffer)
            {
                PatchFields buffer = editBuffer;
                SysEx::decodeRecord (parsed.record, buffer);
                editBuffer = buffer;
            }
            break;
        }

        case SysEx::Command::parameterChange:
        {
            const auto parsed = SysEx::parseMessage (message.data(), message.size());

            if (parsed.kind == SysEx::MessageKind::parameterChange)
                editBuffer.params[(size_t) (parsed.module * SysEx::paramsPerModule + parsed.param)] = parsed.value;
            break;
        }

        default:
            break;
    }
}

//==============================================================================
void VirtualM7c::queueLocked (Bytes message)
{
    if (faults.silent || message.empty())
        return;

    if (faults.truncateTo > 0 && message.size() > faults.truncateTo)
        message.resize (faults.truncateTo);

    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds (faults.delayMs);
    {
        std::lock_guard<std::mutex> lg (queueLock);
        pending.push_back ({ due, std::move (message) });
    }
    queueChanged.notify_all();
}

void VirtualM7c::run()
{
    std::unique_lock<std::mutex> lk (queueLock);

    for (;;)
    {
        queueChanged.wait (lk, [this] { return quit || ! pending.empty(); });

        if (quit)
            return;

        const auto due = pending.front().due;

        if (std::chrono::steady_clock::now() < due)
        {
            queueChanged.wait_until (lk, due, [this] { return quit; });
            continue;
        }

        auto message = std::move (pending.front().message);
        pending.pop_front();
        delivering = true;
        lk.unlock();

        std::function<void (const Bytes&)> sink;
        {
            std::lock_guard<std::mutex> lg (stateLock);
            sink = hostSink;
        }

        if (sink)
            sink (message);

        lk.lock();
        delivering = false;
        queueChanged.notify_all();
    }
}

bool VirtualM7c::waitUntilIdle (int timeoutMs) const
{
    std::unique_lock<std::mutex> lk (queueLock);
    return queueChanged.wait_for (lk, std::chrono::milliseconds (timeoutMs),
                                  [this] { return pending.empty() && ! delivering; });
}

//==============================================================================
VirtualM7cPort::VirtualM7cPort (VirtualM7c& d, T730::MidiMain& host) : device (d)
{
    device.setHostSink ([&host] (const Bytes& message) { host.receiveBytes (message.data(), message.size()); });
}

VirtualM7cPort::~VirtualM7cPort()
{
    device.setHostSink ({});
    device.waitUntilIdle (1000);
}

void VirtualM7cPort::sendBytes (const uint8_t* data, size_t size)
{
    device.receiveFromHost (data, size);
}

} // namespace m7c
