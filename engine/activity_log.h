#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "time_stamp.h"

namespace korv {

// The activity log: one line per event, each beginning with a time stamp,
// kept in memory as LogLines and on disk at one path. The file always
// holds every line of LogLines, each followed by CR LF.
class ActivityLog {
public:
    ActivityLog(std::string path, TimeFormat format);

    // Reads the file and records the start-up line. When the file cannot be
    // read or written, the start-up line alone is written anew; a failure of
    // that write propagates as EngineError (LogLines keeps the line).
    void Open();
    // Appends "<stamp> - <event>" and writes it to the file at once.
    // On failure the line stays in LogLines and the next write that
    // succeeds carries it; the failure propagates as EngineError.
    void AddEvent(std::string_view event);
    // Records the closing line; a failure to write propagates.
    void Close();

    [[nodiscard]] const std::vector<std::string>& LogLines() const { return lines_; }
    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    void AddLine(std::string line);
    void WriteWhole();
    void AppendLast();

    std::string path_;
    TimeFormat format_;
    std::vector<std::string> lines_;
    // Whether the file is known to hold exactly lines_ but the last, so the
    // last line can be appended instead of rewriting the whole file.
    bool file_in_step_ = false;
};

}  // namespace korv
