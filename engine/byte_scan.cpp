#include "byte_scan.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korv {

namespace {

#if defined(__SSE2__)
// One bit per byte of the 64 at `bytes` that equals the byte in `wanted`.
inline std::uint64_t MaskOf64(const char* bytes, __m128i wanted) {
    auto part = [&](int i) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        return static_cast<std::uint64_t>(
                   static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))))
               << (16 * i);
    };
    return part(0) | part(1) | part(2) | part(3);
}
#endif

}  // namespace

bool OnlyCrLfBreaks(const char* bytes, std::size_t size) {
    std::size_t i = 0;
    bool pending_cr = false;  // the byte before i was a CR
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 64 <= size; i += 64) {
        const std::uint64_t m_cr = MaskOf64(bytes + i, cr);
        const std::uint64_t m_lf = MaskOf64(bytes + i, lf);
        const std::uint64_t m_nul = MaskOf64(bytes + i, nul);
        // Each LF sits exactly one place after a CR, the first one possibly
        // after the previous block's last byte.
        const std::uint64_t expected_lf = (m_cr << 1) | (pending_cr ? 1u : 0u);
        if ((m_nul | (m_lf ^ expected_lf)) != 0) {
            return false;
        }
        pending_cr = (m_cr >> 63) != 0;
    }
#endif
    for (; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\0' || (c == '\n') != pending_cr) {
            return false;
        }
        pending_cr = c == '\r';
    }
    return !pending_cr;
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
