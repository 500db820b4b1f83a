#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch_ui.h"
#include "cli_options.h"
#include "file_entries.h"
#include "progress_line.h"

namespace korv::cli {

// The batch run's user interface on a terminal: questions and messages on
// standard error, the answer from standard input, the results (and a dry
// run's findings) on standard output.
class ConsoleUi final : public BatchUi {
public:
    ConsoleUi(const CliOptions& options, const FileEntries& entries, std::FILE* in, std::FILE* out,
              std::FILE* err);

    bool AskConfirmation(const std::string& text, const std::string& caption) override;
    void ReportError(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    void SetBusyCursor(bool) override {}
    std::int32_t EntryCount() override;
    std::string Entry(std::int32_t index) override;
    std::int32_t CurrentEntry() override { return current_; }
    void SetCurrentEntry(std::int32_t index) override;
    std::string FindText() override;
    std::string ReplaceText() override;
    bool CaseSensitive() override { return options_.case_sensitive; }
    bool DynamicVariables() override { return options_.dynamic_variables; }
    bool BackUp() override { return options_.backup; }
    LineBreaks LineBreakMode() override { return options_.line_breaks; }
    void PumpEvents() override {}
    bool DryRun() override { return options_.dry_run || options_.diff; }
    void ShowPreview(const PassPreview& preview) override;
    void ShowFailureReason(const std::string& reason) override;
    bool SkipsBinary(std::int32_t index) override;
    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override;
    std::optional<UndoPlace> UndoJournalPlace() override;
    bool RunWithoutUndo(const std::string& problem) override;

    // Writes to standard error, clear of the progress line.
    void WriteError(std::string_view text);

private:
    void Write(std::FILE* stream, std::string_view text);
    void StartProgress();

    const CliOptions& options_;
    const FileEntries& entries_;
    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_;
    std::int32_t current_ = -1;
    bool colour_ = false;
    std::unique_ptr<ProgressLine> progress_;
    std::vector<std::uint64_t> bytes_before_;  // of the entries before each one
};

}  // namespace korv::cli
