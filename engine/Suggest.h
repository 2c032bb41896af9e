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

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"
#include "WordPairs.h"

namespace vantrel {

inline constexpr int kDefaultSuggestions = 20;
inline constexpr int kMaxSuggestions = 1000;

// The numbering plans a number's shape can follow. A person keeps the part of a number
// that the plan shares with many other lines as digits (the country code, the area or
// toll-free code) and wants the line's own digits in letters.
enum class PlanKind : std::uint8_t {
  kNone,           // no plan known: the digits before the first word are kept at no cost
  kNorthAmerican,  // [+]1, the area or toll-free code, 7 digits; or 7 digits alone
  kGerman,         // 0 or +49, then the area, toll-free, service or mobile code
  kFrench,         // 0 or +33, then 9 digits: 0X, or 08 XX for toll-free and service
};

// What the code after the country code is.
enum class CodeKind : std::uint8_t { kNone, kArea, kTollFree, kMobile, kService };

// The language of the dictionary, read from its letters; it decides between plans when a
// number's shape fits more than one (a ten-digit number that starts with 0).
enum class DictionaryLanguage : std::uint8_t { kUnknown, kGerman, kFrench };

struct NumberingPlan {
  PlanKind kind = PlanKind::kNone;
  CodeKind code = CodeKind::kNone;
  bool countryCode = false;   // the prefix starts with a country code (+49, 0033, the 1)
  std::size_t prefixEnd = 0;  // characters of the number, from its start, that the prefix
                              // spans; digits before prefixEnd are kept at no cost
};

// The plan of a number as typed (separators and bullets included): the groups of a
// formatted number give the length of a German area code; without them the large cities'
// two- and three-digit codes are known and any other code counts four digits.
NumberingPlan FindNumberingPlan(std::string_view number, DictionaryLanguage language);

// How common a word is: ten times its Zipf value, the base-10 logarithm of its
// occurrences per billion words of real text ("help" 53, "dens" 29). The bundled
// dictionaries carry it after the class letter ("4357,help,B,53"); a line without it
// takes the figure of its class letter (below), so that a user's dictionary with one
// letter throughout has all its words equally common.
int ClassCommonness(char classLetter);
inline constexpr int kCommonWord = 40;         // B in the bundled dictionaries; "common"
inline constexpr int kFamiliarWord = 30;       // C; "less common" below 40
inline constexpr int kRareWord = 22;           // E; "rare" below 30, F below 22
inline constexpr char kProperNameClass = 'A';  // shown in italics

// The costs of the pieces of a suggestion. They add up over the pieces, so that a piece
// followed by a rest ranks as the rest does among the rests after that piece.
// A word costs kWordCost, more the less common it is (kCommonEnough less its commonness;
// nothing more for words at least that common, so that "in" or "the" win nothing over an
// everyday word), and kNameCost more for a proper name. A digit of the prefix kept costs
// nothing. A digit kept past it costs by where it stands: before the first word
// kKeptBeforeWords (people keep an exchange: 555-HELP), after the last kKeptAtEnd (the end
// is the line's own part), between two words kKeptBetweenWords (it breaks the reading),
// except a 2 or a 4 there, which reads as "to" or "for" (KARS-4-KIDS): kToOrFor. So a
// line lettered in common words (1-800-GET-HELP: 20 + 20) beats a word after three kept
// digits (1-800-438-HELP: 3 x 14 + 20), while less common words do not (AMT-GELS: 37 + 41).
// The figures were chosen on real advertised numbers (bench_vanity).
inline constexpr int kWordCost = 20;
inline constexpr int kCommonEnough = 50;
inline constexpr int kNameCost = 10;
inline constexpr int kKeptBeforeWords = 14;
inline constexpr int kKeptAtEnd = 26;
inline constexpr int kKeptBetweenWords = 30;
inline constexpr int kToOrFor = 18;
// Two words that go together (WordPairs), one right after the other, cost less than the
// two apart: kPairWeight for each point of the pair's figure, at most kMostForAPair, so
// that 1-800-PAID-FOR beats 1-800-SAID-FOR although "said" is the more common word.
inline constexpr int kPairWeight = 1;
inline constexpr int kMostForAPair = 20;
constexpr int PairBonus(int figure) {
  return figure <= 0 ? 0 : std::min(figure * kPairWeight, kMostForAPair);
}

// How a suggestion, or the rest of one from some place on, ranks: the keys in the order
// in which they count. A word over the plan's prefix is never better than keeping it, so
// the prefix digits under words come first; then the sum of the pieces' costs; then
// fewer words and fewer kept digits. Ties go to the pieces' texts (Suggestion::order),
// then the vanity text, so that the order never depends on chance.
struct Rank {
  int letteredPrefix = 0;
  int cost = 0;
  int words = 0;
  int keptDigits = 0;

  auto operator<=>(const Rank&) const = default;
};

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
  Rank rank;
  // The pieces in number order, kept digits one piece each, joined by NUL: the tie-break
  // after the rank, compared piece by piece.
  std::string order;
  // The pieces in number order, each trimmed, joined by one blank: what Copy writes
  // after the number once the suggestion is placed. Windows-1252.
  std::string phrase;
  // The number with each word in upper case over its digits; UTF-8.
  std::string vanity;
  std::vector<SuggestedWord> placed;  // in number order

  // What the suggestion keeps and spells, for the window to say; not keys.
  NumberingPlan plan;
  int prefixDigits = 0;    // digits of the plan's prefix kept (no plan: before the first word)
  int leadingDigits = 0;   // kept past the prefix, before the first word
  int middleDigits = 0;    // kept between two words, 2s and 4s included
  int toOrFor = 0;         // of those, the 2s and 4s
  int trailingDigits = 0;  // kept after the last word
  int leastCommon = 0;     // the commonness of the least common word
  bool withName = false;   // a proper name among the words
  int pairs = 0;           // pairs of words that go together, each cheaper as one
};

// True when a ranks before b.
bool RanksBefore(const Suggestion& a, const Suggestion& b);

// The first limit suggestions (1 to kMaxSuggestions) for the number in ranking order,
// from one scan of the dictionary; a cover that keeps every digit is none. The plan is
// the number's own, the dictionary's letters deciding where its shape fits two. Memory
// grows with limit and the number's length, never with the dictionary. On a read
// failure the result is empty: a ranking from half a dictionary would be wrong.
Status Suggest(ByteSource& source, std::string_view number, int limit,
               std::vector<Suggestion>& out);
// The same under a given plan.
Status Suggest(ByteSource& source, std::string_view number, int limit, const NumberingPlan& plan,
               std::vector<Suggestion>& out);
// The same under a given plan with the given pairs, whatever the dictionary's language.
Status Suggest(ByteSource& source, std::string_view number, int limit, const NumberingPlan& plan,
               const WordPairs& pairs, std::vector<Suggestion>& out);

// A Windows-1252 text in upper case, one character for each character, as UTF-8: a
// letter whose capital is longer than one character (ß) or missing stays as it is; µ
// becomes the Greek capital mu and ƒ the capital F with hook.
std::string UpperUtf8(std::string_view text);

}  // namespace vantrel
