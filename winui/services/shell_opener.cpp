#include "shell_opener.h"

#include <windows.h>

#include <shellapi.h>

namespace korv::winui {

void ShellOpener::Open(const std::string& target) {
    // Show command 0, no parameters, no working folder; the result is not
    // looked at.
    ShellExecuteA(GetDesktopWindow(), "open", target.c_str(), nullptr, nullptr, 0);
}

}  // namespace korv::winui
