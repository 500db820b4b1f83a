#include "searcher.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korv {

namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

// How many bytes of false candidates a search may verify per byte scanned
// before it gives up on the filter for that mode.
constexpr std::size_t kVerifyAllowance = 4;
constexpr std::size_t kVerifyHeadroom = 4096;

// How common a byte is in ordinary text, most common first; a byte not
// listed counts as rare. The filter looks for the needle's two rarest
// bytes, which lets through the fewest false candidates.
constexpr std::string_view kCommonBytes =
    " etaoinsrhldcumfpgwybvk\r\n,.x-_jqz0123456789=()\"';:/\t";

struct CommonnessTable {
    int rank[256] = {};
    constexpr CommonnessTable() {
        for (int c = 0; c < 256; ++c) {
            const auto byte = static_cast<unsigned char>(c);
            const std::size_t at = kCommonBytes.find(static_cast<char>(FoldByte(byte)));
            const int of_small =
                at == std::string_view::npos ? 0 : static_cast<int>(kCommonBytes.size() - at);
            // A capital letter is rarer than its small one.
            rank[c] = (byte >= 'A' && byte <= 'Z') ? of_small / 2 : of_small;
        }
    }
};

// Looked up for every byte of every needle, once per file searched.
constexpr CommonnessTable kCommonness;

int Commonness(unsigned char c) {
    return kCommonness.rank[c];
}

}  // namespace

Searcher::Searcher(std::string_view needle) : needle_(needle) {
    if (needle_.size() < 2) {
        return;
    }
    // The two rarest positions; ties go to the later one, which tends to
    // differ more from what precedes a near miss.
    std::size_t rarest = needle_.size() - 1;
    for (std::size_t i = needle_.size() - 1; i-- > 0;) {
        if (Commonness(static_cast<unsigned char>(needle_[i])) <
            Commonness(static_cast<unsigned char>(needle_[rarest]))) {
            rarest = i;
        }
    }
    std::size_t second = rarest == 0 ? 1 : 0;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        if (i != rarest && Commonness(static_cast<unsigned char>(needle_[i])) <=
                               Commonness(static_cast<unsigned char>(needle_[second]))) {
            second = i;
        }
    }
    probe_a_ = rarest;
    probe_b_ = second;
}

bool Searcher::Matches(const char* at, bool fold) const {
    if (!fold) {
        return std::memcmp(at, needle_.data(), needle_.size()) == 0;
    }
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        if (FoldByte(static_cast<unsigned char>(at[i])) !=
            FoldByte(static_cast<unsigned char>(needle_[i]))) {
            return false;
        }
    }
    return true;
}

std::size_t Searcher::Find(std::string_view haystack, std::size_t from, bool case_sensitive) {
    const std::size_t n = needle_.size();
    if (n == 0 || from > haystack.size() || haystack.size() - from < n) {
        return npos;
    }
    const bool fold = !case_sensitive;
    if (use_kmp_[fold]) {
        return FindKmp(haystack, from, fold);
    }
    return FindFiltered(haystack, from, fold);
}

std::size_t Searcher::FindFiltered(std::string_view haystack, std::size_t from, bool fold) {
    const std::size_t n = needle_.size();
    const char* const base = haystack.data();
    const std::size_t last_start = haystack.size() - n;  // the last offset a match can begin at
    const std::size_t a_at = probe_a_;
    const std::size_t b_at = probe_b_;
    const auto first = static_cast<unsigned char>(needle_[a_at]);
    const auto last = static_cast<unsigned char>(needle_[b_at]);
    // With folding, a letter is compared with its 0x20 bit set on both sides;
    // the filter then lets through a few non-letters too, which verifying
    // rejects.
    const unsigned char first_mask = (fold && IsAsciiLetter(first)) ? 0x20 : 0;
    const unsigned char last_mask = (fold && IsAsciiLetter(last)) ? 0x20 : 0;
    const unsigned char first_want = first | first_mask;
    const unsigned char last_want = last | last_mask;
    // Bytes compared for candidates that were no match, in this search.
    std::size_t wasted = 0;

    auto verify = [&](std::size_t at) -> bool {
        if (Matches(base + at, fold)) {
            return true;
        }
        wasted += n;
        return false;
    };
    auto over_budget = [&](std::size_t scanned) {
        return wasted > kVerifyAllowance * scanned + kVerifyHeadroom;
    };

    std::size_t pos = from;
#if defined(__SSE2__)
    const __m128i v_first_mask = _mm_set1_epi8(static_cast<char>(first_mask));
    const __m128i v_last_mask = _mm_set1_epi8(static_cast<char>(last_mask));
    const __m128i v_first = _mm_set1_epi8(static_cast<char>(first_want));
    const __m128i v_last = _mm_set1_epi8(static_cast<char>(last_want));
    while (pos + 16 <= last_start + 1) {
        const __m128i block_first =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos + a_at));
        const __m128i block_last =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos + b_at));
        const __m128i eq_first = _mm_cmpeq_epi8(_mm_or_si128(block_first, v_first_mask), v_first);
        const __m128i eq_last = _mm_cmpeq_epi8(_mm_or_si128(block_last, v_last_mask), v_last);
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(eq_first, eq_last)));
        while (mask != 0) {
            const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctz(mask));
            if (verify(at)) {
                return at;
            }
            mask &= mask - 1;
        }
        pos += 16;
        if (over_budget(pos - from)) {
            use_kmp_[fold] = true;
            return FindKmp(haystack, pos, fold);
        }
    }
#endif
    for (; pos <= last_start; ++pos) {
        const auto a = static_cast<unsigned char>(base[pos + a_at]);
        const auto b = static_cast<unsigned char>(base[pos + b_at]);
        if ((a | first_mask) == first_want && (b | last_mask) == last_want) {
            if (verify(pos)) {
                return pos;
            }
            if (over_budget(pos + 1 - from)) {
                use_kmp_[fold] = true;
                return FindKmp(haystack, pos + 1, fold);
            }
        }
    }
    return npos;
}

const std::vector<std::size_t>& Searcher::Failure(bool fold) {
    std::vector<std::size_t>& table = failure_[fold];
    if (!table.empty()) {
        return table;
    }
    auto at = [&](std::size_t i) {
        auto c = static_cast<unsigned char>(needle_[i]);
        return fold ? FoldByte(c) : c;
    };
    const std::size_t n = needle_.size();
    table.assign(n, 0);
    std::size_t k = 0;
    for (std::size_t i = 1; i < n; ++i) {
        while (k > 0 && at(i) != at(k)) {
            k = table[k - 1];
        }
        if (at(i) == at(k)) {
            ++k;
        }
        table[i] = k;
    }
    return table;
}

std::size_t Searcher::FindKmp(std::string_view haystack, std::size_t from, bool fold) {
    const std::vector<std::size_t>& table = Failure(fold);
    const std::size_t n = needle_.size();
    auto fold_if = [fold](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return fold ? FoldByte(c) : c;
    };
    std::size_t k = 0;
    for (std::size_t i = from; i < haystack.size(); ++i) {
        const unsigned char c = fold_if(haystack[i]);
        while (k > 0 && c != fold_if(needle_[k])) {
            k = table[k - 1];
        }
        if (c == fold_if(needle_[k])) {
            ++k;
        }
        if (k == n) {
            return i + 1 - n;
        }
    }
    return npos;
}

}  // namespace korv
