#include "kept_breaks.h"

#include "byte_scan.h"
#include "joined_form.h"
#include "line_breaks.h"

namespace korv {

namespace {

bool HoldsLineBreak(std::string_view text) {
    return FindLineBreak(text.data(), text.data() + text.size()) != text.data() + text.size();
}

bool EndsWithLineBreak(std::string_view text) {
    return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

// The first line break of `text`, "" when it has none.
std::string_view FirstLineBreak(std::string_view text) {
    const char* const end = text.data() + text.size();
    const char* const at = FindLineBreak(text.data(), end);
    if (at == end) {
        return {};
    }
    if (*at == '\n') {
        return "\n";
    }
    return at + 1 < end && at[1] == '\n' ? "\r\n" : "\r";
}

// Whether every line break of `text` is a `kind`, as the line model reads
// them (an LF right after a CR belongs to it).
bool AllBreaksAre(std::string_view text, std::string_view kind) {
    if (kind == "\n") {
        return text.find('\r') == std::string_view::npos;
    }
    if (kind == "\r") {
        return text.find('\n') == std::string_view::npos;
    }
    return OnlyCrLfBreaks(text.data(), text.size());
}

// `text` with each of its line breaks written as `line_break`.
std::string WithLineBreaks(std::string_view text, std::string_view line_break) {
    std::string out;
    out.reserve(text.size());
    const char* const end = text.data() + text.size();
    for (const char* p = text.data(); p < end;) {
        const char* stop = FindLineBreak(p, end);
        out.append(p, stop);
        if (stop == end) {
            break;
        }
        out.append(line_break);
        p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
    }
    return out;
}

}  // namespace

Substitution PlanKeepingBreaks(ReplaceContext& ctx, std::string_view text, std::string_view find,
                               std::string_view replacement, KeptTexts& texts,
                               KnownOccurrences* known) {
    if (find == replacement) {
        // Equal texts change nothing, whatever line breaks the file has.
        return Substitution::Unsearched(text);
    }
    const std::string_view first_break = FirstLineBreak(text);
    texts.replacement =
        WithLineBreaks(replacement, first_break.empty() ? NativeLineBreak() : first_break);
    Substitution plan;
    if (!HoldsLineBreak(find)) {
        // Lines are the same in the text and in its joined form.
        texts.find.assign(find);
        plan = Substitution::Search(ctx, text, texts.find, texts.replacement, known);
    } else if (!first_break.empty() && OnlyCrLfBreaks(find.data(), find.size()) &&
               AllBreaksAre(text, first_break) &&
               (EndsWithLineBreak(text) || !EndsWithLineBreak(find))) {
        // Breaks of one kind: the joined form only spells each differently.
        texts.find = WithLineBreaks(find, first_break);
        plan = Substitution::Search(ctx, text, texts.find, texts.replacement, known);
    } else {
        const JoinedForm joined(text);
        return Substitution::Search(ctx, joined.Joined(), find, texts.replacement)
            .OntoText(text, joined, texts.replacement);
    }
    plan.KeepLineBreaks();
    return plan;
}

}  // namespace korv
