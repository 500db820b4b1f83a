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

std::string Joined(const std::vector<std::string>& lines, std::size_t from) {
    std::size_t size = 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        size += lines[i].size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (std::size_t i = from; i < lines.size(); ++i) {
        text += lines[i];
        text += "\r\n";
    }
    return text;
}

}  // namespace

ActivityLog::ActivityLog(std::string path, TimeFormat format, std::string folder)
    : path_(std::move(path)), format_(std::move(format)), folder_(std::move(folder)) {}

void ActivityLog::Open() {
    lines_.clear();
    kept_size_.reset();
    kept_break_.clear();
    const std::string started = Stamped(format_, std::time(nullptr), "Application Started");
    const std::optional<FileVersion> found = VersionOf(path_);
    // A log we cannot ask about may still be there: it is read, or kept.
    const bool exists = found.has_value() || !fs::Is(fs::LastError(), fs::Failure::kNotFound);
    bool read = !exists;
    try {
        bool as_is = false;
        if (exists) {
            TextDocument old_log;
            old_log.LoadFile(path_);
            lines_ = old_log.Lines();
            as_is = old_log.LoadedAsIs();
            read = true;
        }
        lines_.push_back(started);
        if (as_is) {
            // The file already is its lines joined with CR LF: appending
            // the start-up line gives the bytes a rewrite would, without
            // writing the whole log again on every start.
            lines_on_disk_ = lines_.size() - 1;
            rewrite_needed_ = false;
            Write();
            return;
        }
        // Reading turned any other line breaks into CR LF: write it all.
        WriteWhole();
        return;
    } catch (const EngineError&) {
    }
    if (lines_.empty() || lines_.back() != started) {
        lines_.push_back(started);
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
        lines_on_disk_ = 0;
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
    lines_.push_back(Stamped(format_, std::time(nullptr), event));
    Write();
}

void ActivityLog::Close() {
    AddEvent("Application Closed");
    Sync();
}

bool ActivityLog::Sync() const {
    return lines_on_disk_ == 0 || SyncFileAt(path_);
}

void ActivityLog::Write() {
    if (rewrite_needed_) {
        WriteWhole();
        return;
    }
    try {
        EnsureFolder();
        AppendToFile(path_, (lines_on_disk_ == 0 ? kept_break_ : std::string()) +
                                Joined(lines_, lines_on_disk_));
        lines_on_disk_ = lines_.size();
    } catch (const EngineError&) {
        rewrite_needed_ = true;
        throw;
    }
}

void ActivityLog::WriteWhole() {
    EnsureFolder();
    if (kept_size_) {
        ReplaceFileTail(path_, *kept_size_, kept_break_ + Joined(lines_, 0));
    } else {
        ReplaceWholeFile(path_, Joined(lines_, 0));
    }
    lines_on_disk_ = lines_.size();
    rewrite_needed_ = false;
}

void ActivityLog::EnsureFolder() const {
    if (!folder_.empty()) {
        korv::MakeFolder(folder_);
    }
}

}  // namespace korv
