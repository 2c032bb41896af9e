// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which two words go together, and how strongly: 1-800-PAID-FOR and 1-800-JET-BLUE read
// as one thing, "said for" and "let blue" as two words that happen to stand side by side,
// though word by word they are as common. The figure of a pair is ten times the base-10
// logarithm of how much more often the second word follows the first in real text than
// it comes anywhere ("get help" 5, "paid for" 14, "jet blue" 28).
//
// The tables are text, one line per entry, sorted by key, looked up by halving: the
// built-in English one (61 000 pairs) is used where it lies, with nothing read or built
// at start, so that a search that never suggests pays nothing for it.

#include <string>
#include <string_view>

namespace vantrel {

class WordPairs {
 public:
  WordPairs() = default;
  // The tables may point into the object itself.
  WordPairs(const WordPairs&) = delete;
  WordPairs& operator=(const WordPairs&) = delete;
  // From lines "first second figure", in any order and case; a line of another shape, or
  // a figure that is not a positive number, is skipped. Of two lines for the same pair
  // the later counts.
  explicit WordPairs(std::string_view table);

  // The figure of the pair, 0 when the two do not go together. Letters A to Z match
  // either case.
  int Figure(std::string_view first, std::string_view second) const;
  // The largest figure of a pair that holds the word, first or second.
  int Strongest(std::string_view word) const;
  bool Empty() const { return pairs_.empty(); }

  // The English pairs built into the program.
  static const WordPairs& English();

 private:
  // Both tables: lines "key figure" sorted by key, keys in lower case.
  WordPairs(std::string_view pairs, std::string_view strongest);
  void FindLongest();

  std::string ownedPairs_;
  std::string ownedStrongest_;
  std::string_view pairs_;      // key "first second"
  std::string_view strongest_;  // key "word"
  std::size_t longest_ = 0;     // the longest word of a pair: longer ones are in none
};

}  // namespace vantrel
