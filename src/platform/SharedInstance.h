#pragma once

#include <memory>
#include <mutex>

namespace T730
{

/** The one process-wide object of a kind (the picture cache, the module loader,
    the module catalogue...): created on first use under a lock, deleted by the
    controller at shut-down. The old object is destroyed outside the lock, so its
    destructor may stop threads that ask for the instance meanwhile.

    A creation that asks for the object again (from its own constructor, on the
    creating thread) gets null instead of waiting for itself; other threads wait
    until the object is made. */
template <typename Object>
class SharedInstance
{
public:
    /** The object, made by `make` (returning std::unique_ptr<Object>) when there
        is none; null while the calling thread is making it. */
    template <typename Make>
    static Object* get (Make&& make)
    {
        const std::lock_guard<std::recursive_mutex> guard (mutex());
        auto& held = holder();
        if (held == nullptr)
        {
            if (creating())
                return nullptr;

            creating() = true;
            struct Done { ~Done() { creating() = false; } } done;
            held = make();
        }
        return held.get();
    }

    /** The object when it exists, without making one. */
    static Object* getWithoutCreating()
    {
        const std::lock_guard<std::recursive_mutex> guard (mutex());
        return holder().get();
    }

    /** Deletes the object, if any; the next get makes a new one. */
    static void destroy()
    {
        std::unique_ptr<Object> old;
        {
            const std::lock_guard<std::recursive_mutex> guard (mutex());
            old = std::move (holder());
        }
    }

private:
    static std::recursive_mutex& mutex()
    {
        static std::recursive_mutex m;
        return m;
    }

    static std::unique_ptr<Object>& holder()
    {
        static std::unique_ptr<Object> h;
        return h;
    }

    /** True while the lock's holder is inside `make`; guarded by the mutex. */
    static bool& creating()
    {
        static bool c = false;
        return c;
    }
};

} // namespace T730
