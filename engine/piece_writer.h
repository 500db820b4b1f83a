#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "file_ops.h"

namespace korv {

// Puts the pieces of a file's new content to a sink in order, gathering
// small pieces into large writes so a dense text costs a few large writes,
// not one per piece; large pieces go out as they are. Pipelined, the
// gathered blocks are written on a thread of its own, so building the next
// block on this core overlaps writing the last one on the other.
class PieceWriter {
public:
    PieceWriter(ContentSink& sink, bool pipelined);
    // Waits for the writes in flight; nothing is written after it.
    ~PieceWriter();
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;

    // Adds `piece` after what was added before. Every piece must stay
    // valid until Finish returns. False once a write has failed.
    bool Add(std::string_view piece);
    // Writes what is left and waits for every write; false when one failed.
    bool Finish();

private:
    // One write: a gathered block (its index), or a piece as it is (-1).
    struct Job {
        std::string_view bytes;
        int block = -1;
    };

    void Send(Job job);
    void SendGathered();
    [[nodiscard]] int TakeBlock();
    void Work();

    ContentSink& sink_;
    const bool pipelined_;
    std::vector<std::string> blocks_;
    std::atomic<bool> failed_{false};  // a write failed: the rest are dropped
    int current_;                      // the block being gathered into

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;   // sent, not yet written
    std::vector<int> free_;  // blocks written and free to gather into
    bool closing_ = false;   // no more jobs come
    std::thread thread_;
};

}  // namespace korv
