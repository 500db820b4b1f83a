// Writes the program's icon as PNG files for the desktop entry, from the
// same drawing the windows use: korv_make_icon <folder>, which receives
// hicolor/<size>x<size>/apps/korvane.png for each size.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

#include "aboutform/program_icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korv_make_icon <folder>\n");
        return 2;
    }
    const QImage icon = ProgramIconImage();
    for (int size : {32, 64, 128}) {
        const QString dir =
            QString::fromLocal8Bit(argv[1]) + QString("/hicolor/%1x%1/apps").arg(size);
        // Whole-pixel scaling keeps the sixteen-colour drawing crisp.
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!QDir().mkpath(dir) || !scaled.save(dir + "/korvane.png", "PNG")) {
            std::fprintf(stderr, "korv_make_icon: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
