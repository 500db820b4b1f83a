#pragma once

#include <optional>

#include "main/file_list.h"

namespace korv::behaviour {

// The current entry a run moves through the list, applied to the list box
// only when the window next gets its turn. Moving the focus rectangle and
// scrolling per file costs more than the file itself when files are small,
// while the user sees the list only when it paints, and any of the window's
// handlers runs only in its turn, after the entry has been applied; so a
// click the user makes during a turn wins and is what is read afterwards.
class PendingCurrentEntry {
public:
    explicit PendingCurrentEntry(FileList& files) : files_(files) {}
    ~PendingCurrentEntry() { Apply(); }
    PendingCurrentEntry(const PendingCurrentEntry&) = delete;
    PendingCurrentEntry& operator=(const PendingCurrentEntry&) = delete;

    // Remembers `index` as the current entry.
    void Set(int index) { pending_ = index; }
    // Moves the list's current entry to the one remembered, if any; call
    // before the window handles events or shows a modal box.
    void Apply();
    // The current entry, as the list will show it.
    [[nodiscard]] int Current();

private:
    FileList& files_;
    std::optional<int> pending_;
};

}  // namespace korv::behaviour
