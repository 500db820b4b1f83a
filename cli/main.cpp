// korv-cli: one batch run from the command line, on the same engine and
// activity log as the window program.

#include <clocale>
#include <cstdio>
#include <string>

#include "activity_log.h"
#include "batch_run.h"
#include "cli_options.h"
#include "console_ui.h"
#include "durable_saves.h"
#include "engine_error.h"
#include "file_entries.h"
#include "korv_version.h"
#include "program_arguments.h"
#include "program_files.h"
#include "terminal.h"
#include "time_stamp.h"
#include "undo_command.h"

namespace {

enum ExitCode { kAllProcessed = 0, kSomeFailed = 1, kUsage = 2, kDeclined = 3 };

int Run(const korv::cli::CliOptions& options, const korv::cli::FileEntries& entries,
        const korv::ProgramFiles& files) {
    korv::cli::ConsoleUi ui(options, entries, stdin, stdout, stderr);
    for (const std::string& problem : entries.problems) {
        ui.WriteError(problem + "\n");
    }
    // A dry run writes no log line, not even the start-up and closing ones.
    const bool dry_run = ui.DryRun();
    korv::ActivityLog log(options.log_path.value_or(files.log), korv::TimeFormat::FromLocale(),
                          options.log_path ? std::string() : files.log_folder);
    try {
        if (!dry_run) {
            log.Open();
        }
    } catch (const korv::EngineError& e) {
        // The window program reports this and runs on; so do we.
        ui.WriteError(std::string(e.what()) + "\n");
    }
    korv::BatchOutcome outcome = korv::RunBatch(ui, log);
    if (outcome.end == korv::BatchEnd::NoEntries) {
        ui.ShowResults(0, 0);
    }
    if (outcome.FilesSkipped > 0) {
        ui.WriteError("Binary files skipped: " + std::to_string(outcome.FilesSkipped) + "\n");
    }
    try {
        if (!dry_run) {
            log.Close();
        }
    } catch (const korv::EngineError& e) {
        ui.WriteError(std::string(e.what()) + "\n");
    }
    switch (outcome.end) {
        case korv::BatchEnd::Declined:
            return kDeclined;
        case korv::BatchEnd::TextsRefused:
        case korv::BatchEnd::NoUndo:
            return kUsage;
        default:
            return outcome.FilesFailed > 0 || !entries.problems.empty() ? kSomeFailed
                                                                        : kAllProcessed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    korv::cli::UseExactOutput();
    korv::cli::CliOptions options;
    try {
        options = korv::cli::ParseArguments(korv::cli::ProgramArguments(argc, argv));
    } catch (const korv::cli::UsageError& e) {
        std::fprintf(stderr, "korv-cli: %s\n%s", e.message.c_str(), korv::cli::kUsage);
        return kUsage;
    } catch (const korv::EngineError& e) {
        std::fprintf(stderr, "korv-cli: %s\n", e.what());
        return kUsage;
    }
    if (options.help) {
        std::fputs(korv::cli::kUsage, stdout);
        return kAllProcessed;
    }
    if (options.version) {
        std::puts("korv-cli " KORV_VERSION_TEXT);
        return kAllProcessed;
    }
    korv::SetSyncing(!options.no_sync);
    // A log named by --log is taken as it is: only the program's own folder
    // for its log is made when missing.
    const korv::ProgramFiles files = korv::ThisProgramsFiles();
    options.undo_folder = options.undo_folder.value_or(files.undo_folder);
    if (options.undo) {
        return korv::cli::RunUndo(options, options.log_path.value_or(files.log),
                                  options.log_path ? std::string() : files.log_folder, stdout,
                                  stderr);
    }
    if (!options.find) {
        std::fprintf(stderr, "korv-cli: no find text (use --find or --find-file)\n%s",
                     korv::cli::kUsage);
        return kUsage;
    }
    korv::cli::FileEntries entries;
    try {
        entries = korv::cli::GatherEntries(options, korv::cli::ReadStandardInput);
    } catch (const korv::EngineError& e) {
        std::fprintf(stderr, "korv-cli: %s\n", e.what());
        return kUsage;
    }
    return Run(options, entries, files);
}
