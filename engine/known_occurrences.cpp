#include "known_occurrences.h"

namespace korv {

KnownOccurrences::KnownOccurrences(std::string_view text, std::string_view find,
                                   bool case_sensitive, const std::vector<std::size_t>& offsets)
    : text_(text), find_(find), case_sensitive_(case_sensitive), offsets_(offsets) {}

bool KnownOccurrences::Of(std::string_view text, std::string_view find) const {
    return text.data() == text_.data() && text.size() == text_.size() && find == find_;
}

std::optional<std::size_t> KnownOccurrences::Answer(std::size_t from, bool case_sensitive) {
    if (!on_walk_ || from != walk_from_ || case_sensitive != case_sensitive_) {
        on_walk_ = false;
        return std::nullopt;
    }
    if (next_ == offsets_.size()) {
        return std::string_view::npos;
    }
    const std::size_t found = offsets_[next_++];
    walk_from_ = found + find_.size();
    return found;
}

}  // namespace korv
