// SPDX-License-Identifier: GPL-3.0-or-later
#include "Suggest.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "Codepage.h"
#include "LineFilter.h"
#include "Search.h"
#include "WordPairs.h"

namespace vantrel {
namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The characters a word may cross: the ways people write a number's groups apart.
bool IsSeparator(char ch) {
  return ch == ' ' || ch == '-' || ch == '(' || ch == ')' || ch == '.' || ch == '/' || ch == '+';
}

// Digits of a number as its plan reads them: a bullet stands for a digit already taken,
// which still counts for the shape but matches no digit of a code.
struct PlanDigits {
  std::string digits;           // '0' to '9', '?' for a bullet
  std::vector<std::size_t> at;  // the position of each in the number
  std::vector<int> group;       // the group of each: separators part the groups
  bool plus = false;            // written after a '+'

  explicit PlanDigits(std::string_view number, bool& plain) {
    plain = true;
    int g = 0;
    bool inGroup = false;
    for (std::size_t i = 0; i < number.size(); ++i) {
      const char ch = number[i];
      if (IsDigit(ch) || ch == kBullet) {
        digits += ch == kBullet ? '?' : ch;
        at.push_back(i);
        group.push_back(g);
        inGroup = true;
      } else if (IsSeparator(ch)) {
        plus = plus || (ch == '+' && digits.empty());
        g += inGroup ? 1 : 0;
        inGroup = false;
      } else {
        plain = false;  // a letter or an extension mark: no plan reads it
      }
    }
  }

  bool StartsWith(std::size_t from, std::string_view code) const {
    return digits.compare(from, code.size(), code) == 0;
  }
  // The number of digits of the group that holds digit from, from there on.
  std::size_t GroupRun(std::size_t from) const {
    std::size_t n = 0;
    while (from + n < digits.size() && group[from + n] == group[from]) {
      ++n;
    }
    return n;
  }
  bool Formatted() const { return !group.empty() && group.back() > 0; }
};

// The length of a German code after the trunk 0 (or after +49), and what it is.
std::pair<std::size_t, CodeKind> GermanCode(const PlanDigits& d, std::size_t from) {
  if (d.StartsWith(from, "800")) {
    return {3, CodeKind::kTollFree};
  }
  if (d.StartsWith(from, "180")) {
    return {4, CodeKind::kService};  // 0180 and the tariff digit
  }
  if (d.StartsWith(from, "900") || d.StartsWith(from, "137")) {
    return {3, CodeKind::kService};
  }
  if (d.StartsWith(from, "15") || d.StartsWith(from, "16") || d.StartsWith(from, "17")) {
    return {3, CodeKind::kMobile};
  }
  // An area code: the groups of a formatted number say where it ends.
  if (d.Formatted()) {
    const std::size_t run = d.GroupRun(from);
    if (run >= 2 && run <= 5 && from + run < d.digits.size()) {
      return {run, CodeKind::kArea};
    }
  }
  // Berlin, Hamburg, Frankfurt and Munich have two digits; the codes with a 1 in third
  // place (221 Cologne, 711 Stuttgart), the Ruhr's 20x and a few others three; the rest four.
  static constexpr std::array<std::string_view, 4> kTwo = {"30", "40", "69", "89"};
  static constexpr std::array<std::string_view, 12> kThree = {
      "212", "214", "228", "234", "335", "340", "345", "355", "365", "375", "385", "395"};
  const std::string_view code = std::string_view(d.digits).substr(from);
  if (std::any_of(kTwo.begin(), kTwo.end(), [&](auto c) { return code.starts_with(c); })) {
    return {2, CodeKind::kArea};
  }
  if (code.size() >= 3 &&
      (code[2] == '1' || code.starts_with("20") ||
       std::any_of(kThree.begin(), kThree.end(), [&](auto c) { return code.starts_with(c); }))) {
    return {3, CodeKind::kArea};
  }
  return {4, CodeKind::kArea};
}

// The French code after the trunk 0 (or after +33): one digit, or 8 and two more.
std::pair<std::size_t, CodeKind> FrenchCode(const PlanDigits& d, std::size_t from) {
  const char first = d.digits[from];
  if (first == '8') {
    const bool free = d.StartsWith(from, "800") || d.StartsWith(from, "805");
    return {3, free ? CodeKind::kTollFree : CodeKind::kService};
  }
  return {1, first == '6' || first == '7' ? CodeKind::kMobile : CodeKind::kArea};
}

bool IsNorthAmericanTollFree(std::string_view code) {
  return code.size() == 3 && code[0] == '8' && code[1] == code[2] && code[1] >= '0' &&
         code[1] <= '8' && (code[1] == '0' || code[1] >= '3');
}

// The ranking keys of a suggestion and of a rest, best first: the rank, the pieces in
// number order compared piece by piece in Windows-1252 byte order, the vanity text.
template <class Ranked>
bool RankedBefore(const Ranked& a, const Ranked& b) {
  return std::tie(a.rank, a.order, a.vanity) < std::tie(b.rank, b.order, b.vanity);
}

// A hash of a text that can be extended at the front: h(xy) = h(x) * B^|y| + h(y), with
// power = B^|text|. Two texts of one list that hash alike are compared in full.
constexpr std::uint64_t kHashBase = 1099511628211ULL;

struct TextHash {
  std::uint64_t hash = 0;
  std::uint64_t power = 1;

