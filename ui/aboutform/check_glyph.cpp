#include "aboutform/check_glyph.h"

#include <QImage>
#include <QPixmap>

#include <array>

namespace {

// The mark's pixels, 'x' set: a short stroke down to the right and a long
// one up to the right, three pixels thick.
constexpr std::array<const char*, 18> kMark = {
    "..................", "..................", "..................", "..............x...",
    ".............xx...", "............xxx...", "...........xxx....", "..x.......xxx.....",
    "..xx.....xxx......", "..xxx...xxx.......", "...xxx.xxx........", "....xxxxx.........",
    ".....xxx..........", "......x...........", "..................", "..................",
    "..................", "..................",
};

QImage Paint(QRgb ink, QRgb highlight) {
    QImage image(18, 18, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (kMark[static_cast<std::size_t>(y)][x] != 'x') {
                continue;
            }
            // The greyed twin is embossed: a white copy one pixel down right.
            if (highlight != 0 && x + 1 < 18 && y + 1 < 18) {
                image.setPixel(x + 1, y + 1, highlight);
            }
        }
    }
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (kMark[static_cast<std::size_t>(y)][x] == 'x') {
                image.setPixel(x, y, ink);
            }
        }
    }
    return image;
}

}  // namespace

QIcon CheckGlyph() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(Paint(qRgb(0, 128, 0), 0)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(Paint(qRgb(128, 128, 128), qRgb(255, 255, 255))),
                   QIcon::Disabled);
    return icon;
}
