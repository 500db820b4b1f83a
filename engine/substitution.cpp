#include "substitution.h"

#include <cerrno>
#include <cstring>

#include "byte_scan.h"
#include "file_ops.h"
#include "match_scan.h"

namespace korv {

namespace {

// A text with no NUL whose every CR is followed by an LF and every LF
// preceded by a CR, inside the text itself.
bool HasOnlyWholeCrLf(std::string_view text) {
    return OnlyCrLfBreaks(text.data(), text.size());
}

}  // namespace

Substitution Substitution::Plan(ReplaceContext& ctx, std::string_view source, std::string_view find,
                                std::string_view replacement, KnownOccurrences* known) {
    if (find == replacement) {
        Substitution plan = Unsearched(source);
        plan.find_ = find;
        plan.replacement_ = replacement;
        return plan;
    }
    return Search(ctx, source, find, replacement, known);
}

Substitution Substitution::Search(ReplaceContext& ctx, std::string_view source,
                                  std::string_view find, std::string_view replacement,
                                  KnownOccurrences* known) {
    Substitution plan;
    plan.source_ = source;
    plan.find_ = find;
    plan.replacement_ = replacement;
    if (source.empty()) {
        return plan;
    }
    ScanMatches(
        ctx, source, find, [&plan](std::size_t at) { plan.matches_.push_back(at); }, known);
    plan.walked_ = true;
    return plan;
}

Substitution Substitution::Unsearched(std::string_view source) {
    Substitution plan;
    plan.source_ = source;
    return plan;
}

Substitution Substitution::OntoText(std::string_view text, const JoinedForm& joined,
                                    std::string_view replacement) const {
    Substitution onto;
    onto.source_ = text;
    onto.find_ = find_;
    onto.replacement_ = replacement;
    onto.walked_ = walked_;
    onto.keeps_breaks_ = true;
    onto.matches_.reserve(matches_.size());
    onto.ends_.reserve(matches_.size());
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        onto.matches_.push_back(joined.InText(matches_[i]));
        onto.ends_.push_back(joined.InText(EndOf(i)));
    }
    return onto;
}

bool Substitution::SameAs(const Substitution& other) const {
    return source_.data() == other.source_.data() && source_.size() == other.source_.size() &&
           find_ == other.find_ && replacement_ == other.replacement_ &&
           matches_ == other.matches_ && ends_ == other.ends_ &&
           keeps_breaks_ == other.keeps_breaks_;
}

bool Substitution::Changed() const {
    if (matches_.empty()) {
        return false;
    }
    // The result differs only where an occurrence's own bytes differ from
    // the replacement (with folding, or line breaks of another kind, they
    // may not).
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        if (source_.substr(matches_[i], EndOf(i) - matches_[i]) != replacement_) {
            return true;
        }
    }
    return false;
}

std::string Substitution::Result() const {
    if (matches_.empty()) {
        return std::string(source_);
    }
    std::string result;
    std::size_t found = 0;
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        found += EndOf(i) - matches_[i];
    }
    result.reserve(source_.size() - found + matches_.size() * replacement_.size());
    std::size_t copied = 0;
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        result.append(source_.substr(copied, matches_[i] - copied));
        result.append(replacement_);
        copied = EndOf(i);
    }
    result.append(source_.substr(copied));
    return result;
}

bool Substitution::WrittenAsIs() const {
    if (keeps_breaks_ || matches_.empty()) {
        return true;
    }
    // Whole CR LF pairs in both texts cannot split a pair of the source
    // nor make a lone break; an occurrence at the very end could leave
    // the last line without its break, so that case is built instead.
    return matches_.back() + find_.size() < source_.size() && HasOnlyWholeCrLf(find_) &&
           HasOnlyWholeCrLf(replacement_);
}

bool Substitution::WriteResult(ContentSink& sink) const {
    // Large unchanged pieces go straight from the source; small pieces and
    // the replacements are gathered first, so a dense text costs a few
    // large writes, not one per piece.
    constexpr std::size_t kGather = 256 * 1024;
    std::string gathered;
    gathered.reserve(kGather);
    auto flush = [&]() {
        const bool ok = sink.Write(gathered);
        gathered.clear();
        return ok;
    };
    auto put = [&](std::string_view bytes) {
        if (gathered.size() + bytes.size() > kGather && !flush()) {
            return false;
        }
        if (bytes.size() >= kGather) {
            return sink.Write(bytes);
        }
        gathered.append(bytes);
        return true;
    };
    std::size_t copied = 0;
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        if (!put(source_.substr(copied, matches_[i] - copied)) || !put(replacement_)) {
            return false;
        }
        copied = EndOf(i);
    }
    return put(source_.substr(copied)) && flush();
}

void LogReplacement(ReplaceContext& ctx, std::string_view find, std::string_view replacement) {
    ctx.ReplacedFlag = true;
    const std::string file = ctx.CurrentFileName();
    std::string event;
    event.reserve(find.size() + file.size() + replacement.size() + 32);
    event.append(find).append(" found in ").append(file).append(" and replaced to ");
    event.append(replacement);
    ctx.LogEvent(event);
}

}  // namespace korv