  static TextHash Of(std::string_view text) {
    TextHash h;
    for (const char ch : text) {
      h.hash = h.hash * kHashBase + static_cast<unsigned char>(ch);
      h.power *= kHashBase;
    }
    return h;
  }
  TextHash Before(const TextHash& rest) const {
    return {hash * rest.power + rest.hash, power * rest.power};
  }
  bool operator==(const TextHash&) const = default;
};

// One word found in the dictionary.
struct Word {
  std::string word;     // as the candidate grid shows it
  std::string trimmed;  // as the phrase holds it
  std::string upper;    // as the vanity text holds it, UTF-8
  int commonness = 0;
  bool name = false;
  int cost = 0;        // of the word wherever it stands
  TextHash upperHash;  // of upper
  int mostOff = 0;     // the most a pair that holds the word takes off its cost
};

int WordCost(int commonness, bool name) {
  return kWordCost + std::max(0, kCommonEnough - commonness) + (name ? kNameCost : 0);
}

bool WordBefore(const Word& a, const Word& b) {
  return std::tie(a.cost, a.trimmed) < std::tie(b.cost, b.trimmed);
}

// The words of one digits field. Every word of a group stands at the same places, so for
// the same pieces around it the better word (WordBefore) gives the better suggestion.
// No suggestion among the first limit can use a word that limit others of its group
// beat, since each of them would give a better suggestion with another vanity text; so
// a group keeps at most limit words, whatever the dictionary holds.
//
// A word that goes together with others may still win as part of a pair: it is beaten for
// certain only by words that cost less than it does inside its best pair. So a group also
// keeps every word whose cost less its pairs' most comes to the limit-th word's cost.
struct Group {
  std::vector<Word> words;
  // Once a prune kept limit words, a word not better than the last of them is no use.
  bool full = false;
  int worstCost = 0;
  std::string worstTrimmed;
  std::size_t pruneAt = 0;  // prune again beyond so many words

  // The words held, by cost and text: a word that the dictionary lists again (the same
  // word on another line) adds nothing.
  std::unordered_set<std::string> held;

  static std::string Key(int cost, std::string_view trimmed) {
    std::string key = std::to_string(cost);
    key += '\0';
    key += trimmed;
    return key;
  }

  // mostOff(): what the word's pairs take off at most, asked only when it decides.
  template <typename MostOff>
  bool Wants(int cost, const MostOff& mostOff, std::string_view trimmed) {
    // Both sides as string views: clang's tuple comparison takes no mixed element types.
    const std::string_view worst = worstTrimmed;
    auto pairsMayWin = [&] {
      const int off = mostOff();
      return off > 0 && cost - off <= worstCost;
    };
    return (!full || std::tie(cost, trimmed) < std::tie(worstCost, worst) || pairsMayWin()) &&
           held.insert(Key(cost, trimmed)).second;
  }

  // Keeps the best word of each vanity text, and of those the best limit.
  void Prune(std::size_t limit) {
    std::stable_sort(words.begin(), words.end(), WordBefore);
    std::unordered_set<std::string> uppers;
    std::vector<Word> kept;
    std::size_t next = 0;
    for (; next < words.size() && kept.size() < limit; ++next) {
      if (uppers.insert(words[next].upper).second) {
        kept.push_back(std::move(words[next]));
      }
    }
    full = kept.size() == limit;
    if (full) {
      worstCost = kept.back().cost;
      worstTrimmed = kept.back().trimmed;
      for (; next < words.size(); ++next) {
        Word& w = words[next];
        if (w.mostOff > 0 && w.cost - w.mostOff <= worstCost && uppers.insert(w.upper).second) {
          kept.push_back(std::move(w));
        }
      }
    }
    words = std::move(kept);
    held.clear();
    for (const Word& w : words) {
      held.insert(Key(w.cost, w.trimmed));
    }
    pruneAt = 2 * words.size() + 16;
  }
};

using Groups = std::map<std::string, Group, std::less<>>;

// The number's digits as words see them: separators dropped, every other non-digit
// (a bullet, a letter) kept as a bullet so that no digits field can cross it; and the
// position in the number of each of its characters.
struct DigitText {
  std::string text;
  std::vector<std::size_t> at;

