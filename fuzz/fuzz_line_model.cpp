// The line model against a plain splitter: AssignText and LoadFile must
// give the lines, the joined text and the NUL flag that the literal rules
// give, also when one document is reused for text after text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memory_file.h"
#include "reference_text.h"
#include "text_document.h"

namespace {

using korv::fuzz::Check;
using korv::fuzz::MemoryFile;
using korv::fuzz::ReferenceJoin;
using korv::fuzz::ReferenceSplit;

void CheckDocument(const korv::TextDocument& document, std::string_view text) {
    const std::vector<std::string> lines = ReferenceSplit(text);
    Check(document.Lines() == lines, "Lines");
    Check(document.LineCount() == lines.size(), "LineCount");
    Check(document.Empty() == lines.empty(), "Empty");
    Check(document.JoinedText() == ReferenceJoin(lines), "JoinedText");
    Check(document.HeldNul() == (text.find('\0') != std::string_view::npos), "HeldNul");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The input is one or two texts, split at the first byte 0xFF, so the
    // reuse of one document from text to text is exercised too.
    const std::size_t cut = input.find('\xFF');
    const std::string_view first = input.substr(0, cut);
    const std::string_view second =
        cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);

    korv::TextDocument document;
    document.AssignText(first);
    CheckDocument(document, first);
    document.AssignText(second);
    CheckDocument(document, second);
    // A joined text is its own joined form.
    const std::string joined(document.JoinedText());
    document.AssignText(joined);
    CheckDocument(document, joined);
    // Its own text, handed back.
    document.AssignText(document.JoinedText());
    CheckDocument(document, joined);

    static MemoryFile file;
    file.Fill(first);
    document.LoadFile(file.Path());
    CheckDocument(document, first);
    file.Fill(second);
    document.LoadFile(file.Path());
    CheckDocument(document, second);
    return 0;
}
