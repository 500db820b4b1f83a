#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_buffer.h"
#include "file_ops.h"
#include "line_breaks.h"
#include "mapped_file.h"
#include "utf16_text.h"

namespace korv {

// A plain-text file as an ordered list of lines. Lines are split at CR, LF
// or CR LF, the first NUL byte ends the text, and every line is written back
// followed by CR LF.
//
// The document keeps its lines as one joined text (each line followed by
// CR LF), so handing out the text, taking a new one and saving are linear
// and allocate once, not once per line.
//
// A file a run edits may instead be held as it was read, line breaks and
// all, and a UTF-16 file as unit text (utf16_text.h), written back in its
// own byte order.
class TextDocument {
public:
    // Replaces the lines with those read from the file at `path`, as 8-bit
    // text. Throws EngineError "Cannot open file ..." and keeps its lines
    // on failure.
    void LoadFile(const std::string& path);
    // Loads a file a run edits: a UTF-16 file (one that starts with a
    // byte-order mark) as its unit text, refused with NotPlainText when it
    // holds a NUL character or an odd number of bytes; with
    // LineBreaks::Keep the text is held as it was read, not split into
    // lines. Throws as LoadFile does.
    void LoadTextFile(const std::string& path, LineBreaks breaks);
    // Replaces the lines with those split from `text`, which may be this
    // document's own text. The encoding of the file last loaded stays.
    void AssignText(std::string_view text);
    // The text a substitution works on: the joined text, or the file's own
    // text where its line breaks are kept. Valid until the document changes.
    [[nodiscard]] std::string_view Text() const { return mapped_ ? mapped_->View() : text_.View(); }
    // All lines, each followed by CR LF, of a document whose line breaks
    // are not kept. Valid until the document changes.
    [[nodiscard]] std::string_view JoinedText() const { return Text(); }
    // Whether Text() is the file's own text with its line breaks.
    [[nodiscard]] bool KeepsLineBreaks() const { return keeps_breaks_; }
    // How the file last loaded is written: as 8-bit text or as UTF-16.
    [[nodiscard]] TextEncoding Encoding() const { return encoding_; }
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
    // Writes Text() over the file at `path`, in the document's encoding;
    // with `unchanged_since`,
    // only while the file is still in that state. A failed save leaves the
    // file as it was. Throws EngineError.
    void SaveFile(const std::string& path, const FileVersion* unchanged_since = nullptr) const;
    // What SaveFile writes, for a save made in steps; it reads the
    // document's text, so the document must stay as it is while it writes.
    [[nodiscard]] ContentWriter SavedForm() const;
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
    // LoadFile and LoadTextFile, UTF-16 recognised when `utf16` says.
    void Load(const std::string& path, LineBreaks breaks, bool utf16);
    // Takes `mapped`, a big 8-bit file's text, in place or split into lines.
    void TakeMapped(const std::string& path, std::unique_ptr<MappedFile> mapped, bool keep);
    // Takes the 8-bit text read into spare_, as it is or split into lines.
    void TakeRead(bool keep);

    ByteBuffer text_;
    // A big file's text, used in place of text_ when it is set.
    std::unique_ptr<MappedFile> mapped_;
    // The last buffer given up, kept for the next load to read into.
    ByteBuffer spare_;
    bool held_nul_ = false;
    bool loaded_as_is_ = false;
    bool keeps_breaks_ = false;
    TextEncoding encoding_ = TextEncoding::Bytes;
    std::optional<FileVersion> loaded_version_;
};

}  // namespace korv
