#pragma once

#include <string>
#include <string_view>

#include "known_occurrences.h"
#include "replace_context.h"
#include "substitution.h"

namespace korv {

// The two texts of a substitution in a file whose line breaks are kept, as
// they are searched for and written there.
struct KeptTexts {
    std::string find;
    std::string replacement;
};

// Plans the substitution of `find` by `replacement` in `text`, a file's own
// text whose line breaks are kept. What matches is what matches in the
// text's joined form: a line break of the find text matches any one line
// break of the text (a CR LF, a lone CR, a lone LF, or the missing break at
// the end), and the rest byte for byte, or with the letters folded. Each
// line break of the replacement is written as the text's first line break,
// or this system's where the text has none. The text is searched where it
// lies unless the find text holds a line break and the text has breaks of
// several kinds (or lacks its last one, where the find text ends with a
// break): only then is it joined, and what was found carried back onto it.
// `texts` keeps the texts as searched and written, and must live as long
// as the plan, as must `text` and `find`.
[[nodiscard]] Substitution PlanKeepingBreaks(ReplaceContext& ctx, std::string_view text,
                                             std::string_view find, std::string_view replacement,
                                             KeptTexts& texts, KnownOccurrences* known = nullptr);

}  // namespace korv
