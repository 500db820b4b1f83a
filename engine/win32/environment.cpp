#include "environment.h"

#include <windows.h>

#include "ansi_text.h"

namespace korv {

std::optional<std::string> ProcessEnvironment(const char* name) {
    std::wstring wide_name;
    for (const char* c = name; *c != '\0'; ++c) {
        wide_name += static_cast<wchar_t>(static_cast<unsigned char>(*c));  // names are ASCII
    }
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                                       static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            break;
        }
        value.resize(length);  // the size it needs, its terminator included
    }
    // The values asked for name folders: a name the ANSI code page cannot
    // spell is reached by its short name.
    return win32::AnsiPath(value);
}

}  // namespace korv
