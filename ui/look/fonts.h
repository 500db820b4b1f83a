#pragma once

#include <QFont>

// The fonts of the windows. Each is the classic Windows face where it is
// installed, otherwise the system's font of the same kind at the pixel
// height the windows are laid out for.

// "MS Sans Serif" 8 pt (11 pixels), else the system's sans-serif at 11 px.
[[nodiscard]] QFont FormFont();
// "Courier New" 8 pt (11 pixels), else a monospace font at 11 px.
[[nodiscard]] QFont MemoFont();
// "Times New Roman" 13 pixels, else a serif font at 13 px.
[[nodiscard]] QFont ListFont();
