#include "aboutform/program_icon.h"

#include <QPainter>

namespace {

// The classic sixteen-colour palette, the few entries the icon uses.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kGray(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kMaroon(128, 0, 0);
const QColor kOlive(128, 128, 0);
const QColor kYellow(255, 255, 0);

// A filled box with a one-pixel outline, both inclusive of the corners.
void Box(QPainter& p, int left, int top, int right, int bottom, const QColor& fill,
         const QColor& outline) {
    p.fillRect(left, top, right - left + 1, bottom - top + 1, outline);
    p.fillRect(left + 1, top + 1, right - left - 1, bottom - top - 1, fill);
}

void Sheet(QPainter& p, int left, int top) {
    Box(p, left, top, left + 15, top + 11, kWhite, kBlack);
    // Lines of writing.
    for (int y = top + 3; y <= top + 9; y += 2) {
        p.fillRect(left + 3, y, y == top + 9 ? 6 : 10, 1, kNavy);
    }
}

void Tray(QPainter& p) {
    // A shallow wooden tray: rim, floor and its shadowed front edge.
    p.fillRect(2, 17, 28, 1, kBlack);
    p.fillRect(2, 18, 1, 3, kBlack);
    p.fillRect(29, 18, 1, 3, kBlack);
    p.fillRect(3, 18, 26, 2, kOlive);
    p.fillRect(3, 18, 26, 1, kYellow);
    p.fillRect(3, 20, 26, 1, kMaroon);
    p.fillRect(2, 21, 28, 1, kBlack);
}

void Hand(QPainter& p) {
    // A white-gloved hand, palm up, from a navy sleeve at the bottom.
    Box(p, 11, 27, 19, 31, kNavy, kBlack);
    p.fillRect(12, 28, 7, 1, kSilver);
    // Palm under the tray.
    Box(p, 8, 21, 21, 26, kWhite, kBlack);
    p.fillRect(9, 21, 12, 1, kBlack);
    // Fingers curled under the tray's floor, their tips to the left.
    for (int y : {22, 24}) {
        p.fillRect(5, y, 4, 1, kBlack);
        p.fillRect(5, y + 1, 1, 1, kBlack);
        p.fillRect(6, y + 1, 3, 1, kWhite);
    }
    p.fillRect(5, 26, 4, 1, kBlack);
    p.fillRect(9, 23, 5, 1, kSilver);
    p.fillRect(9, 25, 5, 1, kSilver);
    // Thumb over the tray's rim on the right.
    Box(p, 21, 19, 24, 24, kWhite, kBlack);
    p.fillRect(21, 20, 1, 4, kWhite);
    p.fillRect(22, 23, 2, 1, kSilver);
}

}  // namespace

QImage ProgramIconImage() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Three sheets, the back one highest, fanned out a little.
    Sheet(p, 12, 1);
    Sheet(p, 9, 3);
    Sheet(p, 6, 5);
    p.fillRect(22, 14, 2, 3, kGray);  // shadow of the stack on the tray
    Tray(p);
    Hand(p);
    p.end();
    return image;
}

QPixmap ProgramIconPixmap() {
    return QPixmap::fromImage(ProgramIconImage());
}

QIcon ProgramIcon() {
    return QIcon(ProgramIconPixmap());
}
