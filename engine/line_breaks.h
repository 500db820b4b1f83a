#pragma once

#include <optional>
#include <string_view>

namespace korv {

// How a run writes a file it changed.
enum class LineBreaks {
    // Every byte outside the occurrences stays as it was: the file's own
    // line breaks, a missing final break, a byte-order mark.
    Keep,
    // The line model's rewrite: every line followed by CR LF.
    CrLf,
};

// The way a changed file is written where nothing says otherwise: kept on
// POSIX systems, where a CR LF breaks scripts and shows as a change of
// every line; CR LF on Windows, where every program reads it.
[[nodiscard]] LineBreaks DefaultLineBreaks();
// The line break this system's text files use, written for a line break
// of the replacement text in a file that has none of its own.
[[nodiscard]] std::string_view NativeLineBreak();

// "keep" or "crlf", in any letter case; nullopt for anything else.
[[nodiscard]] std::optional<LineBreaks> ParseLineBreaks(std::string_view name);

}  // namespace korv
