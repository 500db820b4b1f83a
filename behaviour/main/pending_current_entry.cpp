#include "main/pending_current_entry.h"

namespace korv::behaviour {

void PendingCurrentEntry::Apply() {
    if (pending_) {
        const int index = *pending_;
        pending_.reset();
        files_.SetCurrent(index);
    }
}

int PendingCurrentEntry::Current() {
    Apply();
    return files_.Current();
}

}  // namespace korv::behaviour
