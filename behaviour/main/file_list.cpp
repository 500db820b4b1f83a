#include "main/file_list.h"

#include <stdexcept>

#include "texts.h"

namespace korv::behaviour {

int FileList::Count() const {
    return box_.Count();
}

std::string FileList::Entry(int index) const {
    if (index < 0 || index >= box_.Count()) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    }
    return box_.Item(index);
}

std::vector<std::string> FileList::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        entries.push_back(box_.Item(i));
    }
    return entries;
}

bool FileList::HoldsPlaceholder() const {
    return Entry(0) == text::kPlaceholderEntry;
}

void FileList::AppendPlaceholder() {
    box_.Add(text::kPlaceholderEntry);
}

void FileList::Append(const std::string& path) {
    box_.Add(path);
}

void FileList::Clear() {
    box_.Clear();
}

void FileList::DeleteSelected() {
    for (int i = box_.Count() - 1; i >= 0; --i) {
        if (box_.Selected(i)) {
            box_.Delete(i);
        }
    }
}

int FileList::Current() const {
    return box_.CaretIndex();
}

void FileList::SetCurrent(int index) {
    if (index >= 0 && index < box_.Count()) {
        box_.SetCaretIndex(index);
    }
}

}  // namespace korv::behaviour
