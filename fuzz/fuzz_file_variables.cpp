// The file-name variables against the rules written out plainly: the parts
// of a path (separator '/'), FileExt, FileNameNoExt, and the expansion of
// the five tokens in their order, where a value once put in is never
// searched again.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_variables.h"
#include "reference_text.h"

namespace {

using korv::fuzz::Check;
using korv::fuzz::ReferenceLower;

bool IsSeparator(char c) {
    return c == '/';
}

// The position (from 1) of the last separator, 0 when there is none.
std::size_t LastSeparator(const std::string& p) {
    std::size_t i = 0;
    for (std::size_t k = 1; k <= p.size(); ++k) {
        if (IsSeparator(p[k - 1])) {
            i = k;
        }
    }
    return i;
}

std::string DirPart(const std::string& p) {
    const std::size_t i = LastSeparator(p);
    if (i > 1 && p[i - 1] == '/' && !IsSeparator(p[i - 2])) {
        return p.substr(0, i - 1);
    }
    return p.substr(0, i);
}

std::string NamePart(const std::string& p) {
    return p.substr(LastSeparator(p));
}

std::string ExtPart(const std::string& p) {
    for (std::size_t k = p.size(); k > 0; --k) {
        if (p[k - 1] == '.') {
            return p.substr(k - 1);
        }
        if (IsSeparator(p[k - 1])) {
            return {};
        }
    }
    return {};
}

std::string Ext(const std::string& part) {
    if (part.empty()) {
        return {};
    }
    std::string value = part;
    value[0] = ' ';
    while (!value.empty() && static_cast<unsigned char>(value[0]) <= 32) {
        value.erase(0, 1);
    }
    return value;
}

std::string NoExt(const std::string& p) {
    const std::string name = NamePart(p);
    std::size_t dot = std::string::npos;
    for (std::size_t k = 0; k + 1 < name.size(); ++k) {
        if (name[k] == '.') {
            dot = k;
        }
    }
    return dot == std::string::npos ? name : name.substr(0, dot);
}

class FixedCase final : public korv::ReplaceContext {
public:
    explicit FixedCase(bool case_sensitive) : case_sensitive_(case_sensitive) {}
    bool CaseSensitive() override { return case_sensitive_; }
    void PumpEvents() override { ++pumps; }
    std::string CurrentFileName() override { return {}; }
    void LogEvent(std::string_view /*event*/) override { ++events; }

    unsigned pumps = 0;
    unsigned events = 0;

private:
    bool case_sensitive_;
};

// The five substitutions in order over the whole text, each from left to
// right without overlap, where an occurrence may not touch a byte that an
// earlier step put in.
std::string ReferenceExpand(const std::string& text, const std::string& path, bool case_sensitive,
                            unsigned& pumps) {
    const std::array<std::pair<std::string, std::string>, 5> steps{{
        {"$fullfilename", path},
        {"$filedir", DirPart(path)},
        {"$fileext", Ext(ExtPart(path))},
        {"$filename", NamePart(path)},
        {"$file", NoExt(path)},
    }};
    std::string current = text;
    std::vector<bool> inserted(text.size(), false);
    for (const auto& [token, value] : steps) {
        if (current.empty() || token == value) {
            continue;  // the substitution gives its source back unchanged
        }
        const std::string haystack = case_sensitive ? current : ReferenceLower(current);
        const std::string needle = case_sensitive ? token : ReferenceLower(token);
        std::string next;
        std::vector<bool> next_inserted;
        std::size_t pos = 0;
        for (std::size_t at = 0; at + needle.size() <= haystack.size();) {
            bool hit = haystack.compare(at, needle.size(), needle) == 0;
            for (std::size_t k = at; hit && k < at + needle.size(); ++k) {
                hit = !inserted[k];
            }
            if (!hit) {
                ++at;
                continue;
            }
            next.append(current, pos, at - pos);
            next_inserted.insert(next_inserted.end(), inserted.begin() + static_cast<long>(pos),
                                 inserted.begin() + static_cast<long>(at));
            next += value;
            next_inserted.insert(next_inserted.end(), value.size(), true);
            ++pumps;
            at += needle.size();
            pos = at;
        }
        next.append(current, pos);
        next_inserted.insert(next_inserted.end(), inserted.begin() + static_cast<long>(pos),
                             inserted.end());
        current = std::move(next);
        inserted = std::move(next_inserted);
    }
    return current;
}

// Builds a text from pieces that make tokens, near-tokens and path bytes
// likely, one piece per input byte.
std::string FromPieces(const std::string& picks) {
    static const std::array<std::string_view, 24> kPieces{
        "$fullfilename",
        "$filedir",
        "$fileext",
        "$filename",
        "$file",
        "$FILE",
        "$FileName",
        "$FILEEXT",
        "$fil",
        "ename",
        "ext",
        "dir",
        "$",
        "/",
        ".",
        "a",
        "e",
        "x",
        "t",
        " ",
        "\t",
        std::string_view("\0", 1),
        "..",
        "$fullFileName",
    };
    std::string text;
    for (char c : picks) {
        text += kPieces[static_cast<unsigned char>(c) % kPieces.size()];
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto flags = in.ConsumeIntegral<std::uint8_t>();
    const bool case_sensitive = (flags & 1) != 0;
    std::string path = in.ConsumeRandomLengthString(64);
    std::string text = in.ConsumeRemainingBytesAsString();
    if ((flags & 2) != 0) {
        path = FromPieces(path);
    }
    if ((flags & 4) != 0) {
        text = FromPieces(text);
    }

    Check(korv::FileDirPart(path) == DirPart(path), "FileDirPart");
    Check(korv::FileNamePart(path) == NamePart(path), "FileNamePart");
    Check(korv::FileExtPart(path) == ExtPart(path), "FileExtPart");
    Check(korv::FileExt(ExtPart(path)) == Ext(ExtPart(path)), "FileExt of the extension part");
    Check(korv::FileExt(text) == Ext(text), "FileExt of any text");
    Check(korv::FileNameNoExt(path) == NoExt(path), "FileNameNoExt");

    unsigned expected_pumps = 0;
    const std::string expected = ReferenceExpand(text, path, case_sensitive, expected_pumps);
    FixedCase ctx(case_sensitive);
    const std::string result = korv::ExpandFileVariables(ctx, text, path);
    Check(result == expected, "ExpandFileVariables");
    Check(ctx.pumps == expected_pumps, "one pump per replacement");
    Check(ctx.events == 0 && !ctx.ReplacedFlag, "the expansion never logs");
    return 0;
}
