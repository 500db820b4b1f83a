#pragma once

// A scripted user interface for batch runs, and the texts their logs hold.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aside_work.h"
#include "batch_ui.h"
#include "log_events.h"
#include "temp_dir.h"

namespace korv::test {

// The user interface of a run, scripted: it answers from its fields and
// records every call that shows something or moves something.
class FakeUi final : public BatchUi {
public:
    bool answer_yes = true;
    std::vector<std::string> entries;
    std::string find;
    std::string replacement;
    bool case_sensitive = false;
    bool dynamic_variables = false;
    bool back_up = false;
    LineBreaks line_breaks = LineBreaks::CrLf;
    // Runs at every pump: the user at work during the run.
    std::function<void(FakeUi&)> on_pump;
    // Asked after each entry.
    std::function<bool(FakeUi&)> stop;
    // Lets the run plan big files ahead on another thread.
    bool reads_ahead = false;
    // Does the work handed aside on another thread, running on_aside here
    // meanwhile: the user at work while a big file is read or written.
    bool aside = false;
    std::function<void(FakeUi&)> on_aside;
    // Passes over the files refused for holding a NUL byte.
    bool skips_binary = false;
    // Where the run keeps its undo journal (none when empty), and the
    // answer when it cannot.
    std::string undo_folder;
    bool run_without_undo = false;

    std::vector<std::string> calls;
    std::vector<std::string> reasons;  // told after each per-file message
    std::string confirmation_text;
    std::string confirmation_caption;
    std::int32_t current = -1;
    int pumps = 0;
    int asides = 0;
    int case_reads = 0;

    bool AskConfirmation(const std::string& text, const std::string& caption) override {
        calls.emplace_back("confirm");
        confirmation_text = text;
        confirmation_caption = caption;
        return answer_yes;
    }
    void ReportError(const std::string& text, const std::string& caption) override {
        calls.push_back("error " + caption + ": " + text);
    }
    void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
    void SetBusyCursor(bool busy) override { calls.emplace_back(busy ? "busy on" : "busy off"); }
    std::int32_t EntryCount() override { return static_cast<std::int32_t>(entries.size()); }
    std::string Entry(std::int32_t index) override {
        return entries.at(static_cast<std::size_t>(index));
    }
    std::int32_t CurrentEntry() override { return current; }
    void SetCurrentEntry(std::int32_t index) override {
        current = index;
        calls.push_back("current " + std::to_string(index));
    }
    std::string FindText() override { return find; }
    std::string ReplaceText() override { return replacement; }
    bool CaseSensitive() override {
        ++case_reads;
        return case_sensitive;
    }
    bool DynamicVariables() override { return dynamic_variables; }
    bool BackUp() override { return back_up; }
    LineBreaks LineBreakMode() override { return line_breaks; }
    void PumpEvents() override {
        ++pumps;
        if (on_pump) {
            on_pump(*this);
        }
    }
    void RunAside(const std::function<void()>& work) override {
        if (!aside) {
            work();
            return;
        }
        ++asides;
        AsideThread thread(work, [] {});
        if (on_aside) {
            on_aside(*this);
        }
        thread.Finish();
    }
    bool WorksAside() override { return aside; }
    bool SkipsBinary(std::int32_t) override { return skips_binary; }
    void ShowFailureReason(const std::string& reason) override { reasons.push_back(reason); }
    bool StopRequested() override { return stop && stop(*this); }
    bool ReadsAhead() override { return reads_ahead; }
    std::optional<UndoPlace> UndoJournalPlace() override {
        if (undo_folder.empty()) {
            return std::nullopt;
        }
        return UndoPlace{undo_folder, "test"};
    }
    bool RunWithoutUndo(const std::string& problem) override {
        calls.push_back("no undo " + problem);
        return run_without_undo;
    }
    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override {
        calls.push_back("results " + std::to_string(files_searched) + " " +
                        std::to_string(files_replaced));
    }

    // The calls of one kind, e.g. every "message ...".
    [[nodiscard]] std::vector<std::string> CallsStarting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                found.push_back(call);
            }
        }
        return found;
    }
};

// The events of a log file, each line without its time stamp.
inline std::vector<std::string> LogEvents(const std::string& path) {
    return test::LogEventsOf(ReadFile(path));
}

inline std::string Replaced(const std::string& find, const std::string& path,
                            const std::string& replacement) {
    return find + " found in " + path + " and replaced to " + replacement;
}

}  // namespace korv::test
