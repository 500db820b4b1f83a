#include "main/pending_current_entry.h"

namespace korv::behaviour {

void PendingCurrentEntry::Apply() {
    if (pending_) {
        const int index = *pending_;
        pending_.reset();
        files_.SetCurrent(index);
    }
}

void PendingCurrentEntry::KeepThroughTurn(const std::function<void()>& turn) {
    if (!pending_) {
        turn();
        return;
    }
    const int before = files_.Current();
    turn();
    if (files_.Current() != before) {
        pending_.reset();
    }
}

int PendingCurrentEntry::Current() {
    Apply();
    return files_.Current();
}

}  // namespace korv::behaviour