  explicit DigitText(std::string_view number) {
    for (std::size_t i = 0; i < number.size(); ++i) {
      if (IsDigit(number[i]) || !IsSeparator(number[i])) {
        text += IsDigit(number[i]) ? number[i] : kBullet;
        at.push_back(i);
      }
    }
  }
};

// How common the word of a dictionary line is: the figure after its class letter
// ("4357,help,B,53"), else the class letter's.
int LineCommonness(std::string_view line, char classLetter) {
  std::string stripped;
  if (line.find(')') != std::string_view::npos) {
    stripped = StripBrackets(line);
    line = stripped;
  }
  const std::size_t first = line.find(',');
  const std::size_t second = line.find(',', first + 1);
  const std::size_t figure = second + 3;  // after the comma, the class letter and a comma
  if (second == std::string_view::npos || figure >= line.size() || line[figure - 1] != ',' ||
      !IsDigit(line[figure])) {
    return ClassCommonness(classLetter);
  }
  int value = line[figure] - '0';
  if (figure + 1 < line.size() && IsDigit(line[figure + 1])) {
    value = value * 10 + (line[figure + 1] - '0');
  }
  return value;
}

// Letters that only one of the two languages whose plans share a shape writes.
bool HasGermanLetter(std::string_view word) {
  return word.find_first_of("\xE4\xF6\xFC\xDF\xC4\xD6\xDC") != std::string_view::npos;
}
bool HasFrenchLetter(std::string_view word) {
  return word.find_first_of("\xE9\xE8\xEA\xEB\xE0\xE2\xE7\xF4\xEE\xEF\xFB\xF9\x9C\xC9") !=
         std::string_view::npos;
}

struct ScanResult {
  Groups groups;
  std::size_t germanWords = 0;
  std::size_t frenchWords = 0;

