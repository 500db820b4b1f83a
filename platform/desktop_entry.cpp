#include "desktop_entry.h"

#include <cstdio>

namespace korv::platform {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The general escapes of a string value.
std::string Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        switch (next) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                // "\\" and the escapes of quoted arguments pass on to the
                // argument splitter with their backslash.
                out += '\\';
                out += next;
                break;
        }
    }
    return out;
}

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits at blanks; a word in double quotes keeps its blanks, and inside it
// a backslash takes the next character literally.
std::optional<std::vector<Word>> SplitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Word word;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    word.text += line[i++];
                } else {
                    word.text += c;
                }
            }
            if (!closed) {
                return std::nullopt;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
                    ++i;
                }
                word.text += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

std::optional<std::string> DesktopFileValue(std::string_view file_text, std::string_view group,
                                            std::string_view key) {
    bool in_group = false;
    std::size_t start = 0;
    while (start <= file_text.size()) {
        std::size_t end = file_text.find('\n', start);
        if (end == std::string_view::npos) {
            end = file_text.size();
        }
        const std::string_view line = Trim(file_text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            in_group =
                line.size() >= 2 && line.back() == ']' && line.substr(1, line.size() - 2) == group;
            continue;
        }
        if (!in_group) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && Trim(line.substr(0, equals)) == key) {
            return std::string(Trim(line.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::vector<std::string> SplitDesktopList(std::string_view value) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        const std::string_view item = Trim(value.substr(start, end - start));
        if (!item.empty()) {
            items.emplace_back(item);
        }
        start = end + 1;
    }
    return items;
}

std::string FileAddress(const std::string& path) {
    std::string out = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}

std::optional<std::vector<std::string>> ExecCommandFor(std::string_view exec,
                                                       const std::string& path) {
    const auto words = SplitWords(Unescape(exec));
    if (!words || words->empty()) {
        return std::nullopt;
    }
    std::vector<std::string> argv;
    bool file_placed = false;
    for (const Word& word : *words) {
        if (word.quoted) {
            argv.push_back(word.text);
            continue;
        }
        // A field code standing alone may expand to nothing (%i, %c, %k)
        // and then leaves no empty argument behind.
        std::string text;
        bool only_codes = true;
        bool names_file = false;
        for (std::size_t i = 0; i < word.text.size(); ++i) {
            if (word.text[i] != '%' || i + 1 == word.text.size()) {
                text += word.text[i];
                only_codes = false;
                continue;
            }
            const char code = word.text[++i];
            switch (code) {
                case 'f':
                case 'F':
                    text += path;
                    names_file = true;
                    break;
                case 'u':
                case 'U':
                    text += FileAddress(path);
                    names_file = true;
                    break;
                case '%':
                    text += '%';
                    only_codes = false;
                    break;
                default:
                    break;
            }
        }
        if (!text.empty() || !only_codes || names_file) {
            argv.push_back(std::move(text));
        }
        file_placed = file_placed || names_file;
    }
    if (argv.empty()) {
        return std::nullopt;
    }
    if (!file_placed) {
        argv.push_back(path);
    }
    return argv;
}

}  // namespace korv::platform
