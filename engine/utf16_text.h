#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "file_ops.h"

namespace korv {

// How a text file's bytes are read: as 8-bit text, or as UTF-16 in the
// byte order its byte-order mark tells.
enum class TextEncoding { Bytes, Utf16Le, Utf16Be };

// UTF-16 when the bytes start with FF FE (little-endian) or FE FF
// (big-endian), whatever their length; 8-bit text otherwise, a UTF-8
// byte-order mark included.
[[nodiscard]] TextEncoding EncodingOf(std::string_view bytes);

// A UTF-16 text is worked on as "unit text": each 16-bit code unit, the
// byte-order mark and any surrogate included, written on its own as
// UTF-8 writes a character, in one to three bytes. So only a unit below
// 0x80 becomes a byte below 0x80 and no unit's bytes begin inside another
// unit's: a match of one unit text in another covers whole units, folding
// the bytes A to Z folds exactly the units A to Z, and the units CR and LF
// are the bytes CR and LF. The line model and the searcher thus work on it
// unchanged, and writing it back gives the very units it was made of.

// Why a UTF-16 file cannot be worked on, or nullptr when it can.
[[nodiscard]] const char* Utf16Refusal(std::string_view bytes);
// The unit text of a UTF-16 file's bytes of `encoding`, which
// Utf16Refusal() accepted.
void UnitTextOfFile(std::string_view bytes, TextEncoding encoding, std::string& unit_text);
// The UTF-16 bytes of `encoding` for a unit text.
[[nodiscard]] std::string FileBytesOfUnitText(std::string_view unit_text, TextEncoding encoding);

// The unit text of UTF-16 code units.
[[nodiscard]] std::string UnitTextOf(std::u16string_view units);
// The UTF-16 code units of UTF-8 text; nullopt when it is not UTF-8.
[[nodiscard]] std::optional<std::u16string> Utf16OfUtf8(std::string_view utf8);
// The program's own text (what the user typed and the file names) as
// UTF-16: UTF-8 on POSIX, the ANSI code page on Windows; nullopt when it
// is no text of that encoding.
[[nodiscard]] std::optional<std::u16string> Utf16OfProgramText(std::string_view text);
// A unit text as UTF-8 to show; a lone surrogate shows as U+FFFD.
[[nodiscard]] std::string Utf8OfUnitText(std::string_view unit_text);

// Passes unit text on to `sink` as the UTF-16 bytes of `encoding`. A unit
// may arrive split between two writes.
class Utf16Sink final : public ContentSink {
public:
    Utf16Sink(ContentSink& sink, TextEncoding encoding) : sink_(sink), encoding_(encoding) {}

    bool Write(std::string_view unit_text) override;

private:
    ContentSink& sink_;
    TextEncoding encoding_;
    std::string pending_;  // the first bytes of a unit still to come
};

}  // namespace korv
