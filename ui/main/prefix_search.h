#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The text typed into the file list to find an entry by its beginning: a
// character starts a new text after a pause of 500 ms or more, Backspace
// takes the last one back.
class PrefixTyping {
public:
    // Adds `c` typed at `now_ms` and returns the text so far.
    QString Type(QChar c, qint64 now_ms);
    // Removes the last character (typed at `now_ms`) and returns the rest.
    QString Backspace(qint64 now_ms);

private:
    static constexpr qint64 kPauseMs = 500;
    QString typed_;
    qint64 last_ms_ = 0;
    bool any_ = false;
};

// The first of `entries` that begins with `prefix`, letter case ignored;
// -1 when none does or the prefix is empty.
[[nodiscard]] int FindPrefix(const QStringList& entries, const QString& prefix);
