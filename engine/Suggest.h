// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-number suggestions: complete phrases that cover every free digit of a number,
// ranked, so that the user sees 1800FLOWERS rather than a list of fragments.
//
// The words are the candidates of the search (same quick test, same parsing, no
// endings, no '-' beginnings, "over+" as over) whose digits field holds only 0 to 9,
// without the candidate grid's cap. A word can be placed wherever its digits stand in
// the number character for character. A suggestion places words that do not overlap
// and together cover every digit 0 to 9 of the number exactly once; separators and
// bullets stay where they are.
//
// Ranking, best first: fewer words made of digits only, fewer words, fewer words of
// class "A", then the phrase's bytes; each vanity text is listed once, with its
// best-ranked phrase. Two suggestions equal on all four keys are ordered by their
// vanity texts, so that the order is total and the output never depends on chance.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"

namespace vantrel {

inline constexpr int kDefaultSuggestions = 20;
inline constexpr int kMaxSuggestions = 1000;

// One placed word: as the candidate grid shows it (Windows-1252, '+' removed), its
// digits, and the 1-based position of its digits in the number.
struct SuggestedWord {
  std::string word;
  std::string digits;
  int pos = 0;
};

struct Suggestion {
  int digitWords = 0;  // words that consist of digits only
  int words = 0;
  int classA = 0;  // words of class "A"
  // The words in number order, each trimmed, joined by one blank: what Copy writes
  // after the number. Windows-1252.
  std::string phrase;
  // The number with each placed word in upper case over its digits; UTF-8.
  std::string vanity;
  std::vector<SuggestedWord> placed;  // in number order
};

// True when a ranks before b.
bool RanksBefore(const Suggestion& a, const Suggestion& b);

// The first limit suggestions (1 to kMaxSuggestions) for the number in ranking order,
// from one scan of the dictionary. Memory grows with limit and the number's length,
// not with the dictionary. On a read failure the result is empty: a ranking from half
// a dictionary would be wrong.
ScanResult Suggest(ByteSource& source, std::string_view number, int limit,
                   std::vector<Suggestion>& out);

// A Windows-1252 text in upper case by the Unicode rules (ß becomes SS, µ becomes the
// Greek capital mu), as UTF-8.
std::string UpperUtf8(std::string_view text);

}  // namespace vantrel