  DictionaryLanguage Language() const {
    return germanWords > frenchWords   ? DictionaryLanguage::kGerman
           : frenchWords > germanWords ? DictionaryLanguage::kFrench
                                       : DictionaryLanguage::kUnknown;
  }
};

// Step 1: one scan of the dictionary, every word that spells digits standing in the
// number, grouped by its digits field; and which language the words are in.
Status ScanWords(ByteSource& source, const std::string& digitText, std::size_t limit,
                 const WordPairs& pairs, ScanResult& result) {
  const LineFilter quick(digitText);
  DictionaryEntry entry;
  std::size_t examined = 0;
  Groups& groups = result.groups;
  // Only lines whose digits field stands somewhere in the number reach the callback.
  return ScanFiltered(source, quick, examined, [&](std::string_view line) {
    const std::size_t comma = std::min(line.find(','), line.size());
    if (comma == line.size() || comma == 0 || !ParseDictionaryLine(line, entry)) {
      return;
    }
    if (!IsCandidateWord(entry.word) ||
        !std::all_of(entry.digits.begin(), entry.digits.end(), IsDigit)) {
      return;
    }
    std::string shown = WithoutPlus(entry.word);
    const std::string_view trimmed = Trim(shown);
    // Nothing to spell, or not one text: control characters inside would also break
    // the piece-by-piece comparison, which joins the pieces with NUL.
    if (trimmed.empty() || std::all_of(trimmed.begin(), trimmed.end(), IsDigit) ||
        std::any_of(trimmed.begin(), trimmed.end(),
                    [](char ch) { return static_cast<unsigned char>(ch) < 32; })) {
      return;
    }
    result.germanWords += HasGermanLetter(trimmed) ? 1 : 0;
    result.frenchWords += HasFrenchLetter(trimmed) ? 1 : 0;
    const int commonness = LineCommonness(line, entry.classLetter);
    const bool name = entry.classLetter == kProperNameClass;
    const int cost = WordCost(commonness, name);
    int mostOff = -1;
    auto pairsOff = [&] {
      if (mostOff < 0) {
        mostOff = PairBonus(pairs.Strongest(trimmed));
      }
      return mostOff;
    };
    auto found = groups.find(std::string_view(entry.digits));
    if (found == groups.end()) {
      found = groups.emplace(entry.digits, Group{}).first;
      found->second.pruneAt = 2 * limit + 16;
    }
    Group& group = found->second;
    if (!group.Wants(cost, pairsOff, trimmed)) {
      return;
    }
    std::string upper = UpperUtf8(trimmed);
    const TextHash upperHash = TextHash::Of(upper);
    group.words.push_back({shown, std::string(trimmed), std::move(upper), commonness, name, cost,
                           upperHash, pairsOff()});
    if (group.words.size() > group.pruneAt) {
      group.Prune(limit);
    }
  });
}

// A word at a place: it covers the number from its first digit to the character after
// its last digit.
// A pair of words that go together is one span of its own (first and second set): its
// word joins the two, with the separators between them, and costs less than the two
// apart, so that it ranks as one piece and the costs still add up piece by piece.
struct Span {
  const Word* word;
  std::size_t end;
  const Span* first = nullptr;
  const Span* second = nullptr;
  std::size_t secondAt = 0;  // where the second word's first digit stands
};

// Step 2: where each group's words stand, by the position of their first digit.
std::vector<std::vector<Span>> PlaceWords(const Groups& groups, const DigitText& digits,
                                          std::size_t length) {
  std::vector<std::vector<Span>> spans(length);
  for (const auto& [field, group] : groups) {
    for (std::size_t at = digits.text.find(field); at != std::string::npos;
         at = digits.text.find(field, at + 1)) {
      const std::size_t first = digits.at[at];
      const std::size_t end = digits.at[at + field.size() - 1] + 1;
      for (const Word& w : group.words) {
        spans[first].push_back({&w, end});
      }
    }
  }
  return spans;
}

// Step 2b: the pairs, where a word that goes together with the word before it follows it
// with nothing but separators between. Each pair's word lives in words.
std::vector<std::vector<Span>> PlacePairs(const std::vector<std::vector<Span>>& spans,
                                          std::string_view number, const WordPairs& pairs,
                                          std::deque<Word>& words) {
  std::vector<std::vector<Span>> placed(spans.size());
  if (pairs.Empty()) {
    return placed;
  }
  for (std::size_t i = 0; i < spans.size(); ++i) {
    for (const Span& first : spans[i]) {
      if (first.word->mostOff == 0) {
        continue;
      }
      std::size_t next = first.end;
      while (next < number.size() && IsSeparator(number[next])) {
        ++next;
      }
      if (next >= number.size() || !IsDigit(number[next])) {
        continue;
      }
      for (const Span& second : spans[next]) {
        if (second.word->mostOff == 0) {
          continue;
        }
        const int off = PairBonus(pairs.Figure(first.word->trimmed, second.word->trimmed));
        if (off == 0) {
          continue;
        }
        const Word& a = *first.word;
        const Word& b = *second.word;
        Word pair;
        pair.word = a.word + ' ' + b.word;
        pair.trimmed = a.trimmed + '\0' + b.trimmed;
        pair.upper = a.upper;
        pair.upper += number.substr(first.end, next - first.end);  // separators are ASCII
        pair.upper += b.upper;
        pair.upperHash = TextHash::Of(pair.upper);
        pair.commonness = std::min(a.commonness, b.commonness);
        pair.name = a.name || b.name;
        pair.cost = a.cost + b.cost - off;
        words.push_back(std::move(pair));
        placed[i].push_back({&words.back(), second.end, &first, &second, next});
      }
    }
  }
  return placed;
}

// Whether a word stands before a place: the digits kept there are in the middle or at
// the end, not the block at the start.
enum Context : std::size_t { kLeading = 0, kAfterWord = 1 };

// What each kept digit and each word costs at its place under the number's plan.
class Costs {
 public:
  Costs(std::string_view number, const NumberingPlan& plan)
      : number_(number), plan_(plan), prefixBefore_(number.size() + 1, 0) {
    for (std::size_t i = 0; i < number.size(); ++i) {
      const bool inPrefix = i < plan.prefixEnd && IsDigit(number[i]);
      prefixBefore_[i + 1] = prefixBefore_[i] + (inPrefix ? 1 : 0);
    }
  }

  // A digit kept at i with a word after it somewhere.
  int KeptBeforeAWord(std::size_t i, Context context) const {
    if (i < plan_.prefixEnd) {
      return 0;
    }
    if (context == kLeading) {
      // With no plan, what stands before the first word is kept as typed, at no cost.
      return plan_.kind == PlanKind::kNone ? 0 : kKeptBeforeWords;
    }
    return number_[i] == '2' || number_[i] == '4' ? kToOrFor : kKeptBetweenWords;
  }
  // A digit kept at i after the last word.
  int KeptAtEnd(std::size_t i) const { return i < plan_.prefixEnd ? 0 : kKeptAtEnd; }
  // The digits of the prefix that a word from first to end covers.
  int PrefixUnder(std::size_t first, std::size_t end) const {
    return prefixBefore_[end] - prefixBefore_[first];
  }

