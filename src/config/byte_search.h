#pragma once
// Searches that look at sixteen bytes at a time. Every byte the configurator reads passes through
// them, and the C runtime's memchr under Wine looks at one byte at a time.
#include <bit>
#include <cstddef>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velko {

// The position of the first byte at or after from that is a or b; npos when there is none.
inline size_t findEitherByte(std::string_view text, char a, char b, size_t from = 0) {
    size_t at = from;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits))) return at + std::countr_zero(mask);
    }
#endif
    for (; at < text.size(); ++at)
        if (text[at] == a || text[at] == b) return at;
    return std::string_view::npos;
}

inline size_t findByte(std::string_view text, char byte, size_t from = 0) {
    return findEitherByte(text, byte, byte, from);
}

}  // namespace velko
