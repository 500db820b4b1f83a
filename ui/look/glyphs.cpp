#include "look/glyphs.h"

namespace {

// The two glyphs lie on olive, the colour of their lower-left pixel.
const char* const kPlus[] = {
    "14 14 3 1",       //
    ". c #808000",     //
    "k c #000000",     //
    "b c #0000FF",     //
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

const char* const kMinus[] = {
    "14 14 3 1",       //
    ". c #808000",     //
    "k c #000000",     //
    "b c #0000FF",     //
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

const char* const kArrow[] = {
    "23 17 3 1",                //
    "w c #FFFFFF",              //
    "k c #000000",              //
    "b c #0033CC",              //
    "wwwwwwwwwwwkwwwwwwwwwww",  //
    "wwwwwwwwwwwkkwwwwwwwwww",  //
    "wwwwwwwwwwwkbkwwwwwwwww",  //
    "wwwwwwwwwwwkbbkwwwwwwww",  //
    "wwwwwwwwwwwkbbbkkwwwwww",  //
    "wkkkkkkkkkkbbbbbbkwwwww",  //
    "wkbbbbbbbbbbbbbbbbkwwww",  //
    "wkbbbbbbbbbbbbbbbbbkwww",  //
    "wkbbbbbbbbbbbbbbbbbbkkw",  //
    "wkbbbbbbbbbbbbbbbbbkwww",  //
    "wkbbbbbbbbbbbbbbbbkwwww",  //
    "wkkkkkkkkkkbbbbbbkwwwww",  //
    "wwwwwwwwwwwkbbbkkwwwwww",  //
    "wwwwwwwwwwwkbbkwwwwwwww",  //
    "wwwwwwwwwwwkbkwwwwwwwww",  //
    "wwwwwwwwwwwkkwwwwwwwwww",  //
    "wwwwwwwwwwwkwwwwwwwwwww",  //
};

// A glyph's background is the colour of its lower-left pixel; every pixel
// of that colour is drawn transparent.
QImage WithTransparentBackground(const char* const* xpm) {
    QImage image = QImage(xpm).convertToFormat(QImage::Format_ARGB32);
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) {
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
    }
    return image;
}

}  // namespace

QImage PlusGlyph() {
    return WithTransparentBackground(kPlus);
}

QImage MinusGlyph() {
    return WithTransparentBackground(kMinus);
}

QImage ResultsArrow() {
    return QImage(kArrow);
}