 private:
  std::string_view number_;
  NumberingPlan plan_;
  std::vector<int> prefixBefore_;  // digits of the prefix before each place
};

// What a piece of a partial suggestion is.
enum class Piece : std::uint8_t { kEnd, kPass, kKeep, kSpell };

// One suggestion for the number from some position to its end: its keys, its first
// piece and the rest after that piece, which another list holds. Suggestions share their
// rests, so a partial suggestion costs the same few bytes however long it is, and the
// lists of all positions together grow with the limit and the number's length only.
struct Partial {
  Rank rank;
  Piece piece = Piece::kEnd;
  std::uint32_t at = 0;           // the piece's position in the number
  const Span* span = nullptr;     // kSpell: the word
  const Partial* rest = nullptr;  // nullptr for kEnd
  TextHash vanity;                // of the whole vanity text
};

// The texts of partial suggestions, read piece by piece along their rests.
class Texts {
 public:
  Texts(std::string_view number) : number_(number) {
    for (std::size_t i = 0; i < number.size(); ++i) {
      shown_.push_back(Cp1252ToUtf8(number.substr(i, 1)));
    }
  }

  // The piece's part of the vanity text.
  std::string_view Vanity(const Partial& p) const {
    switch (p.piece) {
      case Piece::kPass:
        return shown_[p.at];
      case Piece::kKeep:
        return number_.substr(p.at, 1);
      case Piece::kSpell:
        return p.span->word->upper;
      case Piece::kEnd:
        break;
    }
    return {};
  }

  // The piece's part of the order key, without the NUL that ends every piece but a pass.
  std::string_view Order(const Partial& p) const {
    return p.piece == Piece::kSpell  ? std::string_view(p.span->word->trimmed)
           : p.piece == Piece::kKeep ? number_.substr(p.at, 1)
                                     : std::string_view();
  }

  // <0, 0 or >0 as the order keys (order true) or the vanity texts of a and b compare.
  int Compare(const Partial* a, const Partial* b, bool order) const {
    Cursor x{this, a, order, {}};
    Cursor y{this, b, order, {}};
    for (;;) {
      const int cx = x.Next();
      const int cy = y.Next();
      if (cx != cy) {
        return cx < cy ? -1 : 1;
      }
      if (cx < 0) {
        return 0;
      }
    }
  }

  bool Before(const Partial& a, const Partial& b) const {
    if (a.rank != b.rank) {
      return a.rank < b.rank;
    }
    if (const int c = Compare(&a, &b, true); c != 0) {
      return c < 0;
    }
    return Compare(&a, &b, false) < 0;
  }

 private:
  // The characters of a text as unsigned bytes, -1 at its end.
  struct Cursor {
    const Texts* texts;
    const Partial* p;
    bool order;
    std::string_view token;
    std::size_t i = 0;
    bool started = false;
    bool nulPending = false;

    int Next() {
      for (;;) {
        if (started && i < token.size()) {
          return static_cast<unsigned char>(token[i++]);
        }
        if (nulPending) {
          nulPending = false;
          return 0;
        }
        if (started) {
          p = p->rest;
        }
        started = true;
        if (p == nullptr || p->piece == Piece::kEnd) {
          return -1;
        }
        token = order ? texts->Order(*p) : texts->Vanity(*p);
        i = 0;
        nulPending = order && p->piece != Piece::kPass;
      }
    }
  };

