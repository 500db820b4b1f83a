#include "ini_text.h"

namespace korv::platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    std::string_view t = Trim(text);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = t.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

// The name and value of a "name=value" line, or nothing for a comment,
// a header or a line without an equals sign.
std::optional<KeyLine> ParseKey(std::string_view text) {
    std::string_view t = Trim(text);
    if (IsComment(t) || SectionName(t)) {
        return std::nullopt;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::string CutToValueLimit(std::string value) {
    if (value.size() > kLongestIniValue) {
        value.resize(kLongestIniValue);
    }
    return value;
}

IniText::IniText(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t lf = bytes.find('\n');
        std::string_view line = lf == std::string_view::npos ? bytes : bytes.substr(0, lf);
        std::string_view rest =
            lf == std::string_view::npos ? std::string_view() : bytes.substr(lf + 1);
        std::string eol = lf == std::string_view::npos ? "" : "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            eol = "\r" + eol;
        }
        lines_.push_back({std::string(line), std::move(eol)});
        bytes = rest;
    }
}

std::size_t IniText::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i].text);
        if (name && SameName(*name, Trim(section))) {
            return i;
        }
    }
    return lines_.size();
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
    for (std::size_t i = FindSection(section) + 1; i < lines_.size(); ++i) {
        if (SectionName(lines_[i].text)) {
            break;
        }
        auto entry = ParseKey(lines_[i].text);
        if (entry && SameName(entry->name, Trim(key))) {
            return std::string(Unquote(entry->value));
        }
    }
    return std::nullopt;
}

std::string IniText::LineBreak() const {
    for (const Line& line : lines_) {
        if (!line.eol.empty()) {
            return line.eol;
        }
    }
    return "\n";
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string eol = LineBreak();
    const std::string key_line = std::string(Trim(key)) + "=" + std::string(value);
    std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && lines_.back().eol.empty()) {
            lines_.back().eol = eol;
        }
        lines_.push_back({"[" + std::string(Trim(section)) + "]", eol});
        lines_.push_back({key_line, eol});
        return;
    }
    std::size_t insert_at = header + 1;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        if (SectionName(lines_[i].text)) {
            break;
        }
        auto entry = ParseKey(lines_[i].text);
        if (!entry) {
            continue;
        }
        if (SameName(entry->name, Trim(key))) {
            lines_[i].text = key_line;
            return;
        }
        insert_at = i + 1;
    }
    // The new key follows the section's last key; a line before it that
    // ended the file gains a line break.
    Line& before = lines_[insert_at - 1];
    if (before.eol.empty()) {
        before.eol = eol;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), {key_line, eol});
}

std::string IniText::Bytes() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

}  // namespace korv::platform
