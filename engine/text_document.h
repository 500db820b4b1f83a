#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

// A plain-text file as an ordered list of lines. Lines are split at CR, LF
// or CR LF, the first NUL byte ends the text, and every line is written back
// followed by CR LF.
//
// The document keeps its lines as one joined text (each line followed by
// CR LF), so handing out the text, taking a new one and saving are linear
// and allocate once, not once per line.
class TextDocument {
public:
    // Replaces the lines with those read from the file at `path`.
    // Throws EngineError "Cannot open file ..." and keeps its lines on failure.
    void LoadFile(const std::string& path);
    // Replaces the lines with those split from `text`.
    void AssignText(std::string text);
    void AssignText(std::string_view text) { AssignText(std::string(text)); }
    void AssignText(const char* text) { AssignText(std::string(text)); }
    // All lines, each followed by CR LF.
    [[nodiscard]] const std::string& JoinedText() const { return joined_; }
    // Writes JoinedText() over the file at `path`. A failed save leaves the
    // file as it was. Throws EngineError.
    void SaveFile(const std::string& path) const;
    // Copies the file at `path` to `path` + ".bak", replacing an older copy.
    // Never fails towards the caller: returns whether the copy was made.
    static bool MakeBackup(const std::string& path) noexcept;

    [[nodiscard]] std::size_t LineCount() const { return line_count_; }
    [[nodiscard]] bool Empty() const { return line_count_ == 0; }
    // The lines, without their breaks.
    [[nodiscard]] std::vector<std::string> Lines() const;
    // Whether the text last loaded or assigned held a NUL byte, so that
    // everything from it on was dropped.
    [[nodiscard]] bool HeldNul() const { return held_nul_; }

private:
    void SplitInto(std::string_view text, std::string& joined);

    std::string joined_;
    // The last buffer given up, kept for the next load to read into.
    std::string spare_;
    std::size_t line_count_ = 0;
    bool held_nul_ = false;
};

}  // namespace korv
