#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trelvox {

// Byte-level helpers for the hot loops: finding bytes sixteen at a time, copying short texts.

// Bit i set when byte i of the 16 at `at` is `first` or `second`; all 16 must be readable.
// Sixteen bytes a step: lines and fields are scanned this way rather than byte by byte.
inline std::uint32_t MaskOf16(const char* at, char first, char second) {
#if defined(__SSE2__)
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i equal = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(first)),
                                     _mm_cmpeq_epi8(bytes, _mm_set1_epi8(second)));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(equal));
#else
  std::uint32_t mask = 0;
  for (int i = 0; i < 16; ++i) {
    mask |= static_cast<std::uint32_t>(at[i] == first || at[i] == second) << i;
  }
  return mask;
#endif
}

// Bit i set when byte i of [at, at + size) is `first` or `second`, for a size of 0 to 64; no
// byte outside [begin, at + size) is read, `begin` being the start of the text `at` lies in.
inline std::uint64_t MaskOf(const char* begin, const char* at, std::size_t size, char first,
                            char second) {
  std::uint64_t mask = 0;
  std::size_t done = 0;
  for (; size - done >= 16; done += 16) {
    mask |= std::uint64_t{MaskOf16(at + done, first, second)} << done;
  }
  const std::size_t left = size - done;
  if (left == 0) {
    return mask;
  }
  const char* const stop = at + size;
  if (stop - begin >= 16) {
    // The sixteen bytes that end the text, of which the last `left` are wanted.
    return mask | (std::uint64_t{MaskOf16(stop - 16, first, second)} >> (16 - left)) << done;
  }
  for (std::size_t i = done; i < size; ++i) {
    mask |= std::uint64_t{at[i] == first || at[i] == second} << i;
  }
  return mask;
}

// Copies `size` bytes, `Width` to 2 * `Width` of them, as two overlapping words: the first
// `Width` bytes and the last, both loaded before either is stored.
template <std::size_t Width>
void MoveEnds(char* out, const char* from, std::size_t size) {
  char head[Width];
  char tail[Width];
  std::memcpy(head, from, Width);
  std::memcpy(tail, from + size - Width, Width);
  std::memcpy(out, head, Width);
  std::memcpy(out + size - Width, tail, Width);
}

// Copies `size` bytes as memmove does (the two ranges may overlap), without a call for the short
// texts most lines and values are: every byte is loaded before any is stored.
inline void MoveBytes(char* out, const char* from, std::size_t size) {
  if (size <= 8) {
    if (size >= 4) {
      MoveEnds<4>(out, from, size);
    } else if (size > 0) {
      const char first = from[0];
      const char middle = from[size / 2];
      const char last = from[size - 1];
      out[0] = first;
      out[size / 2] = middle;
      out[size - 1] = last;
    }
  } else if (size <= 16) {
    MoveEnds<8>(out, from, size);
  } else if (size <= 32) {
    MoveEnds<16>(out, from, size);
  } else {
    std::memmove(out, from, size);
  }
}

}  // namespace trelvox
