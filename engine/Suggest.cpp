// SPDX-License-Identifier: GPL-3.0-or-later
#include "Suggest.h"

#include <algorithm>
#include <map>
#include <queue>
#include <set>
#include <tuple>
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

// One word at one place of the number.
struct Placement {
  std::string word;  // as the candidate grid shows it
  std::string digits;
  std::string trimmed;  // as the phrase holds it
  std::string upper;    // as the vanity text holds it, UTF-8
  int pos = 0;          // 0-based
  bool digitOnly = false;
  bool classA = false;
};

// A word is plain when its trimmed text is not empty and holds no blank or control
// character. For two plain words placed on the same digits, the order of
// "word rest-of-phrase" follows the order of the words alone, whatever the rest is;
// that is what lets a group of them be cut to the best few while the dictionary is
// read. Words with inner blanks do not have that property ("a b" against "a" depends
// on what follows) and are all kept.
bool IsPlain(std::string_view trimmed) {
  return !trimmed.empty() && std::none_of(trimmed.begin(), trimmed.end(), [](char ch) {
    return static_cast<unsigned char>(ch) <= 32;
  });
}

bool PlacementBefore(const Placement& a, const Placement& b) {
  if (a.digitOnly != b.digitOnly) {
    return !a.digitOnly;
  }
  if (a.classA != b.classA) {
    return !a.classA;
  }
  return a.trimmed < b.trimmed;
}

// The words found for one run of digits (a position and a length).
struct Group {
  std::vector<Placement> plain;
  std::vector<Placement> other;
  std::set<std::pair<std::string, bool>> otherSeen;

  // Keeps the best plain word for each vanity text, and of those the best limit: no
  // suggestion among the first limit can use a word that limit others beat on the same
  // digits, since each of them would give a better suggestion with another vanity.
  void Prune(std::size_t limit) {
    std::stable_sort(plain.begin(), plain.end(), PlacementBefore);
    std::unordered_set<std::string> uppers;
    std::vector<Placement> kept;
    for (Placement& p : plain) {
      if (kept.size() == limit) {
        break;
      }
      if (uppers.insert(p.upper).second) {
        kept.push_back(std::move(p));
      }
    }
    plain = std::move(kept);
  }
};

// One suggestion for the digits from some position to the end of the number, with the
// way back to the words it places.
struct Partial {
  int digitWords = 0;
  int words = 0;
  int classA = 0;
  std::string phrase;
  std::string vanity;
  const Placement* first = nullptr;  // nullptr: the position holds no digit
  int restRank = 0;                  // in the list of the position after it
};

// The ranking, best first: fewer words of digits alone, fewer words, fewer words of class
// "A", then the phrase's bytes (std::string compares them as unsigned, the Windows-1252
// order), and last the vanity text, so that no two different results ever tie.
template <class Ranked>
bool RankedBefore(const Ranked& a, const Ranked& b) {
  return std::tie(a.digitWords, a.words, a.classA, a.phrase, a.vanity) <
         std::tie(b.digitWords, b.words, b.classA, b.phrase, b.vanity);
}

bool PartialBefore(const Partial& a, const Partial& b) {
  return RankedBefore(a, b);
}

// The phrase with one more word in front; words that trim to nothing add nothing, as
// in the text Copy writes.
std::string JoinPhrase(const std::string& word, const std::string& rest) {
  if (word.empty()) {
    return rest;
  }
  if (rest.empty()) {
    return word;
  }
  return word + ' ' + rest;
}

Partial Combine(const Placement& p, const Partial& rest, int restRank) {
  Partial out;
  out.digitWords = rest.digitWords + (p.digitOnly ? 1 : 0);
  out.words = rest.words + 1;
  out.classA = rest.classA + (p.classA ? 1 : 0);
  out.phrase = JoinPhrase(p.trimmed, rest.phrase);
  out.vanity = p.upper + rest.vanity;
  out.first = &p;
  out.restRank = restRank;
  return out;
}

}  // namespace

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
    } else if (byte == 0xDF) {  // ß has no single capital
      out += "SS";
      continue;
    } else if (byte == 0xB5) {  // µ: the Greek capital mu, which the code page lacks
      out += "\xCE\x9C";
      continue;
    } else if (byte == 0x83) {  // ƒ: capital F with hook, which the code page lacks
      out += "\xC6\x91";
      continue;
    }
    const char single = static_cast<char>(upper);
    out += Cp1252ToUtf8(std::string_view(&single, 1));
  }
  return out;
}

