#include "engine/ReleaseList.h"

namespace T730
{

ReleaseList::ReleaseList (int capacity)
    : fifo (juce::jmax (2, capacity) + 1), entries ((size_t) (juce::jmax (2, capacity) + 1))
{
}

ReleaseList::~ReleaseList()
{
    empty();
}

bool ReleaseList::hand (juce::ReferenceCountedObject* object) noexcept
{
    if (object == nullptr)
        return true;

    return push (object, [] (void* o) { static_cast<juce::ReferenceCountedObject*> (o)->decReferenceCount(); });
}

bool ReleaseList::push (void* object, Dispose dispose) noexcept
{
    const juce::SpinLock::ScopedLockType sl (producers);

    const auto scope = fifo.write (1);
    if (scope.blockSize1 + scope.blockSize2 != 1)
        return false;

    auto& entry = entries[(size_t) (scope.blockSize1 == 1 ? scope.startIndex1 : scope.startIndex2)];
    entry.object = object;
    entry.dispose = dispose;
    return true;   // the scope's destructor publishes the entry
}

int ReleaseList::empty()
{
    const juce::ScopedLock sl (emptying);

    int dropped = 0;
    for (;;)
    {
        Entry entry;
        {
            const auto scope = fifo.read (1);
            if (scope.blockSize1 + scope.blockSize2 != 1)
                break;

            entry = entries[(size_t) (scope.blockSize1 == 1 ? scope.startIndex1 : scope.startIndex2)];
        }

        // The slot is free again before the destructor runs: a destructor that
        // hands something over itself finds room.
        entry.dispose (entry.object);
        ++dropped;
    }
    return dropped;
}

ReleaseList& getReleaseList()
{
    static ReleaseList list (1024);
    return list;
}

} // namespace T730
