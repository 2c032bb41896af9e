// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number search: every dictionary word whose digits occur in the number at a
// place that the search mode allows.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CellTable.h"
#include "Dictionary.h"

namespace vantrel {

enum class SearchMode { kAnyPoint, kLeft, kRight };

// Tells in one pass over a text whether it occurs in a fixed number: a suffix
// automaton of the number, with transitions only for the characters the number holds.
// Lets the scan reject a line on its first characters without splitting it.
class SubstringMatcher {
 public:
  explicit SubstringMatcher(std::string_view text);

  // The state after text[0..i) has been read: -1 once the text read so far occurs
  // nowhere in the number.
  int Start() const { return 0; }
  int Next(int state, unsigned char ch) const {
    const int cls = classOf_[ch];
    return cls == 0 ? -1 : next_[static_cast<std::size_t>(state) * width_ + cls];
  }

  bool Contains(std::string_view text) const;
  // The states are 0 to StateCount() - 1.
  std::size_t StateCount() const { return next_.size() / width_; }

 private:
  std::array<std::uint8_t, 256> classOf_{};  // 0: the number lacks the character
  std::size_t width_ = 1;
  std::vector<std::int16_t> next_;
};

// The largest candidate row; further matches overwrite it.
inline constexpr int kMaxCandidates = 4999;
// Rows of the candidate grid while a search runs.
inline constexpr int kSearchRows = 5000;

struct SearchCounts {
  int matches = 0;  // the last candidate row written
  int words = -1;   // examined lines less one
};

// Endings and beginnings are not words on their own: a word field that begins with '-'
// or '+' or ends with '-' is an affix only. One marked "over+" is both a beginning and
// the word over.
bool IsCandidateWord(std::string_view word);
// A word field as the candidate list and the phrase show it: without its '+' marks.
std::string WithoutPlus(std::string_view word);

// Scans a dictionary for the candidates of a number and writes them into rows 1 up of
// the table: column 0 the word field without its '+' marks, column 1 the digits field,
// column 0 in italics for class "A". The table must already have been cleared.
Status SearchCandidates(ByteSource& source, std::string_view number, SearchMode mode,
                        CellTable& candidates, SearchCounts& counts);

// Seconds in the pattern "##.###": rounded to three decimals, no leading zero, no
// trailing zeros, the separator only before a decimal digit, and the empty text for a
// time that rounds to zero.
std::string FormatSeconds(double seconds, char decimalSeparator);

}  // namespace vantrel
