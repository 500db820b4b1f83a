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
    SplitInto(text, joined_);
}

void TextDocument::SplitInto(std::string_view text, std::string& joined) {
    // Split at CR, LF or CR LF up to the first NUL, and join each line
    // with CR LF.
    const char* const begin = text.data();
    const char* end = begin + text.size();
    const char* nul = static_cast<const char*>(std::memchr(begin, '\0', text.size()));
    held_nul_ = nul != nullptr;
    if (nul != nullptr) {
        end = nul;
    }
    auto for_each_line = [begin, end](auto&& on_line) {
        for (const char* p = begin; p < end;) {
            const char* stop = FindLineBreak(p, end);
            on_line(p, stop);
            p = stop;
            if (p < end && *p == '\r') {
                ++p;
            }
            if (p < end && *p == '\n') {
                ++p;
            }
        }
    };
    // Two passes, so the text is allocated once at its final size.
    std::size_t size = 0;
    std::size_t lines = 0;
    for_each_line([&](const char* from, const char* to) {
        size += static_cast<std::size_t>(to - from) + 2;
        ++lines;
    });
    joined.clear();
    joined.reserve(size);
    for_each_line([&](const char* from, const char* to) {
        joined.append(from, to);
        joined += "\r\n";
    });
    line_count_ = lines;
}

void TextDocument::LoadFile(const std::string& path) {
    // The bytes go to a spare buffer first, so a failed load keeps the
    // lines; buffers are reused from file to file.
    ReadWholeFile(path, spare_);
    std::size_t lines = 0;
    if (IsJoinedForm(spare_, lines)) {
        joined_.swap(spare_);
        line_count_ = lines;
        held_nul_ = false;
        return;
    }
    SplitInto(spare_, joined_);
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
