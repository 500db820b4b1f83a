#include "file_ops.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "engine_error.h"
#include "sys_calls.h"
#include "unique_handle.h"
#include "wide_names.h"

namespace korv {

namespace {

// Files of 2 GiB and more lie outside the text model's signed 32-bit lengths.
constexpr std::int64_t kLargestFile = 0x7FFFFFFF;
// The most one ReadFile or WriteFile call is asked to move.
constexpr std::size_t kChunk = 1 << 30;
// The attributes a new file can be given and a replace carries over; a
// file with any other (compressed, encrypted, sparse, ...) is written in
// place, since a new file would not have it.
constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_NORMAL |
                            FILE_ATTRIBUTE_READONLY;

// What a file is, read through an open handle.
struct FileFacts {
    FileVersion version;
    DWORD attributes = 0;
    DWORD links = 0;
};

FileFacts FactsFrom(const BY_HANDLE_FILE_INFORMATION& info, bool disk_file) {
    FileFacts facts;
    facts.version.file = {info.dwVolumeSerialNumber,
                          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    facts.version.size =
        static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    const std::uint64_t ticks = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
    facts.version.modified_ns = static_cast<std::int64_t>(ticks) * 100;  // 100 ns ticks
    facts.version.regular = disk_file && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts.attributes = info.dwFileAttributes;
    facts.links = info.nNumberOfLinks;
    return facts;
}

// Whether a query must tell which file it is. Asking costs a query of the
// volume's serial number, which Wine answers through another process (some
// hundred times the cost of the rest), so the queries that only look at a
// file's size, kind, links and attributes do without.
enum class Identity { kNeeded, kNotNeeded };

// The facts of an open file; with kNotNeeded, version.file stays {}.
bool FactsOf(HANDLE file, FileFacts& facts, Identity identity) {
    if (identity == Identity::kNeeded) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!sys::FileInformation(file, info)) {
            return false;
        }
        facts = FactsFrom(info, sys::IsDiskFile(file));
        return true;
    }
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!sys::FileInformationLessIdentity(file, basic, standard)) {
        return false;
    }
    facts = FileFacts{};
    facts.version.size = standard.EndOfFile.QuadPart;
    facts.version.modified_ns = basic.LastWriteTime.QuadPart * 100;  // 100 ns ticks
    facts.version.regular = sys::IsDiskFile(file) && !standard.Directory;
    facts.attributes = basic.FileAttributes;
    facts.links = standard.NumberOfLinks;
    return true;
}

// What the name `path` names now, without opening it for reading or
// writing (a folder or a link itself, unless `follow_links`); nullopt with
// the last error set when it cannot be asked.
std::optional<FileFacts> FactsAt(const std::wstring& path, bool follow_links, Identity identity) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    UniqueHandle file(sys::CreateFile(
        path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, flags));
    FileFacts facts;
    if (!file.Valid() || !FactsOf(file.Get(), facts, identity)) {
        return std::nullopt;
    }
    return facts;
}

bool NotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::wstring NameOrThrowOpen(const std::string& path) {
    std::optional<std::wstring> wide = WideName(path);
    if (!wide) {
        throw CannotOpenFile(path, kNameNotInCodePage);
    }
    return *wide;
}

std::wstring NameOrThrowCreate(const std::string& path) {
    std::optional<std::wstring> wide = WideName(path);
    if (!wide) {
        throw CannotCreateFile(path, kNameNotInCodePage);
    }
    return *wide;
}

// The messages with the system's text for a GetLastError code.
[[noreturn]] void ThrowOpen(const std::string& path, DWORD error) {
    throw CannotOpenFile(path, static_cast<int>(error));
}

[[noreturn]] void ThrowCreate(const std::string& path, DWORD error) {
    throw CannotCreateFile(path, static_cast<int>(error));
}

// Writes all of `bytes` at the handle's position.
bool WriteFully(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = static_cast<DWORD>(bytes.size() < kChunk ? bytes.size() : kChunk);
        DWORD done = 0;
        if (!sys::Write(file, bytes.data(), size, done) || done == 0) {
            return false;
        }
        bytes.remove_prefix(done);
    }
    return true;
}

