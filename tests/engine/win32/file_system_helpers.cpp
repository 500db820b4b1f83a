#include "file_system_helpers.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <optional>

#include "wide_names.h"

namespace korv::test {

const bool kFolderNamesSynced = false;
const bool kBigFilesMapped = false;
const bool kXdgUserFolders = false;

namespace {

// A handle of the helpers' own, closed when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (Valid()) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

Handle Open(const std::string& path, DWORD access, DWORD disposition, DWORD flags = 0) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        return Handle(INVALID_HANDLE_VALUE);
    }
    return Handle(::CreateFileW(name->c_str(), access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                disposition, flags, nullptr));
}

std::optional<BY_HANDLE_FILE_INFORMATION> InformationOf(const std::string& path) {
    const Handle file =
        Open(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || ::GetFileInformationByHandle(file.Get(), &info) == 0) {
        return std::nullopt;
    }
    return info;
}

bool SeekTo(HANDLE file, std::int64_t offset) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return ::SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

// The system's text for `error`, cut as the layer cuts it.
std::string SystemText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer != nullptr ? buffer : "", length);
    ::LocalFree(buffer);
    while (!text.empty() && std::string(" \t\r\n.").find(text.back()) != std::string::npos) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string MissingFileText() {
    return SystemText(ERROR_FILE_NOT_FOUND);
}

std::string MissingFolderText() {
    return SystemText(ERROR_PATH_NOT_FOUND);
}

std::string InFolder(const std::string& folder, const std::string& relative) {
    std::string path = folder + "\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

FileIdentity IdentityOf(const std::string& path) {
    const auto info = InformationOf(path);
    if (!info) {
        return {};
    }
    return {info->dwVolumeSerialNumber,
            (std::uint64_t{info->nFileIndexHigh} << 32) | info->nFileIndexLow};
}

std::int64_t SizeOf(const std::string& path) {
    const auto info = InformationOf(path);
    if (!info) {
        return -1;
    }
    return static_cast<std::int64_t>((std::uint64_t{info->nFileSizeHigh} << 32) |
                                     info->nFileSizeLow);
}

int LinkCountOf(const std::string& path) {
    const auto info = InformationOf(path);
    return info ? static_cast<int>(info->nNumberOfLinks) : 0;
}

bool MakeHardLink(const std::string& existing, const std::string& name) {
    const std::optional<std::wstring> from = WideName(existing);
    const std::optional<std::wstring> to = WideName(name);
    return from && to && ::CreateHardLinkW(to->c_str(), from->c_str(), nullptr) != 0;
}

bool MakeReadOnly(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    return name && ::SetFileAttributesW(name->c_str(), FILE_ATTRIBUTE_READONLY) != 0;
}

bool IsReadOnly(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    const DWORD attributes = name ? ::GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool CutFile(const std::string& path, std::int64_t size) {
    const Handle file = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    return file.Valid() && SeekTo(file.Get(), size) && ::SetEndOfFile(file.Get()) != 0;
}

bool MakeSparseFile(const std::string& path, const std::string& head, std::int64_t size) {
    const Handle file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file.Valid()) {
        return false;
    }
    // Without the sparse mark NTFS would keep the whole size on the disk;
    // a file system without sparse files still gets its size, only slower.
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    DWORD written = 0;
    return ::WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written,
                       nullptr) != 0 &&
           written == head.size() && SeekTo(file.Get(), size) && ::SetEndOfFile(file.Get()) != 0;
}

bool MakeSymbolicLink(const std::string& target, const std::string& name) {
    // Without the developer mode's right only an administrator may.
    constexpr DWORD kAllowUnprivileged = 0x2;
    std::string system_target = target;
    std::replace(system_target.begin(), system_target.end(), '/', '\\');
    const std::optional<std::wstring> from = WideName(system_target);
    const std::optional<std::wstring> to = WideName(name);
    return from && to && ::CreateSymbolicLinkW(to->c_str(), from->c_str(), kAllowUnprivileged) != 0;
}

namespace {

DWORD AttributesOf(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    return name ? ::GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool IsSymbolicLink(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool SymbolicLinksWork() {
    static const bool work = [] {
        char folder[MAX_PATH + 1];
        const DWORD length = ::GetTempPathA(sizeof folder, folder);
        if (length == 0 || length > MAX_PATH) {
            return false;
        }
        const std::string base =
            std::string(folder) + "korv-link-probe-" + std::to_string(::GetCurrentProcessId());
        bool readable = false;
        {
            const Handle target = Open(base + ".txt", GENERIC_WRITE, CREATE_ALWAYS);
            if (!target.Valid()) {
                return false;
            }
        }
        if (MakeSymbolicLink(base + ".txt", base + ".lnk") && IsSymbolicLink(base + ".lnk")) {
            readable = Open(base + ".lnk", GENERIC_READ, OPEN_EXISTING).Valid();
        }
        ::DeleteFileA((base + ".lnk").c_str());
        ::DeleteFileA((base + ".txt").c_str());
        return readable;
    }();
    return work;
}

std::uint32_t SettingsFor(std::uint32_t mode) {
    return ((mode & 04) == 0 ? FILE_ATTRIBUTE_HIDDEN : 0) |
           ((mode & 020) != 0 ? FILE_ATTRIBUTE_SYSTEM : 0);
}

bool GiveSettings(const std::string& path, std::uint32_t mode) {
    const std::optional<std::wstring> name = WideName(path);
    const DWORD attributes = SettingsFor(mode);
    return name && ::SetFileAttributesW(name->c_str(),
                                        attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::uint32_t SettingsOf(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes == INVALID_FILE_ATTRIBUTES
               ? attributes
               : attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool WriteAsAnotherProgram(const std::string& path, const std::string& bytes, OtherWrite how) {
    FILETIME created{};
    FILETIME accessed{};
    FILETIME written{};
    {
        const Handle old = Open(path, GENERIC_READ, OPEN_EXISTING);
        if (!old.Valid() || ::GetFileTime(old.Get(), &created, &accessed, &written) == 0) {
            return false;
        }
    }
    const std::string target =
        how == OtherWrite::kAnotherFileOfTheSameSizeAndTime ? path + ".new" : path;
    {
        const Handle file = Open(target, GENERIC_WRITE, CREATE_ALWAYS);
        DWORD done = 0;
        if (!file.Valid() ||
            ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done,
                        nullptr) == 0 ||
            done != bytes.size()) {
            return false;
        }
        if (how != OtherWrite::kOtherBytes) {
            ULARGE_INTEGER time;
            time.LowPart = written.dwLowDateTime;
            time.HighPart = written.dwHighDateTime;
            if (how == OtherWrite::kSameSizeOneTickLater) {
                time.QuadPart += 1;
            }
            written.dwLowDateTime = time.LowPart;
            written.dwHighDateTime = time.HighPart;
            if (::SetFileTime(file.Get(), &created, &accessed, &written) == 0) {
                return false;
            }
        }
    }
    if (target == path) {
        return true;
    }
    const std::optional<std::wstring> from = WideName(target);
    const std::optional<std::wstring> to = WideName(path);
    return from && to && ::MoveFileExW(from->c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::string ReadAt(const std::string& path, std::int64_t offset, std::size_t size) {
    const Handle file = Open(path, GENERIC_READ, OPEN_EXISTING);
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (!file.Valid() || !SeekTo(file.Get(), offset) ||
        ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr) == 0) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

}  // namespace korv::test
