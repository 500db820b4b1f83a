#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korv::behaviour {

// The text typed into the file list to find an entry by its beginning: a
// character starts a new text after a pause of 500 ms or more, Backspace
// takes the last one back.
class PrefixTyping {
public:
    // Adds the bytes of one character typed at `now_ms`; returns the text.
    std::string Type(std::string_view character, std::int64_t now_ms);
    // Removes the last character (typed at `now_ms`) and returns the rest.
    std::string Backspace(std::int64_t now_ms);

private:
    static constexpr std::int64_t kPauseMs = 500;
    [[nodiscard]] std::string Typed() const;

    // Each character's bytes, so Backspace takes a whole one back.
    std::vector<std::string> typed_;
    std::int64_t last_ms_ = 0;
    bool any_ = false;
};

// The first of `entries` that begins with `prefix`, ASCII letter case
// ignored; -1 when none does or the prefix is empty.
[[nodiscard]] int FindPrefix(const std::vector<std::string>& entries, std::string_view prefix);

}  // namespace korv::behaviour
