#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korv {

// A filename list file: one path per line, read and written with the line
// model of every text file (lines split at CR, LF or CR LF, ended by the
// first NUL byte, written back with CR LF after each).

// The entries of the list file at `path`. Throws EngineError
// "Cannot open file ..." when it cannot be read.
[[nodiscard]] std::vector<std::string> LoadFilenameList(const std::string& path);
// The entries of a list given as its bytes (a list read from a pipe).
[[nodiscard]] std::vector<std::string> FilenameListEntries(std::string_view text);
// Writes `entries` as the list file at `path`; a failed save leaves the
// file as it was. Throws EngineError.
void SaveFilenameList(const std::string& path, const std::vector<std::string>& entries);

}  // namespace korv
