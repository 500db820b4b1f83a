#include "piece_writer.h"

#include <utility>

namespace korv {

namespace {

// Pieces at least this long are written as they are; shorter ones are
// gathered into blocks of this size.
constexpr std::size_t kGather = 256 * 1024;
// Blocks in turn when pipelined: one being gathered, the others in flight.
constexpr int kPipelinedBlocks = 4;

}  // namespace

PieceWriter::PieceWriter(ContentSink& sink, bool pipelined)
    : sink_(sink), pipelined_(pipelined), blocks_(pipelined ? kPipelinedBlocks : 1), current_(0) {
    blocks_[0].reserve(kGather);
    for (int block = 1; block < static_cast<int>(blocks_.size()); ++block) {
        free_.push_back(block);
    }
    if (pipelined_) {
        thread_ = std::thread([this] { Work(); });
    }
}

PieceWriter::~PieceWriter() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        failed_ = true;  // what was not finished is not written
    }
    changed_.notify_all();
    thread_.join();
}

bool PieceWriter::Add(std::string_view piece) {
    std::string& block = blocks_[static_cast<std::size_t>(current_)];
    if (block.size() + piece.size() > kGather) {
        SendGathered();
    }
    if (piece.size() >= kGather) {
        Send(Job{piece, -1});
    } else {
        blocks_[static_cast<std::size_t>(current_)].append(piece);
    }
    return !failed_;
}

bool PieceWriter::Finish() {
    SendGathered();
    if (!pipelined_) {
        return !failed_;
    }
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
    return !failed_;
}

void PieceWriter::SendGathered() {
    std::string& block = blocks_[static_cast<std::size_t>(current_)];
    if (block.empty()) {
        return;
    }
    Send(Job{block, current_});
    current_ = TakeBlock();
}

void PieceWriter::Send(Job job) {
    if (!pipelined_) {
        if (!failed_ && !sink_.Write(job.bytes)) {
            failed_ = true;
        }
        if (job.block >= 0) {
            blocks_[static_cast<std::size_t>(job.block)].clear();
            free_.push_back(job.block);
        }
        return;
    }
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(job);
    }
    changed_.notify_all();
}

int PieceWriter::TakeBlock() {
    int block = 0;
    if (!pipelined_) {
        block = free_.back();
        free_.pop_back();
    } else {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !free_.empty(); });
        block = free_.back();
        free_.pop_back();
    }
    std::string& storage = blocks_[static_cast<std::size_t>(block)];
    storage.clear();
    storage.reserve(kGather);
    return block;
}

void PieceWriter::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            return;  // closing, and all written
        }
        const Job job = jobs_.front();
        jobs_.pop_front();
        const bool skip = failed_;
        lock.unlock();
        const bool written = skip || sink_.Write(job.bytes);
        lock.lock();
        if (!written) {
            failed_ = true;
        }
        if (job.block >= 0) {
            free_.push_back(job.block);
        }
        changed_.notify_all();
    }
}

}  // namespace korv
