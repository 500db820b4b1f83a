#include "file_system.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_fault.h"
#include "mapped_file.h"
#include "sys_calls.h"
#include "unique_handle.h"
#include "wide_names.h"

namespace korv::fs {

namespace {

using sys::Injected;

// The most one ReadFile or WriteFile call is asked to move.
constexpr std::size_t kChunk = std::size_t{1} << 30;
// The attributes a new file can be given and a replace carries over; a
// file with any other (compressed, encrypted, sparse, a reparse point, ...)
// is written in place, since a new file would not have it.
constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_NORMAL |
                            FILE_ATTRIBUTE_READONLY;
// What an open to write at the end asks: all of GENERIC_WRITE, since
// FILE_APPEND_DATA alone may neither cut back a failed write nor flush, so
// Append finds the end itself; FILE_READ_ATTRIBUTES lets FactsOf read the
// size.
constexpr DWORD kAppendAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
// The owner, group and access list a replace carries over.
constexpr SECURITY_INFORMATION kCarried =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// Which of Facts::standing holds what.
enum Standing { kAttributes, kChangeTime, kLastWriteTime };

HANDLE Handle(const File& file) {
    return reinterpret_cast<HANDLE>(file.Get());
}

DWORD AttributesIn(const Facts& facts) {
    return static_cast<DWORD>(facts.standing[kAttributes]);
}

// The wide form of `path`, or nullopt with the last error saying why.
std::optional<std::wstring> Wide(const std::string& path) {
    std::optional<std::wstring> wide = WideName(path);
    if (!wide) {
        ::SetLastError(static_cast<DWORD>(kNameNotInCodePageError));
    }
    return wide;
}

// Closes `handle`, keeping the last error of the call that failed before.
void CloseAfterFailure(UniqueHandle& handle) {
    const DWORD error = ::GetLastError();
    handle.Reset();
    ::SetLastError(error);
}

UniqueHandle OpenHandle(const std::wstring& name, DWORD access, DWORD share, DWORD disposition,
                        DWORD flags) {
    return UniqueHandle(
        ::CreateFileW(name.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

// Opens `path` as CreateFileW would; an invalid File, the last error set,
// on failure.
File Opened(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const std::optional<std::wstring> name = Wide(path);
    if (!name) {
        return {};
    }
    UniqueHandle handle = OpenHandle(*name, access, share, disposition, flags);
    if (!handle.Valid()) {
        return {};
    }
    return File(reinterpret_cast<File::Native>(handle.Release()), path);
}

Kind KindOf(DWORD attributes, bool link, bool disk_file) {
    if (link) {
        return Kind::kLink;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Kind::kFolder;
    }
    return disk_file ? Kind::kRegular : Kind::kOther;
}

// Which file the handle is, its size and its links. The volume's serial
// number costs a query that Wine answers through another process (some
// hundred times the cost of the rest), so only kNeeded asks for it.
bool SizeAndLinks(HANDLE handle, Identity identity, Facts& facts) {
    if (identity == Identity::kNeeded) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(handle, &info) == 0) {
            return false;
        }
        facts.version.file = {info.dwVolumeSerialNumber,
                              (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
        facts.version.size = static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) |
                                                       info.nFileSizeLow);
        facts.links = info.nNumberOfLinks;
        return true;
    }
    FILE_STANDARD_INFO standard{};
    if (::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) == 0) {
        return false;
    }
    facts.version.size = standard.EndOfFile.QuadPart;
    facts.links = standard.NumberOfLinks;
    return true;
}

// The facts of an open handle; `unfollowed` when it was opened on a reparse
// point itself, which is then a link.
std::optional<Facts> FactsOfHandle(HANDLE handle, Identity identity, bool unfollowed) {
    FILE_BASIC_INFO basic{};
    Facts facts;
    if (::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) == 0 ||
        !SizeAndLinks(handle, identity, facts)) {
        return std::nullopt;
    }
    const DWORD attributes = basic.FileAttributes;
    facts.version.modified_ns = basic.LastWriteTime.QuadPart * 100;  // 100 ns ticks
    facts.kind = KindOf(attributes, unfollowed && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                        ::GetFileType(handle) == FILE_TYPE_DISK);
    facts.version.regular = facts.kind == Kind::kRegular;
    // Changing the security or the attributes moves the change time.
    facts.standing[kAttributes] = attributes;
    facts.standing[kChangeTime] = basic.ChangeTime.QuadPart;
    facts.standing[kLastWriteTime] = basic.LastWriteTime.QuadPart;
    return facts;
}

// Marks the facts of the name `name` a link when the name itself is a
// reparse point: not every system reports one through a handle opened on
// it. False, the last error set, when the name cannot be asked.
bool NoteOwnReparsePoint(const std::wstring& name, Facts& facts) {
    if (facts.kind == Kind::kLink) {
        return true;
    }
    const DWORD own = ::GetFileAttributesW(name.c_str());
    if (own == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if ((own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        facts.kind = Kind::kLink;
        facts.version.regular = false;
    }
    return true;
}

OVERLAPPED At(std::int64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return at;
}

DWORD ChunkOf(std::size_t size) {
    return static_cast<DWORD>(size < kChunk ? size : kChunk);
}

bool SeekTo(HANDLE handle, std::int64_t offset, DWORD from) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return ::SetFilePointerEx(handle, distance, nullptr, from) != 0;
}

// Writes all of `bytes`, at `offset` or, when `offset` is negative, at the
// end of the file.
bool WriteAll(const File& file, std::int64_t offset, std::string_view bytes) {
    const FileCallDetail detail{file.Path(), {}, offset, bytes, offset < 0};
    if (Injected(FileCall::kWrite, detail)) {
        return false;
    }
    const HANDLE handle = Handle(file);
    // Nobody else may write the file (its sharing allows reads only), so the
    // end found here stays the end.
    if (offset < 0 && !SeekTo(handle, 0, FILE_END)) {
        return false;
    }
    for (std::size_t done = 0; done < bytes.size();) {
        OVERLAPPED at = At(offset < 0 ? 0 : offset + static_cast<std::int64_t>(done));
        DWORD written = 0;
        if (::WriteFile(handle, bytes.data() + done, ChunkOf(bytes.size() - done), &written,
                        offset < 0 ? nullptr : &at) == 0) {
            return false;
        }
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

// The owner, group and access list of the file `path`, as a self-relative
// security descriptor; empty, the last error set, on failure.
std::vector<unsigned char> SecurityOf(const std::wstring& path) {
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), kCarried, nullptr, 0, &needed);
    if (needed == 0) {
        return {};
    }
    std::vector<unsigned char> descriptor(needed);
    if (::GetFileSecurityW(path.c_str(), kCarried, descriptor.data(), needed, &needed) == 0) {
        return {};
    }
    return descriptor;
}

// FactsAt, less the errno.
std::optional<Facts> FactsOfName(const std::string& path, bool follow_links, Identity identity) {
    if (Injected(FileCall::kStatus, {path})) {
        return std::nullopt;
    }
    const std::optional<std::wstring> name = Wide(path);
    if (!name) {
        return std::nullopt;
    }
    // Opened to ask only: no access, so no other program's sharing stands
    // in the way; a folder, or a link itself, opens too.
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    UniqueHandle handle = OpenHandle(
        *name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, flags);
    if (!handle.Valid()) {
        return std::nullopt;
    }
    std::optional<Facts> facts = FactsOfHandle(handle.Get(), identity, !follow_links);
    if (!facts || (!follow_links && !NoteOwnReparsePoint(*name, *facts))) {
        CloseAfterFailure(handle);
        return std::nullopt;
    }
    return facts;
}

}  // namespace

int LastError() {
    return static_cast<int>(::GetLastError());
}

bool Is(int error, Failure failure) {
    const auto code = static_cast<DWORD>(error);
    switch (failure) {
        case Failure::kNotFound:
            // A name the code page cannot hold names no file here.
            return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                   error == kNameNotInCodePageError;
        case Failure::kExists:
            return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
        case Failure::kIsFolder:
            return code == ERROR_ACCESS_DENIED;
    }
    return false;
}

int CodeOf(Failure failure) {
    switch (failure) {
        case Failure::kNotFound:
            return ERROR_FILE_NOT_FOUND;
        case Failure::kExists:
            return ERROR_FILE_EXISTS;
        case Failure::kIsFolder:
            // What opening a folder as a file fails with.
            return ERROR_ACCESS_DENIED;
    }
    return ERROR_GEN_FAILURE;
}

bool File::Close() {
    if (native_ == kNone) {
        return true;
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(std::exchange(native_, kNone));
    if (Injected(FileCall::kClose, {path_})) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(handle);
        ::SetLastError(error);
        return false;
    }
    return ::CloseHandle(handle) != 0;
}

std::optional<Facts> FactsAt(const std::string& path, bool follow_links, Identity identity) {
    std::optional<Facts> facts = FactsOfName(path, follow_links, identity);
    if (!facts) {
        // VersionOf and SizeOf (file_ops.h) tell their callers why in errno,
        // as the C library would.
        const DWORD error = ::GetLastError();
        errno = Is(static_cast<int>(error), Failure::kNotFound) ? ENOENT : EIO;
        ::SetLastError(error);
    }
    return facts;
}

std::optional<Facts> FactsOf(const File& file, Identity identity) {
    if (Injected(FileCall::kStatus, {file.Path()})) {
        return std::nullopt;
    }
    return FactsOfHandle(Handle(file), identity, false);
}

LinkTarget TargetOfLink(const std::string&) {
    // Opened by its name, a reparse point leads to its target: a save
    // writes through it in place. Nothing is asked of the system here.
    return {LinkTarget::Way::kWriteThrough, {}};
}

bool MayWrite(const std::string& path, const Facts& facts) {
    if (Injected(FileCall::kAccess, {path})) {
        return false;
    }
    // A folder, or a file the user marked read-only, is never written,
    // whatever rights the program has (the system lets a privileged one
    // write through the attribute).
    if ((AttributesIn(facts) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Nor one another program has open for writing (a sharing violation),
    // or whose access list denies us: the open a write in place makes fails.
    const std::optional<std::wstring> name = Wide(path);
    return name && OpenHandle(*name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL)
                       .Valid();
}

bool ReplaceCanKeepAll(const Facts& facts) {
    // A second name would go on naming the old file; an attribute a new
    // file cannot be given (a reparse point among them) would be lost.
    return facts.kind == Kind::kRegular && facts.links == 1 &&
           (AttributesIn(facts) & ~kSettable) == 0;
}

File OpenExisting(const std::string& path, Access access) {
    if (Injected(FileCall::kOpen, {path})) {
        return {};
    }
    // Sharing reads only: a file another program writes fails to open, and
    // none can write it while it is open here.
    switch (access) {
        case Access::kRead:
            return Opened(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
        case Access::kUpdate:
            return Opened(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL);
        case Access::kAppend:
            return Opened(path, kAppendAccess, FILE_SHARE_READ, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL);
    }
    return {};
}

File CreateNew(const std::string& path, const Facts* like) {
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    // Never read-only: this user writes it next, and a backup must be
    // replaceable by the next one.
    DWORD attributes =
        like != nullptr ? AttributesIn(*like) & kSettable & ~FILE_ATTRIBUTE_READONLY : 0;
    if (attributes == 0) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    }
    return Opened(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, attributes);
}

File OpenToOverwrite(const std::string& path) {
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    return Opened(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL);
}

File OpenOrCreateToAppend(const std::string& path) {
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    return Opened(path, kAppendAccess, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

std::unique_ptr<MappedFile> MapWhole(const File&, std::size_t) {
    // A file with a view mapped cannot be replaced: a big file is read.
    return nullptr;
}

bool ReadAt(const File& file, std::int64_t offset, char* into, std::size_t size, std::size_t& got) {
    got = 0;
    if (Injected(FileCall::kRead, {file.Path()})) {
        return false;
    }
    OVERLAPPED at = At(offset);
    DWORD done = 0;
    if (::ReadFile(Handle(file), into, ChunkOf(size), &done, &at) == 0) {
        // Asked at an offset at or past the end, ReadFile fails so: that is
        // the end, not an error.
        return ::GetLastError() == ERROR_HANDLE_EOF;
    }
    got = done;
    return true;
}

bool WriteAt(const File& file, std::int64_t offset, std::string_view bytes) {
    return WriteAll(file, offset, bytes);
}

bool Append(const File& file, std::string_view bytes) {
    return WriteAll(file, -1, bytes);
}

bool Truncate(const File& file, std::int64_t length) {
    return !Injected(FileCall::kTruncate, {file.Path(), {}, length}) &&
           SeekTo(Handle(file), length, FILE_BEGIN) && ::SetEndOfFile(Handle(file)) != 0;
}

void StartWriteback(const File&) {
    // Windows has no call to start it without waiting for it.
}

void LetGoOfCache(const std::string&) {
    // Windows ages a file's pages out of its standby list on its own.
}

bool SyncData(const File& file) {
    return !Injected(FileCall::kSyncData, {file.Path()}) && ::FlushFileBuffers(Handle(file)) != 0;
}

bool SyncFolder(const std::string&) {
    // NTFS journals its names, and ReplaceName moves with write-through:
    // a name is on the disk once the call that changed it returns.
    return true;
}

bool CarryOver(const std::string& from, const Facts&, const std::string& to) {
    // The attributes were given when `to` was created.
    if (Injected(FileCall::kCarryOver, {to})) {
        return false;
    }
    const std::optional<std::wstring> source = Wide(from);
    const std::optional<std::wstring> target = Wide(to);
    if (!source || !target) {
        return false;
    }
    std::vector<unsigned char> descriptor = SecurityOf(*source);
    return !descriptor.empty() &&
           ::SetFileSecurityW(target->c_str(), kCarried, descriptor.data()) != 0;
}

bool ReplaceName(const std::string& from, const std::string& to) {
    if (Injected(FileCall::kReplaceName, {from, to})) {
        return false;
    }
    const std::optional<std::wstring> source = Wide(from);
    const std::optional<std::wstring> target = Wide(to);
    return source && target &&
           ::MoveFileExW(source->c_str(), target->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Remove(const std::string& path) {
    (void)InjectedFault(FileCall::kRemove, {path});
    const std::optional<std::wstring> name = Wide(path);
    return name && ::DeleteFileW(name->c_str()) != 0;
}

bool RemoveFolder(const std::string& path) {
    (void)InjectedFault(FileCall::kRemove, {path});
    const std::optional<std::wstring> name = Wide(path);
    return name && ::RemoveDirectoryW(name->c_str()) != 0;
}

bool MakeLink(const std::string& existing, const std::string& name) {
    if (Injected(FileCall::kLink, {existing, name})) {
        return false;
    }
    const std::optional<std::wstring> from = Wide(existing);
    const std::optional<std::wstring> to = Wide(name);
    return from && to && ::CreateHardLinkW(to->c_str(), from->c_str(), nullptr) != 0;
}

bool TryLock(const File& file) {
    if (Injected(FileCall::kLock, {file.Path()})) {
        return false;
    }
    OVERLAPPED whole{};
    return ::LockFileEx(Handle(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                        MAXDWORD, MAXDWORD, &whole) != 0;
}

bool SavesFinishAside() {
    // A file another handle has open cannot be replaced.
    return false;
}

}  // namespace korv::fs
