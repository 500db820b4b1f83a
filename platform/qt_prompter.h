#pragma once

#include "prompter.h"

namespace korv::platform {

using behaviour::FileChoice;
using behaviour::FileDialogSetup;

// The program's message boxes and file dialogs on Qt: modal over the
// active window, in the system's look. Texts are decoded from the locale's
// 8-bit encoding; file names keep their exact bytes.
class QtPrompter final : public behaviour::Prompter {
public:
    bool Ask(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    void Message(const std::string& text, const std::string& caption) override;

    FileChoice GetOpenFileNames(const FileDialogSetup& dialog) override;
    FileChoice GetOpenFileName(const FileDialogSetup& dialog) override;
    FileChoice GetSaveFileName(const FileDialogSetup& dialog) override;
};

}  // namespace korv::platform
