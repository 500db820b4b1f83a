#pragma once

#include <string>
#include <string_view>

namespace korv::cli {

// A unified diff with three lines of context from `before` to `after`,
// both named `path`, that `patch` applies byte for byte: lines end after
// each LF as patch reads them, so a CR before it is part of the line and a
// change of line breaks shows as a change of the line. Empty when the two
// are equal. With `colour`, terminal colours mark the headers, the hunks
// and the removed and added lines.
[[nodiscard]] std::string UnifiedDiff(const std::string& path, std::string_view before,
                                      std::string_view after, bool colour);

}  // namespace korv::cli
