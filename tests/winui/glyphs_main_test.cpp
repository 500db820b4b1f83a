#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "look/glyphs_main.h"

namespace {

// Draws a glyph onto a bitmap filled with `background`; returns its pixels.
std::vector<COLORREF> Drawn(const Glyph14& glyph, bool enabled, COLORREF background) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH brush = ::CreateSolidBrush(background);
    RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    DrawGlyph(dc, 0, 0, glyph, enabled);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            pixels.push_back(::GetPixel(dc, x, y));
        }
    }
    ::DeleteObject(brush);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

TEST(MainGlyphs, PlusAndMinusAreDrawnOnATransparentOliveBackground) {
    const COLORREF background = RGB(12, 34, 56);
    struct Case {
        const Glyph14& glyph;
        int blue_x, blue_y;    // a blue pixel of the sign
        int black_x, black_y;  // a pixel of its outline
        int clear_x, clear_y;  // olive, so left as it was
    };
    const Case cases[] = {
        {PlusGlyph(), 6, 3, 5, 2, 2, 2},   // the vertical arm's top
        {MinusGlyph(), 3, 6, 2, 5, 6, 3},  // no vertical arm at all
    };
    for (const Case& c : cases) {
        const std::vector<COLORREF> pixels = Drawn(c.glyph, true, background);
        const auto at = [&pixels](int x, int y) {
            return pixels[static_cast<std::size_t>(y * 14 + x)];
        };
        EXPECT_EQ(at(c.blue_x, c.blue_y), RGB(0, 0, 255));
        EXPECT_EQ(at(c.black_x, c.black_y), RGB(0, 0, 0));
        EXPECT_EQ(at(c.clear_x, c.clear_y), background);
        // The lower-left pixel is the olive one, so it is never drawn.
        EXPECT_EQ(at(0, 13), background);
        EXPECT_EQ(GlyphColour(c.glyph[13][0]), kGlyphOlive);
        // Disabled: no blue, the shape in the system's shadow colour.
        const std::vector<COLORREF> greyed = Drawn(c.glyph, false, background);
        EXPECT_EQ(std::count(greyed.begin(), greyed.end(), RGB(0, 0, 255)), 0);
        EXPECT_EQ(greyed[static_cast<std::size_t>(c.blue_y * 14 + c.blue_x)],
                  ::GetSysColor(COLOR_BTNSHADOW));
    }
}
