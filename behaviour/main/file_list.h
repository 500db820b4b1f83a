#pragma once

#include <string>
#include <vector>

#include "controls.h"

namespace korv::behaviour {

// The file list's entries over its list box, each the exact bytes of a
// path, and the placeholder the list holds instead of nothing. The current
// entry (the one with the focus rectangle) is kept apart from the selection.
class FileList {
public:
    explicit FileList(ListBox& box) : box_(box) {}

    [[nodiscard]] int Count() const;
    // Throws std::out_of_range "List index out of bounds (<index>)".
    [[nodiscard]] std::string Entry(int index) const;
    [[nodiscard]] std::vector<std::string> Entries() const;

    // Whether entry 0 is the placeholder; throws on an empty list.
    [[nodiscard]] bool HoldsPlaceholder() const;
    void AppendPlaceholder();

    void Append(const std::string& path);
    void Clear();
    // Removes every selected entry, from the last to the first.
    void DeleteSelected();

    // -1 only while the list has no entries.
    [[nodiscard]] int Current() const;
    // Moves the focus rectangle to `index` and scrolls it fully into view;
    // selects and deselects nothing. Ignored outside the list.
    void SetCurrent(int index);

private:
    ListBox& box_;
};

}  // namespace korv::behaviour
