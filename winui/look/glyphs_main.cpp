#include "look/glyphs_main.h"

namespace {

constexpr Glyph14 kPlus = {
    "..............",  //  0
    "..............",  //  1
    ".....kkk......",  //  2
    ".....kbk......",  //  3
    ".....kbk......",  //  4
    "..kkkkbkkkk...",  //  5
    "..kbbbbbbbk...",  //  6
    "..kkkkbkkkk...",  //  7
    ".....kbk......",  //  8
    ".....kbk......",  //  9
    ".....kkk......",  // 10
    "..............",  // 11
    "..............",  // 12
    "..............",  // 13
};

constexpr Glyph14 kMinus = {
    "..............",  //  0
    "..............",  //  1
    "..............",  //  2
    "..............",  //  3
    "..............",  //  4
    "..kkkkkkkkk...",  //  5
    "..kbbbbbbbk...",  //  6
    "..kkkkkkkkk...",  //  7
    "..............",  //  8
    "..............",  //  9
    "..............",  // 10
    "..............",  // 11
    "..............",  // 12
    "..............",  // 13
};

void DrawShape(HDC dc, int left, int top, const Glyph14& glyph, COLORREF colour, bool in_colour) {
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const char pixel = glyph[static_cast<std::size_t>(y)][x];
            if (GlyphColour(pixel) == kGlyphOlive) {
                continue;
            }
            ::SetPixelV(dc, left + x, top + y, in_colour ? GlyphColour(pixel) : colour);
        }
    }
}

}  // namespace

const Glyph14& PlusGlyph() {
    return kPlus;
}

const Glyph14& MinusGlyph() {
    return kMinus;
}

COLORREF GlyphColour(char pixel) {
    switch (pixel) {
        case 'k':
            return RGB(0, 0, 0);
        case 'b':
            return RGB(0, 0, 255);
        default:
            return kGlyphOlive;
    }
}

void DrawGlyph(HDC dc, int left, int top, const Glyph14& glyph, bool enabled) {
    if (enabled) {
        DrawShape(dc, left, top, glyph, 0, true);
        return;
    }
    DrawShape(dc, left + 1, top + 1, glyph, ::GetSysColor(COLOR_BTNHIGHLIGHT), false);
    DrawShape(dc, left, top, glyph, ::GetSysColor(COLOR_BTNSHADOW), false);
}
