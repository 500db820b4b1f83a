#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_ops.h"
#include "joined_form.h"
#include "known_occurrences.h"
#include "replace_context.h"

namespace korv {

// Where a find text occurs in a source and what replaces it, found once;
// the result can then be built, compared with the source or written out
// without building it. The source and the two texts must outlive it.
class Substitution {
public:
    // Finds the occurrences as ReplaceStr does: nothing for an empty
    // source or equal texts, the case option asked before every search,
    // one event pump per occurrence. Searches that `known` occurrences
    // answer are not made again.
    static Substitution Plan(ReplaceContext& ctx, std::string_view source, std::string_view find,
                             std::string_view replacement, KnownOccurrences* known = nullptr);
    // The same without looking at the texts first: every occurrence is
    // found even when the replacement is the find text itself (as it may
    // be once written in a file's own line breaks).
    static Substitution Search(ReplaceContext& ctx, std::string_view source, std::string_view find,
                               std::string_view replacement, KnownOccurrences* known = nullptr);
    // A plan that changes nothing of `source`, made without searching.
    [[nodiscard]] static Substitution Unsearched(std::string_view source);
    // This plan, made over the joined form of `text`, carried over onto
    // `text` itself: each occurrence covers the bytes of `text` that its
    // joined bytes came from, line breaks of any kind included, and is
    // replaced by `replacement`. Its result is written as it is.
    [[nodiscard]] Substitution OntoText(std::string_view text, const JoinedForm& joined,
                                        std::string_view replacement) const;

    [[nodiscard]] bool Found() const { return !matches_.empty(); }
    [[nodiscard]] std::size_t Occurrences() const { return matches_.size(); }
    // The occurrences found, under `case_sensitive`, for a later walk over
    // the same source to take instead of searching again; nothing when no
    // walk was made (equal texts are not searched at all).
    [[nodiscard]] std::optional<KnownOccurrences> Known(bool case_sensitive) const {
        if (!walked_ || !ends_.empty()) {
            return std::nullopt;
        }
        return KnownOccurrences(source_, find_, case_sensitive, matches_);
    }
    // Whether `other` makes the same result from the same source.
    [[nodiscard]] bool SameAs(const Substitution& other) const;
    // Whether the result differs from the source, byte for byte.
    [[nodiscard]] bool Changed() const;
    [[nodiscard]] std::string Result() const;
    // Whether the result is written out as it is: the file's line breaks
    // are kept, or the result of a source with only CR LF line breaks,
    // ending in one, keeps that form.
    [[nodiscard]] bool WrittenAsIs() const;
    // Marks the result as the file's own text, line breaks kept.
    void KeepLineBreaks() { keeps_breaks_ = true; }
    // Writes the result to `sink`, gathering the unchanged pieces straight
    // from the source; false when a write fails.
    bool WriteResult(ContentSink& sink) const;

private:
    // Where each occurrence begins and ends in the source, ascending; with
    // no ends, each is as long as the find text.
    [[nodiscard]] std::size_t EndOf(std::size_t i) const {
        return ends_.empty() ? matches_[i] + find_.size() : ends_[i];
    }

    std::string_view source_;
    std::string_view find_;
    std::string_view replacement_;
    std::vector<std::size_t> matches_;
    std::vector<std::size_t> ends_;
    bool walked_ = false;        // the source was searched
    bool keeps_breaks_ = false;  // the result is the file's own text
};

// Raises the flag and writes the log line of a changed text:
//   "<find> found in <CurrentFileName> and replaced to <replacement>".
void LogReplacement(ReplaceContext& ctx, std::string_view find, std::string_view replacement);

}  // namespace korv
