#pragma once

// Big texts for the tests of files past the size where loading maps them.

#include <cstddef>
#include <string>
#include <string_view>

namespace korv::test {

inline constexpr std::size_t kBig = std::size_t{3} << 20;  // well past the mapping threshold

// CR LF lines of numbered words, `size` bytes or a little more.
inline std::string BigText(std::size_t size, std::string_view line_break = "\r\n") {
    std::string text;
    text.reserve(size + 64);
    for (int i = 0; text.size() < size; ++i) {
        text += "line " + std::to_string(i) + " of a big file";
        text += line_break;
    }
    return text;
}

// Reads every byte, as a search would.
inline unsigned long TouchAll(std::string_view text) {
    unsigned long sum = 0;
    for (char c : text) {
        sum += static_cast<unsigned char>(c);
    }
    return sum;
}

}  // namespace korv::test
