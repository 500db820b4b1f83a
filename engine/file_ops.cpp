#include "file_ops.h"

#include <optional>
#include <string>

#include "engine_error.h"
#include "file_system.h"
#include "read_from_start.h"

// The file layer's reads and the log's writes, over the system layer's
// primitives (file_system.h); the safe save is in safe_save.cpp.

namespace korv {

namespace {

// Opens the regular file at `path` for a whole read and gives its size.
fs::File OpenWhole(const std::string& path, std::size_t& size, FileVersion* version) {
    fs::File file = fs::OpenExisting(path, fs::Access::kRead);
    if (!file.Valid()) {
        throw CannotOpenFile(path, fs::LastError());
    }
    const std::optional<fs::Facts> facts =
        fs::FactsOf(file, version != nullptr ? fs::Identity::kNeeded : fs::Identity::kNotNeeded);
    if (!facts) {
        throw CannotOpenFile(path, fs::LastError());
    }
    if (facts->kind == fs::Kind::kFolder) {
        throw CannotOpenFile(path, fs::CodeOf(fs::Failure::kIsFolder));
    }
    if (facts->kind != fs::Kind::kRegular) {
        throw CannotOpenFile(path, "It is not a regular file");
    }
    if (facts->version.size > kLargestFile) {
        throw CannotOpenFile(path, "File too large");
    }
    size = static_cast<std::size_t>(facts->version.size);
    if (version != nullptr) {
        *version = facts->version;
    }
    return file;
}

void ReadWhole(const std::string& path, const fs::File& file, char* into, std::size_t size) {
    const std::optional<std::size_t> read = ReadFromStart(file, into, size);
    if (!read) {
        throw CannotOpenFile(path, fs::LastError());
    }
    if (*read != size) {
        throw CannotOpenFile(path, "The file could not be read in full");
    }
}

// Cuts the file at `path` back to `keep` bytes (when given and shorter)
// and appends `bytes`; a failed write is cut back to where it began.
void WriteTail(const std::string& path, bool create, std::optional<std::int64_t> keep,
               std::string_view bytes) {
    fs::File file =
        create ? fs::OpenOrCreateToAppend(path) : fs::OpenExisting(path, fs::Access::kAppend);
    if (!file.Valid()) {
        throw CannotCreateFile(path, fs::LastError());
    }
    const std::optional<fs::Facts> facts = fs::FactsOf(file, fs::Identity::kNotNeeded);
    if (!facts) {
        throw CannotCreateFile(path, fs::LastError());
    }
    std::int64_t start = facts->version.size;
    if (keep && *keep < start) {
        start = *keep;
        if (!fs::Truncate(file, start)) {
            throw StreamWriteError();
        }
    }
    if (!fs::Append(file, bytes)) {
        // Leave no half line behind.
        fs::Truncate(file, start);
        throw StreamWriteError();
    }
    if (!file.Close()) {
        throw StreamWriteError();
    }
}

}  // namespace

void ReplaceWholeFile(const std::string& path, std::string_view bytes,
                      const FileVersion* unchanged_since, UndoJournal* journal) {
    ReplaceWholeFile(
        path, [bytes](ContentSink& sink) { return sink.Write(bytes); }, unchanged_since, journal);
}

std::optional<FileVersion> VersionOf(const std::string& path, bool follow_links) {
    const std::optional<fs::Facts> facts = fs::FactsAt(path, follow_links, fs::Identity::kNeeded);
    if (!facts) {
        return std::nullopt;
    }
    return facts->version;
}

std::optional<FileSize> SizeOf(const std::string& path) {
    const std::optional<fs::Facts> facts = fs::FactsAt(path, true, fs::Identity::kNotNeeded);
    if (!facts) {
        return std::nullopt;
    }
    return FileSize{facts->version.size, facts->kind == fs::Kind::kRegular};
}

std::string ReadWholeFile(const std::string& path) {
    std::size_t size = 0;
    const fs::File file = OpenWhole(path, size, nullptr);
    std::string bytes(size, '\0');
    ReadWhole(path, file, bytes.data(), size);
    return bytes;
}

std::unique_ptr<MappedFile> ReadOrMapWholeFile(const std::string& path, ByteBuffer& into,
                                               FileVersion* version) {
    // Below this size a read costs less than setting up a mapping.
    constexpr std::size_t kMapFrom = std::size_t{1} << 20;
    std::size_t size = 0;
    const fs::File file = OpenWhole(path, size, version);
    if (size >= kMapFrom) {
        if (std::unique_ptr<MappedFile> mapped = fs::MapWhole(file, size)) {
            return mapped;
        }
    }
    into.Clear();  // nothing to keep: no copy when it grows
    into.Resize(size);
    ReadWhole(path, file, into.Data(), size);
    return nullptr;
}

void AppendToFile(const std::string& path, std::string_view bytes) {
    WriteTail(path, /*create=*/false, std::nullopt, bytes);
}

void ReplaceFileTail(const std::string& path, std::int64_t keep, std::string_view bytes) {
    WriteTail(path, /*create=*/true, keep, bytes);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    const fs::File file = fs::OpenExisting(path, fs::Access::kRead);
    if (!file.Valid()) {
        return std::nullopt;
    }
    std::string head(limit, '\0');
    const std::optional<std::size_t> read = ReadFromStart(file, head.data(), limit);
    if (!read) {
        return std::nullopt;
    }
    head.resize(*read);
    return head;
}

std::optional<char> LastByteOf(const std::string& path) {
    const fs::File file = fs::OpenExisting(path, fs::Access::kRead);
    if (!file.Valid()) {
        return std::nullopt;
    }
    const std::optional<fs::Facts> facts = fs::FactsOf(file, fs::Identity::kNotNeeded);
    char last = 0;
    std::size_t got = 0;
    if (!facts || facts->kind != fs::Kind::kRegular || facts->version.size == 0 ||
        !fs::ReadAt(file, facts->version.size - 1, &last, 1, got) || got != 1) {
        return std::nullopt;
    }
    return last;
}

}  // namespace korv
