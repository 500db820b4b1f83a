#include "file_variables.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "match_scan.h"
#include "path_syntax.h"

namespace korv {

namespace {

// One piece of a text being expanded: its own bytes, or a value that
// was put in and is never searched again.
struct Piece {
    std::string text;
    bool inserted = false;
};

}  // namespace

std::string FileDirPart(std::string_view path) {
    std::size_t sep = LastPathSeparator(path);
    if (sep == std::string_view::npos) {
        return {};
    }
    // The separator is dropped, except where it is the first byte or
    // follows another separator (a root keeps its own).
    if (sep > 0 && path[sep] == DirSeparator() && !IsPathSeparatorAt(path, sep - 1)) {
        return std::string(path.substr(0, sep));
    }
    return std::string(path.substr(0, sep + 1));
}

std::string FileNamePart(std::string_view path) {
    std::size_t sep = LastPathSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string FileExtPart(std::string_view path) {
    // A dot is never the trail byte of a double-byte character.
    const std::size_t dot = path.rfind('.');
    const std::size_t sep = LastPathSeparator(path);
    if (dot == std::string_view::npos || (sep != std::string_view::npos && sep > dot)) {
        return {};
    }
    return std::string(path.substr(dot));
}

std::string FileExt(std::string_view extension_part) {
    if (extension_part.empty()) {
        return {};
    }
    std::string value(extension_part);
    value[0] = ' ';
    std::size_t start = 0;
    while (start < value.size() && static_cast<unsigned char>(value[start]) <= 32) {
        ++start;
    }
    return value.substr(start);
}

std::string FileNameNoExt(std::string_view path) {
    std::string name = FileNamePart(path);
    if (name.size() < 2) {
        return name;
    }
    std::size_t dot = name.rfind('.', name.size() - 2);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ExpandFileVariables(ReplaceContext& ctx, std::string_view text, std::string_view path) {
    using ValueOf = std::string (*)(std::string_view);
    static constexpr std::array<std::pair<std::string_view, ValueOf>, 5> kTokens{{
        {"$fullfilename", [](std::string_view p) { return std::string(p); }},
        {"$filedir", [](std::string_view p) { return FileDirPart(p); }},
        {"$fileext", [](std::string_view p) { return FileExt(FileExtPart(p)); }},
        {"$filename", [](std::string_view p) { return FileNamePart(p); }},
        {"$file", [](std::string_view p) { return FileNameNoExt(p); }},
    }};

    std::vector<Piece> pieces{{std::string(text), false}};
    for (const auto& entry : kTokens) {
        // A plain name, not a structured binding: clang before 16 cannot
        // capture those in the lambda below.
        const std::string_view token = entry.first;
        const std::string value = entry.second(path);
        if (value == token) {
            continue;  // replacing a token by itself changes nothing
        }
        std::vector<Piece> next;
        next.reserve(pieces.size());
        // Text that meets text (an empty value lies between) is one piece
        // again, so the later steps search across the joint as they would
        // in the whole text.
        auto push_text = [&next](std::string_view part) {
            if (!next.empty() && !next.back().inserted) {
                next.back().text += part;
            } else {
                next.push_back({std::string(part), false});
            }
        };
        for (Piece& piece : pieces) {
            if (piece.inserted) {
                next.push_back(std::move(piece));
                continue;
            }
            const std::string_view own = piece.text;
            std::size_t copied = 0;
            ScanMatches(ctx, own, token, [&](std::size_t at) {
                push_text(own.substr(copied, at - copied));
                if (!value.empty()) {
                    next.push_back({value, true});
                }
                copied = at + token.size();
            });
            push_text(own.substr(copied));
        }
        pieces = std::move(next);
    }

    std::string result;
    for (const Piece& piece : pieces) {
        result += piece.text;
    }
    return result;
}

}  // namespace korv
