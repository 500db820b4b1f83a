#include "text_document.h"

#include <cstring>

#include "byte_scan.h"
#include "file_ops.h"

namespace korv {

namespace {

// Whether `text` already is a joined text: no NUL, every line break a
// CR LF, and a break at the end. Such a text is its own JoinedText.
bool IsJoinedForm(const std::string& text, std::size_t& line_count) {
    const std::size_t size = text.size();
    if (size == 0) {
        line_count = 0;
        return true;
    }
    if (size < 2 || text[size - 2] != '\r' || text[size - 1] != '\n') {
        return false;
    }
    return OnlyCrLfBreaks(text.data(), size, line_count);
}

}  // namespace

void TextDocument::AssignText(std::string text) {
    std::size_t lines = 0;
    if (IsJoinedForm(text, lines)) {
        joined_ = std::move(text);
        line_count_ = lines;
        held_nul_ = false;
        return;
    }
    // Split at CR, LF or CR LF up to the first NUL, and join each line
    // with CR LF. Lone breaks double in size at most.
    const char* p = text.data();
    const char* end = p + text.size();
    const char* nul = static_cast<const char*>(std::memchr(p, '\0', text.size()));
    held_nul_ = nul != nullptr;
    if (nul != nullptr) {
        end = nul;
    }
    std::string joined;
    joined.reserve(static_cast<std::size_t>(end - p) + 2);
    lines = 0;
    while (p < end) {
        const char* stop = FindLineBreak(p, end);
        joined.append(p, stop);
        joined += "\r\n";
        ++lines;
        p = stop;
        if (p < end && *p == '\r') {
            ++p;
        }
        if (p < end && *p == '\n') {
            ++p;
        }
    }
    joined_ = std::move(joined);
    line_count_ = lines;
}

void TextDocument::LoadFile(const std::string& path) {
    AssignText(ReadWholeFile(path));
}

void TextDocument::SaveFile(const std::string& path) const {
    ReplaceWholeFile(path, joined_);
}

bool TextDocument::MakeBackup(const std::string& path) noexcept {
    return CopyWholeFile(path, path + ".bak");
}

std::vector<std::string> TextDocument::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(line_count_);
    std::size_t start = 0;
    while (start < joined_.size()) {
        // Lines of the joined text hold no CR, so the next CR ends one.
        std::size_t cr = joined_.find('\r', start);
        lines.emplace_back(joined_, start, cr - start);
        start = cr + 2;
    }
    return lines;
}

}  // namespace korv
