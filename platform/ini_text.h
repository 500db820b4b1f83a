#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv::platform {

// The longest value a settings read returns; a longer one is cut.
inline constexpr std::size_t kLongestIniValue = 2047;

[[nodiscard]] std::string CutToValueLimit(std::string value);

// The text of a profile (INI) file, edited line by line so that every line
// not written keeps its exact bytes: other sections, other keys, comment
// lines (starting with ';' or '#') and each line's own line break.
// Section and key names compare without regard to ASCII letter case, and
// the blanks around names and values do not count.
class IniText {
public:
    explicit IniText(std::string_view bytes);

    // The value of the first `key` in the first section named `section`,
    // without its surrounding blanks and one pair of enclosing quotes.
    [[nodiscard]] std::optional<std::string> Find(std::string_view section,
                                                  std::string_view key) const;
    // Replaces the key's line in place, or adds the key after the last key
    // of its section, or adds the section with the key at the end.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    [[nodiscard]] std::string Bytes() const;

private:
    struct Line {
        std::string text;  // without its line break
        std::string eol;   // "\n", "\r\n" or "" for a last line without one
    };

    // Index of the first header line of `section`, or lines_.size().
    [[nodiscard]] std::size_t FindSection(std::string_view section) const;
    // The line break for new lines: the file's first one, else "\n".
    [[nodiscard]] std::string LineBreak() const;

    std::vector<Line> lines_;
};

}  // namespace korv::platform
