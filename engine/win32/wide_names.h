#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korv {

// The UTF-16 form of a name given in the active ANSI code page, as the W
// calls take it; nullopt for bytes that are no text of that code page, and
// for a '?', which a conversion puts where the code page had no character
// (a name the code page cannot hold), so that such a name never reaches
// another file that happens to match the substitute.
[[nodiscard]] std::optional<std::wstring> WideName(const std::string& ansi);

// The UTF-16 form of any text in the active code page; nullopt for bytes
// that are no text of it.
[[nodiscard]] std::optional<std::wstring> WideText(std::string_view ansi);

// The text for why a name is refused by WideName.
extern const char* const kNameNotInCodePage;
// The error code of the file layer for such a name: one of this program's
// own (bit 29 set), which SystemErrorText tells as kNameNotInCodePage.
inline constexpr int kNameNotInCodePageError = 0x20000000 | 0x4B6E;

}  // namespace korv
