#include "main/engine_text.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUrl>

std::string MemoText(const QPlainTextEdit* memo) {
    // The raw text keeps what toPlainText() would change (no-break spaces);
    // its blocks are separated by paragraph separators.
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar(0xfdd0), QLatin1Char('\n'));  // frame boundaries
    text.replace(QChar(0xfdd1), QLatin1Char('\n'));
    QByteArray bytes = text.toLocal8Bit();
    bytes.replace("\n", "\r\n");
    return ToStd(bytes);
}

QString ShownPath(const QByteArray& path) {
    return QString::fromLocal8Bit(path);
}

QString ShownText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray DroppedPathBytes(const QUrl& url) {
#ifdef _WIN32
    return QFile::encodeName(url.toLocalFile());
#else
    // The address carries the bytes percent-encoded; decoding them directly
    // keeps names that are not valid text in the locale's encoding.
    if (url.host().isEmpty()) {
        return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    }
    return QFile::encodeName(url.toLocalFile());
#endif
}
