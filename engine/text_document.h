#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_buffer.h"
#include "file_ops.h"
#include "mapped_file.h"

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
    // Replaces the lines with those split from `text`, which may be this
    // document's own text.
    void AssignText(std::string_view text);
    // All lines, each followed by CR LF. Valid until the document changes.
    [[nodiscard]] std::string_view JoinedText() const {
        return mapped_ ? mapped_->View() : joined_.View();
    }
    // False when the file last loaded was cut short by another program
    // after it was loaded, so JoinedText() read since may hold zeros in
    // place of its bytes. A big file in joined form is used straight from
    // the file, without a copy.
    [[nodiscard]] bool TextIntact() const { return !mapped_ || mapped_->Intact(); }
    // The state of the file last loaded, as it was read; nullopt once a
    // text is assigned.
    [[nodiscard]] const std::optional<FileVersion>& LoadedVersion() const {
        return loaded_version_;
    }
    // Writes JoinedText() over the file at `path`; with `unchanged_since`,
    // only while the file is still in that state. A failed save leaves the
    // file as it was. Throws EngineError.
    void SaveFile(const std::string& path, const FileVersion* unchanged_since = nullptr) const;
    // Copies the file at `path` to `path` + ".bak", replacing an older copy.
    // Never fails towards the caller: returns whether the copy was made.
    static bool MakeBackup(const std::string& path) noexcept;

    [[nodiscard]] std::size_t LineCount() const;
    [[nodiscard]] bool Empty() const { return JoinedText().empty(); }
    // The lines, without their breaks.
    [[nodiscard]] std::vector<std::string> Lines() const;
    // Whether the text last loaded or assigned held a NUL byte, so that
    // everything from it on was dropped.
    [[nodiscard]] bool HeldNul() const { return held_nul_; }
    // Whether the file last loaded already was in joined form, so that
    // JoinedText() is its bytes exactly.
    [[nodiscard]] bool LoadedAsIs() const { return loaded_as_is_; }

private:
    ByteBuffer joined_;
    // A big file's text, used in place of joined_ when it is set.
    std::unique_ptr<MappedFile> mapped_;
    // The last buffer given up, kept for the next load to read into.
    ByteBuffer spare_;
    bool held_nul_ = false;
    bool loaded_as_is_ = false;
    std::optional<FileVersion> loaded_version_;
};

}  // namespace korv
