// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-number suggestions: what the number could spell, ranked so that the answer a
// person would pick by hand comes first (1-888-FLOWERS, (617) 555-1BEG, SERVICE).
//
// The words are the candidates of the search (same quick test, same parsing, no
// endings, no '-' beginnings, "over+" as over) whose digits field holds only 0 to 9.
// Words made of digits alone, or that trim to nothing, spell nothing and are left out:
// any digit may instead be kept as it is, without a dictionary entry. A suggestion
// covers every free digit of the number exactly once, each by a word or kept.
//
// Unlike the search, a word may cross the number's separators (blanks, hyphens,
// brackets, dots, slashes, a '+'), since people write 1-888-356-9377 and still want
// 1-888-FLOWERS. It never crosses a bullet (a digit already taken by the phrase) or any
// other character. The vanity text keeps the number's characters where digits are kept
// and drops the separators inside a word.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"

namespace vantrel {

inline constexpr int kDefaultSuggestions = 20;
inline constexpr int kMaxSuggestions = 1000;

// How common a word is, read from its class letter, which the bundled dictionaries
// write by commonness band. 0 is the most common. A letter without a band (a user's own
// dictionary) counts as common, so that all such words are equally common; "A", the
// proper names shown in italics, counts as rarer than every band.
inline constexpr char kCommonClass = 'B';    // among the most common words of the language
inline constexpr char kFamiliarClass = 'C';  // well known
inline constexpr char kLessCommonClass = 'E';
inline constexpr char kRareClass = 'F';
inline constexpr int kNameRarity = 4;
int Rarity(char classLetter);

// One placed piece in number order: a word (as the candidate grid shows it,
// Windows-1252, '+' removed) or a run of kept digits (word == digits). digits is the
// text of the number that the piece covers, separators inside a word included, and
// pos its 1-based position in the number; so the piece can be placed into the phrase
// as a pick of a candidate would be: bullets over exactly those characters.
struct SuggestedWord {
  std::string word;
  std::string digits;
  int pos = 0;
  bool kept = false;  // a run of kept digits, not a word
};

struct Suggestion {
  // The ranking keys, in the order in which they count (see RanksBefore).
  int middleDigits = 0;    // digits kept with a word before and after them
  int words = 0;           // words placed; kept digits are not words
  int trailingDigits = 0;  // digits kept after the last word
  int keptDigits = 0;      // every digit kept, wherever it stands
  int rarity = 0;          // sum of the words' Rarity
  // The pieces in number order, kept digits one piece each, joined by NUL: the last
  // key, compared piece by piece.
  std::string order;
  // The pieces in number order, each trimmed, joined by one blank: what Copy writes
  // after the number once the suggestion is placed. Windows-1252.
  std::string phrase;
  // The number with each word in upper case over its digits; UTF-8.
  std::string vanity;
  std::vector<SuggestedWord> placed;  // in number order

  int mostRare = 0;  // the highest Rarity among the words; not a key

  int LeadingDigits() const { return keptDigits - middleDigits - trailingDigits; }
};

// True when a ranks before b.
bool RanksBefore(const Suggestion& a, const Suggestion& b);

// The first limit suggestions (1 to kMaxSuggestions) for the number in ranking order,
// from one scan of the dictionary; a cover that keeps every digit is none. Memory
// grows with limit and the number's length, never with the dictionary. On a read
// failure the result is empty: a ranking from half a dictionary would be wrong.
Status Suggest(ByteSource& source, std::string_view number, int limit,
               std::vector<Suggestion>& out);

// A Windows-1252 text in upper case, one character for each character, as UTF-8: a
// letter whose capital is longer than one character (ß) or missing stays as it is; µ
// becomes the Greek capital mu and ƒ the capital F with hook.
std::string UpperUtf8(std::string_view text);

}  // namespace vantrel