  std::string_view number_;
  std::vector<std::string> shown_;
};

Partial Pass(std::uint32_t at, const Partial& rest, const Texts& texts) {
  Partial out = rest;
  out.piece = Piece::kPass;
  out.at = at;
  out.span = nullptr;
  out.rest = &rest;
  out.vanity = TextHash::Of(texts.Vanity(out)).Before(rest.vanity);
  return out;
}

Partial Keep(std::uint32_t at, int cost, const Partial& rest, const Texts& texts) {
  Partial out = rest;
  out.piece = Piece::kKeep;
  out.at = at;
  out.span = nullptr;
  out.rest = &rest;
  out.rank.keptDigits += 1;
  out.rank.cost += cost;
  out.vanity = TextHash::Of(texts.Vanity(out)).Before(rest.vanity);
  return out;
}

Partial Spell(std::uint32_t at, const Span& span, const Partial& rest, const Costs& costs) {
  Partial out = rest;
  out.piece = Piece::kSpell;
  out.at = at;
  out.span = &span;
  out.rest = &rest;
  out.rank.words += span.second != nullptr ? 2 : 1;
  out.rank.cost += span.word->cost;
  out.rank.letteredPrefix += costs.PrefixUnder(at, span.end);
  out.vanity = span.word->upperHash.Before(rest.vanity);
  return out;
}

// A run of rests that a piece may come before: a list, or the one rest that keeps every
// digit after the last word.
struct Rests {
  const Partial* first = nullptr;
  std::size_t count = 0;
};

struct Lists {
  // lists[i][context]: the best rests from i on that hold a word, at most cap of them, one
  // per vanity text.
  std::vector<std::array<std::vector<Partial>, 2>> lists;
  // tails[i]: the rest from i on after the last word, every digit kept.
  std::vector<Partial> tails;
};

// Step 3: from the end of the number to its start, the best rests from each place. One
// among the first cap from i is a piece at i followed by one of the first cap from where
// the piece ends: with a worse rest, or another rest of the same vanity text, the same
// piece would give something ranked no better. A kept digit costs by whether a word
// comes before it (the context) and after it (the list it is put before: a list's rests
// hold a word, a tail holds none), so each piece's cost is known before its rest is.
Lists RankFromEnd(std::string_view number, const std::vector<std::vector<Span>>& spans,
                  const std::vector<std::vector<Span>>& pairs, std::size_t cap, const Texts& texts,
                  const Costs& costs) {
  const std::size_t length = number.size();
  Lists all;
  all.lists.resize(length + 1);
  all.tails.resize(length + 1);
  for (std::size_t i = length; i-- > 0;) {
    const auto at = static_cast<std::uint32_t>(i);
    if (IsDigit(number[i])) {
      all.tails[i] = Keep(at, costs.KeptAtEnd(i), all.tails[i + 1], texts);
    } else {
      all.tails[i] = Pass(at, all.tails[i + 1], texts);
    }
  }
  auto& lists = all.lists;
  for (std::size_t i = length; i-- > 0;) {
    const auto at = static_cast<std::uint32_t>(i);
    for (const Context context : {kLeading, kAfterWord}) {
      std::vector<Partial>& list = lists[i][context];
      if (!IsDigit(number[i])) {
        const std::vector<Partial>& next = lists[i + 1][context];
        list.reserve(next.size());
        for (const Partial& rest : next) {
          list.push_back(Pass(at, rest, texts));
        }
        continue;
      }
      // Each piece at i followed by a run of rests after it is a list already in order:
      // merge them.
      struct Head {
        Partial partial;
        const Span* span;  // nullptr: the digit kept
        Rests rests;
        std::size_t rank;
      };
      auto worse = [&texts](const Head& a, const Head& b) {
        return texts.Before(b.partial, a.partial);
      };
      std::priority_queue<Head, std::vector<Head>, decltype(worse)> heads(worse);
      const int keepCost = costs.KeptBeforeAWord(i, context);
      auto make = [&](const Span* span, const Rests& rests, std::size_t rank) {
        const Partial& rest = rests.first[rank];
        return span == nullptr ? Keep(at, keepCost, rest, texts) : Spell(at, *span, rest, costs);
      };
      auto start = [&](const Span* span, const Rests& rests) {
        if (rests.count > 0) {
          heads.push({make(span, rests, 0), span, rests, 0});
        }
      };
      const std::vector<Partial>& afterKeep = lists[i + 1][context];
      start(nullptr, {afterKeep.data(), afterKeep.size()});
      for (const auto* placed : {&spans[i], &pairs[i]}) {
        for (const Span& span : *placed) {
          const std::vector<Partial>& afterWord = lists[span.end][kAfterWord];
          start(&span, {afterWord.data(), afterWord.size()});
          start(&span, {&all.tails[span.end], 1});
        }
      }
      // The vanity texts listed so far, by hash; alike hashes are compared in full.
      std::unordered_multimap<std::uint64_t, std::size_t> vanities;
      while (!heads.empty() && list.size() < cap) {
        Head head = heads.top();
        heads.pop();
        if (head.rank + 1 < head.rests.count) {
          heads.push(
              {make(head.span, head.rests, head.rank + 1), head.span, head.rests, head.rank + 1});
        }
        const auto [from, to] = vanities.equal_range(head.partial.vanity.hash);
        const bool listed = std::any_of(from, to, [&](const auto& entry) {
          const Partial& other = list[entry.second];
          return other.vanity == head.partial.vanity &&
                 texts.Compare(&other, &head.partial, false) == 0;
        });
        if (!listed) {
          vanities.emplace(head.partial.vanity.hash, list.size());
          list.push_back(head.partial);
        }
      }
    }
  }
  return all;
}

// Step 4: the suggestion of one entry of the first list, its pieces found by following
// its rests, and what it keeps and spells counted for the window.
Suggestion Unwind(std::string_view number, const Partial& best, const Texts& texts,
                  const NumberingPlan& plan) {
  Suggestion s;
  s.rank = best.rank;
  s.plan = plan;
  s.leastCommon = std::numeric_limits<int>::max();  // every suggestion holds a word
  bool keptBefore = false;  // the character before this piece is a kept digit
  // Kept digits at their places, and how many words came before each.
  std::vector<std::pair<std::size_t, int>> kept;
  int wordsSeen = 0;
  for (const Partial* p = &best; p != nullptr && p->piece != Piece::kEnd; p = p->rest) {
    s.vanity += texts.Vanity(*p);
    if (p->piece != Piece::kPass) {
      s.order += texts.Order(*p);
      s.order += '\0';
    }
    if (p->piece == Piece::kSpell) {
      const Span& span = *p->span;
      const Word& w = *span.word;
      auto place = [&](const Word& word, std::size_t from, std::size_t to) {
        s.placed.push_back({word.word, std::string(number.substr(from, to - from)),
                            static_cast<int>(from) + 1, false});
        ++wordsSeen;
      };
      if (span.second == nullptr) {
        place(w, p->at, span.end);
      } else {
        place(*span.first->word, p->at, span.first->end);
        place(*span.second->word, span.secondAt, span.end);
        ++s.pairs;
      }
      s.leastCommon = std::min(s.leastCommon, w.commonness);
      s.withName = s.withName || w.name;
      keptBefore = false;
    } else if (p->piece == Piece::kKeep) {
      kept.emplace_back(p->at, wordsSeen);
      // Kept digits next to each other are one piece of the phrase, as typed.
      const char digit = number[p->at];
      if (keptBefore) {
        s.placed.back().word += digit;
        s.placed.back().digits += digit;
      } else {
        s.placed.push_back(
            {std::string(1, digit), std::string(1, digit), static_cast<int>(p->at) + 1, true});
      }
      keptBefore = true;
    } else {
      keptBefore = false;
    }
  }
  for (const auto& [at, wordsBefore] : kept) {
    if (at < plan.prefixEnd || (plan.kind == PlanKind::kNone && wordsBefore == 0)) {
      ++s.prefixDigits;
    } else if (wordsBefore == 0) {
      ++s.leadingDigits;
    } else if (wordsBefore < s.rank.words) {
      ++s.middleDigits;
      s.toOrFor += number[at] == '2' || number[at] == '4' ? 1 : 0;
    } else {
      ++s.trailingDigits;
    }
  }
  for (const SuggestedWord& w : s.placed) {
    const std::string_view trimmed = Trim(w.word);
    s.phrase += (s.phrase.empty() ? "" : " ") + std::string(trimmed);
  }
  return s;
}

}  // namespace

