#pragma once

// The lines of a log written with fixed time pictures, for the log's tests.

#include <regex>
#include <string>
#include <vector>

#include "time_stamp.h"

namespace korv::test {

// Fixed pictures, so a line's stamp can be matched by its shape.
inline const TimeFormat kLogFormat{"yyyy-mm-dd", "hh:nn:ss", "AM", "PM"};
inline const std::string kStamp = R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})";

inline bool IsLine(const std::string& line, const std::string& event) {
    // The event is matched literally.
    const std::string quoted =
        std::regex_replace(event, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    return std::regex_match(line, std::regex(kStamp + " - " + quoted));
}

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The file's lines as CR LF breaks separate them; false when a line lacks
// its CR LF or holds a lone CR or LF.
inline bool SplitCrLf(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            return false;
        }
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) {
            return false;
        }
        lines.push_back(line);
        start = end + 2;
    }
    return true;
}

}  // namespace korv::test
