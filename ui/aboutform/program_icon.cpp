#include "aboutform/program_icon.h"

#include <array>

namespace {

// The icon pixel by pixel, in the classic sixteen-colour palette: three
// sheets of paper on a wooden tray, carried on a white-gloved hand that
// comes up from a navy sleeve.
constexpr std::array<const char*, 32> kPixels = {
    "................................", "..............KKKKKKKKKKKKKK....",
    "..............KWWWWWWWWWWWWK....", "..........KKKKKKKKKKKKKKWWWK....",
    "..........KWWWWWWWWWWWWKWWWK....", "......KKKKKKKKKKKKKKKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWBBBBBBWWWWWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNNNNNWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNNNNNWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNWWWWWWKSSKSSSK....",
    "......KWWWWWWWWWWWWKKKKKSSSK....", "..KKKKKKKKKKKKKKKKKKWWKKKKKKKK..",
    ".KYYYYYYYYYYYYYYYYYKWWKYYYYYYYK.", ".KOOOOOOOOOOOOOOOOOKWSKOOOOOOOK.",
    "..KKKKKKKKKKKKKKKKKKWSKKKKKKKK..", "...KWWWWWWWWWWWWWWWWWWWK........",
    "..KWWWWWWWWWWWWWWWWWWWWWK.......", "..KSSSSSSSSSWWWWWWWWWWWWK.......",
    "..KWWWWWWWWWKWWWWWWWWWWWK.......", "...KSSSSSSSKWWWWWWWWWWWK........",
    "....KKKKKKKKWWWWWWWWWWK.........", "...........KWWWWWWWWWWK.........",
    "...........KSSSSSSSSSSK.........", "..........KKKKKKKKKKKKKK........",
    "..........KWWWWWWWWWWWWK........", "..........KNNNNNNNNNNNNK........",
    "..........KNNNNNNNNNNNNK........", "..........KNNNNNNNNNNNNK........",
};

QRgb ColourOf(char c) {
    switch (c) {
        case 'K':
            return qRgb(0, 0, 0);
        case 'W':
            return qRgb(255, 255, 255);
        case 'S':
            return qRgb(192, 192, 192);
        case 'N':
            return qRgb(0, 0, 128);
        case 'B':
            return qRgb(0, 0, 255);
        case 'Y':
            return qRgb(255, 255, 0);
        case 'O':
            return qRgb(128, 128, 0);
        default:
            return qRgba(0, 0, 0, 0);
    }
}

}  // namespace

QImage ProgramIconImage() {
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            image.setPixel(x, y, ColourOf(kPixels[static_cast<std::size_t>(y)][x]));
        }
    }
    return image;
}

QPixmap ProgramIconPixmap() {
    return QPixmap::fromImage(ProgramIconImage());
}

QIcon ProgramIcon() {
    return QIcon(ProgramIconPixmap());
}
