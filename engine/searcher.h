#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace korv {

// Finds one needle in haystacks, exactly or with the 26 ASCII letters
// folded, choosing the mode per search. Candidates are found sixteen
// positions at a time by two of the needle's rarer bytes and then
// verified; a needle that keeps producing false candidates (say "aaaa" in
// "aaaa...") switches to a Knuth-Morris-Pratt scan, so every search stays
// linear in what it reads.
class Searcher {
public:
    explicit Searcher(std::string_view needle);

    // The offset of the first occurrence in `haystack` at or after `from`,
    // or npos. An empty needle is never found.
    [[nodiscard]] std::size_t Find(std::string_view haystack, std::size_t from,
                                   bool case_sensitive);

    static constexpr std::size_t npos = std::string_view::npos;

private:
    std::size_t FindFiltered(std::string_view haystack, std::size_t from, bool fold);
    std::size_t FindKmp(std::string_view haystack, std::size_t from, bool fold);
    [[nodiscard]] bool Matches(const char* at, bool fold) const;
    const std::vector<std::size_t>& Failure(bool fold);

    std::string_view needle_;
    // The offsets in the needle of the two bytes the filter looks for.
    std::size_t probe_a_ = 0;
    std::size_t probe_b_ = 0;
    std::vector<std::size_t> failure_[2];  // exact, folded; built on first need
    bool use_kmp_[2] = {false, false};
};

// ASCII lower case of one byte: only A to Z change.
constexpr unsigned char FoldByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace korv
