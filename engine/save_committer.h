#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "file_ops.h"

namespace korv {

// Finishes the run's saves on a thread of its own, one at a time, so the
// wait for a file's new bytes to reach the disk overlaps the reading and
// searching of the next files. Only one save is ever pending: the run
// settles it before the next pass shows, logs or writes anything, so every
// log line, backup, rename and message keeps its list order.
class SaveCommitter {
public:
    SaveCommitter();
    // Finishes the save still pending, if any; its failure is lost, so a
    // run settles first.
    ~SaveCommitter();
    SaveCommitter(const SaveCommitter&) = delete;
    SaveCommitter& operator=(const SaveCommitter&) = delete;

    // Hands over the save of `path`, begun from the file `loaded`; the one
    // before must have been settled.
    void Hand(std::string path, const FileIdentity& loaded, std::unique_ptr<PendingSave> save);

    // A save that failed once handed over: its path and its message.
    struct Failure {
        std::string path;
        std::string message;
    };
    // Waits until no save is pending; the failure of the one that was, once.
    [[nodiscard]] std::optional<Failure> Settle();

    // Whether a save is pending.
    [[nodiscard]] bool Busy();
    // Whether a save pending may change what `path` names: the same name,
    // or the same file.
    [[nodiscard]] bool MayChange(const std::string& path);

private:
    void Work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<PendingSave> save_;  // handed over, not yet finished
    bool busy_ = false;                  // a save is handed over or being finished
    bool quitting_ = false;
    bool unsettled_ = false;  // handed over since the last Settle (the run's thread only)
    std::string path_;        // of the last save handed over
    FileIdentity loaded_;
    std::optional<Failure> failure_;
    std::thread thread_;
};

}  // namespace korv
