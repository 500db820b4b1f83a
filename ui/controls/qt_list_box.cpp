#include "controls/qt_list_box.h"

#include <QItemSelectionModel>
#include <QListWidget>

#include "main/engine_text.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

int QtListBox::Count() const {
    return list_->count();
}

std::string QtListBox::Item(int index) const {
    return ToStd(list_->item(index)->data(kPathRole).toByteArray());
}

void QtListBox::Add(const std::string& entry) {
    const QByteArray path = ToBytes(entry);
    auto* item = new QListWidgetItem(ShownPath(path));
    item->setData(kPathRole, path);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    const bool first = list_->count() == 0;
    list_->addItem(item);
    if (first) {
        // A list box's caret starts on its first entry.
        SetCaretIndex(0);
    }
}

void QtListBox::Clear() {
    list_->clear();
}

void QtListBox::Delete(int index) {
    delete list_->takeItem(index);
    if (list_->count() > 0 && list_->currentRow() < 0) {
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
}

bool QtListBox::Selected(int index) const {
    return list_->item(index)->isSelected();
}

void QtListBox::SelectOnly(int index) {
    list_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    list_->scrollToItem(list_->item(index), QAbstractItemView::EnsureVisible);
}

int QtListBox::CaretIndex() const {
    if (list_->count() == 0) {
        return -1;
    }
    const int row = list_->currentRow();
    return row >= 0 ? row : 0;
}

void QtListBox::SetCaretIndex(int index) {
    list_->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    list_->scrollToItem(list_->item(index), QAbstractItemView::EnsureVisible);
}

void QtListBox::SetHint(const std::string& hint) {
    list_->setToolTip(ShownText(hint));
}
