#pragma once

#include <regex>
#include <string>
#include <vector>

namespace korv::test {

// A log file read as a list of whole lines, each split into its time stamp
// (in the default pictures m/d/yy and h:mm:ss AMPM) and its event.
struct WholeLog {
    bool whole = true;  // every line ends with CR LF and starts with a stamp
    std::string problem;
    std::vector<std::string> events;
};

inline WholeLog ReadWholeLog(const std::string& bytes) {
    static const std::regex kLine(R"(^\d{1,2}/\d{1,2}/\d{2} \d{1,2}:\d{2}:\d{2} [AP]M - (.*)$)");
    WholeLog log;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            log.whole = false;
            log.problem = "a last line without CR LF: " + bytes.substr(start);
            return log;
        }
        const std::string line = bytes.substr(start, end - start);
        std::smatch match;
        if (line.find_first_of("\r\n") != std::string::npos ||
            !std::regex_match(line, match, kLine)) {
            log.whole = false;
            log.problem = "a line that is no stamped event: " + line;
            return log;
        }
        log.events.push_back(match[1]);
        start = end + 2;
    }
    return log;
}

// Whether `part` is `whole` with some items left out, the rest in order.
inline bool IsSubsequence(const std::vector<std::string>& part,
                          const std::vector<std::string>& whole) {
    std::size_t k = 0;
    for (const std::string& item : whole) {
        if (k < part.size() && part[k] == item) {
            ++k;
        }
    }
    return k == part.size();
}

}  // namespace korv::test
