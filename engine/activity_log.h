#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "time_stamp.h"

namespace korv {

// The activity log: one line per event, each beginning with a time stamp,
// kept in memory as LogLines and on disk at one path. After every write
// that succeeds the file holds every line of LogLines, each followed by
// CR LF, exactly as a rewrite of the whole file would.
class ActivityLog {
public:
    // With `folder`, the log lives in a folder of the user's that may not
    // be there yet: every write makes it first, with its parents, and a
    // failure to do so propagates as EngineError naming that folder.
    ActivityLog(std::string path, TimeFormat format, std::string folder = {});

    // Reads the file and records the start-up line. A file that exists but
    // cannot be read is kept, and the start-up line goes after it; when the
    // file cannot be written, the last attempt's failure propagates as
    // EngineError (LogLines keeps the line).
    void Open();
    // Appends "<stamp> - <event>" and writes it to the file at once.
    // On failure the line stays in LogLines and the next write that
    // succeeds carries it; the failure propagates as EngineError.
    void AddEvent(std::string_view event);
    // Records the closing line, then syncs the file; a failure to write
    // propagates.
    void Close();
    // Puts the lines written on the disk, which appending alone leaves to
    // the system: at the end of a run and at the close. False when the
    // file cannot be synced.
    bool Sync() const;

    // LogLines, without their breaks.
    [[nodiscard]] std::vector<std::string> LogLines() const;
    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] const TimeFormat& Format() const { return format_; }

private:
    void AppendLine(std::string_view line);
    void Write();
    void WriteWhole();
    void EnsureFolder() const;

    std::string path_;
    TimeFormat format_;
    std::string folder_;
    // LogLines, each followed by CR LF: the bytes a rewrite writes. One
    // text rather than a string per line, so a long log costs one read and
    // its own size in memory.
    std::string text_;
    // How many bytes of text_, from the first, the file is known to hold;
    // the rest are appended by the next write.
    std::size_t bytes_on_disk_ = 0;
    // Set when the file's content is unknown (a write failed half way):
    // the next write is a rewrite of the whole file.
    bool rewrite_needed_ = true;
    // The length of an old log that could not be read: it stays in front
    // of our lines, and a rewrite replaces only what follows it.
    std::optional<std::int64_t> kept_size_;
    // A line break put after such a log when its last line has none, so our
    // first line is a line of its own.
    std::string kept_break_;
};

}  // namespace korv
