#include "look/dialog_glyphs.h"

#include <array>

#include "support/last_error.h"

namespace korv::winui {

namespace {

constexpr int kArrowWidth = 23;
constexpr int kArrowHeight = 17;
// 'w' white, 'k' black, 'b' the arrow's blue.
constexpr std::array<const char*, kArrowHeight> kArrow = {
    "wwwwwwwwwwwkwwwwwwwwwww", "wwwwwwwwwwwkkwwwwwwwwww", "wwwwwwwwwwwkbkwwwwwwwww",
    "wwwwwwwwwwwkbbkwwwwwwww", "wwwwwwwwwwwkbbbkkwwwwww", "wkkkkkkkkkkbbbbbbkwwwww",
    "wkbbbbbbbbbbbbbbbbkwwww", "wkbbbbbbbbbbbbbbbbbkwww", "wkbbbbbbbbbbbbbbbbbbkkw",
    "wkbbbbbbbbbbbbbbbbbkwww", "wkbbbbbbbbbbbbbbbbkwwww", "wkkkkkkkkkkbbbbbbkwwwww",
    "wwwwwwwwwwwkbbbkkwwwwww", "wwwwwwwwwwwkbbkwwwwwwww", "wwwwwwwwwwwkbkwwwwwwwww",
    "wwwwwwwwwwwkkwwwwwwwwww", "wwwwwwwwwwwkwwwwwwwwwww",
};

// A short stroke down to the right and a long one up to the right, three
// pixels thick.
constexpr std::array<const char*, kCheckGlyphSize> kCheck = {
    "..................", "..................", "..................", "..............x...",
    ".............xx...", "............xxx...", "...........xxx....", "..x.......xxx.....",
    "..xx.....xxx......", "..xxx...xxx.......", "...xxx.xxx........", "....xxxxx.........",
    ".....xxx..........", "......x...........", "..................", "..................",
    "..................", "..................",
};

struct EightBitInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[3];
};

BYTE ArrowIndex(char pixel) {
    return pixel == 'w' ? 0 : pixel == 'k' ? 1 : 2;
}

}  // namespace

UniqueBitmap ResultsArrowBitmap() {
    EightBitInfo info{};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = kArrowWidth;
    info.header.biHeight = -kArrowHeight;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 3;
    info.colours[0] = {255, 255, 255, 0};  // RGBQUAD is blue, green, red
    info.colours[1] = {0, 0, 0, 0};
    info.colours[2] = {204, 51, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap == nullptr) {
        ThrowLastError();
    }
    constexpr int kStride = (kArrowWidth + 3) / 4 * 4;  // rows end on a 4-byte boundary
    auto* rows = static_cast<BYTE*>(bits);
    for (int y = 0; y < kArrowHeight; ++y) {
        for (int x = 0; x < kArrowWidth; ++x) {
            rows[y * kStride + x] = ArrowIndex(kArrow[static_cast<std::size_t>(y)][x]);
        }
    }
    GdiFlush();
    return UniqueBitmap(bitmap);
}

void DrawCheckGlyph(HDC dc, int x, int y, bool enabled) {
    const auto each_mark = [](auto&& paint) {
        for (int row = 0; row < kCheckGlyphSize; ++row) {
            for (int column = 0; column < kCheckGlyphSize; ++column) {
                if (kCheck[static_cast<std::size_t>(row)][column] == 'x') {
                    paint(column, row);
                }
            }
        }
    };
    if (!enabled) {
        each_mark([&](int column, int row) {
            if (column + 1 < kCheckGlyphSize && row + 1 < kCheckGlyphSize) {
                SetPixelV(dc, x + column + 1, y + row + 1, RGB(255, 255, 255));
            }
        });
    }
    const COLORREF ink = enabled ? RGB(0, 128, 0) : RGB(128, 128, 128);
    each_mark([&](int column, int row) { SetPixelV(dc, x + column, y + row, ink); });
}

}  // namespace korv::winui
