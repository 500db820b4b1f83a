#pragma once

#include <windows.h>

#include "look/unique_gdi.h"

// The fonts of the windows, at the character heights the windows are laid
// out for (96 pixels per inch): the font mapper puts the nearest installed
// face in place of one that is missing.

// "MS Sans Serif" 8 pt (11 pixels), the default character set.
[[nodiscard]] UniqueFont FormFont();
// The same in bold, for the button that starts a run.
[[nodiscard]] UniqueFont BoldFormFont();
// "Courier New" 8 pt (11 pixels), for the memos.
[[nodiscard]] UniqueFont MemoFont();
// "Times New Roman" 13 pixels with the Turkish character set, for the file
// list.
[[nodiscard]] UniqueFont ListFont();

// A font with the face, pixel height, weight and character set of `font`
// and the given styles (korv::behaviour::FontStyle bits).
[[nodiscard]] UniqueFont StyledFont(HFONT font, unsigned styles);

// Throws the system's message when a font cannot be made.
[[nodiscard]] UniqueFont MakeFont(const char* face, int pixel_height, int weight, BYTE charset);
