#include "replace_str.h"

#include "substitution.h"

namespace korv {

std::string ReplaceStr(ReplaceContext& ctx, std::string_view source, std::string_view find,
                       std::string_view replacement, bool log) {
    const Substitution substitution = Substitution::Plan(ctx, source, find, replacement);
    std::string result = substitution.Result();
    if (log && substitution.Changed()) {
        LogReplacement(ctx, find, replacement);
    }
    return result;
}

}  // namespace korv
