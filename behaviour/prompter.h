#pragma once

#include <string>
#include <vector>

namespace korv::behaviour {

// What a common file dialog is set up with, kept between uses like the
// dialog components of a window: the filter in the "Description|pattern|..."
// form, the 1-based filter selected, the file name shown (its bytes) and the
// extension added to a name typed without one.
struct FileDialogSetup {
    std::string Filter;
    int FilterIndex = 1;
    std::string FileName;
    std::string DefaultExt;
};

// What the user chose in a file dialog, as the files' path bytes: none when
// cancelled.
struct FileChoice {
    std::vector<std::string> Files;
    int FilterIndex = 1;

    [[nodiscard]] bool Cancelled() const { return Files.empty(); }
};

// Every modal message box and file dialog of the program goes through one
// Prompter, so a test can answer them. Texts and captions are bytes in the
// system's 8-bit code page.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Yes and No with the question icon; true only for Yes.
    virtual bool Ask(const std::string& text, const std::string& caption) = 0;
    // OK with the stop icon.
    virtual void Error(const std::string& text, const std::string& caption) = 0;
    // OK alone, no icon.
    virtual void Message(const std::string& text, const std::string& caption) = 0;

    // An open dialog letting several files be chosen.
    virtual FileChoice GetOpenFileNames(const FileDialogSetup& dialog) = 0;
    // An open dialog for one file.
    virtual FileChoice GetOpenFileName(const FileDialogSetup& dialog) = 0;
    // A save dialog that never asks before replacing a file.
    virtual FileChoice GetSaveFileName(const FileDialogSetup& dialog) = 0;
};

}  // namespace korv::behaviour
