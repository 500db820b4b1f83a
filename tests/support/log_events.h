#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korv::test {

// The events of a log file's bytes, each line without its time stamp. A
// line without CR LF or without a stamp is a test failure.
inline std::vector<std::string> LogEventsOf(const std::string& text) {
    std::vector<std::string> events;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "log line without CR LF: " << text.substr(start);
            break;
        }
        const std::string line = text.substr(start, end - start);
        const std::size_t dash = line.find(" - ");
        if (dash == std::string::npos || dash == 0) {
            ADD_FAILURE() << "no time stamp: " << line;
            events.push_back(line);
        } else {
            events.push_back(line.substr(dash + 3));
        }
        start = end + 2;
    }
    return events;
}

}  // namespace korv::test
