#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <thread>

#include "progress_meter.h"

namespace korv::cli {

// The progress line on a terminal: drawn on a thread of its own once the
// run has taken half a second, redrawn ten times a second at most, and
// erased before anything else is written and at the end.
class ProgressLine {
public:
    ProgressLine(std::FILE* terminal, std::int64_t files_total, std::uint64_t bytes_total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // The run has finished `files_done` files of `bytes_done` bytes.
    void Update(std::int64_t files_done, std::uint64_t bytes_done);
    // Writes `text` to `stream` with the line erased first; the line comes
    // back at the next redraw.
    void Write(std::FILE* stream, std::string_view text);
    // Erases the line for good.
    void Stop();

private:
    void Draw();
    void Erase();

    std::FILE* terminal_;
    const std::chrono::steady_clock::time_point start_;
    RunProgress progress_;
    std::size_t shown_ = 0;  // length of the line on the screen
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable stop_;
    std::thread thread_;
};

}  // namespace korv::cli
