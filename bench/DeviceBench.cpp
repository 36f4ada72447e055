// Device link figures: a full backup and a full restore of 100 patches against
// the virtual M7c (through MidiMain and the backup worker, without the progress
// window), and the patch record's encode and decode throughput. Printed only.

#include "VirtualM7c.h"
#include "device/BackupProgress.h"
#include "device/PatchRecord.h"

#include <chrono>
#include <cstdio>

using namespace T730;
using Clock = std::chrono::steady_clock;

namespace
{
    struct Forwarder : public MidiMainListener
    {
        void midiEventReceived (MidiRecvEv* event) override
        {
            std::unique_ptr<MidiRecvEv> owned (event);
            if (worker != nullptr)
                worker->handleEvent (event);
        }
        BackupProgress* worker = nullptr;
    };

    double msSince (Clock::time_point start)
    {
        return std::chrono::duration<double, std::milli> (Clock::now() - start).count();
    }

    template <typename Body>
    double recordsPerSecond (int n, Body&& body)
    {
        const auto start = Clock::now();
        for (int i = 0; i < n; ++i)
            body (i);
        return n / (msSince (start) / 1000.0);
    }
}

int main()
{
    m7c::VirtualM7c device;
    device.fillWithTestPatches (1);
    Forwarder forwarder;
    MidiMain midi (&forwarder);
    m7c::VirtualM7cPort port (device, midi);
    midi.setOutput (&port);
    BackupProgress worker (midi);
    forwarder.worker = &worker;

    std::printf ("Device link against the virtual M7c (in-process port, answers on its own thread)\n");

    constexpr int runs = 5;
    double backupBest = 1e9, backupTotal = 0, restoreBest = 1e9, restoreTotal = 0;
    PatchSet set;

    for (int r = 0; r < runs; ++r)
    {
        auto start = Clock::now();
        const bool backedUp = worker.backup (set);
        const double backupMs = msSince (start);

        start = Clock::now();
        const bool restored = worker.restore (set, PatchSet::numPatches);
        const double restoreMs = msSince (start);

        if (! backedUp || ! restored)
        {
            std::printf ("transfer failed: %s\n", worker.getErrorMessage().toRawUTF8());
            return 1;
        }

        backupBest = std::min (backupBest, backupMs);
        restoreBest = std::min (restoreBest, restoreMs);
        backupTotal += backupMs;
        restoreTotal += restoreMs;
    }

    std::printf ("  full backup of 100 patches:  best %8.2f ms, mean %8.2f ms (%d runs)\n",
                 backupBest, backupTotal / runs, runs);
    std::printf ("  full restore of 100 patches: best %8.2f ms, mean %8.2f ms (%d runs)\n",
                 restoreBest, restoreTotal / runs, runs);
    midi.setOutput (nullptr);

    // Throughput of the record itself and of the whole dump message.
    EditBuf buffer;
    buffer.name = "Benchmrk";
    volatile uint32_t sink = 0;
    constexpr int n = 1000000;

    const double rawRecords = recordsPerSecond (n, [&] (int i)
    {
        buffer.params[5 * 8 + 3] = i & 2047;
        const auto record = makePatchRecord (buffer);
        EditBuf back;
        readPatchRecord (record, back);
        sink = sink + (uint32_t) back.params[5 * 8 + 3];
    });

    const double pureRecords = recordsPerSecond (n, [&] (int i)
    {
        int32_t params[SysEx::numParams] {};
        params[5 * 8 + 3] = i & 2047;
        const auto record = SysEx::encodeRecord (params, "Benchmrk");
        SysEx::PatchFields fields;
        SysEx::decodeRecord (record, fields);
        sink = sink + (uint32_t) fields.params[5 * 8 + 3];
    });

    const double dumps = recordsPerSecond (n / 4, [&] (int i)
    {
        int32_t params[SysEx::numParams] {};
        params[5 * 8 + 3] = i & 2047;
        const auto message = SysEx::patchDataDump (i % 100, SysEx::encodeRecord (params, "Benchmrk"));
        const auto parsed = SysEx::parseMessage (message.data(), message.size());
        SysEx::PatchFields fields;
        SysEx::decodeRecord (parsed.record, fields);
        sink = sink + (uint32_t) fields.params[5 * 8 + 3];
    });

    std::printf ("Patch record encode + decode\n");
    std::printf ("  codec only (fields <-> 23 bytes):          %12.0f records/s\n", pureRecords);
    std::printf ("  EditBuf <-> record (locks, name text):     %12.0f records/s (%.2f x codec only)\n",
                 rawRecords, rawRecords / pureRecords);
    std::printf ("  whole dump message (7-bit, CRC, parse):   %12.0f records/s (%.2f x codec only)\n",
                 dumps, dumps / pureRecords);
    return sink == 0xFFFFFFFF ? 1 : 0;
}
