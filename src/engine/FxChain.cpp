#include "engine/FxChain.h"

namespace T730
{

FxChain::~FxChain()
{
    clear();
}

void FxChain::clear()
{
    const juce::ScopedLock sl (lock);
    while (! views.empty())
    {
        auto* view = views.back();
        views.pop_back();
        if (view != nullptr)
            view->getNode().releaseView();
        records.pop_back();
    }
    count = 0;
}

int FxChain::length() const
{
    const juce::ScopedLock sl (lock);
    return (int) views.size();
}

void FxChain::append (NetListView* view, std::unique_ptr<FxChainRecord> record)
{
    const juce::ScopedLock sl (lock);
    if (view != nullptr)
        view->getNode().retainView();
    views.push_back (view);
    records.push_back (std::move (record));
}

void FxChain::replace (int index, NetListView* view, std::unique_ptr<FxChainRecord> record)
{
    const juce::ScopedLock sl (lock);
    if (index == (int) views.size())
    {
        append (view, std::move (record));
        return;
    }
    if (index < 0 || index > (int) views.size())
        return;

    // The new view is counted before the old one is let go, so that putting a
    // view in its own place never deletes its node.
    if (view != nullptr)
        view->getNode().retainView();
    auto* old = views[(size_t) index];
    views[(size_t) index] = view;
    auto oldRecord = std::move (records[(size_t) index]);
    records[(size_t) index] = std::move (record);
    if (old != nullptr)
        old->getNode().releaseView();
    oldRecord.reset();
}

NetListView* FxChain::getView (int index) const
{
    const juce::ScopedLock sl (lock);
    return index >= 0 && index < (int) views.size() ? views[(size_t) index] : nullptr;
}

FxChainRecord* FxChain::getRecord (int index) const
{
    const juce::ScopedLock sl (lock);
    return index >= 0 && index < (int) records.size() ? records[(size_t) index].get() : nullptr;
}

} // namespace T730
