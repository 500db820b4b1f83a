#include "console_ui.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <system_error>

#include "file_ops.h"
#include "terminal.h"
#include "unified_diff.h"
#include "utf16_text.h"

namespace korv::cli {

ConsoleUi::ConsoleUi(const CliOptions& options, const FileEntries& entries, std::FILE* in,
                     std::FILE* out, std::FILE* err)
    : options_(options),
      entries_(entries),
      in_(in),
      out_(out),
      err_(err),
      colour_(options.diff && IsTerminal(out)) {}

bool ConsoleUi::AskConfirmation(const std::string& text, const std::string& /*caption*/) {
    if (options_.yes) {
        return true;
    }
    // The sentences are joined by a lone CR; a terminal shows them as lines.
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '\r', '\n');
    std::fprintf(err_, "%s\nGo on? [y/N] ", shown.c_str());
    std::fflush(err_);
    std::string answer;
    for (int c = std::fgetc(in_); c != EOF && c != '\n'; c = std::fgetc(in_)) {
        answer += static_cast<char>(std::tolower(c));
    }
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back()))) {
        answer.pop_back();
    }
    if (std::feof(in_) && answer.empty()) {
        std::fputc('\n', err_);
    }
    return answer == "y" || answer == "yes";
}

void ConsoleUi::ReportError(const std::string& text, const std::string& caption) {
    WriteError(caption + ": " + text + "\n");
}

void ConsoleUi::ShowMessage(const std::string& text) {
    WriteError(text + "\n");
}

void ConsoleUi::ShowFailureReason(const std::string& reason) {
    WriteError(reason + "\n");
}

std::int32_t ConsoleUi::EntryCount() {
    constexpr auto kMost = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(entries_.paths.size(), kMost));
}

std::string ConsoleUi::Entry(std::int32_t index) {
    return entries_.paths.at(static_cast<std::size_t>(index));
}

void ConsoleUi::SetCurrentEntry(std::int32_t index) {
    current_ = index;
    if (!progress_ && index == 0 && !options_.no_progress && IsTerminal(err_)) {
        StartProgress();
    }
    if (progress_) {
        const auto done = static_cast<std::size_t>(std::max(index, 0));
        progress_->Update(index, bytes_before_[std::min(done, bytes_before_.size() - 1)]);
    }
}

// The sizes are asked for only when the line is shown, so a run without
// it costs nothing more.
void ConsoleUi::StartProgress() {
    bytes_before_.assign(1, 0);
    for (const std::string& path : entries_.paths) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        bytes_before_.push_back(bytes_before_.back() + (error ? 0 : size));
    }
    progress_ = std::make_unique<ProgressLine>(
        err_, static_cast<std::int64_t>(entries_.paths.size()), bytes_before_.back());
}

bool ConsoleUi::SkipsBinary(std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    return at < entries_.walked.size() && entries_.walked[at];
}

std::string ConsoleUi::FindText() {
    return options_.find.value_or(std::string());
}

std::string ConsoleUi::ReplaceText() {
    return options_.replacement.value_or(std::string());
}

void ConsoleUi::ShowPreview(const PassPreview& preview) {
    if (options_.diff) {
        // The file as it is now, every byte, against what a save would write;
        // a UTF-16 file's change is shown in UTF-8, for a reader rather than
        // for patch.
        const std::string before = ReadWholeFile(preview.path);
        const TextEncoding encoding = EncodingOf(before);
        if (encoding == TextEncoding::Bytes) {
            Write(out_, UnifiedDiff(preview.path, before, preview.saved_bytes(), colour_));
            return;
        }
        std::string before_text;
        std::string after_text;
        UnitTextOfFile(before, encoding, before_text);
        UnitTextOfFile(preview.saved_bytes(), encoding, after_text);
        const char* order = encoding == TextEncoding::Utf16Le ? "little" : "big";
        Write(out_, "korv-cli: " + preview.path + " is UTF-16 (" + order +
                        "-endian) text, its change shown in UTF-8; patch cannot apply it\n" +
                        UnifiedDiff(preview.path, Utf8OfUnitText(before_text),
                                    Utf8OfUnitText(after_text), colour_));
    } else {
        Write(out_, preview.path + ": " + std::to_string(preview.occurrences) + " occurrences\n");
    }
}

void ConsoleUi::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    if (progress_) {
        progress_->Stop();
    }
    Write(out_, "Files searched: " + std::to_string(files_searched) +
                    "\nFiles found & replaced: " + std::to_string(files_replaced) + "\n");
}

std::optional<UndoPlace> ConsoleUi::UndoJournalPlace() {
    if (!options_.undo_folder) {
        return std::nullopt;
    }
    return UndoPlace{*options_.undo_folder, "korv-cli", !options_.no_undo};
}

bool ConsoleUi::RunWithoutUndo(const std::string& problem) {
    WriteError("korv-cli: " + problem +
               "\nNo file was changed. Give --no-undo to replace without the journal.\n");
    return false;
}

void ConsoleUi::WriteError(std::string_view text) {
    Write(err_, text);
}

void ConsoleUi::Write(std::FILE* stream, std::string_view text) {
    // Output that does not share the screen with the line needs no room
    // made for it, and must not hold the line still while a pipe is full.
    if (progress_ && (stream == err_ || IsTerminal(stream))) {
        progress_->Write(stream, text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    if (stream == err_) {
        std::fflush(stream);
    }
}

}  // namespace korv::cli
