#pragma once

#include <string>
#include <string_view>

#include "replace_context.h"

namespace korv {

// The parts of a path that the file-name variables stand for. Separators
// are the slash on POSIX; the backslash and the colon on Windows builds.
[[nodiscard]] std::string FileDirPart(std::string_view path);
[[nodiscard]] std::string FileNamePart(std::string_view path);
// The extension part with its dot, or the empty text.
[[nodiscard]] std::string FileExtPart(std::string_view path);

// Turns an extension part into the value of "$fileext": the dot (its first
// byte) becomes a blank, then leading bytes 0 to 32 are dropped.
[[nodiscard]] std::string FileExt(std::string_view extension_part);
// The file-name part without its extension, the value of "$file".
[[nodiscard]] std::string FileNameNoExt(std::string_view path);

// Expands "$fullfilename", "$filedir", "$fileext", "$filename" and "$file",
// in this order, in `text` for the file at `path`, each through an unlogged
// ReplaceStr (so the tokens follow the case option). Values inserted by one
// step are never expanded again by a later one.
[[nodiscard]] std::string ExpandFileVariables(ReplaceContext& ctx, std::string_view text,
                                              std::string_view path);

}  // namespace korv
