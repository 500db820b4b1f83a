#include "pass_prefetcher.h"

#include <algorithm>
#include <utility>

#include "aside_work.h"

namespace korv {

namespace {

// The substitution's view ahead of time: a fixed case option, no events
// (the run's own walk over the plan pumps them) and no log (nothing is
// logged while planning).
class AheadContext final : public ReplaceContext {
public:
    AheadContext(bool case_sensitive, const std::string& path)
        : case_sensitive_(case_sensitive), path_(path) {}

    bool CaseSensitive() override { return case_sensitive_; }
    void PumpEvents() override {}
    std::string CurrentFileName() override { return path_; }
    void LogEvent(std::string_view) override {}

private:
    bool case_sensitive_;
    const std::string& path_;
};

}  // namespace

PassPrefetcher::PassPrefetcher(bool stage_saves, LineBreaks breaks, unsigned threads)
    : stage_saves_(stage_saves), breaks_(breaks), threads_count_(std::max(1U, threads)) {
    for (std::size_t i = 0; i < threads_count_; ++i) {
        threads_.emplace_back([this] { Work(); });
    }
}

PassPrefetcher::~PassPrefetcher() {
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

unsigned PassPrefetcher::ThreadsHere() {
    return std::max(1U, std::thread::hardware_concurrency());
}

std::size_t PassPrefetcher::Room() {
    std::lock_guard lock(mutex_);
    // Big files are held no more than one per thread.
    if (bytes_held_ >= kMostBytes) {
        return jobs_.size() < threads_count_ ? threads_count_ - jobs_.size() : 0;
    }
    // Topped up once half the passes waiting are taken.
    if (jobs_.size() > threads_count_ + kMostWaiting / 2) {
        return 0;
    }
    return threads_count_ + kMostWaiting - jobs_.size();
}

void PassPrefetcher::Start(const std::vector<Entry>& entries, const PassTexts& texts,
                           bool case_sensitive) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& entry : entries) {
            Job job;
            job.index = entry.index;
            job.pass = std::make_unique<PreparedPass>();
            job.pass->path = entry.path;
            job.pass->texts = texts;
            job.pass->case_sensitive = case_sensitive;
            jobs_.push_back(std::move(job));
        }
        wake = idle_ > 0;
    }
    if (wake) {
        work_.notify_all();
    }
}

bool PassPrefetcher::Busy(std::int32_t index) {
    std::lock_guard lock(mutex_);
    const auto job = std::find_if(jobs_.begin(), jobs_.end(),
                                  [index](const Job& j) { return j.index == index; });
    return job != jobs_.end() && !job->done;
}

std::unique_ptr<PreparedPass> PassPrefetcher::Take(std::int32_t index) {
    std::unique_lock lock(mutex_);
    std::unique_ptr<PreparedPass> taken;
    while (!jobs_.empty() && jobs_.front().index <= index) {
        Job& front = jobs_.front();
        // Rather than sleep while a thread plans it, this thread plans the
        // passes after it not yet taken up (it plans this one itself when
        // no thread took it up yet).
        while (!front.done && unstarted_ < jobs_.size() && (unstarted_ == 0 || MayStartNext())) {
            PlanNext(lock);
        }
        // A pass being planned is never dropped under its thread.
        awaited_ = front.index;
        done_.wait(lock, [&front] { return front.done; });
        awaited_ = -1;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        --unstarted_;
        bytes_held_ -= job.pass->document.Text().size();
        if (idle_ > 0 && MayStartNext()) {
            work_.notify_one();
        }
        if (job.index == index) {
            taken = std::move(job.pass);
            break;
        }
    }
    return taken;
}

bool PassPrefetcher::MayStartNext() const {
    // Past the budget, no more than one pass per thread is held.
    return unstarted_ < jobs_.size() && (bytes_held_ < kMostBytes || unstarted_ < threads_count_);
}

void PassPrefetcher::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (quitting_) {
            return;
        }
        if (!MayStartNext()) {
            ++idle_;
            work_.wait(lock);
            --idle_;
            continue;
        }
        PlanNext(lock);
    }
}

void PassPrefetcher::PlanNext(std::unique_lock<std::mutex>& lock) {
    // Jobs leave the queue only once done, from its front: the job and its
    // pass stay where they are while this thread plans it.
    Job& job = jobs_[unstarted_++];
    lock.unlock();
    Prepare(*job.pass);
    lock.lock();
    job.done = true;
    bytes_held_ += job.pass->document.Text().size();
    if (job.index == awaited_) {
        done_.notify_one();
    }
}

void PassPrefetcher::Prepare(PreparedPass& pass) const {
    try {
        AheadContext ctx(pass.case_sensitive, pass.path);
        PlanPass(
            ctx, pass.path, breaks_, [&pass] { return pass.texts; }, pass.document, pass.plan);
        pass.read_at = std::chrono::steady_clock::now();
        // Asked of the handle the text was read through.
        pass.identity = pass.document.LoadedVersion().value().file;
        pass.usable = true;
        if (stage_saves_) {
            Stage(pass);
        }
    } catch (...) {
        // The run meets the failure again in its own pass, in order.
    }
}

void PassPrefetcher::Stage(PreparedPass& pass) {
    const Substitution& substitution = pass.plan.substitution;
    // A text built in the line model's form is left to the pass.
    if (!substitution.Changed() || !substitution.WrittenAsIs()) {
        return;
    }
    // A big file's wait for the disk is taken here, off the run's threads;
    // a small file's is left to its save, which shares it with others'.
    const bool big = pass.document.Text().size() >= kAsideFromBytes;
    pass.staged = StageReplacement(pass.path, ResultWriter(substitution, pass.document), big);
}

}  // namespace korv
