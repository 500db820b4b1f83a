#include "line_breaks.h"

#include <cctype>
#include <string>

namespace korv {

std::optional<LineBreaks> ParseLineBreaks(std::string_view name) {
    std::string lower;
    for (const char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower == "keep") {
        return LineBreaks::Keep;
    }
    if (lower == "crlf") {
        return LineBreaks::CrLf;
    }
    return std::nullopt;
}

}  // namespace korv