// Reads `size` bytes from the start of `file`; false on an error (last
// error set) or an early end (last error 0).
bool ReadExactly(HANDLE file, char* into, std::size_t size) {
    if (!sys::Seek(file, 0, FILE_BEGIN)) {
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        const std::size_t left = size - done;
        DWORD got = 0;
        if (!sys::Read(file, into + done, static_cast<DWORD>(left < kChunk ? left : kChunk), got)) {
            return false;
        }
        if (got == 0) {
            ::SetLastError(0);  // an early end, not an error of the system
            return false;
        }
        done += got;
    }
    return true;
}

class HandleSink final : public ContentSink {
public:
    explicit HandleSink(HANDLE file) : file_(file) {}
    bool Write(std::string_view bytes) override { return WriteFully(file_, bytes); }

private:
    HANDLE file_;
};

class MemorySink final : public ContentSink {
public:
    explicit MemorySink(ByteBuffer& into) : into_(into) { into_.Clear(); }
    bool Write(std::string_view bytes) override {
        const std::size_t at = into_.Size();
        into_.Resize(at + bytes.size());
        if (!bytes.empty()) {
            std::copy(bytes.begin(), bytes.end(), into_.Data() + at);
        }
        return true;
    }

private:
    ByteBuffer& into_;
};

// Empties the file and writes `bytes` into it from the start.
bool PutBack(HANDLE file, std::string_view bytes) {
    return sys::Seek(file, 0, FILE_BEGIN) && sys::SetEnd(file) && WriteFully(file, bytes);
}

void CheckUnchanged(const std::string& path, const FileFacts& now,
                    const FileVersion* unchanged_since) {
    if (unchanged_since != nullptr && !(now.version == *unchanged_since)) {
        throw CannotOpenFile(path, "Another program changed it since it was read");
    }
}

// Opens an existing file for writing as the user would, sharing reads only:
// a read-only file, or one another program has open for writing, fails
// here with the system's text.
UniqueHandle OpenToWrite(const std::string& path, const std::wstring& name) {
    UniqueHandle file(sys::CreateFile(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.Valid()) {
        ThrowCreate(path, ::GetLastError());
    }
    return file;
}

// Writes the new content over the open file in place, keeping its old
// bytes to put back if the write fails, the close included.
void OverwriteInPlace(UniqueHandle file, const std::string& path, const std::wstring& name,
                      const ContentWriter& write_content, const FileVersion* unchanged_since) {
    FileFacts facts;
    if (!FactsOf(file.Get(), facts, Identity::kNotNeeded)) {
        ThrowCreate(path, ::GetLastError());
    }
    if (facts.version.size > kLargestFile) {
        ThrowCreate(path, ERROR_FILE_TOO_LARGE);
    }
    ByteBuffer old_bytes;
    old_bytes.Resize(static_cast<std::size_t>(facts.version.size));
    if (!ReadExactly(file.Get(), old_bytes.Data(), old_bytes.Size())) {
        throw StreamWriteError();
    }
    // The new content is complete before the file is emptied.
    ByteBuffer content;
    MemorySink staging(content);
    if (!write_content(staging)) {
        throw StreamWriteError();
    }
    if (unchanged_since != nullptr) {
        if (!FactsOf(file.Get(), facts, Identity::kNeeded)) {
            ThrowOpen(path, ::GetLastError());
        }
        CheckUnchanged(path, facts, unchanged_since);
    }
    if (!PutBack(file.Get(), content.View())) {
        PutBack(file.Get(), old_bytes.View());
        throw StreamWriteError();
    }
    if (!sys::Close(file.Release())) {
        UniqueHandle again(sys::CreateFile(name, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL));
        if (again.Valid()) {
            PutBack(again.Get(), old_bytes.View());
        }
        throw StreamWriteError();
    }
}

// The folder part of a path: "C:\\" for a file in a drive's root, "C:" for
// "C:name" (the drive's current folder), "." for a bare name.
std::wstring DirectoryOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : std::wstring(L".");
    }
    const bool root = slash == 0 || (slash == 2 && path[1] == L':');
    return path.substr(0, root ? slash + 1 : slash);
}

std::wstring BaseNameOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ||
        folder.back() == L':') {
        return folder + name;
    }
    return folder + L"\\" + name;
}

