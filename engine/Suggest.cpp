// SPDX-License-Identifier: GPL-3.0-or-later
#include "Suggest.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "Codepage.h"
#include "QuickTest.h"
#include "Search.h"

namespace vantrel {
namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The characters a word may cross: the ways people write a number's groups apart.
bool IsSeparator(char ch) {
  return ch == ' ' || ch == '-' || ch == '(' || ch == ')' || ch == '.' || ch == '/' || ch == '+';
}

// The ranking, best first. The keys, in the order in which they count:
//  1. Fewer digits kept in the middle (a word before and after them). 161-PL-551-BEG
//     cannot be said or remembered; a digit inside the words breaks the reading.
//  2. Fewer words. One word is one thing to remember (SERVICE before PEP-VICE), and the
//     digits kept at the start, a country code, an area code or an 800 prefix, are no
//     word at all: 1-888-FLOWERS before 1-TUT-FLOWERS.
//  3. Fewer digits kept at the end. The start of a number (country code, area code,
//     exchange) is shared with others and people keep it; the end is the line's own
//     part, the part a vanity number is for: (617) 555-1BEG before (OLA) 555-1234,
//     228-HELP before BATH-357.
//  4. Fewer kept digits: with as many words, longer words (1-617-555-1BEG before
//     1-617-555-12DH).
//  5. More common words: the sum of the words' rarity, so that BAT HELP comes before
//     ACT GELS and abbreviations and proper names come last.
//  6. The pieces in number order, compared piece by piece in Windows-1252 byte order,
//     and last the vanity text: the order is total, so the output never depends on
//     chance or on the dictionary's line order.
// Every key is a sum over the pieces, or decided piece by piece, so "a piece followed
// by a rest" ranks as its rest does among rests after the same piece; that is what
// lets the suggestions be ranked from the end of the number to its start.
template <class Ranked>
bool RankedBefore(const Ranked& a, const Ranked& b) {
  return std::tie(a.middleDigits, a.words, a.trailingDigits, a.keptDigits, a.rarity, a.order,
                  a.vanity) < std::tie(b.middleDigits, b.words, b.trailingDigits, b.keptDigits,
                                       b.rarity, b.order, b.vanity);
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
  int rarity = 0;
  TextHash upperHash;  // of upper
};

bool WordBefore(const Word& a, const Word& b) {
  return std::tie(a.rarity, a.trimmed) < std::tie(b.rarity, b.trimmed);
}

// The words of one digits field. Every word of a group stands at the same places, so for
// the same pieces around it the better word (WordBefore) gives the better suggestion.
// No suggestion among the first limit can use a word that limit others of its group
// beat, since each of them would give a better suggestion with another vanity text; so
// a group keeps at most limit words, whatever the dictionary holds.
struct Group {
  std::vector<Word> words;
  // Once a prune kept limit words, a word not better than the last of them is no use.
  bool full = false;
  int worstRarity = 0;
  std::string worstTrimmed;

  // The words held, by rarity and text: a word that the dictionary lists again (the
  // same word on another line) adds nothing.
  std::unordered_set<std::string> held;

  static std::string Key(int rarity, std::string_view trimmed) {
    std::string key(1, static_cast<char>('0' + rarity));
    key += trimmed;
    return key;
  }

  bool Wants(int rarity, std::string_view trimmed) {
    return (!full || std::tie(rarity, trimmed) < std::tie(worstRarity, worstTrimmed)) &&
           held.insert(Key(rarity, trimmed)).second;
  }

