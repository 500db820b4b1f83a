#include "byte_scan.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korv {

bool OnlyCrLfBreaks(const char* bytes, std::size_t size, std::size_t& line_breaks) {
    std::size_t lines = 0;
    std::size_t i = 0;
    bool pending_cr = false;  // the byte before i was a CR
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const auto m_cr = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)));
        const auto m_lf = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        const auto m_nul =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, nul)));
        // Each LF sits exactly one place after a CR, the first one possibly
        // after the previous block's last byte.
        const std::uint32_t expected_lf = ((m_cr << 1) | (pending_cr ? 1u : 0u)) & 0xFFFFu;
        if (m_nul != 0 || m_lf != expected_lf) {
            return false;
        }
        pending_cr = (m_cr & 0x8000u) != 0;
        // Breaks are sparse: clearing bits one by one beats a library popcount.
        for (std::uint32_t m = m_lf; m != 0; m &= m - 1) {
            ++lines;
        }
    }
#endif
    for (; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\0' || (c == '\n') != pending_cr) {
            return false;
        }
        lines += c == '\n' ? 1 : 0;
        pending_cr = c == '\r';
    }
    if (pending_cr) {
        return false;
    }
    line_breaks = lines;
    return true;
}

const char* FindLineBreak(const char* from, const char* end) {
    const char* p = from;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        if (mask != 0) {
            return p + __builtin_ctz(mask);
        }
    }
#endif
    while (p < end && *p != '\r' && *p != '\n') {
        ++p;
    }
    return p;
}

}  // namespace korv
