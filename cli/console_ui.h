#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "batch_ui.h"
#include "cli_options.h"

namespace korv::cli {

// The batch run's user interface on a terminal: questions and messages on
// standard error, the answer from standard input, the results on standard
// output.
class ConsoleUi final : public BatchUi {
public:
    ConsoleUi(const CliOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

    bool AskConfirmation(const std::string& text, const std::string& caption) override;
    void ReportError(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    void SetBusyCursor(bool) override {}
    std::int32_t EntryCount() override;
    std::string Entry(std::int32_t index) override;
    std::int32_t CurrentEntry() override { return current_; }
    void SetCurrentEntry(std::int32_t index) override { current_ = index; }
    std::string FindText() override;
    std::string ReplaceText() override;
    bool CaseSensitive() override { return options_.case_sensitive; }
    bool DynamicVariables() override { return options_.dynamic_variables; }
    bool BackUp() override { return options_.backup; }
    void PumpEvents() override {}
    bool FixedDuringRun() override { return true; }
    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override;

private:
    const CliOptions& options_;
    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_;
    std::int32_t current_ = -1;
};

}  // namespace korv::cli
