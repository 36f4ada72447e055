#pragma once

#include <memory>
#include <mutex>

namespace T730
{

/** The one process-wide object of a kind (the picture cache, the module loader,
    the module catalogue...): created on first use under a lock, deleted by the
    controller at shut-down. The old object is destroyed outside the lock, so its
    destructor may stop threads that ask for the instance meanwhile. */
template <typename Object>
class SharedInstance
{
public:
    /** The object, made by `make` (returning std::unique_ptr<Object>) when there is none. */
    template <typename Make>
    static Object& get (Make&& make)
    {
        const std::lock_guard<std::mutex> guard (mutex());
        auto& held = holder();
        if (held == nullptr)
            held = make();
        return *held;
    }

    /** Deletes the object, if any; the next get makes a new one. */
    static void destroy()
    {
        std::unique_ptr<Object> old;
        {
            const std::lock_guard<std::mutex> guard (mutex());
            old = std::move (holder());
        }
    }

private:
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }

    static std::unique_ptr<Object>& holder()
    {
        static std::unique_ptr<Object> h;
        return h;
    }
};

} // namespace T730
