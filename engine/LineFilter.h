// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search's dictionary scan: the quick test (does the text before a line's first
// comma occur in the number?) run on the lines where they stand in the read buffer,
// after their line ends have been found in one pass, so that most lines cost a look at
// their first characters and nothing more.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Dictionary.h"

namespace vantrel {

// The quick test of one number as a table: a suffix automaton of the number whose
// states also stop at a comma, a CR and the end of the bytes read. Memory grows with
// the number, never with the dictionary.
class LineFilter {
 public:
  explicit LineFilter(std::string_view number);

  // Whether a line as read (at most 255 characters, no line end) passes: it holds a
  // comma, and the text before its first comma is not empty and occurs in the number.
  bool Passes(std::string_view line) const;

  // Where a walk from a line's start stopped; any other value is a state inside the
  // number and never the result of Walk.
  static constexpr std::int32_t kRejected = 0;
  std::int32_t Comma() const { return comma_; }

  // Reads a line in a scan buffer from its start until the line is rejected or its
  // first comma, its CR or the end of the bytes read is reached. The buffer's Ctrl-Z
  // padding ends every walk, and the first three characters are read whatever they are
  // (the stops absorb), so a line rejected on them costs no branch.
  std::int32_t Walk(const char* p) const {
    static_assert(detail::ScanBuffer::kPad >= 3);
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const std::int32_t* next = next_.data();
    std::int32_t s = pairs_[static_cast<std::size_t>(pairRow_[u[0]]) + classOf_[u[1]]];
    s = next[s + classOf_[u[2]]];
    for (u += 3; s >= live_; ++u) {
      s = next[s + classOf_[*u]];
    }
    return s;
  }

 private:
  // Character classes: 0 for a character the number lacks, then one class for each
  // other character of the number; the comma, the CR and Ctrl-Z have classes of their
  // own whatever the number holds, since they end the text that is tested.
  std::array<std::uint8_t, 256> classOf_{};
  // next_[state + class] is the following state. States are row offsets: the first
  // four rows are the absorbing stops (rejected, comma, CR, end of the bytes read),
  // the number's automaton follows from live_ on, its start state first.
  std::vector<std::int32_t> next_;
  // The state after a line's first two characters in one look-up:
  // pairs_[pairRow_[first] + classOf_[second]].
  std::array<std::int32_t, 256> pairRow_{};
  std::vector<std::int32_t> pairs_;
  std::int32_t comma_ = 0;
  std::int32_t live_ = 0;
};

namespace detail {

// Offsets from base of the CRs in [from, to), in order, to `out`, which must have room
// for one more offset than there are characters, and 8 on top; returns the count. Reads
// up to 63 characters past `to`.
std::size_t FindLineEnds(const char* base, const char* from, const char* to, std::uint32_t* out);

// The ways FindLineEnds has, for tests: the plain one works everywhere; the wide one,
// taken when the processor has AVX2, looks at 32 characters at a time.
std::size_t FindLineEndsPlain(const char* base, const char* from, const char* to,
                              std::uint32_t* out);
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VANTREL_WIDE_LINE_ENDS 1
std::size_t FindLineEndsWide(const char* base, const char* from, const char* to,
                             std::uint32_t* out);
bool WideLineEndsAvailable();
#else
#define VANTREL_WIDE_LINE_ENDS 0
#endif

}  // namespace detail

// The search's scan: the lines of ScanDictionary, of which only those that pass the
// quick test reach onLine. `examined` counts every examined line, passing or not; it
// is complete when the scan returns, also after a read failure.
template <class OnLine>
Status ScanFiltered(ByteSource& source, const LineFilter& test, std::size_t& examined,
                    OnLine&& onLine) {
  // The line ends of one stretch of the buffer are found first, in one pass, so that
  // the loop over its lines neither calls nor stops for anything but a passing line.
  constexpr std::size_t kStretch = 4096;
  static_assert(detail::ScanBuffer::kSize + detail::ScanBuffer::kPad <= UINT32_MAX);
  std::vector<std::uint32_t> ends(kStretch + 1 + 8);
  detail::LineReader reader(source);
  detail::ScanBuffer& buf = reader.buffer();
  std::size_t count = 0;
  for (;;) {
    // Every line whose line end lies in the buffer with a character after it is
    // examined in place; a CR LF can only be told from a CR, and the last line from
    // the others, by what follows, and the padding makes the look past a CR safe.
    const char* const base = buf.data();
    const char* const end = base + buf.end_;
    const char* p = base + buf.pos_;  // the start of the line at hand
    const char* from = p;
    while (from < end) {
      const char* const to =
          end - from > static_cast<std::ptrdiff_t>(kStretch) ? from + kStretch : end;
      const std::size_t n = detail::FindLineEnds(base, from, to, ends.data());
      from = to;
      std::size_t i = 0;
      for (; i < n; ++i) {
        const char* cr = base + ends[i];
        const char* next = cr + 1 + (cr[1] == '\n' ? 1 : 0);
        if (next >= end) {
          break;
        }
        const std::int32_t state = test.Walk(p);
        if (state == test.Comma()) {
          const std::size_t length = static_cast<std::size_t>(cr - p);
          const std::string_view line(p, length < kShortText ? length : kShortText);
          if (test.Passes(line)) {
            onLine(line);
          }
        }
        p = next;
      }
      count += i;
      if (i < n) {
        break;
      }
    }
    buf.pos_ = static_cast<std::size_t>(p - base);
    // The line that crosses the buffer's end, or the file's last line.
    std::string_view line;
    switch (reader.Next(line)) {
      case detail::LineReader::Step::kLine:
        ++count;
        if (test.Passes(line)) {
          onLine(line);
        }
        break;
      case detail::LineReader::Step::kEnd:
        examined = count;
        return {};
      case detail::LineReader::Step::kReadError:
        examined = count;
        return detail::ReadFailure();
    }
  }
}

}  // namespace vantrel
