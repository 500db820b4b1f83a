#include "line_breaks.h"
#include "utf16_text.h"

namespace korv {

LineBreaks DefaultLineBreaks() {
    return LineBreaks::Keep;
}

std::string_view NativeLineBreak() {
    return "\n";
}

std::optional<std::u16string> Utf16OfProgramText(std::string_view text) {
    return Utf16OfUtf8(text);
}

}  // namespace korv
