#pragma once

#include "ArtLayout.h"

/* The recorder panel's parts, relative to the panel (372 x 88 open, 22 folded),
   shared by its pictures and the components over them. Plain numbers only. */
namespace T730::layout::recorder
{

inline constexpr Box power { 5, 1, 18, 18 };
inline constexpr Box name { 30, 6, 98, 12 };
inline constexpr Box newTake { 132, 2, 18, 17 };
inline constexpr Box open { 150, 2, 18, 17 };
inline constexpr Box takePrev { 263, 5, 12, 13 };
inline constexpr Box takeNext { 303, 5, 12, 13 };
inline constexpr Box position { 137, 17, 212, 18 };
inline constexpr Box punchBar { 137, 37, 212, 9 };
inline constexpr Box loopBar { 137, 49, 212, 9 };
inline constexpr Box positionText { 19, 28, 48, 12 };
inline constexpr Box lengthText { 67, 28, 56, 12 };
inline constexpr Box bands { 16, 41, 105, 37 };
inline constexpr Box rec { 139, 66, 21, 20 };
inline constexpr Box play { 165, 66, 21, 20 };
inline constexpr Box stop { 191, 66, 21, 20 };
inline constexpr Box speed { 244, 66, 49, 8 };
inline constexpr Box pan { 314, 66, 50, 8 };
inline constexpr Box level { 279, 76, 39, 10 };
inline constexpr Box mute { 321, 74, 11, 12 };
inline constexpr Box snap { 347, 19, 19, 13 };
inline constexpr Box punch { 347, 33, 19, 13 };
inline constexpr Box loop { 347, 45, 19, 13 };

// The display window behind the time texts and the band display.
inline constexpr Box display { 14, 24, 112, 58 };

// Slider thumbs: the position slider's play head, the small sliders' thumb.
inline constexpr int headWidth = 7, headHeight = 18;
inline constexpr int thumbWidth = 6, thumbHeight = 8;
inline constexpr int levelThumbWidth = 6, levelThumbHeight = 10;

// The range bars: a handle at each point, the kind's letters in the span.
inline constexpr int handleWidth = 9, handleHeight = 9;
inline constexpr int letterWidth = 9, letterHeight = 9, letterPitch = 13;
inline constexpr int loopLetterWidth = 24;

} // namespace T730::layout::recorder
