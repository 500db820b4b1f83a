#include "pass_prefetcher.h"

#include <utility>

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

bool IdentityOf(const std::string& path, FileIdentity& identity) {
    const std::optional<FileVersion> version = VersionOf(path);
    if (!version) {
        return false;
    }
    identity = version->file;
    return true;
}

}  // namespace

PassPrefetcher::PassPrefetcher(bool stage_saves, LineBreaks breaks)
    : stage_saves_(stage_saves), breaks_(breaks), thread_([this] { Work(); }) {}

PassPrefetcher::~PassPrefetcher() {
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void PassPrefetcher::Start(const std::string& path, PassTexts texts, bool case_sensitive) {
    {
        std::unique_lock lock(mutex_);
        // The pass in hand is never replaced while it is being planned.
        changed_.wait(lock, [this] { return job_ == nullptr; });
        job_ = spare_ ? std::move(spare_) : std::make_unique<PreparedPass>();
        job_->path = path;
        job_->texts = std::move(texts);
        job_->case_sensitive = case_sensitive;
    }
    changed_.notify_all();
}

bool PassPrefetcher::Busy() {
    std::lock_guard lock(mutex_);
    return job_ != nullptr;
}

std::unique_ptr<PreparedPass> PassPrefetcher::Take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return job_ == nullptr; });
    return std::move(done_);
}

void PassPrefetcher::Recycle(std::unique_ptr<PreparedPass> pass) {
    std::lock_guard lock(mutex_);
    spare_ = std::move(pass);
}

void PassPrefetcher::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quitting_ || job_ != nullptr; });
        if (quitting_) {
            return;
        }
        PreparedPass* pass = job_.get();
        lock.unlock();
        Prepare(*pass);
        lock.lock();
        done_ = std::move(job_);
        changed_.notify_all();
    }
}

void PassPrefetcher::Prepare(PreparedPass& pass) const {
    pass.usable = false;
    pass.staged.reset();
    // Lets go of the last file this pass held before loading the next, so
    // no more than two files are held at a time.
    pass.plan.substitution = Substitution();
    pass.document.AssignText(std::string_view());
    try {
        // The path names the same file before and after the load, so the
        // text came from that file.
        FileIdentity before;
        FileIdentity after;
        if (!IdentityOf(pass.path, before)) {
            return;
        }
        AheadContext ctx(pass.case_sensitive, pass.path);
        PlanPass(
            ctx, pass.path, breaks_, [&pass] { return pass.texts; }, pass.document, pass.plan);
        if (!IdentityOf(pass.path, after) || !(after == before)) {
            return;
        }
        pass.identity = before;
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
    pass.staged = StageReplacement(pass.path, ResultWriter(substitution, pass.document));
}

}  // namespace korv
