#include "utf16_text.h"

#include <algorithm>
#include <cstdint>

namespace korv {

namespace {

// Bytes of the unit text that one unit takes, told by its first byte.
std::size_t UnitLength(unsigned char first) {
    return first < 0x80 ? 1 : first < 0xE0 ? 2 : 3;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A unit is written as UTF-8 writes a character below 0x10000, a
// surrogate too.
void AppendUnit(std::string& out, char16_t unit) {
    AppendUtf8(out, unit);
}

// The unit whose `length` bytes of unit text start at `bytes`.
char16_t UnitAt(const char* bytes, std::size_t length) {
    const auto byte = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (length == 1) {
        return byte(0);
    }
    if (length == 2) {
        return static_cast<char16_t>(((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F));
    }
    return static_cast<char16_t>(((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) |
                                 (byte(2) & 0x3F));
}

void AppendFileUnit(std::string& out, char16_t unit, TextEncoding encoding) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    if (encoding == TextEncoding::Utf16Le) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

// Appends the UTF-16 bytes of the whole units in `unit_text` to `out`;
// returns how many bytes of it that took (a unit cut off at the end is
// left over).
std::size_t AppendFileBytes(std::string& out, std::string_view unit_text, TextEncoding encoding) {
    std::size_t at = 0;
    while (at < unit_text.size()) {
        const std::size_t length = UnitLength(static_cast<unsigned char>(unit_text[at]));
        if (unit_text.size() - at < length) {
            break;
        }
        AppendFileUnit(out, UnitAt(unit_text.data() + at, length), encoding);
        at += length;
    }
    return at;
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

TextEncoding EncodingOf(std::string_view bytes) {
    if (bytes.size() >= 2) {
        const auto first = static_cast<unsigned char>(bytes[0]);
        const auto second = static_cast<unsigned char>(bytes[1]);
        if (first == 0xFF && second == 0xFE) {
            return TextEncoding::Utf16Le;
        }
        if (first == 0xFE && second == 0xFF) {
            return TextEncoding::Utf16Be;
        }
    }
    return TextEncoding::Bytes;
}

const char* Utf16Refusal(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return "It starts with a UTF-16 byte-order mark but holds an odd number of bytes, so it is "
               "no UTF-16 text";
    }
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        if (bytes[at] == '\0' && bytes[at + 1] == '\0') {
            return "It is UTF-16 text holding a NUL character, so it may be no plain text file";
        }
    }
    return nullptr;
}

void UnitTextOfFile(std::string_view bytes, TextEncoding encoding, std::string& unit_text) {
    unit_text.clear();
    unit_text.reserve(bytes.size());
    const bool little = encoding == TextEncoding::Utf16Le;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        AppendUnit(unit_text,
                   static_cast<char16_t>(little ? (second << 8) | first : (first << 8) | second));
    }
}

std::string FileBytesOfUnitText(std::string_view unit_text, TextEncoding encoding) {
    std::string bytes;
    bytes.reserve(unit_text.size() * 2);
    AppendFileBytes(bytes, unit_text, encoding);
    return bytes;
}

std::string UnitTextOf(std::u16string_view units) {
    std::string text;
    text.reserve(units.size());
    for (const char16_t unit : units) {
        AppendUnit(text, unit);
    }
    return text;
}

std::optional<std::u16string> Utf16OfUtf8(std::string_view utf8) {
    std::u16string units;
    units.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t least = 0;  // the smallest character of that length: no overlong forms
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (utf8.size() - at < length) {
            return std::nullopt;
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(utf8[at + i]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return std::nullopt;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            units += static_cast<char16_t>(0xD800 | (code >> 10));
            units += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
        at += length;
    }
    return units;
}

std::string Utf8OfUnitText(std::string_view unit_text) {
    std::u16string units;
    units.reserve(unit_text.size());
    for (std::size_t at = 0; at < unit_text.size();) {
        const std::size_t length = UnitLength(static_cast<unsigned char>(unit_text[at]));
        if (unit_text.size() - at < length) {
            break;
        }
        units += UnitAt(unit_text.data() + at, length);
        at += length;
    }
    std::string utf8;
    utf8.reserve(unit_text.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(utf8, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                 (static_cast<char32_t>(units[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(utf8, 0xFFFD);
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    return utf8;
}

bool Utf16Sink::Write(std::string_view unit_text) {
    std::string bytes;
    bytes.reserve((pending_.size() + unit_text.size()) * 2);
    if (!pending_.empty()) {
        // Complete the unit the last write cut off.
        const std::size_t wanted = UnitLength(static_cast<unsigned char>(pending_[0]));
        const std::size_t taken = std::min(wanted - pending_.size(), unit_text.size());
        pending_.append(unit_text.substr(0, taken));
        unit_text.remove_prefix(taken);
        if (pending_.size() < wanted) {
            return true;
        }
        AppendFileBytes(bytes, pending_, encoding_);
        pending_.clear();
    }
    const std::size_t done = AppendFileBytes(bytes, unit_text, encoding_);
    pending_.assign(unit_text.substr(done));
    return sink_.Write(bytes);
}

}  // namespace korv
