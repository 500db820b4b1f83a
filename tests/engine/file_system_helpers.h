#pragma once

// What the shared file-layer tests ask of the system, each with a POSIX and
// a Windows side (posix/ and win32/file_system_helpers.cpp): which file a
// name is, its size and links, sparse files.

#include <cstdint>
#include <string>

#include "file_ops.h"

namespace korv::test {

// The system's texts for a name whose file, or whose folder, is missing,
// as the layer puts them after a failure's message.
[[nodiscard]] std::string MissingFileText();
[[nodiscard]] std::string MissingFolderText();
// `relative` (with slashes) inside `folder`, as the system writes a path.
[[nodiscard]] std::string InFolder(const std::string& folder, const std::string& relative);

// Whether loading maps big files (POSIX) rather than reading them whole
// (Windows).
extern const bool kBigFilesMapped;
// Whether the layer syncs a folder after changing its names (POSIX); on
// Windows the file system journals names on its own.
extern const bool kFolderNamesSynced;
// Whether an installed program keeps a user's files in the XDG folders
// (POSIX) rather than under %APPDATA% (Windows).
extern const bool kXdgUserFolders;

// Which file `path` names now, not following a link; {} when none.
[[nodiscard]] FileIdentity IdentityOf(const std::string& path);
// The size of the file at `path`; -1 when there is none.
[[nodiscard]] std::int64_t SizeOf(const std::string& path);
// How many names the file at `path` has; 0 when there is none.
[[nodiscard]] int LinkCountOf(const std::string& path);

// Gives the file at `existing` the second name `name`.
bool MakeHardLink(const std::string& existing, const std::string& name);
// Marks the file at `path` read-only (no one's to write), and tells
// whether it is.
bool MakeReadOnly(const std::string& path);
[[nodiscard]] bool IsReadOnly(const std::string& path);
// Cuts (or extends) the file at `path` to `size` bytes.
bool CutFile(const std::string& path, std::int64_t size);
// Creates (or replaces) `path` as a file of `size` bytes whose first bytes
// are `head`, taking no disk space for the rest.
bool MakeSparseFile(const std::string& path, const std::string& head, std::int64_t size);
// Makes `name` a symbolic link to `target`.
bool MakeSymbolicLink(const std::string& target, const std::string& name);

// Whether `path` is a symbolic link itself.
[[nodiscard]] bool IsSymbolicLink(const std::string& path);
// Whether this system's symbolic links are links the layer can save
// through (Wine's are not reparse points, so no Windows program sees them
// as links); when not, cases of saving through one do not apply.
[[nodiscard]] bool SymbolicLinksWork();

// The settings of a file that a safe save must keep, given as POSIX mode
// bits: on POSIX the mode itself; on Windows attributes standing in for
// it (hidden where others may not read, system where the group may write).
// SettingsOf tells them back in the system's own form, so a test compares
// it with SettingsFor the mode it gave.
bool GiveSettings(const std::string& path, std::uint32_t mode);
[[nodiscard]] std::uint32_t SettingsOf(const std::string& path);
[[nodiscard]] std::uint32_t SettingsFor(std::uint32_t mode);

// How another program writes a file between its load and its save.
enum class OtherWrite {
    kOtherBytes,
    // The same size, last written one step of the file system's clock
    // later (a nanosecond on POSIX, 100 on Windows).
    kSameSizeOneTickLater,
    // Another file, of the old one's size and time, renamed over it.
    kAnotherFileOfTheSameSizeAndTime
};
// Writes `bytes` to `path` as another program would (not through the
// engine's layer); unless `how` writes other bytes only, the result gets
// the size and time the file had before.
bool WriteAsAnotherProgram(const std::string& path, const std::string& bytes, OtherWrite how);

// `size` bytes of `path` from `offset`.
[[nodiscard]] std::string ReadAt(const std::string& path, std::int64_t offset, std::size_t size);

}  // namespace korv::test
