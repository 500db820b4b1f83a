#include "main/file_list.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <stdexcept>

#include "main/engine_text.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

int FileList::Count() const {
    return list_->count();
}

QByteArray FileList::Entry(int index) const {
    if (index < 0 || index >= list_->count()) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    }
    return list_->item(index)->data(kPathRole).toByteArray();
}

std::vector<QByteArray> FileList::Entries() const {
    std::vector<QByteArray> entries;
    entries.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        entries.push_back(Entry(i));
    }
    return entries;
}

bool FileList::HoldsPlaceholder() const {
    return Entry(0) == QByteArray(kPlaceholderEntry);
}

void FileList::ShowPlaceholder() {
    Clear();
    Append(QByteArray(kPlaceholderEntry));
}

void FileList::Append(const QByteArray& path) {
    auto* item = new QListWidgetItem(ShownPath(path));
    item->setData(kPathRole, path);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    const bool first = list_->count() == 0;
    list_->addItem(item);
    if (first) {
        // A list box's caret starts on its first entry.
        SetCurrent(0);
    }
}

void FileList::Clear() {
    list_->clear();
}

void FileList::DeleteSelected() {
    for (int i = list_->count() - 1; i >= 0; --i) {
        if (list_->item(i)->isSelected()) {
            delete list_->takeItem(i);
        }
    }
    if (list_->count() > 0 && list_->currentRow() < 0) {
        SetCurrent(0);
    }
}

int FileList::Current() const {
    if (list_->count() == 0) {
        return -1;
    }
    const int row = list_->currentRow();
    return row >= 0 ? row : 0;
}

void FileList::SetCurrent(int index) {
    if (index < 0 || index >= list_->count()) {
        return;
    }
    list_->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    list_->scrollToItem(list_->item(index), QAbstractItemView::EnsureVisible);
}
