#include "text_document.h"

#include <algorithm>
#include <cstring>

#include "byte_scan.h"
#include "engine_error.h"

namespace korv {

namespace {

// Whether `text` already is a joined text: no NUL, every line break a
// CR LF, and a break at the end. Such a text is its own JoinedText.
bool IsJoinedForm(std::string_view text) {
    const std::size_t size = text.size();
    if (size == 0) {
        return true;
    }
    if (size < 2 || text[size - 2] != '\r' || text[size - 1] != '\n') {
        return false;
    }
    return OnlyCrLfBreaks(text.data(), size);
}

std::size_t SplitAndJoin(std::string_view text, ByteBuffer& joined, bool& held_nul) {
    const char* const begin = text.data();
    const char* end = begin + text.size();
    const void* nul = std::memchr(begin, '\0', text.size());
    held_nul = nul != nullptr;
    if (held_nul) {
        end = static_cast<const char*>(nul);
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
    joined.Clear();
    joined.Resize(size);
    char* out = joined.Data();
    for_each_line([&](const char* from, const char* to) {
        const auto length = static_cast<std::size_t>(to - from);
        if (length > 0) {
            std::memcpy(out, from, length);
        }
        out[length] = '\r';
        out[length + 1] = '\n';
        out += length + 2;
    });
    return lines;
}

}  // namespace

void TextDocument::AssignText(std::string_view text) {
    // Built in the spare buffer, since `text` may be this document's own.
    bool held_nul = false;
    if (IsJoinedForm(text)) {
        spare_.Assign(text);
    } else {
        SplitAndJoin(text, spare_, held_nul);
    }
    text_.Swap(spare_);
    mapped_.reset();
    held_nul_ = held_nul;
    loaded_as_is_ = false;
    keeps_breaks_ = false;
    loaded_version_.reset();
}

void TextDocument::LoadFile(const std::string& path) {
    Load(path, LineBreaks::CrLf, /*utf16=*/false);
}

void TextDocument::LoadTextFile(const std::string& path, LineBreaks breaks) {
    Load(path, breaks, /*utf16=*/true);
}

void TextDocument::Load(const std::string& path, LineBreaks breaks, bool utf16) {
    // The bytes go to the spare buffer first, so a failed load keeps the
    // lines; buffers are reused from file to file.
    FileVersion version;
    std::unique_ptr<MappedFile> mapped = ReadOrMapWholeFile(path, spare_, &version);
    const bool keep = breaks == LineBreaks::Keep;
    const std::string_view bytes = mapped ? mapped->View() : spare_.View();
    const TextEncoding encoding = utf16 ? EncodingOf(bytes) : TextEncoding::Bytes;
    if (encoding == TextEncoding::Bytes) {
        if (mapped) {
            TakeMapped(path, std::move(mapped), keep);
        } else {
            TakeRead(keep);
        }
    } else {
        if (mapped && !mapped->Intact()) {
            throw CannotOpenFile(path, "The file changed while it was read");
        }
        if (const char* refusal = Utf16Refusal(bytes)) {
            throw NoPlainText(path, refusal);
        }
        std::string unit_text;
        UnitTextOfFile(bytes, encoding, unit_text);
        if (mapped && !mapped->Intact()) {
            throw CannotOpenFile(path, "The file changed while it was read");
        }
        // A unit text holds no NUL, since no unit is 0.
        held_nul_ = false;
        loaded_as_is_ = false;
        if (keep) {
            text_.Assign(unit_text);
        } else {
            SplitAndJoin(unit_text, text_, held_nul_);
        }
        mapped_.reset();
    }
    encoding_ = encoding;
    keeps_breaks_ = keep;
    loaded_version_ = version;
}

void TextDocument::TakeRead(bool keep) {
    if (keep) {
        held_nul_ = spare_.View().find('\0') != std::string_view::npos;
        loaded_as_is_ = false;
        text_.Swap(spare_);
    } else {
        loaded_as_is_ = IsJoinedForm(spare_.View());
        if (loaded_as_is_) {
            text_.Swap(spare_);
            held_nul_ = false;
        } else {
            SplitAndJoin(spare_.View(), text_, held_nul_);
        }
    }
    mapped_.reset();
}

void TextDocument::TakeMapped(const std::string& path, std::unique_ptr<MappedFile> mapped,
                              bool keep) {
    const std::string_view bytes = mapped->View();
    bool held_nul = false;
    // A text used where it lies: kept as it is, or already in joined form.
    bool in_place = keep;
    if (keep) {
        held_nul = bytes.find('\0') != std::string_view::npos;
    } else {
        in_place = IsJoinedForm(bytes);
        if (!in_place) {
            SplitAndJoin(bytes, spare_, held_nul);
        }
    }
    if (!mapped->Intact()) {
        throw CannotOpenFile(path, "The file changed while it was read");
    }
    held_nul_ = held_nul;
    loaded_as_is_ = in_place && !keep;
    if (in_place) {
        mapped_ = std::move(mapped);
        return;
    }
    text_.Swap(spare_);
    mapped_.reset();
}

void TextDocument::SaveFile(const std::string& path, const FileVersion* unchanged_since) const {
    ReplaceWholeFile(path, SavedForm(), unchanged_since);
}

ContentWriter TextDocument::SavedForm() const {
    if (encoding_ == TextEncoding::Bytes) {
        return [this](ContentSink& sink) { return sink.Write(Text()); };
    }
    return [this](ContentSink& sink) {
        Utf16Sink utf16(sink, encoding_);
        return utf16.Write(Text());
    };
}

bool TextDocument::MakeBackup(const std::string& path) noexcept {
    return CopyWholeFile(path, path + ".bak");
}

std::size_t TextDocument::LineCount() const {
    // One LF ends each line of the joined text, and no LF is inside one.
    const std::string_view text = JoinedText();
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> TextDocument::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(LineCount());
    std::size_t start = 0;
    const std::string_view text = JoinedText();
    while (start < text.size()) {
        // Lines of the joined text hold no CR, so the next CR ends one.
        std::size_t cr = text.find('\r', start);
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 2;
    }
    return lines;
}

}  // namespace korv
