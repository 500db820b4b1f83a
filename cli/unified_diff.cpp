#include "unified_diff.h"

#include <cstddef>
#include <vector>

#include "line_diff.h"

namespace korv::cli {

namespace {

constexpr std::size_t kContext = 3;

std::vector<std::string_view> SplitAfterLineFeeds(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A name as patch reads it back: quoted, with C escapes, when it holds a
// blank, a quote, a backslash or a control byte.
std::string QuotedName(const std::string& path) {
    bool plain = !path.empty();
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        plain = plain && byte > ' ' && byte != '"' && byte != '\\' && byte != 0x7f;
    }
    if (plain) {
        return path;
    }
    std::string quoted = "\"";
    static const char kDigits[] = "01234567";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (byte < ' ' || byte == 0x7f) {
            quoted += '\\';
            quoted += kDigits[(byte >> 6) & 7];
            quoted += kDigits[(byte >> 3) & 7];
            quoted += kDigits[byte & 7];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

class DiffWriter {
public:
    explicit DiffWriter(bool colour) : colour_(colour) {}

    void Header(const std::string& path) {
        const std::string name = QuotedName(path);
        Styled("\033[1m", "--- " + name + "\n");
        Styled("\033[1m", "+++ " + name + "\n");
    }
    void HunkHeader(std::size_t a_start, std::size_t a_count, std::size_t b_start,
                    std::size_t b_count) {
        Styled("\033[36m",
               "@@ -" + Range(a_start, a_count) + " +" + Range(b_start, b_count) + " @@\n");
    }
    void Line(char mark, std::string_view line) {
        const char* style = mark == '-' ? "\033[31m" : mark == '+' ? "\033[32m" : nullptr;
        std::string text(1, mark);
        text += line;
        if (line.empty() || line.back() != '\n') {
            text += "\n\\ No newline at end of file\n";
        }
        Styled(style, text);
    }
    std::string Take() { return std::move(out_); }

private:
    // "start,count" as diff writes it: the count left out when it is 1,
    // and the line before the hunk named when it is 0.
    static std::string Range(std::size_t start, std::size_t count) {
        const std::size_t first = count == 0 ? start : start + 1;
        return count == 1 ? std::to_string(first)
                          : std::to_string(first) + "," + std::to_string(count);
    }
    // The colour ends before the line's own LF, so it never runs on.
    void Styled(const char* style, std::string_view text) {
        if (!colour_ || style == nullptr) {
            out_ += text;
            return;
        }
        const std::size_t lf = text.find('\n');
        out_ += style;
        out_ += text.substr(0, lf);
        out_ += "\033[0m";
        out_ += text.substr(lf);
    }

    bool colour_;
    std::string out_;
};

}  // namespace

std::string UnifiedDiff(const std::string& path, std::string_view before, std::string_view after,
                        bool colour) {
    const std::vector<std::string_view> a = SplitAfterLineFeeds(before);
    const std::vector<std::string_view> b = SplitAfterLineFeeds(after);
    const std::vector<ChangeBlock> blocks = DiffLines(a, b);
    if (blocks.empty()) {
        return {};
    }
    DiffWriter out(colour);
    out.Header(path);
    std::size_t first = 0;
    while (first < blocks.size()) {
        // A hunk takes every next block whose context would touch its own.
        std::size_t last = first;
        while (last + 1 < blocks.size() &&
               blocks[last + 1].a_start - (blocks[last].a_start + blocks[last].a_count) <=
                   2 * kContext) {
            ++last;
        }
        const ChangeBlock& from = blocks[first];
        const ChangeBlock& to = blocks[last];
        const std::size_t lead = std::min(kContext, from.a_start);
        const std::size_t a_end = std::min(a.size(), to.a_start + to.a_count + kContext);
        const std::size_t trail = a_end - (to.a_start + to.a_count);
        const std::size_t a_begin = from.a_start - lead;
        const std::size_t b_begin = from.b_start - lead;
        const std::size_t b_end = to.b_start + to.b_count + trail;
        out.HunkHeader(a_begin, a_end - a_begin, b_begin, b_end - b_begin);
        std::size_t i = a_begin;
        for (std::size_t k = first; k <= last; ++k) {
            const ChangeBlock& block = blocks[k];
            for (; i < block.a_start; ++i) {
                out.Line(' ', a[i]);
            }
            for (std::size_t r = 0; r < block.a_count; ++r) {
                out.Line('-', a[block.a_start + r]);
            }
            for (std::size_t r = 0; r < block.b_count; ++r) {
                out.Line('+', b[block.b_start + r]);
            }
            i = block.a_start + block.a_count;
        }
        for (; i < a_end; ++i) {
            out.Line(' ', a[i]);
        }
        first = last + 1;
    }
    return out.Take();
}

}  // namespace korv::cli
