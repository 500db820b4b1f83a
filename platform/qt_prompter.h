#pragma once

#include "prompter.h"

namespace korv::platform {

// The program's message boxes and file dialogs on Qt: modal over the
// active window, in the system's look.
class QtPrompter final : public Prompter {
public:
    bool Ask(const QString& text, const QString& caption) override;
    void Error(const QString& text, const QString& caption) override;
    void Message(const QString& text, const QString& caption) override;

    FileChoice GetOpenFileNames(const FileDialogSpec& dialog) override;
    FileChoice GetOpenFileName(const FileDialogSpec& dialog) override;
    FileChoice GetSaveFileName(const FileDialogSpec& dialog) override;
};

}  // namespace korv::platform