// A temporary file beside `target`, named so a user recognises a leftover,
// created with `attributes` (those a new file can have).
struct TempFile {
    std::wstring name;
    UniqueHandle file;
};

bool CreateTempBeside(const std::wstring& target, DWORD attributes, TempFile& temp, DWORD& error) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::wstring base = BaseNameOf(target);
    // A name must fit in 255 UTF-16 units with the dot, the marker and nine digits.
    constexpr std::size_t kRoom = 255 - 1 - kTempMarker.size() - 9;
    if (base.size() > kRoom) {
        base.resize(kRoom);
    }
    const std::wstring marker(kTempMarker.begin(), kTempMarker.end());
    const std::wstring prefix = Joined(DirectoryOf(target), L"." + base + marker);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::wstring name = prefix + std::to_wstring(random() % 1000000000ULL);
        UniqueHandle file(sys::CreateFile(name, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW,
                                          attributes & ~FILE_ATTRIBUTE_READONLY));
        if (file.Valid()) {
            temp.name = std::move(name);
            temp.file = std::move(file);
            return true;
        }
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    error = ERROR_FILE_EXISTS;
    return false;
}

// The safe write shared by saving and copying. A save (`follow_links`)
// writes through a reparse point in place; a copy replaces the link
// itself. `attributes_of` gives the attributes of a file not there yet.
void SafeWrite(const std::string& path, const ContentWriter& write_content, bool follow_links,
               std::optional<DWORD> attributes_of, const FileVersion* unchanged_since) {
    const std::wstring name = NameOrThrowCreate(path);
    const std::optional<FileFacts> existing =
        FactsAt(name, /*follow_links=*/false, Identity::kNotNeeded);
    if (!existing) {
        const DWORD error = ::GetLastError();
        if (!NotFound(error)) {
            ThrowCreate(path, error);
        }
    }
    const bool exists = existing.has_value();
    bool link = false;
    if (exists) {
        // The name's own attributes as well: not every system reports a
        // link through a handle opened on the link.
        const DWORD own = sys::AttributesOf(name);
        if (own == INVALID_FILE_ATTRIBUTES) {
            ThrowCreate(path, ::GetLastError());
        }
        link = ((existing->attributes | own) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }
    std::optional<FileFacts> target = existing;
    if (exists && !(link && !follow_links)) {
        if (link) {
            target = FactsAt(name, /*follow_links=*/true, Identity::kNotNeeded);
        }
        // A folder, or a file the user marked read-only, is never written,
        // whatever rights the program has (the system lets a privileged
        // one write through the attribute).
        if (existing->attributes & FILE_ATTRIBUTE_DIRECTORY ||
            (target && target->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
            ThrowCreate(path, ERROR_ACCESS_DENIED);
        }
        // A read-only file, or one another program is writing, stays as it is.
        UniqueHandle file = OpenToWrite(path, name);
        const bool in_place = link || !target || !target->version.regular || target->links > 1 ||
                              (target->attributes & ~kSettable) != 0;
        if (in_place) {
            // A replace would lose the link, a second name or an attribute.
            OverwriteInPlace(std::move(file), path, name, write_content, unchanged_since);
            return;
        }
    }

    const bool replace_existing = exists && !link;
    DWORD attributes = replace_existing ? (existing->attributes & kSettable)
                                        : attributes_of.value_or(FILE_ATTRIBUTE_NORMAL) & kSettable;
    if (attributes == 0) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    }
    std::string security;
    if (replace_existing && !sys::SecurityOf(name, security)) {
        // An access list we cannot read, so cannot carry over.
        OverwriteInPlace(OpenToWrite(path, name), path, name, write_content, unchanged_since);
        return;
    }
    TempFile temp;
    DWORD error = 0;
    if (!CreateTempBeside(name, attributes, temp, error)) {
        if (replace_existing) {
            // A folder we cannot create files in: the file itself is writable.
            OverwriteInPlace(OpenToWrite(path, name), path, name, write_content, unchanged_since);
            return;
        }
        ThrowCreate(path, error);
    }
    auto discard = [&temp] {
        temp.file.Reset();
        sys::Delete(temp.name);
    };
    bool written = false;
    try {
        HandleSink sink(temp.file.Get());
        written = write_content(sink);
    } catch (...) {
        discard();  // what the writer threw goes on, with no file left behind
        throw;
    }
    if (!written) {
        discard();
        throw StreamWriteError();
    }
    if (!sys::Close(temp.file.Release())) {
        sys::Delete(temp.name);
        throw StreamWriteError();
    }
    if (replace_existing && !sys::SetSecurity(temp.name, security)) {
        // An owner or access list we may not give: keep the file's own.
        sys::Delete(temp.name);
        OverwriteInPlace(OpenToWrite(path, name), path, name, write_content, unchanged_since);
        return;
    }
    if (unchanged_since != nullptr) {
        const std::optional<FileFacts> now =
            FactsAt(name, /*follow_links=*/true, Identity::kNeeded);
        if (!now) {
            const DWORD gone = ::GetLastError();
            sys::Delete(temp.name);
            ThrowOpen(path, gone);
        }
        try {
            CheckUnchanged(path, *now, unchanged_since);
        } catch (...) {
            sys::Delete(temp.name);
            throw;
        }
    }
    if (!sys::MoveReplacing(temp.name, name)) {
        const DWORD move_error = ::GetLastError();
        sys::Delete(temp.name);
        ThrowCreate(path, move_error);
    }
}

// Opens the regular file at `path` for a whole read, sharing reads but not
// writes, so it fails while another program holds it open for writing.
UniqueHandle OpenWhole(const std::string& path, std::size_t& size, FileVersion* version) {
    const std::wstring name = NameOrThrowOpen(path);
    UniqueHandle file(sys::CreateFile(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file.Valid()) {
        ThrowOpen(path, ::GetLastError());
    }
    FileFacts facts;
    if (!FactsOf(file.Get(), facts,
                 version != nullptr ? Identity::kNeeded : Identity::kNotNeeded)) {
        ThrowOpen(path, ::GetLastError());
    }
    if (!facts.version.regular) {
        throw CannotOpenFile(path, "It is not a regular file");
    }
    if (facts.version.size > kLargestFile) {
        // The POSIX layer's text: the system's own speaks of saving.
        throw CannotOpenFile(path, "File too large");
    }
    size = static_cast<std::size_t>(facts.version.size);
    if (version != nullptr) {
        *version = facts.version;
    }
    return file;
}

void ReadWhole(const std::string& path, HANDLE file, char* into, std::size_t size) {
    if (!ReadExactly(file, into, size)) {
        const DWORD error = ::GetLastError();
        if (error != 0) {
            ThrowOpen(path, error);
        }
        throw CannotOpenFile(path, "The file could not be read in full");
    }
}

// Cuts the file at `path` back to `keep` bytes (when given and shorter)
// and appends `bytes`; a failed write is cut back to where it began.
void WriteTail(const std::string& path, DWORD disposition, std::optional<std::int64_t> keep,
               std::string_view bytes) {
    const std::wstring name = NameOrThrowCreate(path);
    UniqueHandle file(
        sys::CreateFile(name, GENERIC_WRITE, FILE_SHARE_READ, disposition, FILE_ATTRIBUTE_NORMAL));
    if (!file.Valid()) {
        ThrowCreate(path, ::GetLastError());
    }
    FileFacts facts;
    if (!FactsOf(file.Get(), facts, Identity::kNotNeeded)) {
        ThrowCreate(path, ::GetLastError());
    }
    std::int64_t start = facts.version.size;
    if (keep && *keep < start) {
        start = *keep;
        if (!sys::Seek(file.Get(), start, FILE_BEGIN) || !sys::SetEnd(file.Get())) {
            throw StreamWriteError();
        }
    }
    if (!sys::Seek(file.Get(), start, FILE_BEGIN) || !WriteFully(file.Get(), bytes)) {
        // Leave no half line behind.
        if (sys::Seek(file.Get(), start, FILE_BEGIN)) {
            sys::SetEnd(file.Get());
        }
        throw StreamWriteError();
    }
    if (!sys::Close(file.Release())) {
        throw StreamWriteError();
    }
}

}  // namespace

namespace {

// What `path` names now, as FactsAt tells it; nullopt with errno set.
std::optional<FileFacts> FactsNamed(const std::string& path, bool follow_links, Identity identity) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        errno = ENOENT;  // no file can have that name here
        return std::nullopt;
    }
    std::optional<FileFacts> facts = FactsAt(*name, follow_links, identity);
    if (!facts) {
        errno = NotFound(::GetLastError()) ? ENOENT : EIO;
    }
    return facts;
}

}  // namespace

