#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "known_occurrences.h"
#include "replace_context.h"

namespace korv {

// Walks the occurrences of `find` in `text` from left to right without
// overlap, asking ctx.CaseSensitive() before each search and calling
// ctx.PumpEvents() after each occurrence has been handed to `on_match`
// (with its offset). An empty `find` is never found. Returns the number of
// occurrences. This is the search loop that ReplaceStr and the file-name
// variables share. Given `known` occurrences of `find` in `text`, a search
// they answer is not made again.
std::size_t ScanMatches(ReplaceContext& ctx, std::string_view text, std::string_view find,
                        const std::function<void(std::size_t offset)>& on_match,
                        KnownOccurrences* known = nullptr);

}  // namespace korv
