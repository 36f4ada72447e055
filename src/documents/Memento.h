#pragma once

#include <juce_core/juce_core.h>

#include <deque>
#include <functional>
#include <memory>

namespace T730
{

/** The side of the undo pair that owns the state: it hands out snapshots of
    its state and takes one back. */
template <class State>
class MementoOriginator
{
public:
    virtual ~MementoOriginator() = default;

    /** A new copy of the current state (every field). */
    virtual std::unique_ptr<State> createMemento() = 0;

    /** Makes the snapshot the current state; the snapshot is consumed. */
    virtual void setMemento (std::unique_ptr<State> snapshot) = 0;
};

/** The undo keeper: two stacks of snapshots, newest at the front. The front of
    the undo stack is always a snapshot of the current state, so undo is
    possible only with more than one snapshot there.

    Every operation holds `lock`; record, undo, redo and clearHistory do
    nothing until the keeper has been enabled by reset. */
template <class State>
class MementoCareTaker
{
public:
    using Stack = std::deque<std::unique_ptr<State>>;

    /** limit: most snapshots kept per stack, -1 for no limit. The originator
        is not owned and must outlive the keeper. */
    explicit MementoCareTaker (MementoOriginator<State>& originatorToUse, int maxSnapshots = -1)
        : originator (originatorToUse), limit (maxSnapshots)
    {
    }

    virtual ~MementoCareTaker() = default;

    /** Puts a snapshot of the originator's current state on the front of the stack. */
    void saveState (Stack& stack)
    {
        const juce::ScopedLock sl (lock);
        stack.push_front (originator.createMemento());

        if (limit != -1)
            while ((int) stack.size() > juce::jmax (0, limit))
                stack.pop_back();
    }

    /** Records the current state as a new undo step and drops the redo history. */
    void record()
    {
        const juce::ScopedLock sl (lock);
        if (! enabled)
            return;

        saveState (undoStack);
        redoStack.clear();
    }

    /** Forgets everything, takes the current state as the only snapshot and enables the keeper. */
    void reset()
    {
        const juce::ScopedLock sl (lock);
        undoStack.clear();
        redoStack.clear();
        saveState (undoStack);
        enabled = true;
    }

    /** Goes back one step: the current state moves to the redo stack and the
        previous snapshot becomes the current state. */
    void undo()
    {
        const juce::ScopedLock sl (lock);
        if (! enabled || undoStack.size() <= 1)
            return;

        saveState (redoStack);
        undoStack.pop_front();
        auto previous = std::move (undoStack.front());
        undoStack.pop_front();
        originator.setMemento (std::move (previous));
        saveState (undoStack);
    }

    /** Goes forward one step again. */
    void redo()
    {
        const juce::ScopedLock sl (lock);
        if (! enabled || redoStack.empty())
            return;

        auto next = std::move (redoStack.front());
        redoStack.pop_front();
        originator.setMemento (std::move (next));
        saveState (undoStack);
    }

    /** Forgets both stacks and keeps the current state as the only snapshot. */
    void clearHistory()
    {
        const juce::ScopedLock sl (lock);
        if (! enabled)
            return;

        undoStack.clear();
        redoStack.clear();
        saveState (undoStack);
    }

    int getUndoCount() const        { const juce::ScopedLock sl (lock); return (int) undoStack.size(); }
    int getRedoCount() const        { const juce::ScopedLock sl (lock); return (int) redoStack.size(); }
    bool canUndo() const            { return getUndoCount() > 1; }
    bool canRedo() const            { return getRedoCount() > 0; }
    bool isEnabled() const          { const juce::ScopedLock sl (lock); return enabled; }

    /** Replaces both stacks by stored snapshots (newest first), keeping at most
        the limit of each; the keeper is enabled afterwards. A stored history is
        taken as it stands: the front of the undo stack should be the current state. */
    void replaceStacks (Stack undo, Stack redo)
    {
        const juce::ScopedLock sl (lock);
        undoStack = std::move (undo);
        redoStack = std::move (redo);

        if (limit != -1)
            for (auto* stack : { &undoStack, &redoStack })
                while ((int) stack->size() > juce::jmax (0, limit))
                    stack->pop_back();

        enabled = true;
    }

    /** Calls the visitor with every snapshot of one stack, newest first (under the lock). */
    void forEachUndoSnapshot (const std::function<void (const State&)>& visitor) const
    {
        const juce::ScopedLock sl (lock);
        for (auto& s : undoStack)
            visitor (*s);
    }

    void forEachRedoSnapshot (const std::function<void (const State&)>& visitor) const
    {
        const juce::ScopedLock sl (lock);
        for (auto& s : redoStack)
            visitor (*s);
    }

    /** Calls the visitor with every snapshot of both stacks (under the lock). */
    void forEachSnapshot (const std::function<void (const State&)>& visitor) const
    {
        const juce::ScopedLock sl (lock);
        for (auto& s : undoStack)
            visitor (*s);
        for (auto& s : redoStack)
            visitor (*s);
    }

private:
    MementoOriginator<State>& originator;
    const int limit;
    Stack undoStack, redoStack;
    bool enabled = false;
    juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE (MementoCareTaker)
};

} // namespace T730
