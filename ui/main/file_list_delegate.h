#pragma once

#include <QStyledItemDelegate>

// Draws the file list's entries: one line 13 pixels high, the text 2
// pixels in from the left on a filled background, an ampersand drawn as
// itself, the focus rectangle on the current entry while the list has the
// focus.
class FileListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kEntryHeight = 13;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
};
