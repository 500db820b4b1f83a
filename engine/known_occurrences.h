#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace korv {

// The occurrences of a find text in a text as an earlier walk found them
// (on another thread, ahead of time), under one case option. A walk made
// now asks here before each search: a search from a point the earlier walk
// searched from, under the same option, has the answer the earlier one
// had, so it need not be made again. Once a search departs from that walk
// (the option changed, say), every search from then on is made anew. The
// text, the find text and the offsets must outlive it.
class KnownOccurrences {
public:
    KnownOccurrences(std::string_view text, std::string_view find, bool case_sensitive,
                     const std::vector<std::size_t>& offsets);

    // Whether these are the occurrences of `find` in `text`: the same
    // bytes of the same buffer.
    [[nodiscard]] bool Of(std::string_view text, std::string_view find) const;
    // The offset a search from `from` under `case_sensitive` returns (npos
    // for none), or nothing when it has to be made.
    [[nodiscard]] std::optional<std::size_t> Answer(std::size_t from, bool case_sensitive);

private:
    std::string_view text_;
    std::string_view find_;
    bool case_sensitive_;
    const std::vector<std::size_t>& offsets_;
    std::size_t next_ = 0;       // the earlier walk's next occurrence
    std::size_t walk_from_ = 0;  // where the earlier walk searched from next
    bool on_walk_ = true;
};

}  // namespace korv
