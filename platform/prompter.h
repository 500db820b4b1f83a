#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace korv::platform {

// What a common file dialog is set up with, kept between uses like the
// dialog components of a window: the filter in the "Description|pattern|..."
// form, the 1-based filter selected, the file name shown and the extension
// added to a name typed without one.
struct FileDialogSpec {
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString DefaultExt;
};

// What the user chose in a file dialog: no files when cancelled.
struct FileChoice {
    QStringList Files;
    int FilterIndex = 1;

    [[nodiscard]] bool Cancelled() const { return Files.isEmpty(); }
};

// Every modal message box and file dialog of the program goes through one
// Prompter, so a test can answer them.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Yes and No with the question icon; true only for Yes.
    virtual bool Ask(const QString& text, const QString& caption) = 0;
    // OK with the stop icon.
    virtual void Error(const QString& text, const QString& caption) = 0;
    // OK alone, no icon.
    virtual void Message(const QString& text, const QString& caption) = 0;

    // An open dialog letting several files be chosen.
    virtual FileChoice GetOpenFileNames(const FileDialogSpec& dialog) = 0;
    // An open dialog for one file.
    virtual FileChoice GetOpenFileName(const FileDialogSpec& dialog) = 0;
    // A save dialog that never asks before replacing a file.
    virtual FileChoice GetSaveFileName(const FileDialogSpec& dialog) = 0;
};

}  // namespace korv::platform
