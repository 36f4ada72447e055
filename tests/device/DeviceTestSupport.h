#pragma once

#include "device/MidiMain.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace oxatest
{

/** A MidiMainListener that keeps every event, for the tests to look at. */
class CollectingListener : public T730::MidiMainListener
{
public:
    void midiEventReceived (T730::MidiRecvEv* event) override
    {
        std::lock_guard<std::mutex> lg (lock);
        events.emplace_back (event);
        changed.notify_all();
    }

    /** Waits until `count` events arrived. */
    bool waitFor (size_t count, int timeoutMs = 2000)
    {
        std::unique_lock<std::mutex> lk (lock);
        return changed.wait_for (lk, std::chrono::milliseconds (timeoutMs), [&] { return events.size() >= count; });
    }

    size_t size()
    {
        std::lock_guard<std::mutex> lg (lock);
        return events.size();
    }

    template <typename Event>
    Event* get (size_t index)
    {
        std::lock_guard<std::mutex> lg (lock);
        return index < events.size() ? dynamic_cast<Event*> (events[index].get()) : nullptr;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::unique_ptr<T730::MidiRecvEv>> events;
};

/** A MidiOutputPort that records what is sent. */
class RecordingPort : public T730::MidiOutputPort
{
public:
    void sendBytes (const uint8_t* data, size_t size) override
    {
        std::lock_guard<std::mutex> lg (lock);
        sent.emplace_back (data, data + size);
    }

    std::vector<std::vector<uint8_t>> take()
    {
        std::lock_guard<std::mutex> lg (lock);
        return std::exchange (sent, {});
    }

private:
    std::mutex lock;
    std::vector<std::vector<uint8_t>> sent;
};

} // namespace oxatest
