#pragma once

#include "launchers.h"
#include "main/tmf_dialogs.h"
#include "main/tmf_paths.h"

// The main window's modal windows as the program opens them: a fresh
// results dialog after each run (its log in `log_editor`) and a fresh about
// box for each use.
class ProgramDialogs final : public TmfDialogs {
public:
    ProgramDialogs(korv::behaviour::EditorLauncher& log_editor,
                   korv::behaviour::DesktopOpener& desktop, std::string log_path)
        : log_editor_(log_editor), desktop_(desktop), log_path_(std::move(log_path)) {}

    void ShowResults(HWND owner, std::int32_t files_searched, std::int64_t files_replaced) override;
    void ShowAbout(HWND owner) override;

private:
    korv::behaviour::EditorLauncher& log_editor_;
    korv::behaviour::DesktopOpener& desktop_;
    std::string log_path_;
};
