#include "glob_match.h"

#include <cstddef>

namespace korv {

namespace {

// Matches the set that opens at pattern[p] ("[") against `c`. Returns the
// position after the set, or npos when the "[" opens no set (it is then
// an ordinary byte).
std::size_t MatchSet(std::string_view pattern, std::size_t p, unsigned char c, bool& matched) {
    std::size_t i = p + 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negated) {
        ++i;
    }
    bool in_set = false;
    bool first = true;
    while (i < pattern.size() && (first || pattern[i] != ']')) {
        first = false;
        const auto low = static_cast<unsigned char>(pattern[i]);
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            const auto high = static_cast<unsigned char>(pattern[i + 2]);
            in_set = in_set || (low <= c && c <= high);
            i += 3;
        } else {
            in_set = in_set || low == c;
            ++i;
        }
    }
    if (i >= pattern.size()) {
        return std::string_view::npos;
    }
    matched = in_set != negated;
    return i + 1;
}

}  // namespace

bool GlobMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    // Where to resume after the last "*": the pattern after it, and the
    // name one byte further than last time.
    std::size_t star_p = std::string_view::npos;
    std::size_t star_n = 0;
    while (n < name.size()) {
        bool step = false;
        std::size_t next_p = p + 1;
        if (p < pattern.size()) {
            const char pc = pattern[p];
            if (pc == '*') {
                star_p = ++p;
                star_n = n;
                continue;
            }
            if (pc == '?') {
                step = true;
            } else if (pc == '[') {
                bool matched = false;
                const std::size_t after =
                    MatchSet(pattern, p, static_cast<unsigned char>(name[n]), matched);
                if (after == std::string_view::npos) {
                    step = name[n] == '[';
                } else {
                    step = matched;
                    next_p = after;
                }
            } else if (pc == '\\' && p + 1 < pattern.size()) {
                step = pattern[p + 1] == name[n];
                next_p = p + 2;
            } else {
                step = pc == name[n];
            }
        }
        if (step) {
            p = next_p;
            ++n;
        } else if (star_p != std::string_view::npos) {
            p = star_p;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace korv
