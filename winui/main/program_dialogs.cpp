#include "main/program_dialogs.h"

#include "aboutform/tabout.h"
#include "results/trf.h"

void ProgramDialogs::ShowResults(HWND owner, std::int32_t files_searched,
                                 std::int64_t files_replaced) {
    TRF results(owner, log_editor_, log_path_);
    results.SetResults(files_searched, files_replaced);
    results.ShowModal();
}

void ProgramDialogs::ShowAbout(HWND owner) {
    TAbout about(owner, desktop_);
    about.ShowModal();
}
