#pragma once

#include <string>
#include <string_view>

namespace korv::win32 {

// `wide` as bytes of `code_page`, without best-fit look-alikes: false when
// some character has no form there (those then stand as "?", which no file
// name may hold, so such a name can never open another file).
[[nodiscard]] bool ToCodePage(std::wstring_view wide, unsigned code_page, std::string& bytes);
// The same in the ANSI code page, the code page of the program's text.
[[nodiscard]] bool ToAnsi(std::wstring_view wide, std::string& bytes);
// The path `wide` in the ANSI code page; an existing file or folder whose
// name the code page cannot spell by its short name, where the volume keeps
// short names. Failing both, unspellable characters stand as "?", which no
// file name may hold, so the path then fails to open rather than another
// file opening in its place.
[[nodiscard]] std::string AnsiPath(const std::wstring& wide);

}  // namespace korv::win32
