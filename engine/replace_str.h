#pragma once

#include <string>
#include <string_view>

#include "replace_context.h"

namespace korv {

// Replaces every occurrence of `find` in `source` by `replacement`, left to
// right, never overlapping and never searching the inserted text again.
// Matching is exact, or with the 26 ASCII letters folded when the context
// says the case option is off. With `log` on and a result that differs from
// the source, raises ctx.ReplacedFlag and logs
//   "<find> found in <CurrentFileName> and replaced to <replacement>".
// Runs in time linear in the source and the result.
[[nodiscard]] std::string ReplaceStr(ReplaceContext& ctx, std::string_view source,
                                     std::string_view find, std::string_view replacement, bool log);

}  // namespace korv
