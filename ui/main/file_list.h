#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

class QListWidget;

// The single entry the file list holds instead of nothing.
inline constexpr const char* kPlaceholderEntry = "No files added";

// The file list's entries over its list box: each entry keeps the exact
// bytes of its path and shows them decoded. The current entry (the one
// with the focus rectangle) is kept apart from the selection.
class FileList {
public:
    explicit FileList(QListWidget* list) : list_(list) {}

    [[nodiscard]] int Count() const;
    // Throws std::out_of_range "List index out of bounds (<index>)".
    [[nodiscard]] QByteArray Entry(int index) const;
    [[nodiscard]] std::vector<QByteArray> Entries() const;

    // Whether entry 0 is the placeholder; throws on an empty list.
    [[nodiscard]] bool HoldsPlaceholder() const;
    // Clears the list and puts the placeholder in.
    void ShowPlaceholder();

    void Append(const QByteArray& path);
    void Clear();
    // Removes every selected entry, from the last to the first.
    void DeleteSelected();

    // -1 only while the list has no entries.
    [[nodiscard]] int Current() const;
    // Moves the focus rectangle to `index` and scrolls it fully into view;
    // selects and deselects nothing. Ignored on an empty list.
    void SetCurrent(int index);

private:
    QListWidget* list_;
};
