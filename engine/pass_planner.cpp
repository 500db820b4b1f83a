#include "pass_planner.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <utility>
#include <vector>

#include "aside_work.h"
#include "durable_saves.h"
#include "file_ops.h"
#include "file_system.h"

namespace korv {

namespace {

// The texts as the interface holds them at this moment.
PassTexts TextsOf(BatchUi& ui) {
    return PassTexts{ui.FindText(), ui.ReplaceText(), ui.DynamicVariables()};
}

// The names under which the pass for `path` may write, each with whether a
// link there is followed: its own file, its backup (when it backs up) and
// the log.
std::vector<std::pair<std::string, bool>> NamesThePassWrites(const std::string& path, bool back_up,
                                                             const std::string& log_path) {
    std::vector<std::pair<std::string, bool>> names{{path, true}};
    if (back_up) {
        names.emplace_back(path + ".bak", false);
    }
    names.emplace_back(log_path, true);
    return names;
}

// Whether `next`, the next entry's file, is one the pass for `path` may
// write. Reading it ahead would be wasted, since the pass makes what was
// read stale, and where a file being read shares no writing (on Windows) it
// would keep the pass from writing it. Whether the pass backs up is read
// only when it writes, so its backup counts.
bool WrittenByThePass(const FileIdentity& next, const std::string& path,
                      const std::string& log_path) {
    for (const auto& [name, follow_links] : NamesThePassWrites(path, true, log_path)) {
        const std::optional<FileVersion> file = VersionOf(name, follow_links);
        if (file && file->file == next) {
            return true;
        }
    }
    return false;
}

// Whether the name `next` is one under which the pass for `path` writes.
bool NamesWhatThePassWrites(const std::string& next, const std::string& path, bool back_up,
                            const std::string& log_path) {
    const auto names = NamesThePassWrites(path, back_up, log_path);
    return std::any_of(names.begin(), names.end(),
                       [&next](const auto& written) { return written.first == next; });
}

// A pass planned ahead that found nothing to replace, taken this soon
// after its read, stands as read: another program's write in the meantime
// is one it could as well have made a moment after the pass.
constexpr std::chrono::milliseconds kFreshFor{100};

// Whether a pass planned ahead for `path` still stands: planned from the
// file the path names now, as it stands now (so the pass reads what the
// file holds at its moment, as it would have without planning ahead),
// which no pass before wrote.
bool StillStands(const PreparedPass& pass, const std::string& path, const WrittenFiles& written) {
    if (!pass.usable || pass.path != path || written.Holds(pass.identity)) {
        return false;
    }
    if (!pass.plan.substitution.Found() &&
        std::chrono::steady_clock::now() - pass.read_at < kFreshFor) {
        return true;
    }
    const std::optional<FileVersion> now = VersionOf(path);
    return now && now->file == pass.identity && pass.document.LoadedVersion() == *now;
}

}  // namespace

PassPlanner::PassPlanner(BatchUi& ui, const ActivityLog& log, bool dry_run, LineBreaks breaks,
                         UndoJournal* journal)
    : ui_(ui),
      log_(log),
      dry_run_(dry_run),
      breaks_(breaks),
      journal_(journal),
      far_ahead_(fs::SavesFinishAside()) {
    if (!dry_run_ && Syncing() && fs::SavesFinishAside()) {
        committer_.emplace();
    }
    if (!ui_.ReadsAhead()) {
        return;
    }
    // Where a file being read may be replaced all the same, the entries
    // ahead are read and searched on a thread per processor, and a big
    // file's new text written ahead; only the commit (the log line, the
    // backup and the replace) stays here, in list order. Elsewhere only the
    // next big file is planned ahead, while this thread saves the one
    // before: the two threads take big files in turns.
    ahead_.emplace(/*stage_saves=*/!dry_run_, breaks_,
                   far_ahead_ ? PassPrefetcher::ThreadsHere() : 1);
}

PassPlanner::~PassPlanner() {
    // A window handles its events while the rest of the run goes: the
    // passes still planned ahead when the run stopped early, and the last
    // big texts, whose files, once replaced, are freed as they go.
    const bool big = document_.Text().size() >= kAsideFromBytes;
    if (!ui_.WorksAside() || !(ahead_ || big)) {
        return;
    }
    try {
        ui_.RunAside([this] {
            ahead_.reset();  // with every pass it holds
            prepared_.reset();
            document_.AssignText(std::string_view());
        });
    } catch (...) {
        // All of it goes on the way out all the same, only not aside.
    }
}

void PassPlanner::Plan(ReplaceContext& ctx, std::int32_t index, const std::string& path) {
    std::optional<SeenFile> seen = TakeSeen(path);
    LetGoOfLastPass(ctx);
    if (ahead_) {
        prepared_ = TakeAhead(ctx, index);
    }
    if (committer_ && committer_->AnyUnsettled()) {
        std::optional<FileIdentity> file;
        if (prepared_ && prepared_->usable && prepared_->path == path) {
            file = prepared_->identity;  // as read ahead
        } else if (seen && seen->file) {
            file = seen->file;
        } else {
            const std::optional<FileVersion> now = VersionOf(path);
            seen = SeenFile{
                path,
                now && now->regular && now->size >= 0 ? static_cast<std::uint64_t>(now->size) : 0,
                now ? std::optional(now->file) : std::nullopt};
            file = seen->file;
        }
        if (committer_->Full() || committer_->MayChange(path, file)) {
            SettleNow();  // the file is read as the saves before leave it
        }
    }
    planned_ahead_ = prepared_ && StillStands(*prepared_, path, written_);
    next_ahead_ = false;
    if (ahead_) {
        HandAhead(index, path);
    }
    const auto texts = [this] { return TextsOf(ui_); };
    if (planned_ahead_) {
        // The texts and the options are read now, as the pass uses them;
        // a search made ahead is taken only under the same.
        std::optional<KnownOccurrences> known =
            prepared_->plan.substitution.Known(prepared_->case_sensitive);
        PlanLoaded(ctx, path, texts, prepared_->document, plan_, known ? &*known : nullptr);
    } else {
        const std::optional<std::uint64_t> size_seen =
            seen ? std::optional(seen->size) : std::nullopt;
        LoadForPass(ctx, path, breaks_, document_, size_seen);
        PlanLoaded(ctx, path, texts, document_, plan_);
    }
}

bool PassPlanner::Write(ReplaceContext& ctx, const std::string& path, bool back_up) {
    // The files this pass may write, named before and after it writes (a
    // file it creates has no name before).
    const bool noting = (far_ahead_ || next_ahead_) && plan_.substitution.Found();
    if (plan_.substitution.Found() && seen_ &&
        NamesWhatThePassWrites(seen_->path, path, back_up, log_.Path())) {
        // What was seen of the next file is this pass's to change. (The
        // size only chooses the thread that loads the file: a spelling of
        // the same file under another name costs at worst a slower turn.)
        seen_.reset();
    }
    if (noting) {
        NoteWritten(path, back_up);
    }
    if (MustSettleToWrite(path, back_up)) {
        SettleNow();
    }
    bool changed = false;
    try {
        changed = CommitPass(ctx, back_up, path, Document(), plan_, Staged(),
                             committer_ ? &*committer_ : nullptr, journal_);
    } catch (...) {
        NoteWrittenAfter(noting, path, back_up);
        throw;
    }
    NoteWrittenAfter(noting, path, back_up);
    return changed;
}

std::vector<SaveCommitter::Failure> PassPlanner::TakeLate() {
    return std::exchange(late_, {});
}

std::vector<SaveCommitter::Failure> PassPlanner::Settle() {
    SettleNow();
    return TakeLate();
}

void PassPlanner::SettleNow() {
    if (!committer_) {
        return;
    }
    std::vector<SaveCommitter::Failure> failures;
    if (ui_.WorksAside() && committer_->Busy()) {
        // A big file's sync may take a while: the window handles its
        // events meanwhile.
        ui_.RunAside([&] { failures = committer_->Settle(); });
    } else {
        failures = committer_->Settle();
    }
    std::move(failures.begin(), failures.end(), std::back_inserter(late_));
}

bool PassPlanner::MustSettleToWrite(const std::string& path, bool back_up) const {
    if (!committer_ || !committer_->AnyUnsettled() || !plan_.substitution.Changed()) {
        return false;
    }
    const auto names = NamesThePassWrites(path, back_up, log_.Path());
    return std::any_of(names.begin() + 1, names.end(), [this](const auto& written) {
        const std::optional<FileVersion> now = VersionOf(written.first, written.second);
        return committer_->MayChange(written.first, now ? std::optional(now->file) : std::nullopt);
    });
}

bool PassPlanner::Preview(const std::string& path) {
    return PreviewPass(ui_, path, Document(), plan_);
}

void PassPlanner::LetGoOfLastPass(ReplaceContext& ctx) {
    plan_.substitution = Substitution();  // it may point into the pass let go of
    if (ahead_) {
        // Letting go of a big file's text that a rename replaced frees the
        // file, tens of milliseconds for 64 MiB: file work like any other.
        const auto bytes = [this] {
            return std::max(document_.Text().size(),
                            prepared_ ? prepared_->document.Text().size() : 0);
        };
        DoFileWork(ctx, bytes, [this] {
            prepared_.reset();
            document_.AssignText(std::string_view());
        });
    }
}

std::optional<PassPlanner::SeenFile> PassPlanner::TakeSeen(const std::string& path) {
    std::optional<SeenFile> seen = std::move(seen_);
    seen_.reset();
    if (seen && seen->path != path) {
        seen.reset();
    }
    return seen;
}

std::unique_ptr<PreparedPass> PassPlanner::TakeAhead(ReplaceContext& ctx, std::int32_t index) {
    if (ctx.WorksAside() && ahead_->Busy(index)) {
        std::unique_ptr<PreparedPass> taken;
        ctx.RunAside([&] { taken = ahead_->Take(index); });
        return taken;
    }
    return ahead_->Take(index);
}

void PassPlanner::HandAhead(std::int32_t index, const std::string& path) {
    const std::int32_t count = ui_.EntryCount();
    if (!far_ahead_) {
        // A pass planned ahead left this thread nothing heavy to do when it
        // saves nothing (a dry run) or was written ahead: it plans the next.
        const bool light = planned_ahead_ && (dry_run_ || prepared_->staged);
        if (index + 1 < count && !light) {
            StartAhead(index + 1, path);
        }
        return;
    }
    next_to_hand_ = std::max(next_to_hand_, index + 1);
    std::size_t room = next_to_hand_ < count ? ahead_->Room() : 0;
    if (room == 0) {
        return;
    }
    std::vector<PassPrefetcher::Entry> entries;
    for (; room > 0 && next_to_hand_ < count; --room, ++next_to_hand_) {
        entries.push_back({next_to_hand_, ui_.Entry(next_to_hand_)});
    }
    // The texts as they stand now; each pass compares them with those it
    // reads when it comes.
    ahead_->Start(entries, TextsOf(ui_), ui_.CaseSensitive());
}

void PassPlanner::StartAhead(std::int32_t index, const std::string& path) {
    const std::string next = ui_.Entry(index);
    // Which file it is matters for a big one, and wherever saves wait on
    // the committer; then it is asked along with the size.
    std::optional<FileVersion> version;
    std::optional<FileSize> size_now;
    if (committer_) {
        version = VersionOf(next);
        if (version) {
            size_now = FileSize{version->size, version->regular};
        }
    } else {
        size_now = SizeOf(next);
    }
    if (!size_now || !size_now->regular || size_now->bytes < 0) {
        return;  // left to the pass to meet
    }
    const auto size = static_cast<std::uint64_t>(size_now->bytes);
    // Handing a small file to the other thread costs more than it saves.
    const bool big = size >= kAsideFromBytes;
    if (big && !version) {
        version = VersionOf(next);
    }
    next_ahead_ = big && version && !WrittenByThePass(version->file, path, log_.Path());
    if (!next_ahead_) {
        // Spares the pass asking again.
        seen_ = SeenFile{next, size, version ? std::optional(version->file) : std::nullopt};
        return;
    }
    // The texts as they stand now; the pass compares them with those it
    // reads when it comes.
    ahead_->Start({{index, next}}, TextsOf(ui_), ui_.CaseSensitive());
}

void PassPlanner::NoteWritten(const std::string& path, bool back_up) {
    for (const auto& [name, follow_links] : NamesThePassWrites(path, back_up, log_.Path())) {
        written_.Note(name, follow_links);
    }
}

void PassPlanner::NoteWrittenAfter(bool noting, const std::string& path, bool back_up) {
    if (!noting) {
        return;
    }
    try {
        NoteWritten(path, back_up);
    } catch (...) {
        // The pass's own outcome is the one to report, and the files it
        // writes in place were named before it wrote.
    }
}

TextDocument& PassPlanner::Document() {
    return planned_ahead_ ? prepared_->document : document_;
}

StagedReplacement* PassPlanner::Staged() const {
    return planned_ahead_ && prepared_->plan.substitution.SameAs(plan_.substitution)
               ? prepared_->staged.get()
               : nullptr;
}

}  // namespace korv
