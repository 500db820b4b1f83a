#include "match_scan.h"

#include <optional>

#include "aside_search.h"

namespace korv {

std::size_t ScanMatches(ReplaceContext& ctx, std::string_view text, std::string_view find,
                        const std::function<void(std::size_t offset)>& on_match,
                        KnownOccurrences* known) {
    if (find.empty() || find.size() > text.size()) {
        return 0;
    }
    if (known != nullptr && !known->Of(text, find)) {
        known = nullptr;
    }
    AsideSearch searcher(ctx, find);
    const auto search = [&](std::size_t from) {
        const bool case_sensitive = ctx.CaseSensitive();
        const std::optional<std::size_t> answer =
            known != nullptr ? known->Answer(from, case_sensitive) : std::nullopt;
        return answer ? *answer : searcher.Find(text, from, case_sensitive);
    };
    std::size_t count = 0;
    std::size_t pos = search(0);
    while (pos != std::string_view::npos) {
        on_match(pos);
        ++count;
        // The search goes on behind the occurrence, under the case option
        // in force at this moment.
        pos = search(pos + find.size());
        ctx.PumpEvents();
    }
    return count;
}

}  // namespace korv