NumberingPlan FindNumberingPlan(std::string_view number, DictionaryLanguage language) {
  bool plain = true;
  const PlanDigits d(number, plain);
  const std::size_t n = d.digits.size();
  NumberingPlan plan;
  if (!plain || n == 0) {
    return plan;
  }
  auto make = [&](PlanKind kind, CodeKind code, bool country, std::size_t digits) {
    plan.kind = kind;
    plan.code = code;
    plan.countryCode = country;
    plan.prefixEnd = digits == 0 ? 0 : d.at[digits - 1] + 1;
    // The bracket that closes a code belongs to it: (617)
    while (plan.prefixEnd > 0 && plan.prefixEnd < number.size() && number[plan.prefixEnd] == ')') {
      ++plan.prefixEnd;
    }
    return plan;
  };
  // A bullet may have been any digit.
  auto digitIn = [&](std::size_t i, char low, char high) {
    return i < n && (d.digits[i] == '?' || (d.digits[i] >= low && d.digits[i] <= high));
  };
  auto northAmerican = [&](std::size_t from, bool country) {
    const std::string_view code = std::string_view(d.digits).substr(from, 3);
    return make(PlanKind::kNorthAmerican,
                IsNorthAmericanTollFree(code) ? CodeKind::kTollFree : CodeKind::kArea, country,
                from + 3);
  };
  // International: after a '+', 00 or the North American 011, a country code.
  std::size_t exit = 0;
  if (!d.plus) {
    exit = d.StartsWith(0, "011") ? 3 : d.StartsWith(0, "00") ? 2 : 0;
  }
  if (d.plus || exit > 0) {
    const std::size_t rest = n - exit;
    if (d.StartsWith(exit, "1") && rest == 11 && digitIn(exit + 1, '2', '9')) {
      return northAmerican(exit + 1, true);
    }
    if (d.StartsWith(exit, "49") && rest >= 7 && rest <= 14 && digitIn(exit + 2, '1', '9')) {
      const auto [length, code] = GermanCode(d, exit + 2);
      return make(PlanKind::kGerman, code, true, exit + 2 + length);
    }
    if (d.StartsWith(exit, "33") && rest == 11 && digitIn(exit + 2, '1', '9')) {
      const auto [length, code] = FrenchCode(d, exit + 2);
      return make(PlanKind::kFrench, code, true, exit + 2 + length);
    }
    return plan;
  }
  if (n == 11 && d.StartsWith(0, "1") && digitIn(1, '2', '9')) {
    return northAmerican(1, true);
  }
  if (n == 10 && digitIn(0, '2', '9')) {
    return northAmerican(0, false);
  }
  if (n == 7 && digitIn(0, '2', '9')) {
    // A local number: no code, every digit the line's own.
    return make(PlanKind::kNorthAmerican, CodeKind::kNone, false, 0);
  }
  if (d.StartsWith(0, "0") && digitIn(1, '1', '9')) {
    // French numbers have ten digits, written 01 42 ... or 0800 ...; German ones six to
    // thirteen, their area code a group of its own when formatted.
    const std::size_t firstGroup = d.GroupRun(0);
    const bool frenchGroups =
        !d.Formatted() || firstGroup == 2 || (firstGroup == 4 && d.StartsWith(0, "08"));
    const bool french = n == 10 && frenchGroups;
    const bool german = n >= 6 && n <= 13;
    if (french && (!german || language != DictionaryLanguage::kGerman)) {
      const auto [length, code] = FrenchCode(d, 1);
      return make(PlanKind::kFrench, code, false, 1 + length);
    }
    if (german) {
      const auto [length, code] = GermanCode(d, 1);
      return make(PlanKind::kGerman, code, false, 1 + length);
    }
  }
  return plan;
}

