#pragma once

// Plain, obviously correct versions of the engine's text rules, for the
// fuzz targets to compare the engine with. Speed does not matter here.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace korv::fuzz {

// Stops the run with a message when a comparison fails.
inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "mismatch with the reference: %s\n", what);
        std::abort();
    }
}

// Lines end at CR, LF or CR LF; the first NUL ends the text.
inline std::vector<std::string> ReferenceSplit(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] != '\0') {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') {
            ++end;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

// Every line followed by CR LF.
inline std::string ReferenceJoin(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// What a text becomes once split into lines and joined again.
inline std::string ReferenceJoined(std::string_view text) {
    return ReferenceJoin(ReferenceSplit(text));
}

// Only A to Z change.
inline std::string ReferenceLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}  // namespace korv::fuzz
