#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

#if defined(_WIN32) && defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

// The first `byte` in [begin, end), or null: memchr. On Windows the bytes
// are compared here, 16 a step, without a call: the C library that MinGW's
// programs call (msvcrt.dll, Wine's own under Wine) goes a byte at a time,
// which made looking for the line ends of a big cookie file a fifth of its
// decoding.
inline const char *findByte(const char *begin, const char *end, char byte)
{
#if defined(_WIN32) && defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; end - begin >= 16; begin += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin));
        if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted))))
            return begin + std::countr_zero(found);
    }
    for (; begin != end; ++begin)
        if (*begin == byte)
            return begin;
    return nullptr;
#else
    return begin == end ? nullptr
                        : static_cast<const char *>(std::memchr(begin, byte, static_cast<std::size_t>(end - begin)));
#endif
}

} // namespace platform
