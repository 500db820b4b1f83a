#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "prompter.h"

namespace korv::winui {

enum class FileDialogKind { OpenMany, OpenOne, Save };

// Shows the common open or save dialog set up as `dialog` over `owner`: the
// read-only box hidden, resizable, with its filter, filter index, file
// name and default extension; the save dialog never asks before a file is
// replaced. Cancelled (or refused, such as names too long for the
// dialog's buffer) gives no files.
[[nodiscard]] behaviour::FileChoice ShowFileDialog(HWND owner,
                                                   const behaviour::FileDialogSetup& dialog,
                                                   FileDialogKind kind);

// The dialog's filter from "Description|pattern|...": every bar a zero,
// two zeros at the end.
[[nodiscard]] std::string DialogFilter(const std::string& filter);

// The chosen files from the dialog's name buffer: one full path, or, when
// several were chosen, the folder and then each name, every item ended by
// a zero and the list by another.
[[nodiscard]] std::vector<std::string> ChosenFiles(const char* buffer);

}  // namespace korv::winui
