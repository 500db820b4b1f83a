#pragma once

#include <QByteArray>
#include <QString>
#include <string>

class QPlainTextEdit;
class QUrl;

// Between the windows' texts and the engine's bytes. The engine works on
// the 8-bit text of the system's locale; paths keep their exact bytes.

// The text of a memo as the engine takes it: the locale's 8-bit encoding,
// every line break CR LF, none added at the end.
[[nodiscard]] std::string MemoText(const QPlainTextEdit* memo);

// A path's bytes as shown in a window.
[[nodiscard]] QString ShownPath(const QByteArray& path);
[[nodiscard]] QString ShownText(const std::string& text);

// The exact bytes of the local path a dropped file address names.
[[nodiscard]] QByteArray DroppedPathBytes(const QUrl& url);

[[nodiscard]] inline std::string ToStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
[[nodiscard]] inline QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
