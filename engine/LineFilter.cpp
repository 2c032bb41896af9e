// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineFilter.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if VANTREL_WIDE_LINE_ENDS
#include <immintrin.h>
#endif

#include "Search.h"

namespace vantrel {

LineFilter::LineFilter(std::string_view number) {
  const SubstringMatcher matcher(number);
  constexpr unsigned char kComma = ',';
  constexpr unsigned char kCr = '\r';
  constexpr unsigned char kEnd = detail::ScanBuffer::kEnd;
  int classes = 0;
  for (int ch = 0; ch < 256; ++ch) {
    if (ch != kComma && ch != kCr && ch != kEnd &&
        matcher.Next(matcher.Start(), static_cast<unsigned char>(ch)) >= 0) {
      classOf_[static_cast<std::size_t>(ch)] = static_cast<std::uint8_t>(++classes);
    }
  }
  const int commaClass = classes + 1;
  const int crClass = classes + 2;
  const int endClass = classes + 3;
  classOf_[kComma] = static_cast<std::uint8_t>(commaClass);
  classOf_[kCr] = static_cast<std::uint8_t>(crClass);
  classOf_[kEnd] = static_cast<std::uint8_t>(endClass);

  const std::size_t width = static_cast<std::size_t>(classes) + 4;
  const auto row = [width](std::size_t state) { return static_cast<std::int32_t>(state * width); };
  constexpr std::size_t kStops = 4;  // rejected, comma, CR, end of the bytes read
  comma_ = row(1);
  live_ = row(kStops);
  const std::size_t states = matcher.StateCount();
  next_.assign((kStops + states) * width, kRejected);
  for (std::size_t stop = 1; stop < kStops; ++stop) {
    std::fill_n(next_.begin() + row(stop), width, row(stop));
  }
  for (std::size_t s = 0; s < states; ++s) {
    std::int32_t* out = next_.data() + row(kStops + s);
    for (int ch = 0; ch < 256; ++ch) {
      const int cls = classOf_[static_cast<std::size_t>(ch)];
      if (cls >= 1 && cls <= classes) {
        const int target = matcher.Next(static_cast<int>(s), static_cast<unsigned char>(ch));
        out[cls] = target < 0 ? kRejected : row(kStops + static_cast<std::size_t>(target));
      }
    }
    // An empty text before the comma is no digits field.
    out[commaClass] = s == 0 ? kRejected : comma_;
    out[crClass] = row(2);
    out[endClass] = row(3);
  }
  pairs_.resize(width * width);
  for (std::size_t first = 0; first < width; ++first) {
    const std::int32_t after = next_[static_cast<std::size_t>(live_) + first];
    for (std::size_t second = 0; second < width; ++second) {
      pairs_[first * width + second] = next_[static_cast<std::size_t>(after) + second];
    }
  }
  for (std::size_t ch = 0; ch < 256; ++ch) {
    pairRow_[ch] = row(classOf_[ch]);
  }
}

bool LineFilter::Passes(std::string_view line) const {
  std::int32_t s = live_;
  for (const char c : line) {
    const auto ch = static_cast<unsigned char>(c);
    s = next_[static_cast<std::size_t>(s) + classOf_[ch]];
    if (s < live_) {
      return s == comma_;
    }
  }
  return false;
}

namespace detail {
namespace {

// Bit i is set when block[i] is a CR.
std::uint64_t CrMask(const char* block) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  std::uint64_t mask = 0;
#pragma GCC unroll 4
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * k));
    const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)));
    mask |= static_cast<std::uint64_t>(bits) << (16 * k);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) {
    mask |= static_cast<std::uint64_t>(block[i] == '\r') << i;
  }
  return mask;
#endif
}

// The number of set bits, without a call: the build does not assume a popcnt
// instruction.
int CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

// Writes the offsets of the set bits of a block's mask. Eight are written whatever the
// count, so that a block of few lines costs no branch per line; the extra ones are
// overwritten or never read. The top bit only keeps the count of trailing zeros defined
// once the mask is used up: it never shows among the real offsets unless it is set.
[[gnu::always_inline]] inline void WriteOffsets(std::uint64_t mask, std::uint32_t at,
                                                std::uint32_t* o) {
  constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) {
    o[k] = at + static_cast<std::uint32_t>(std::countr_zero(mask | kTop));
    mask &= mask - 1;
  }
  for (int k = 8; mask != 0; ++k) {
    o[k] = at + static_cast<std::uint32_t>(std::countr_zero(mask));
    mask &= mask - 1;
  }
}

// Keeps the bits of a block's mask that stand before `to`.
[[gnu::always_inline]] inline std::uint64_t Before(std::uint64_t mask, const char* block,
                                                   const char* to) {
  const std::ptrdiff_t left = to - block;
  return left < 64 ? mask & ((std::uint64_t{1} << left) - 1) : mask;
}

}  // namespace

std::size_t FindLineEndsPlain(const char* base, const char* from, const char* to,
                              std::uint32_t* out) {
  std::size_t n = 0;
  for (const char* block = from; block < to; block += 64) {
    const std::uint64_t mask = Before(CrMask(block), block, to);
    WriteOffsets(mask, static_cast<std::uint32_t>(block - base), out + n);
    n += static_cast<std::size_t>(CountBits(mask));
  }
  return n;
}

#if VANTREL_WIDE_LINE_ENDS
__attribute__((target("avx2,bmi,popcnt"))) std::size_t FindLineEndsWide(const char* base,
                                                                        const char* from,
                                                                        const char* to,
                                                                        std::uint32_t* out) {
  const __m256i cr = _mm256_set1_epi8('\r');
  std::size_t n = 0;
  for (const char* block = from; block < to; block += 64) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32));
    const auto lowBits =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, cr)));
    const auto highBits =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, cr)));
    const std::uint64_t mask =
        Before(lowBits | static_cast<std::uint64_t>(highBits) << 32, block, to);
    WriteOffsets(mask, static_cast<std::uint32_t>(block - base), out + n);
    n += static_cast<std::size_t>(std::popcount(mask));
  }
  return n;
}

bool WideLineEndsAvailable() {
  static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                                __builtin_cpu_supports("popcnt");
  return available;
}
#endif

std::size_t FindLineEnds(const char* base, const char* from, const char* to, std::uint32_t* out) {
#if VANTREL_WIDE_LINE_ENDS
  if (WideLineEndsAvailable()) {
    return FindLineEndsWide(base, from, to, out);
  }
#endif
  return FindLineEndsPlain(base, from, to, out);
}

}  // namespace detail

}  // namespace vantrel