int ClassCommonness(char classLetter) {
  // The bands of the bundled dictionaries, each read as a figure inside it.
  switch (classLetter) {
    case 'C':
      return 35;
    case 'E':
      return 26;
    case 'F':
      return 15;
    case kProperNameClass:
      return kFamiliarWord;
    default:
      return 45;
  }
}

bool RanksBefore(const Suggestion& a, const Suggestion& b) {
  return RankedBefore(a, b);
}

std::string UpperUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    unsigned char upper = byte;
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
      upper = static_cast<unsigned char>(byte - 0x20);
    } else if (byte == 0x9A || byte == 0x9C || byte == 0x9E) {  // š œ ž
      upper = static_cast<unsigned char>(byte - 0x10);
    } else if (byte == 0xFF) {  // ÿ
      upper = 0x9F;
    } else if (byte == 0xB5) {  // µ: the Greek capital mu, which the code page lacks
      out += "\xCE\x9C";
      continue;
    } else if (byte == 0x83) {  // ƒ: capital F with hook, which the code page lacks
      out += "\xC6\x91";
      continue;
    }
    // ß stays ß: its capital is two letters, and each digit shows one character.
    const char single = static_cast<char>(upper);
    out += Cp1252ToUtf8(std::string_view(&single, 1));
  }
  return out;
}

namespace {

Status SuggestUnder(ByteSource& source, std::string_view number, int limitWanted,
                    const NumberingPlan* givenPlan, const WordPairs* givenPairs,
                    std::vector<Suggestion>& out) {
  out.clear();
  const std::size_t cap = static_cast<std::size_t>(std::clamp(limitWanted, 1, kMaxSuggestions));
  const DigitText digits(number);
  // The built-in pairs are English; words of a German or French dictionary never match
  // them, and are not asked.
  const WordPairs& pairs = givenPairs != nullptr ? *givenPairs : WordPairs::English();
  ScanResult scan;
  Status scanned = ScanWords(source, digits.text, cap, pairs, scan);
  if (!scanned.IsOk() || FirstDigitPos(number) == 0) {
    return scanned;
  }
  for (auto& [field, group] : scan.groups) {
    group.Prune(cap);
  }
  const NumberingPlan plan =
      givenPlan != nullptr ? *givenPlan : FindNumberingPlan(number, scan.Language());
  const auto spans = PlaceWords(scan.groups, digits, number.size());
  std::deque<Word> pairWords;
  const bool english = scan.Language() == DictionaryLanguage::kUnknown || givenPairs != nullptr;
  static const WordPairs kNoPairs;
  const auto pairSpans = PlacePairs(spans, number, english ? pairs : kNoPairs, pairWords);
  const Texts texts(number);
  const Costs costs(number, plan);
  const Lists lists = RankFromEnd(number, spans, pairSpans, cap, texts, costs);
  for (const Partial& best : lists.lists[0][kLeading]) {
    out.push_back(Unwind(number, best, texts, plan));
  }
  return {};
}

}  // namespace

Status Suggest(ByteSource& source, std::string_view number, int limit,
               std::vector<Suggestion>& out) {
  return SuggestUnder(source, Short(number), limit, nullptr, nullptr, out);
}

Status Suggest(ByteSource& source, std::string_view number, int limit, const NumberingPlan& plan,
               std::vector<Suggestion>& out) {
  return SuggestUnder(source, Short(number), limit, &plan, nullptr, out);
}

Status Suggest(ByteSource& source, std::string_view number, int limit, const NumberingPlan& plan,
               const WordPairs& pairs, std::vector<Suggestion>& out) {
  return SuggestUnder(source, Short(number), limit, &plan, &pairs, out);
}

}  // namespace vantrel
