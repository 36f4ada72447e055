#pragma once

#include "engine/NetListItem.h"

#include <vector>

namespace T730
{

/** What the editor keeps with each view of its chain (jack positions and the like). */
class FxChainRecord
{
public:
    virtual ~FxChainRecord() = default;
};

/** The editor's ordered list of module views. Each view in the list counts towards
    its node's view count, so a node whose view leaves every chain is deleted.
    The records are owned by the chain. The lock guards the lists: the editor's
    drawing thread reads them while the message thread changes them. */
class FxChain
{
public:
    FxChain() = default;
    ~FxChain();

    /** Releases every view (last to first) and deletes the records. */
    void clear();

    int length() const;

    /** Appends a view with its record (the chain takes the record). */
    void append (NetListView* view, std::unique_ptr<FxChainRecord> record);

    /** Puts the pair at `index`, releasing the view there and deleting its record;
        at the end (index == length) it appends. Other indexes are ignored. */
    void replace (int index, NetListView* view, std::unique_ptr<FxChainRecord> record);

    NetListView* getView (int index) const;
    FxChainRecord* getRecord (int index) const;

    const juce::CriticalSection& getLock() const noexcept { return lock; }

    /** A count the editor keeps with its chain; clear() zeroes it. */
    int count = 0;

private:
    juce::CriticalSection lock;
    std::vector<NetListView*> views;   // guarded by lock
    std::vector<std::unique_ptr<FxChainRecord>> records;   // guarded by lock

    JUCE_DECLARE_NON_COPYABLE (FxChain)
};

} // namespace T730
