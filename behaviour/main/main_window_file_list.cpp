// The file list's operations: adding, deleting, loading, saving, opening an
// entry, the hint and finding an entry by typing (a drop has a file of its
// own).

#include "filename_list.h"
#include "main/main_window.h"
#include "texts.h"

namespace korv::behaviour {

FileChoice MainWindow::Choose(FileDialogSetup& dialog,
                              FileChoice (Prompter::*show)(const FileDialogSetup&)) {
    FileChoice choice = (services_.Prompts.*show)(dialog);
    if (!choice.Cancelled()) {
        dialog.FileName = choice.Files.front();
        dialog.FilterIndex = choice.FilterIndex;
    }
    return choice;
}

void MainWindow::Files1Click() {
    const FileChoice choice = Choose(OpenDialog1, &Prompter::GetOpenFileNames);
    if (choice.Cancelled()) {
        return;
    }
    if (files_.HoldsPlaceholder()) {
        files_.Clear();
        SetRunButtons(true);
    }
    for (const std::string& path : choice.Files) {
        files_.Append(path);
    }
    files_.SetCurrent(0);
}

void MainWindow::Deleteselected1Click() {
    if (!services_.Prompts.Ask(text::kAskDeleteSelected, text::kConfirmationCaption)) {
        return;
    }
    if (files_.Current() == -1) {
        return;
    }
    files_.DeleteSelected();
    files_.SetCurrent(0);
    if (files_.Count() == 0) {
        files_.AppendPlaceholder();
        SetRunButtons(false);
    }
}

void MainWindow::ListBox1KeyDown(int key) {
    if (key == kDeleteKey && !files_.HoldsPlaceholder()) {
        Deleteselected1Click();
    }
}

void MainWindow::Deleteall1Click() {
    if (!services_.Prompts.Ask(text::kAskDeleteAll, text::kConfirmationCaption)) {
        return;
    }
    files_.Clear();
    files_.SetCurrent(0);
    files_.AppendPlaceholder();
    SetRunButtons(false);
}

void MainWindow::Loadfilelist1Click() {
    const FileChoice choice = Choose(OpenDialog2, &Prompter::GetOpenFileName);
    if (choice.Cancelled()) {
        return;
    }
    // Read in full first: a file that cannot be read leaves the list as it
    // was.
    const std::vector<std::string> entries = korv::LoadFilenameList(choice.Files.front());
    files_.Clear();
    for (const std::string& entry : entries) {
        files_.Append(entry);
    }
    if (files_.Count() == 0) {
        files_.AppendPlaceholder();
        SetRunButtons(false);
    }
    SetRunButtons(!files_.HoldsPlaceholder());
}

void MainWindow::Savefilelistas1Click() {
    const FileChoice choice = Choose(SaveDialog1, &Prompter::GetSaveFileName);
    if (choice.Cancelled()) {
        return;
    }
    korv::SaveFilenameList(choice.Files.front(), files_.Entries());
}

void MainWindow::ListBox1DblClick() {
    if (files_.HoldsPlaceholder()) {
        return;
    }
    services_.Editor.OpenInEditor(files_.Entry(files_.Current()));
}

void MainWindow::ListBox1MouseMove() {
    try {
        controls_.ListBox1.SetHint(files_.Entry(files_.Current()));
    } catch (...) {
        // Without a current entry the hint stays as it was.
    }
}

void MainWindow::ListBox1KeyPress(std::string_view character) {
    ShowPrefix(prefix_.Type(character, services_.Time.NowMs()));
}

void MainWindow::ListBox1Backspace() {
    ShowPrefix(prefix_.Backspace(services_.Time.NowMs()));
}

void MainWindow::ShowPrefix(const std::string& typed) {
    const int found = FindPrefix(files_.Entries(), typed);
    if (found >= 0) {
        controls_.ListBox1.SelectOnly(found);
    }
}

}  // namespace korv::behaviour