  // Keeps the best word of each vanity text, and of those the best limit.
  void Prune(std::size_t limit) {
    std::stable_sort(words.begin(), words.end(), WordBefore);
    std::unordered_set<std::string> uppers;
    std::vector<Word> kept;
    for (Word& w : words) {
      if (kept.size() == limit) {
        break;
      }
      if (uppers.insert(w.upper).second) {
        kept.push_back(std::move(w));
      }
    }
    words = std::move(kept);
    held.clear();
    for (const Word& w : words) {
      held.insert(Key(w.rarity, w.trimmed));
    }
    full = words.size() == limit;
    if (full) {
      worstRarity = words.back().rarity;
      worstTrimmed = words.back().trimmed;
    }
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

// Step 1: one scan of the dictionary, every word that spells digits standing in the
// number, grouped by its digits field.
Status ScanWords(ByteSource& source, const std::string& digitText, std::size_t limit,
                 Groups& groups) {
  const QuickTest quick(digitText);
  DictionaryEntry entry;
  const std::size_t pruneAt = 2 * limit + 16;
  std::size_t examined = 0;
  // Only lines whose digits field stands somewhere in the number reach the callback.
  return ScanQuickTested(source, quick, examined, [&](std::string_view line) {
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
    const int rarity = Rarity(entry.classLetter);
    auto found = groups.find(std::string_view(entry.digits));
    if (found == groups.end()) {
      found = groups.emplace(entry.digits, Group{}).first;
    }
    Group& group = found->second;
    if (!group.Wants(rarity, trimmed)) {
      return;
    }
    std::string upper = UpperUtf8(trimmed);
    const TextHash upperHash = TextHash::Of(upper);
    group.words.push_back({shown, std::string(trimmed), std::move(upper), rarity, upperHash});
    if (group.words.size() > pruneAt) {
      group.Prune(limit);
    }
  });
}

// A word at a place: it covers the number from its first digit to the character after
// its last digit.
struct Span {
  const Word* word;
  std::size_t end;
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

// Whether a word stands before a place: the digits kept there are in the middle or at
// the end, not the free block at the start.
enum Context : std::size_t { kLeading = 0, kAfterWord = 1 };

// What a piece of a partial suggestion is.
enum class Piece : std::uint8_t { kEnd, kPass, kKeep, kSpell };

// One suggestion for the number from some position to its end: its keys, its first
// piece and the rest after that piece, which another list holds. Suggestions share their
// rests, so a partial suggestion costs the same few bytes however long it is, and the
// lists of all positions together grow with the limit and the number's length only.
struct Partial {
  int middleDigits = 0;
  int words = 0;
  int trailingDigits = 0;
  int keptDigits = 0;
  int rarity = 0;
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
    const auto ka = std::tie(a.middleDigits, a.words, a.trailingDigits, a.keptDigits, a.rarity);
    const auto kb = std::tie(b.middleDigits, b.words, b.trailingDigits, b.keptDigits, b.rarity);
    if (ka != kb) {
      return ka < kb;
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

Partial Keep(std::uint32_t at, Context context, const Partial& rest, const Texts& texts) {
  Partial out = rest;
  out.piece = Piece::kKeep;
  out.at = at;
  out.span = nullptr;
  out.rest = &rest;
  out.keptDigits += 1;
  if (context == kAfterWord) {
    (rest.words > 0 ? out.middleDigits : out.trailingDigits) += 1;
  }
  out.vanity = TextHash::Of(texts.Vanity(out)).Before(rest.vanity);
  return out;
}

Partial Spell(std::uint32_t at, const Span& span, const Partial& rest) {
  Partial out = rest;
  out.piece = Piece::kSpell;
  out.at = at;
  out.span = &span;
  out.rest = &rest;
  out.words += 1;
  out.rarity += span.word->rarity;
  out.vanity = span.word->upperHash.Before(rest.vanity);
  return out;
}

using Lists = std::vector<std::array<std::vector<Partial>, 2>>;

// Step 3: from the end of the number to its start, lists[i][context] holds the best
// suggestions for the number from i on, at most cap of them, one per vanity text. One
// among the first cap from i is a piece at i followed by one of the first cap from where
// the piece ends: with a worse rest, or another rest of the same vanity text, the same
// piece would give something ranked no better.
Lists RankFromEnd(std::string_view number, const std::vector<std::vector<Span>>& spans,
                  std::size_t cap, const Texts& texts) {
  const std::size_t length = number.size();
  Lists lists(length + 1);
  lists[length][kLeading].emplace_back();
  lists[length][kAfterWord].emplace_back();
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
      // Each piece at i followed by the rests after it is a list already in order: merge.
      struct Head {
        Partial partial;
        const Span* span;  // nullptr: the digit kept
        std::size_t rank;
      };
      auto worse = [&texts](const Head& a, const Head& b) {
        return texts.Before(b.partial, a.partial);
      };
      std::priority_queue<Head, std::vector<Head>, decltype(worse)> heads(worse);
      auto restOf = [&](const Span* span) -> const std::vector<Partial>& {
        return span == nullptr ? lists[i + 1][context] : lists[span->end][kAfterWord];
      };
      auto make = [&](const Span* span, std::size_t rank) {
        const Partial& rest = restOf(span)[rank];
        return span == nullptr ? Keep(at, context, rest, texts) : Spell(at, *span, rest);
      };
      if (!restOf(nullptr).empty()) {
        heads.push({make(nullptr, 0), nullptr, 0});
      }
      for (const Span& span : spans[i]) {
        if (!restOf(&span).empty()) {
          heads.push({make(&span, 0), &span, 0});
        }
      }
      // The vanity texts listed so far, by hash; alike hashes are compared in full.
      std::unordered_multimap<std::uint64_t, std::size_t> vanities;
      while (!heads.empty() && list.size() < cap) {
        Head head = heads.top();
        heads.pop();
        if (head.rank + 1 < restOf(head.span).size()) {
          heads.push({make(head.span, head.rank + 1), head.span, head.rank + 1});
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
  return lists;
}

// Step 4: the suggestion of one entry of the first list, its pieces found by following
// its rests.
Suggestion Unwind(std::string_view number, const Partial& best, const Texts& texts) {
  Suggestion s;
  s.middleDigits = best.middleDigits;
  s.words = best.words;
  s.keptDigits = best.keptDigits;
  s.trailingDigits = best.trailingDigits;
  s.rarity = best.rarity;
  bool keptBefore = false;  // the character before this piece is a kept digit
  for (const Partial* p = &best; p != nullptr && p->piece != Piece::kEnd; p = p->rest) {
    s.vanity += texts.Vanity(*p);
    if (p->piece != Piece::kPass) {
      s.order += texts.Order(*p);
      s.order += '\0';
    }
    if (p->piece == Piece::kSpell) {
      const Word& w = *p->span->word;
      s.placed.push_back({w.word, std::string(number.substr(p->at, p->span->end - p->at)),
                          static_cast<int>(p->at) + 1, false});
      s.mostRare = std::max(s.mostRare, w.rarity);
      keptBefore = false;
    } else if (p->piece == Piece::kKeep) {
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
  for (const SuggestedWord& w : s.placed) {
    const std::string_view trimmed = Trim(w.word);
    s.phrase += (s.phrase.empty() ? "" : " ") + std::string(trimmed);
  }
  return s;
}

}  // namespace

int Rarity(char classLetter) {
  switch (classLetter) {
    case kFamiliarClass:
      return 1;
    case kLessCommonClass:
      return 2;
    case kRareClass:
      return 3;
    case 'A':
      return kNameRarity;
    default:
      return 0;
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

Status Suggest(ByteSource& source, std::string_view fullNumber, int limitWanted,
               std::vector<Suggestion>& out) {
  out.clear();
  const std::string_view number = Short(fullNumber);
  const std::size_t limit = static_cast<std::size_t>(std::clamp(limitWanted, 1, kMaxSuggestions));
  // One more than asked for, since the cover that keeps every digit is no suggestion and
  // may be among the first.
  const std::size_t cap = limit + 1;
  const DigitText digits(number);
  Groups groups;
  Status scanned = ScanWords(source, digits.text, cap, groups);
  if (!scanned.IsOk() || FirstDigitPos(number) == 0) {
    return scanned;
  }
  for (auto& [field, group] : groups) {
    group.Prune(cap);
  }
  const auto spans = PlaceWords(groups, digits, number.size());
  const Texts texts(number);
  const Lists lists = RankFromEnd(number, spans, cap, texts);
  for (const Partial& best : lists[0][kLeading]) {
    if (out.size() < limit && best.words > 0) {
      out.push_back(Unwind(number, best, texts));
    }
  }
  return {};
}

}  // namespace vantrel