std::optional<FileVersion> VersionOf(const std::string& path, bool follow_links) {
    const std::optional<FileFacts> facts = FactsNamed(path, follow_links, Identity::kNeeded);
    if (!facts) {
        return std::nullopt;
    }
    return facts->version;
}

std::optional<FileSize> SizeOf(const std::string& path) {
    const std::optional<FileFacts> facts =
        FactsNamed(path, /*follow_links=*/true, Identity::kNotNeeded);
    if (!facts) {
        return std::nullopt;
    }
    return FileSize{facts->version.size, facts->version.regular};
}

std::string ReadWholeFile(const std::string& path) {
    std::size_t size = 0;
    UniqueHandle file = OpenWhole(path, size, nullptr);
    std::string bytes(size, '\0');
    ReadWhole(path, file.Get(), bytes.data(), size);
    return bytes;
}

// Big files are read, not mapped: one read of the whole file costs little
// more here, and a mapping cut short would need its own guard.
std::unique_ptr<MappedFile> ReadOrMapWholeFile(const std::string& path, ByteBuffer& into,
                                               FileVersion* version) {
    std::size_t size = 0;
    UniqueHandle file = OpenWhole(path, size, version);
    into.Clear();
    into.Resize(size);
    ReadWhole(path, file.Get(), into.Data(), size);
    return nullptr;
}

