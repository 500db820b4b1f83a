#pragma once

#include <QImage>

// The small pictures of the windows, drawn in code.

// 14 x 14: a blue plus sign one pixel thick with a black outline over
// columns and rows 2 to 10, on an olive background that is transparent.
[[nodiscard]] QImage PlusGlyph();
// 14 x 14: the plus sign's horizontal arm alone (rows 5 to 7).
[[nodiscard]] QImage MinusGlyph();
// 23 x 17: a blue arrow pointing right with a black outline on white.
[[nodiscard]] QImage ResultsArrow();
