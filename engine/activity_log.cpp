#include "activity_log.h"

#include <cerrno>
#include <ctime>
#include <limits>

#include "durable_saves.h"
#include "engine_error.h"
#include "file_ops.h"
#include "file_system.h"
#include "make_folder.h"
#include "text_document.h"

namespace korv {

namespace {

std::string Stamped(const TimeFormat& format, std::time_t when, std::string_view event) {
    std::string line = TimeStamp(format, when);
    line += " - ";
    line += event;
    return line;
}

}  // namespace

ActivityLog::ActivityLog(std::string path, TimeFormat format, std::string folder)
    : path_(std::move(path)), format_(std::move(format)), folder_(std::move(folder)) {}

void ActivityLog::Open() {
    text_.clear();
    bytes_on_disk_ = 0;
    kept_size_.reset();
    kept_break_.clear();
    const std::string started = Stamped(format_, std::time(nullptr), "Application Started");
    const std::optional<FileVersion> found = VersionOf(path_);
    // A log we cannot ask about may still be there: it is read, or kept.
    const bool exists = found.has_value() || !fs::Is(fs::LastError(), fs::Failure::kNotFound);
    bool read = !exists;
    bool started_added = false;
    try {
        bool as_is = false;
        if (exists) {
            TextDocument old_log;
            old_log.LoadFile(path_);
            text_.assign(old_log.JoinedText());
            as_is = old_log.LoadedAsIs();
            read = true;
        }
        const std::size_t old_size = text_.size();
        AppendLine(started);
        started_added = true;
        if (as_is) {
            // The file already is its lines joined with CR LF: appending
            // the start-up line gives the bytes a rewrite would, without
            // writing the whole log again on every start.
            bytes_on_disk_ = old_size;
            rewrite_needed_ = false;
            Write();
            return;
        }
        // Reading turned any other line breaks into CR LF: write it all.
        WriteWhole();
        return;
    } catch (const EngineError&) {
    }
    if (!started_added) {
        AppendLine(started);
    }
    if (!read) {
        // A log we cannot read is kept: the line goes after its old content,
        // and a rewrite later on replaces only what follows it.
        // Of a log whose size is unknown, everything is kept.
        kept_size_ = found ? found->size : std::numeric_limits<std::int64_t>::max();
        // Our first line must not run on from an old last line that lacks
        // its break. (After a NUL nothing can run on: the text ends there.)
        const std::optional<char> last = LastByteOf(path_);
        if (last && *last != '\n' && *last != '\r' && *last != '\0') {
            kept_break_ = "\r\n";
        }
        rewrite_needed_ = false;
        bytes_on_disk_ = 0;
        try {
            Write();
            return;
        } catch (const EngineError&) {
            rewrite_needed_ = true;
        }
    }
    WriteWhole();
}

void ActivityLog::AddEvent(std::string_view event) {
    AppendLine(Stamped(format_, std::time(nullptr), event));
    Write();
}

std::vector<std::string> ActivityLog::LogLines() const {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text_.size();) {
        const std::size_t end = text_.find("\r\n", start);
        lines.push_back(text_.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void ActivityLog::AppendLine(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
}

void ActivityLog::Close() {
    AddEvent("Application Closed");
    Sync();
}

bool ActivityLog::Sync() const {
    return bytes_on_disk_ == 0 || SyncFileAt(path_);
}

void ActivityLog::Write() {
    if (rewrite_needed_) {
        WriteWhole();
        return;
    }
    try {
        EnsureFolder();
        const std::string_view unwritten = std::string_view(text_).substr(bytes_on_disk_);
        AppendToFile(path_, bytes_on_disk_ == 0 ? kept_break_ + std::string(unwritten)
                                                : std::string(unwritten));
        bytes_on_disk_ = text_.size();
    } catch (const EngineError&) {
        rewrite_needed_ = true;
        throw;
    }
}

void ActivityLog::WriteWhole() {
    EnsureFolder();
    if (kept_size_) {
        ReplaceFileTail(path_, *kept_size_, kept_break_ + text_);
    } else {
        ReplaceWholeFile(path_, text_);
    }
    bytes_on_disk_ = text_.size();
    rewrite_needed_ = false;
}

void ActivityLog::EnsureFolder() const {
    if (!folder_.empty()) {
        korv::MakeFolder(folder_);
    }
}

}  // namespace korv