void ReplaceWholeFile(const std::string& path, const ContentWriter& write_content,
                      const FileVersion* unchanged_since) {
    SafeWrite(path, write_content, /*follow_links=*/true, std::nullopt, unchanged_since);
}

std::unique_ptr<StagedReplacement> StageReplacement(const std::string&,
                                                    const ContentWriter&) noexcept {
    // Not staged here: each save is written when its pass commits.
    return nullptr;
}

void AppendToFile(const std::string& path, std::string_view bytes) {
    WriteTail(path, OPEN_EXISTING, std::nullopt, bytes);
}

void ReplaceFileTail(const std::string& path, std::int64_t keep, std::string_view bytes) {
    WriteTail(path, OPEN_ALWAYS, keep, bytes);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        return std::nullopt;
    }
    const UniqueHandle file(sys::CreateFile(*name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.Valid()) {
        return std::nullopt;
    }
    std::string head(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        DWORD done = 0;
        if (!sys::Read(file.Get(), head.data() + got, static_cast<DWORD>(limit - got), done)) {
            return std::nullopt;
        }
        if (done == 0) {
            break;
        }
        got += done;
    }
    head.resize(got);
    return head;
}

std::optional<char> LastByteOf(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        return std::nullopt;
    }
    UniqueHandle file(sys::CreateFile(*name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    FileFacts facts;
    char last = 0;
    DWORD got = 0;
    if (!file.Valid() || !FactsOf(file.Get(), facts, Identity::kNotNeeded) ||
        !facts.version.regular || facts.version.size == 0 ||
        !sys::Seek(file.Get(), facts.version.size - 1, FILE_BEGIN) ||
        !sys::Read(file.Get(), &last, 1, got) || got != 1) {
        return std::nullopt;
    }
    return last;
}

bool CopyWholeFile(const std::string& from, const std::string& to) noexcept {
    try {
        const std::optional<std::wstring> name = WideName(from);
        if (!name) {
            return false;
        }
        const std::optional<FileFacts> source =
            FactsAt(*name, /*follow_links=*/true, Identity::kNotNeeded);
        if (!source) {
            return false;
        }
        const std::string content = ReadWholeFile(from);
        // The copy is no more read-only than a fresh file: the next backup
        // must be able to replace it.
        SafeWrite(
            to, [&](ContentSink& sink) { return sink.Write(content); },
            /*follow_links=*/false, source->attributes & ~FILE_ATTRIBUTE_READONLY, nullptr);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace korv
