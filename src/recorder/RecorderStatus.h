#pragma once

#include "documents/Memento.h"
#include "recorder/LocateRange.h"
#include "recorder/TakeStatus.h"

namespace T730
{

/** The state of one recorder as its setting file stores it: its settings, its
    punch-in/out and loop ranges, the current take, and one step of undo and
    redo of takes (the keeper keeps two snapshots a side).

    Message thread, except the current take, which the audio thread renders
    under the take's own lock. */
class RecorderStatus final : public UserData, public MementoOriginator<TakeStatus>
{
public:
    RecorderStatus();
    ~RecorderStatus() override;

    /** Back to the values of a new recorder (empty take); the keeper is reset and enabled. */
    void reset();

    /** The keys (a missing scalar takes its reading default, a missing range
        or take stays as it was), then the keeper is reset, then "UndoBuf" and
        "RedoBuf" (when present) replace its two lists. */
    bool read (const juce::XmlElement* element) override;

    /** Every key in its fixed order, the keeper's lists last (top first). */
    bool write (juce::XmlElement* element) override;

    /** A copy of the current take. */
    std::unique_ptr<TakeStatus> createMemento() override;
    /** The current take becomes the snapshot (its files opened from the take folder first). */
    void setMemento (std::unique_ptr<TakeStatus> snapshot) override;

    /** The folder the take's files are opened from when undo or redo swaps the take. */
    void setTakeFolder (const juce::File& folder)   { takeFolder = folder; }
    const juce::File& getTakeFolder() const noexcept { return takeFolder; }

    /** The file names the current take and both history lists refer to (the
        tool set's clean-up keeps these). */
    juce::StringArray getReferencedFileNames() const;

    MementoCareTaker<TakeStatus>& getUndoKeeper() noexcept { return undoKeeper; }

    // Fields, in the order of the setting file.
    bool OnOff = true;
    juce::String Name;
    int Pan = 50;
    int Level = 56;
    bool Mute = false;
    int Length = 1;
    bool Snap = false;
    bool Sync = true;
    int Stretch = 100;
    LocateRange PIOPoint;
    LocateRange LoopPoint;
    TakeStatus CurrentTake;

    static constexpr int undoDepth = 2;

private:
    MementoCareTaker<TakeStatus> undoKeeper { *this, undoDepth };
    juce::File takeFolder;

    JUCE_DECLARE_NON_COPYABLE (RecorderStatus)
};

} // namespace T730
