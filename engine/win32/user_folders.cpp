#include "user_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "ansi_text.h"
#include "folder_listing.h"
#include "path_syntax.h"
#include "wide_names.h"

namespace korv {

namespace {

// %APPDATA%, or the system's own application data folder of the user when
// the variable is unset or empty.
std::optional<std::string> ApplicationDataFolder(const EnvironmentLookup& environment) {
    if (std::optional<std::string> value = environment("APPDATA"); value && !value->empty()) {
        return value;
    }
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return std::nullopt;
    }
    return win32::AnsiPath(folder);
}

}  // namespace

std::optional<UserFolders> UserFoldersFrom(const EnvironmentLookup& environment) {
    const std::optional<std::string> data = ApplicationDataFolder(environment);
    if (!data) {
        return std::nullopt;
    }
    const std::string own = JoinPath(*data, "Korvane");
    return UserFolders{own, own};
}

int MakeOneFolder(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        return ERROR_INVALID_NAME;
    }
    if (::CreateDirectoryW(name->c_str(), nullptr) != 0) {
        return 0;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS && IsFolder(path) ? 0 : static_cast<int>(error);
}

}  // namespace korv
