#include "main/prefix_search.h"

QString PrefixTyping::Type(QChar c, qint64 now_ms) {
    if (!any_ || now_ms - last_ms_ >= kPauseMs) {
        typed_.clear();
    }
    typed_ += c;
    last_ms_ = now_ms;
    any_ = true;
    return typed_;
}

QString PrefixTyping::Backspace(qint64 now_ms) {
    typed_.chop(1);
    last_ms_ = now_ms;
    any_ = true;
    return typed_;
}

int FindPrefix(const QStringList& entries, const QString& prefix) {
    if (prefix.isEmpty()) {
        return -1;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].startsWith(prefix, Qt::CaseInsensitive)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
