#include "console_ui.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace korv::cli {

ConsoleUi::ConsoleUi(const CliOptions& options, std::FILE* in, std::FILE* out, std::FILE* err)
    : options_(options), in_(in), out_(out), err_(err) {}

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
    std::fprintf(err_, "%s: %s\n", caption.c_str(), text.c_str());
}

void ConsoleUi::ShowMessage(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), err_);
    std::fputc('\n', err_);
}

std::int32_t ConsoleUi::EntryCount() {
    constexpr auto kMost = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(options_.files.size(), kMost));
}

std::string ConsoleUi::Entry(std::int32_t index) {
    return options_.files.at(static_cast<std::size_t>(index));
}

std::string ConsoleUi::FindText() {
    return options_.find.value_or(std::string());
}

std::string ConsoleUi::ReplaceText() {
    return options_.replacement.value_or(std::string());
}

void ConsoleUi::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    std::fprintf(out_, "Files searched: %d\nFiles found & replaced: %lld\n", files_searched,
                 static_cast<long long>(files_replaced));
    std::fflush(out_);
}

}  // namespace korv::cli
