#include "look/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QFont FaceOrKind(const QString& face, const QString& kind, QFont::StyleHint hint, int pixels) {
    QFont font;
    // Only a face that is really installed counts: the font matcher would
    // otherwise put any face in its place, not one of the right kind.
    if (QFontDatabase::families().contains(face)) {
        font.setFamilies({face});
    } else {
        font.setFamilies({kind});
        font.setStyleHint(hint);
    }
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

QFont FormFont() {
    return FaceOrKind(QStringLiteral("MS Sans Serif"), QStringLiteral("sans-serif"),
                      QFont::SansSerif, 11);
}

QFont MemoFont() {
    return FaceOrKind(QStringLiteral("Courier New"), QStringLiteral("monospace"), QFont::Monospace,
                      11);
}

QFont ListFont() {
    return FaceOrKind(QStringLiteral("Times New Roman"), QStringLiteral("serif"), QFont::Serif, 13);
}
