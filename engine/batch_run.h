#pragma once

#include <cstdint>

#include "activity_log.h"
#include "batch_ui.h"

namespace korv {

// How a batch run ended.
enum class BatchEnd {
    Declined,      // the confirmation was not answered Yes
    NoEntries,     // the list held no entry
    TextsRefused,  // blank find text, or find and replacement texts the same
    NoUndo,        // the undo journal could not be kept, and no run without it was wanted
    Stopped,       // the interface asked to stop before the end of the list
    Finished,      // every entry was processed and the results shown
};

struct BatchOutcome {
    BatchEnd end = BatchEnd::Declined;
    std::int32_t FilesSearched = 0;
    std::int64_t FilesReplaced = 0;
    std::int32_t FilesFailed = 0;
    std::int32_t FilesSkipped = 0;  // binary files the interface passed over
};

// The confirmation, two sentences joined by a lone CR.
extern const char* const kConfirmationText;

// The run behind "Replace All Now": confirmation, the checks of the two
// texts, then every entry of the list in turn (load, expand the file-name
// variables, substitute, back up, save), each failure reported per entry,
// and finally the results.
BatchOutcome RunBatch(BatchUi& ui, ActivityLog& log);

}  // namespace korv
