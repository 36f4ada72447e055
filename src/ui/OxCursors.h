#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The editor's mouse cursors, numbered as the editor uses them: 0, 7 and any
    other number the system's arrow; 1 a pointer (hot spot 2, 2); 2 while the
    floor is dragged (12, 12); 3 over bare floor (12, 12); 4 over a control
    (6, 0); 5 a small pointer 16 pixels wide (0, 0); 6 over a type-change area
    (10, 10). One set for the process, made on first use; message thread only. */
class OxCursors
{
public:
    /** The set, made under a process-wide lock on first use. */
    static OxCursors* getInstance();

    /** Deletes the set (the editor section does this when it goes). */
    static void deleteInstance();

    /** The cursor of a number (the arrow for numbers outside 1..6). */
    juce::MouseCursor getCursor (int number) const;

    /** The hot spot of cursor 1..6 within its picture; (0, 0) for the others. */
    static juce::Point<int> getHotSpot (int number);

    OxCursors();

private:
    juce::MouseCursor cursors[7];

    JUCE_DECLARE_NON_COPYABLE (OxCursors)
};

} // namespace T730
