#include "aside_search.h"

namespace korv {

AsideSearch::AsideSearch(ReplaceContext& ctx, std::string_view needle)
    : ctx_(ctx), needle_size_(needle.size()), searcher_(needle) {}

std::size_t AsideSearch::Find(std::string_view haystack, std::size_t from, bool case_sensitive) {
    constexpr std::size_t kStretch = kSearchedHereBytes;
    if (from >= haystack.size() || haystack.size() - from <= kStretch || !ctx_.WorksAside()) {
        return searcher_.Find(haystack, from, case_sensitive);
    }
    std::size_t found = searcher_.Find(haystack.substr(0, from + kStretch), from, case_sensitive);
    if (found != Searcher::npos) {
        return found;
    }
    // Every occurrence that starts early enough to end inside the stretch
    // has been ruled out.
    const std::size_t rest =
        from + (kStretch > needle_size_ - 1 ? kStretch - (needle_size_ - 1) : 0);
    ctx_.RunAside([&] { found = searcher_.Find(haystack, rest, case_sensitive); });
    return found;
}

}  // namespace korv
