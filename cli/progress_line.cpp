#include "progress_line.h"

#include <string>

#include "terminal.h"

namespace korv::cli {

namespace {

constexpr std::chrono::milliseconds kFirstAfter{500};
constexpr std::chrono::milliseconds kRedrawEvery{100};

}  // namespace

ProgressLine::ProgressLine(std::FILE* terminal, std::int64_t files_total, std::uint64_t bytes_total)
    : terminal_(terminal), start_(std::chrono::steady_clock::now()) {
    progress_.files_total = files_total;
    progress_.bytes_total = bytes_total;
    thread_ = std::thread([this] { Draw(); });
}

ProgressLine::~ProgressLine() {
    Stop();
}

void ProgressLine::Update(std::int64_t files_done, std::uint64_t bytes_done) {
    const std::lock_guard<std::mutex> lock(mutex_);
    progress_.files_done = files_done;
    progress_.bytes_done = bytes_done;
}

void ProgressLine::Write(std::FILE* stream, std::string_view text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    Erase();
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void ProgressLine::Stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    Erase();
}

void ProgressLine::Draw() {
    std::unique_lock<std::mutex> lock(mutex_);
    auto next = start_ + kFirstAfter;
    while (!stop_.wait_until(lock, next, [this] { return stopping_; })) {
        const auto now = std::chrono::steady_clock::now();
        const std::string line = ProgressText(progress_, now - start_, TerminalColumns(terminal_));
        // Spaces cover what is left of a longer line drawn before.
        std::string shown = "\r" + line;
        if (line.size() < shown_) {
            shown.append(shown_ - line.size(), ' ');
            shown.append("\r" + line);
        }
        std::fwrite(shown.data(), 1, shown.size(), terminal_);
        std::fflush(terminal_);
        shown_ = line.size();
        next = now + kRedrawEvery;
    }
}

// Called with the mutex held.
void ProgressLine::Erase() {
    if (shown_ == 0) {
        return;
    }
    const std::string blank = "\r" + std::string(shown_, ' ') + "\r";
    std::fwrite(blank.data(), 1, blank.size(), terminal_);
    std::fflush(terminal_);
    shown_ = 0;
}

}  // namespace korv::cli
