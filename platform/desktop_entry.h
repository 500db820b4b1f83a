#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv::platform {

// Reading the desktop's own files: desktop entries ("*.desktop") and the
// lists of default applications ("mimeapps.list", "mimeinfo.cache"), which
// share one layout of "[Group]" headers and "key=value" lines.

// The raw value of `key` in `group`, or nothing when either is missing.
// Keys are matched exactly, so "Name[de]" is not "Name"; the first line of
// a key counts.
[[nodiscard]] std::optional<std::string> DesktopFileValue(std::string_view file_text,
                                                          std::string_view group,
                                                          std::string_view key);

// A list value ("a.desktop;b.desktop;") split at its semicolons, empty
// items dropped.
[[nodiscard]] std::vector<std::string> SplitDesktopList(std::string_view value);

// Turns the Exec value of a desktop entry into the program and its
// arguments for opening the file at `path`: the general escapes (\s \n \t
// \r \\) and the quoting of arguments are undone, %f and %F become the
// path, %u and %U its file address, %% a percent sign; the other field
// codes are dropped. When the line holds no file code, the path is added
// as the last argument. Nothing when the line is empty or badly quoted.
[[nodiscard]] std::optional<std::vector<std::string>> ExecCommandFor(std::string_view exec,
                                                                     const std::string& path);

// "file://" and the path with every byte outside the unreserved characters
// and "/" percent-encoded.
[[nodiscard]] std::string FileAddress(const std::string& path);

}  // namespace korv::platform
