#include "line_breaks.h"
#include "utf16_text.h"
#include "wide_names.h"

namespace korv {

LineBreaks DefaultLineBreaks() {
    return LineBreaks::CrLf;
}

std::string_view NativeLineBreak() {
    return "\r\n";
}

std::optional<std::u16string> Utf16OfProgramText(std::string_view text) {
    // The program's text is in the active code page: the ANSI one, or
    // UTF-8 where a program declares it and the system honours that.
    const std::optional<std::wstring> wide = WideText(text);
    if (!wide) {
        return std::nullopt;
    }
    return std::u16string(wide->begin(), wide->end());
}

}  // namespace korv
