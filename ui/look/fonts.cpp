#include "look/fonts.h"

#include <QFontDatabase>

#include <QStringList>
#include <algorithm>

namespace {

// The first of `faces` that is installed (the designed face first, then
// faces with its metrics, so captions fit where they were laid out), or
// else the system's font of that kind.
QFont FaceOrKind(const QStringList& faces, const QString& kind, QFont::StyleHint hint, int pixels) {
    QFont font;
    // Only a face that is really installed counts: the font matcher would
    // otherwise put any face in its place, not one of the right kind.
    const QStringList installed = QFontDatabase::families();
    auto face = std::find_if(faces.begin(), faces.end(),
                             [&installed](const QString& f) { return installed.contains(f); });
    if (face != faces.end()) {
        font.setFamilies({*face});
    } else {
        font.setFamilies({kind});
        font.setStyleHint(hint);
    }
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

QFont FormFont() {
    return FaceOrKind({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                       QStringLiteral("Liberation Sans")},
                      QStringLiteral("sans-serif"), QFont::SansSerif, 11);
}

QFont MemoFont() {
    return FaceOrKind({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
                      QStringLiteral("monospace"), QFont::Monospace, 11);
}

QFont ListFont() {
    return FaceOrKind({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")},
                      QStringLiteral("serif"), QFont::Serif, 13);
}
