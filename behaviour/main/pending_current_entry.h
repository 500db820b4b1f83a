#pragma once

#include <functional>
#include <optional>

#include "main/file_list.h"

namespace korv::behaviour {

// The current entry a run moves through the list, applied to the list box
// only when the window next shows it. Moving the focus rectangle and
// scrolling per file costs more than the file itself when files are small,
// while the user sees the list only when it paints. Any of the window's
// handlers runs only in a turn of the window, after the entry has been
// applied or while it is kept pending through the turn; either way a click
// the user makes during a turn wins and is what is read afterwards.
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
    // Runs `turn`, a turn of the window, with the entry remembered still
    // pending; if the user moves the list's current entry meanwhile, that
    // move is newer and stands.
    void KeepThroughTurn(const std::function<void()>& turn);
    // The current entry, as the list will show it.
    [[nodiscard]] int Current();

private:
    FileList& files_;
    std::optional<int> pending_;
};

}  // namespace korv::behaviour
