#include "pass_steps.h"

#include <optional>

#include "aside_work.h"
#include "engine_error.h"
#include "file_ops.h"
#include "file_variables.h"
#include "utf16_text.h"

namespace korv {

namespace {

// The size of the file at `path` as it stands, or 0 when it cannot be told.
std::uint64_t BytesOf(const std::string& path) {
    const std::optional<FileSize> size = SizeOf(path);
    return size && size->bytes > 0 ? static_cast<std::uint64_t>(size->bytes) : 0;
}

// A big file is searched where it lies; if another program cut it short
// meanwhile, what was found cannot be trusted.
void CheckIntact(const TextDocument& document, const std::string& path) {
    if (!document.TextIntact()) {
        throw CannotOpenFile(path, "The file changed while it was read");
    }
}

// Finishes `pending`, the save of `path`: its last step goes to
// `committer` when given.
void Finish(const std::string& path, std::unique_ptr<PendingSave> pending,
            const FileVersion* unchanged_since, SaveCommitter* committer) {
    if (pending == nullptr) {
        return;  // written in place, and done
    }
    if (committer != nullptr && unchanged_since != nullptr) {
        committer->Hand(path, *unchanged_since, std::move(pending));
    } else {
        pending->Finish();
    }
}

// Writes the result of `substitution` over the file at `path`, from which
// `document` was loaded; its last step goes to `committer` when given.
void Save(const std::string& path, TextDocument& document, const Substitution& substitution,
          const FileVersion* unchanged_since, SaveCommitter* committer, UndoJournal* journal) {
    std::unique_ptr<PendingSave> pending;
    if (substitution.WrittenAsIs()) {
        // The result is already in the saved form: write it straight from
        // the pieces, without building it.
        pending = BeginReplaceWholeFile(path, ResultWriter(substitution, document), unchanged_since,
                                        journal);
    } else {
        std::string result = substitution.Result();
        CheckIntact(document, path);
        document.AssignText(result);
        pending = BeginReplaceWholeFile(path, document.SavedForm(), unchanged_since, journal);
    }
    Finish(path, std::move(pending), unchanged_since, committer);
}

// `text`, typed in the program's own encoding, as unit text for the UTF-16
// file at `path`; `what` names it when it has no such form.
std::string UnitTextFor(const std::string& path, std::string_view text, const char* what) {
    const std::optional<std::u16string> units = Utf16OfProgramText(text);
    if (!units) {
        throw CannotOpenFile(path, std::string("It is UTF-16 text, and the ") + what +
                                       " holds bytes that are no text of this program's "
                                       "encoding, so it cannot be put into UTF-16");
    }
    return UnitTextOf(*units);
}

}  // namespace

ContentWriter ResultWriter(const Substitution& substitution, const TextDocument& document) {
    return [&substitution, &document](ContentSink& sink) {
        // Checked again once written, before the new text replaces the
        // file: a text read from a file cut short meanwhile is no result.
        if (document.Encoding() == TextEncoding::Bytes) {
            return substitution.WriteResult(sink) && document.TextIntact();
        }
        Utf16Sink utf16(sink, document.Encoding());
        return substitution.WriteResult(utf16) && document.TextIntact();
    };
}

void PlanPass(ReplaceContext& ctx, const std::string& path, LineBreaks breaks,
              const std::function<PassTexts()>& texts, TextDocument& document, PassPlan& plan) {
    LoadForPass(ctx, path, breaks, document);
    PlanLoaded(ctx, path, texts, document, plan);
}

void LoadForPass(ReplaceContext& ctx, const std::string& path, LineBreaks breaks,
                 TextDocument& document, std::optional<std::uint64_t> size_seen) {
    DoFileWork(
        ctx, [&path, size_seen] { return size_seen ? *size_seen : BytesOf(path); },
        [&document, &path, breaks] {
            document.LoadTextFile(path, breaks);
            if (document.HeldNul()) {
                // The line model would drop everything from the NUL on.
                throw HoldsNulByte(path);
            }
        });
}

void PlanLoaded(ReplaceContext& ctx, const std::string& path,
                const std::function<PassTexts()>& texts, const TextDocument& document,
                PassPlan& plan, KnownOccurrences* known) {
    PassTexts given = texts();
    plan.find = std::move(given.find);
    plan.replacement = std::move(given.replacement);
    if (given.dynamic_variables) {
        plan.find = ExpandFileVariables(ctx, plan.find, path);
        plan.replacement = ExpandFileVariables(ctx, plan.replacement, path);
    }
    std::string_view find = plan.find;
    std::string_view replacement = plan.replacement;
    if (document.Encoding() != TextEncoding::Bytes) {
        plan.unit_find = UnitTextFor(path, find, "find text");
        plan.unit_replacement = UnitTextFor(path, replacement, "replacement text");
        find = plan.unit_find;
        replacement = plan.unit_replacement;
    }
    if (document.KeepsLineBreaks()) {
        plan.substitution =
            PlanKeepingBreaks(ctx, document.Text(), find, replacement, plan.kept, known);
    } else {
        plan.substitution = Substitution::Plan(ctx, document.Text(), find, replacement, known);
    }
}

bool PreviewPass(BatchUi& ui, const std::string& path, const TextDocument& document,
                 const PassPlan& plan) {
    CheckIntact(document, path);
    const Substitution& substitution = plan.substitution;
    if (!substitution.Changed()) {
        return false;
    }
    // What a save would write: the result as it is or in the line model's
    // form, in the file's encoding.
    const std::function<std::string()> saved_bytes = [&substitution, &document]() {
        std::string text = substitution.Result();
        if (!substitution.WrittenAsIs()) {
            TextDocument saved;
            saved.AssignText(text);
            text = saved.Text();
        }
        if (document.Encoding() != TextEncoding::Bytes) {
            return FileBytesOfUnitText(text, document.Encoding());
        }
        return text;
    };
    ui.ShowPreview(PassPreview{path, substitution.Occurrences(), saved_bytes});
    CheckIntact(document, path);
    return true;
}

bool CommitPass(ReplaceContext& ctx, bool back_up, const std::string& path, TextDocument& document,
                const PassPlan& plan, StagedReplacement* staged, SaveCommitter* committer,
                UndoJournal* journal) {
    const Substitution& substitution = plan.substitution;
    const bool changed = substitution.Changed();
    CheckIntact(document, path);
    if (!changed) {
        return false;
    }
    // The file must still be as it was read when it is replaced: another
    // program's newer bytes are never overwritten with a text made from
    // the older ones.
    const std::optional<FileVersion> loaded = document.LoadedVersion();
    const FileVersion* unchanged_since = loaded ? &*loaded : nullptr;
    LogReplacement(ctx, plan.find, plan.replacement);
    // The backup and the save go aside together, after the log line.
    DoFileWork(
        ctx, [&document] { return document.Text().size(); },
        [&] {
            if (back_up) {
                TextDocument::MakeBackup(path);
            }
            std::unique_ptr<PendingSave> written_ahead =
                staged != nullptr ? staged->Take(unchanged_since, journal) : nullptr;
            if (written_ahead) {
                Finish(path, std::move(written_ahead), unchanged_since, committer);
            } else {
                Save(path, document, substitution, unchanged_since, committer, journal);
            }
        });
    return true;
}

}  // namespace korv
