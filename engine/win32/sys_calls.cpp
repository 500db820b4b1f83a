#include "sys_calls.h"

#include <cerrno>

#include "unique_handle.h"

namespace korv::sys {

namespace {

// The Win32 error that stands for an errno of the fault plan.
DWORD Win32ErrorFor(int error) {
    switch (error) {
        case ENOSPC:
            return ERROR_DISK_FULL;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EINTR:
            return ERROR_OPERATION_ABORTED;
        case EACCES:
            return ERROR_ACCESS_DENIED;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        default:
            return ERROR_GEN_FAILURE;
    }
}

}  // namespace

bool Injected(FileCall call, const FileCallDetail& detail) {
    const int error = InjectedFault(call, detail);
    if (error == 0) {
        return false;
    }
    ::SetLastError(Win32ErrorFor(error));
    return true;
}

HANDLE FindFirst(std::string_view path, const std::wstring& pattern, WIN32_FIND_DATAW& found) {
    return Injected(FileCall::kListFolder, {path}) ? INVALID_HANDLE_VALUE
                                                   : ::FindFirstFileW(pattern.c_str(), &found);
}

bool FindNext(HANDLE search, WIN32_FIND_DATAW& found) {
    return !Injected(FileCall::kReadFolder) && ::FindNextFileW(search, &found) != 0;
}

bool LeadsToFile(std::string_view path, const std::wstring& name) {
    if (Injected(FileCall::kStatus, {path})) {
        return false;
    }
    const UniqueHandle target(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILE_BASIC_INFO basic{};
    return target.Valid() &&
           ::GetFileInformationByHandleEx(target.Get(), FileBasicInfo, &basic, sizeof basic) != 0 &&
           (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

DWORD AttributesOf(std::string_view path, const std::wstring& name) {
    return Injected(FileCall::kStatus, {path}) ? INVALID_FILE_ATTRIBUTES
                                               : ::GetFileAttributesW(name.c_str());
}

}  // namespace korv::sys
