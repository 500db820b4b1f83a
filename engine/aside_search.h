#pragma once

#include <cstddef>
#include <string_view>

#include "replace_context.h"
#include "searcher.h"

namespace korv {

// What a search covers here before it hands the rest aside: a few
// milliseconds' work. Occurrences a MiB or so apart would otherwise each
// pay a hand-off, which on a busy machine costs more than the search.
inline constexpr std::size_t kSearchedHereBytes = std::size_t{8} << 20;

// Finds as Searcher does, but a search that has to go far into a big text
// is finished aside through the context, so the interface handles its
// events meanwhile: the first 8 MiB behind the start are searched here,
// and only when they hold no occurrence does the rest go aside. Occurrences
// close together, the common case, thus never pay for a hand-off.
class AsideSearch {
public:
    AsideSearch(ReplaceContext& ctx, std::string_view needle);

    // The offset of the first occurrence at or after `from`, or npos.
    [[nodiscard]] std::size_t Find(std::string_view haystack, std::size_t from,
                                   bool case_sensitive);

private:
    ReplaceContext& ctx_;
    std::size_t needle_size_;
    Searcher searcher_;
};

}  // namespace korv
