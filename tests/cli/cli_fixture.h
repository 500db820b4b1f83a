#pragma once

// korv-cli run as a separate process on real files in a temporary folder,
// with its log in the same folder.

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "log_events.h"
#include "run_command.h"
#include "temp_dir.h"

namespace korv::test {

inline std::string Results(int searched, int replaced) {
    return "Files searched: " + std::to_string(searched) +
           "\nFiles found & replaced: " + std::to_string(replaced) + "\n";
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CliTest : public ::testing::Test {
protected:
    // Runs korv-cli with its log in the folder and the given arguments.
    CommandResult Cli(const std::vector<std::string>& args, const std::string& input = {}) {
        return Noted(args, RunCommand(Argv(args), input));
    }
    // The same with the folder as working directory, so relative paths
    // name files in it.
    CommandResult CliInFolder(const std::vector<std::string>& args, const std::string& input = {}) {
        return Noted(args, RunCommand(Argv(args), input, {}, dir_.Path()));
    }
    [[nodiscard]] std::string LogPath() const { return dir_.File("korv.log"); }

    // The log's events, each line without its time stamp.
    [[nodiscard]] std::vector<std::string> LogEvents() const {
        if (!FileExists(LogPath())) {
            return {};
        }
        return LogEventsOf(ReadFile(LogPath()));
    }

    TempDir dir_;
    TempDir undo_;  // the undo journal's, apart from the files

    // A failed test shows how each of its runs ended, as most compare only
    // what a run printed.
    void TearDown() override {
        if (HasFailure()) {
            std::cerr << runs_;
        }
    }

private:
    CommandResult Noted(const std::vector<std::string>& args, CommandResult result) {
        runs_ += "korv-cli";
        for (const std::string& arg : args) {
            runs_ += ' ' + arg;
        }
        runs_ += "\n  status " + std::to_string(result.status) + "\n  stdout: " + result.out +
                 "\n  stderr: " + result.err + '\n';
        return result;
    }

    std::string runs_;  // each run's arguments and outcome

    // Changed files are written the line model's way, CR LF after every
    // line, on every system; a test of kept line breaks asks for them.
    std::vector<std::string> Argv(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{KORV_CLI_PATH, "--log",         LogPath(),   "--line-breaks",
                                      "crlf",        "--undo-folder", undo_.Path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
};

}  // namespace korv::test
