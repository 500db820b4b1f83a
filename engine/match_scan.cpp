#include "match_scan.h"

#include "aside_search.h"

namespace korv {

std::size_t ScanMatches(ReplaceContext& ctx, std::string_view text, std::string_view find,
                        const std::function<void(std::size_t offset)>& on_match) {
    if (find.empty() || find.size() > text.size()) {
        return 0;
    }
    AsideSearch searcher(ctx, find);
    std::size_t count = 0;
    std::size_t pos = searcher.Find(text, 0, ctx.CaseSensitive());
    while (pos != std::string_view::npos) {
        on_match(pos);
        ++count;
        // The search goes on behind the occurrence, under the case option
        // in force at this moment.
        pos = searcher.Find(text, pos + find.size(), ctx.CaseSensitive());
        ctx.PumpEvents();
    }
    return count;
}

}  // namespace korv
