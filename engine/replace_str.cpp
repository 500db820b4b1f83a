#include "replace_str.h"

#include "match_scan.h"

namespace korv {

std::string ReplaceStr(ReplaceContext& ctx, std::string_view source, std::string_view find,
                       std::string_view replacement, bool log) {
    if (source.empty()) {
        return {};
    }
    if (find == replacement) {
        return std::string(source);
    }
    std::string result;
    std::size_t copied = 0;  // the source up to here is in the result
    ScanMatches(ctx, source, find, [&](std::size_t at) {
        if (result.capacity() == 0) {
            result.reserve(source.size() + (replacement.size() > find.size()
                                                ? (replacement.size() - find.size()) * 16
                                                : 0));
        }
        result.append(source.substr(copied, at - copied));
        result.append(replacement);
        copied = at + find.size();
    });
    if (copied == 0) {
        return std::string(source);  // nothing found
    }
    result.append(source.substr(copied));

    if (log && result != source) {
        ctx.ReplacedFlag = true;
        std::string event;
        std::string file = ctx.CurrentFileName();
        event.reserve(find.size() + file.size() + replacement.size() + 32);
        event.append(find).append(" found in ").append(file).append(" and replaced to ");
        event.append(replacement);
        ctx.LogEvent(event);
    }
    return result;
}

}  // namespace korv
