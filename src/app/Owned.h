#pragma once

#include <utility>

namespace T730
{

/** Sole ownership of an object whose class need not be complete where the
    owner is declared or destroyed.

    The controller owns many subsystem objects (engine, MIDI link, sections...)
    and deletes them in a fixed order. This holder lets the controller's own
    files name them by forward declaration only: the deleter is captured where
    the object is handed over (where its class is complete), so resetting or
    destroying the holder never needs the class definition. */
template <typename Object>
class Owned
{
public:
    Owned() noexcept = default;
    ~Owned() { reset(); }

    Owned (const Owned&) = delete;
    Owned& operator= (const Owned&) = delete;

    /** Deletes the held object (if any) and takes ownership of the new one. */
    template <typename Derived>
    void reset (Derived* newObject)
    {
        reset();
        object = newObject;
        destroy = [] (Object* o) { delete static_cast<Derived*> (o); };
    }

    /** Deletes the held object, if any. */
    void reset() noexcept
    {
        if (auto* old = std::exchange (object, nullptr))
            destroy (old);
        destroy = nullptr;
    }

    Object* get() const noexcept { return object; }
    Object* operator->() const noexcept { return object; }
    Object& operator*() const noexcept { return *object; }
    explicit operator bool() const noexcept { return object != nullptr; }

private:
    Object* object = nullptr;
    void (*destroy) (Object*) = nullptr;
};

} // namespace T730
