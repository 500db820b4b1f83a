// korv-cli: one batch run from the command line, on the same engine and
// activity log as the window program.

#include <clocale>
#include <cstdio>
#include <string>

#include "activity_log.h"
#include "batch_run.h"
#include "cli_options.h"
#include "console_ui.h"
#include "engine_error.h"
#include "executable_dir.h"
#include "program_arguments.h"
#include "time_stamp.h"

namespace {

enum ExitCode { kAllProcessed = 0, kSomeFailed = 1, kUsage = 2, kDeclined = 3 };

int Run(const korv::cli::CliOptions& options) {
    korv::ActivityLog log(options.log_path.value_or(korv::BesideExecutable("korv.log")),
                          korv::TimeFormat::FromLocale());
    try {
        log.Open();
    } catch (const korv::EngineError& e) {
        // The window program reports this and runs on; so do we.
        std::fprintf(stderr, "%s\n", e.what());
    }
    korv::cli::ConsoleUi ui(options, stdin, stdout, stderr);
    korv::BatchOutcome outcome = korv::RunBatch(ui, log);
    if (outcome.end == korv::BatchEnd::NoEntries) {
        ui.ShowResults(0, 0);
    }
    try {
        log.Close();
    } catch (const korv::EngineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    switch (outcome.end) {
        case korv::BatchEnd::Declined:
            return kDeclined;
        case korv::BatchEnd::TextsRefused:
            return kUsage;
        default:
            return outcome.FilesFailed > 0 ? kSomeFailed : kAllProcessed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
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
        std::puts("korv-cli 1.00");
        return kAllProcessed;
    }
    if (!options.find) {
        std::fprintf(stderr, "korv-cli: no find text (use --find or --find-file)\n%s",
                     korv::cli::kUsage);
        return kUsage;
    }
    return Run(options);
}
