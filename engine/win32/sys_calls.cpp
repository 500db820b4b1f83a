#include "sys_calls.h"

#include <cerrno>

#include "file_fault.h"

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

// True (with the last error set) when the fault plan makes this call fail.
bool Injected(const char* operation) {
    const int error = InjectedFault(operation);
    if (error == 0) {
        return false;
    }
    ::SetLastError(Win32ErrorFor(error));
    return true;
}

}  // namespace

HANDLE CreateFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                  DWORD flags) {
    if (Injected("CreateFile")) {
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool Read(HANDLE file, void* buffer, DWORD size, DWORD& done) {
    done = 0;
    return !Injected("ReadFile") && ::ReadFile(file, buffer, size, &done, nullptr) != 0;
}

bool Write(HANDLE file, const void* buffer, DWORD size, DWORD& done) {
    done = 0;
    return !Injected("WriteFile") && ::WriteFile(file, buffer, size, &done, nullptr) != 0;
}

bool Seek(HANDLE file, std::int64_t offset, DWORD from) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return !Injected("SetFilePointerEx") && ::SetFilePointerEx(file, distance, nullptr, from) != 0;
}

bool SetEnd(HANDLE file) {
    return !Injected("SetEndOfFile") && ::SetEndOfFile(file) != 0;
}

bool FileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return !Injected("GetFileInformationByHandle") &&
           ::GetFileInformationByHandle(file, &info) != 0;
}

bool FileInformationLessIdentity(HANDLE file, FILE_BASIC_INFO& basic,
                                 FILE_STANDARD_INFO& standard) {
    return !Injected("GetFileInformationByHandleEx") &&
           ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) != 0 &&
           ::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) != 0;
}

bool IsDiskFile(HANDLE file) {
    return ::GetFileType(file) == FILE_TYPE_DISK;
}

DWORD AttributesOf(const std::wstring& path) {
    return Injected("GetFileAttributes") ? INVALID_FILE_ATTRIBUTES
                                         : ::GetFileAttributesW(path.c_str());
}

HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& found) {
    return Injected("FindFirstFile") ? INVALID_HANDLE_VALUE
                                     : ::FindFirstFileW(pattern.c_str(), &found);
}

bool FindNext(HANDLE search, WIN32_FIND_DATAW& found) {
    return !Injected("FindNextFile") && ::FindNextFileW(search, &found) != 0;
}

bool SetAttributes(const std::wstring& path, DWORD attributes) {
    return !Injected("SetFileAttributes") && ::SetFileAttributesW(path.c_str(), attributes) != 0;
}

namespace {
constexpr SECURITY_INFORMATION kCarried =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
}

bool SecurityOf(const std::wstring& path, std::string& descriptor) {
    if (Injected("GetFileSecurity")) {
        return false;
    }
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), kCarried, nullptr, 0, &needed);
    if (needed == 0) {
        return false;
    }
    descriptor.assign(needed, '\0');
    return ::GetFileSecurityW(path.c_str(), kCarried, descriptor.data(), needed, &needed) != 0;
}

bool SetSecurity(const std::wstring& path, const std::string& descriptor) {
    if (Injected("SetFileSecurity")) {
        return false;
    }
    std::string copy = descriptor;
    return ::SetFileSecurityW(path.c_str(), kCarried, copy.data()) != 0;
}

bool MoveReplacing(const std::wstring& from, const std::wstring& to) {
    return !Injected("MoveFileEx") &&
           ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Delete(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != 0;
}

bool Close(HANDLE file) {
    if (Injected("CloseHandle")) {
        ::CloseHandle(file);
        return false;
    }
    return ::CloseHandle(file) != 0;
}

}  // namespace korv::sys