ScanResult Suggest(ByteSource& source, std::string_view fullNumber, int limitWanted,
                   std::vector<Suggestion>& out) {
  out.clear();
  const std::string_view number = Short(fullNumber);
  const std::size_t limit = static_cast<std::size_t>(std::clamp(limitWanted, 1, kMaxSuggestions));
  const std::size_t length = number.size();

  // The scan: every candidate of the search, at every place where its digits stand.
  const QuickTest quick(number);
  std::map<std::pair<int, int>, Group> groups;  // by position and length
  DictionaryEntry entry;
  const std::size_t pruneAt = 2 * limit + 16;
  std::size_t examined = 0;
  // Only lines whose digits stand somewhere in the number reach the callback.
  const ScanResult scanned = ScanQuickTested(source, quick, examined, [&](std::string_view line) {
    const std::size_t comma = std::min(line.find(','), line.size());
    if (comma == line.size() || comma == 0 || !ParseDictionaryLine(line, entry)) {
      return;
    }
    const char head = entry.word.front();
    if (head == '-' || head == '+' || entry.word.back() == '-' ||
        !std::all_of(entry.digits.begin(), entry.digits.end(), IsDigit)) {
      return;
    }
    Placement p;
    for (char ch : entry.word) {
      if (ch != '+') {
        p.word += ch;
      }
    }
    p.digits = entry.digits;
    p.trimmed = std::string(Trim(p.word));
    p.upper = UpperUtf8(p.trimmed);
    p.digitOnly = !p.trimmed.empty() && std::all_of(p.trimmed.begin(), p.trimmed.end(), IsDigit);
    p.classA = entry.classLetter == 'A';
    const bool plain = IsPlain(p.trimmed);
    const int len = static_cast<int>(p.digits.size());
    for (std::size_t at = number.find(p.digits); at != std::string_view::npos;
         at = number.find(p.digits, at + 1)) {
      p.pos = static_cast<int>(at);
      Group& group = groups[{p.pos, len}];
      if (plain) {
        group.plain.push_back(p);
        if (group.plain.size() > pruneAt) {
          group.Prune(limit);
        }
      } else if (group.otherSeen.emplace(p.trimmed, p.classA).second) {
        group.other.push_back(p);
      }
    }
  });
  if (scanned != ScanResult::kEnd || FirstDigitPos(number) == 0) {
    return scanned;
  }
  for (auto& [key, group] : groups) {
    group.Prune(limit);
  }

  // From the end of the number to its start: lists[i] holds the best suggestions for
  // the digits from i on, at most limit of them, one per vanity text. A suggestion
  // among the first limit from i is a word at i followed by one of the first limit
  // from where the word ends: with a worse rest, or another rest of the same vanity
  // text, the same word would give something ranked no better.
  std::vector<std::vector<Partial>> lists(length + 1);
  lists[length].emplace_back();
  for (std::size_t i = length; i-- > 0;) {
    std::vector<Partial>& list = lists[i];
    if (!IsDigit(number[i])) {
      const std::string kept = Cp1252ToUtf8(number.substr(i, 1));
      const std::vector<Partial>& next = lists[i + 1];
      list.reserve(next.size());
      for (std::size_t r = 0; r < next.size(); ++r) {
        Partial p = next[r];
        p.vanity.insert(0, kept);
        p.first = nullptr;
        p.restRank = static_cast<int>(r);
        list.push_back(std::move(p));
      }
      continue;
    }
    // Each word at i with the rests after it is a list already in order; merge them.
    struct Head {
      Partial partial;
      const Placement* word;
      std::size_t rank;
    };
    auto worse = [](const Head& a, const Head& b) { return PartialBefore(b.partial, a.partial); };
    std::priority_queue<Head, std::vector<Head>, decltype(worse)> heads(worse);
    const auto from = groups.lower_bound({static_cast<int>(i), 0});
    for (auto it = from; it != groups.end() && it->first.first == static_cast<int>(i); ++it) {
      const std::vector<Partial>& rest = lists[i + static_cast<std::size_t>(it->first.second)];
      if (rest.empty()) {
        continue;
      }
      for (const std::vector<Placement>* words : {&it->second.plain, &it->second.other}) {
        for (const Placement& p : *words) {
          heads.push({Combine(p, rest.front(), 0), &p, 0});
        }
      }
    }
    std::unordered_set<std::string> vanities;
    while (!heads.empty() && list.size() < limit) {
      Head head = heads.top();
      heads.pop();
      const std::size_t end = i + head.word->digits.size();
      const std::size_t nextRank = head.rank + 1;
      if (nextRank < lists[end].size()) {
        heads.push({Combine(*head.word, lists[end][nextRank], static_cast<int>(nextRank)),
                    head.word, nextRank});
      }
      if (vanities.insert(head.partial.vanity).second) {
        list.push_back(std::move(head.partial));
      }
    }
  }

  for (std::size_t r = 0; r < lists[0].size(); ++r) {
    const Partial& best = lists[0][r];
    Suggestion s;
    s.digitWords = best.digitWords;
    s.words = best.words;
    s.classA = best.classA;
    s.phrase = best.phrase;
    s.vanity = best.vanity;
    std::size_t at = 0;
    std::size_t rank = r;
    while (at < length) {
      const Partial& step = lists[at][rank];
      if (step.first == nullptr) {
        at += 1;
      } else {
        s.placed.push_back({step.first->word, step.first->digits, step.first->pos + 1});
        at += step.first->digits.size();
      }
      rank = static_cast<std::size_t>(step.restRank);
    }
    out.push_back(std::move(s));
  }
  return ScanResult::kEnd;
}

}  // namespace vantrel
