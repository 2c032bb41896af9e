// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number suggestions: hand-checked cases for each rule, and the first N against
// a brute-force enumeration of every cover on random small dictionaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "Fakes.h"
#include "Suggest.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::MemorySource;

// "phrase|vanity" for each suggestion, the phrase as UTF-8.
std::vector<std::string> Lines(const std::vector<Suggestion>& suggestions) {
  std::vector<std::string> out;
  for (const Suggestion& s : suggestions) {
    out.push_back(Cp1252ToUtf8(s.phrase) + "|" + s.vanity);
  }
  return out;
}

std::vector<Suggestion> SuggestFor(const std::string& dictionary, const std::string& number,
                                   int limit = kDefaultSuggestions) {
  MemorySource source(dictionary, 7);
  std::vector<Suggestion> out;
  EXPECT_EQ(Suggest(source, number, limit, out), ScanResult::kEnd);
  return out;
}

struct Case {
  const char* name;
  std::vector<std::string> dictionary;
  std::string number;
  int limit;
  std::vector<std::string> expected;
};

TEST(SuggestTest, HandCheckedCases) {
  const std::vector<Case> cases = {
      {"a word at every place its digits stand", {"23,ad,B"}, "2323", 20, {"ad ad|ADAD"}},
      {"overlapping placements are refused",
       {"22,aa,B", "2,b,B"},
       "222",
       20,
       {"aa b|AAB", "b aa|BAA", "b b b|BBB"}},
      {"separators stay and no word crosses them",
       {"1,1,D", "800,tuu,B", "8,t,B", "0,o,B", "18,xy,B"},
       "1-800",
       20,
       {"1 tuu|1-TUU", "1 t o o|1-TOO"}},
      {"bullets stay and their digits are not covered again",
       {"2,a,B", "22,bc,B"},
       "\x95\x95"
       "2",
       20,
       {"a|\xE2\x80\xA2\xE2\x80\xA2"
        "A"}},
      {"fewer digit words before fewer words", {"2,b,B", "22,22,D"}, "22", 20, {"b b|BB", "22|22"}},
      {"fewer words before fewer proper names",
       {"22,Ab,A", "2,b,B"},
       "22",
       20,
       {"Ab|AB", "b b|BB"}},
      {"fewer proper names before the phrase's bytes", {"2,a,A", "2,z,B"}, "2", 20, {"z|Z", "a|A"}},
      {"the phrase's bytes in Windows-1252 order, one vanity text each",
       {"2,\xE9,B", "2,z,B", "2,Z,B"},
       "2",
       20,
       {"Z|Z", "\xC3\xA9|\xC3\x89"}},
      {"one vanity text per result, with its best phrase",
       {"2,a,B", "2,A,B", "22,aa,B"},
       "22",
       20,
       {"aa|AA"}},
      {"a limit of one", {"2,b,B", "2,a,B"}, "22", 1, {"a a|AA"}},
      {"digits without any entry give nothing", {"2,a,B"}, "29", 20, {}},
      {"a number without a free digit gives nothing", {"2,a,B"}, "\x95-\x95", 20, {}},
      {"an empty number gives nothing", {"2,a,B"}, "", 20, {}},
      {"endings and beginnings are not words; over+ is over",
       {"68437,over+,B", "6843,-ing,B", "684,re-,B", "37,+s,B", "7,-s,B", "7,s-,B"},
       "68437",
       20,
       {"over|OVER"}},
      {"over+ covers its digits", {"68437,over+,B", "6,m,B"}, "668437", 20, {"m over|MOVER"}},
      {"only digits fields of 0 to 9 take part", {"2 ,q,B", "2,a,B"}, "2 2", 20, {"a a|A A"}},
      {"a bracket before the first comma fails the quick test, as in the search",
       {"(x)2,n,B", "2,a,B"},
       "2",
       20,
       {"a|A"}},
      {"upper case by the Unicode rules",
       {"2,\xDF,B", "3,\xB5\xFF,B"},
       "23",
       20,
       {"\xC3\x9F \xC2\xB5\xC3\xBF|SS\xCE\x9C\xC5\xB8"}},
      {"words are trimmed in the phrase and the vanity text",
       {"2, a ,B", "3,b,B"},
       "23",
       20,
       {"a b|AB"}},
      {"a word with an inner blank is one word",
       {"22,a b,B", "2,a,B", "2,b,B"},
       "22",
       3,
       {"a b|A B", "a a|AA", "a b|AB"}},
      {"the number's other characters stay as typed", {"2,a,B"}, "(2) 2x", 20, {"a a|(A) Ax"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Lines(SuggestFor(Dict(c.dictionary), c.number, c.limit)), c.expected);
  }
}

TEST(SuggestTest, PlacedWordsGiveTheirPositionsInNumberOrder) {
  const auto out = SuggestFor(Dict({"1,1,D", "8,8,D", "0,0,D", "3569377,flowers,B", "356,elm,B",
                                    "9377,yeps,B", "68437,over+,B"}),
                              "1-800-356-9377");
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(Lines(std::vector<Suggestion>{out[0]}),
            std::vector<std::string>{"1 8 0 0 elm yeps|1-800-ELM-YEPS"});
  std::vector<std::string> placed;
  for (const SuggestedWord& w : out[0].placed) {
    placed.push_back(w.word + "@" + w.digits + "@" + std::to_string(w.pos));
  }
  EXPECT_EQ(placed, (std::vector<std::string>{"1@1@1", "8@8@3", "0@0@4", "0@0@5", "elm@356@7",
                                              "yeps@9377@11"}));
}

TEST(SuggestTest, FlowersComesFirst) {
  const auto out = SuggestFor(Dict({"1,1,D", "8,8,D", "0,0,D", "3,3,D", "3569377,flowers,B",
                                    "356,elm,B", "9377,yeps,B", "377,err,B", "9,w,B"}),
                              "18003569377");
  ASSERT_GE(out.size(), 2U);
  EXPECT_EQ(
      Lines(std::vector<Suggestion>{out[0], out[1]}),
      (std::vector<std::string>{"1 8 0 0 flowers|1800FLOWERS", "1 8 0 0 elm yeps|1800ELMYEPS"}));
  EXPECT_EQ(out[0].placed.back().word, "flowers");
  EXPECT_EQ(out[0].placed.back().pos, 5);
}

// The candidate grid keeps 4999 rows; the suggestions see every entry, so the best
// word may be the 6000th.
TEST(SuggestTest, EveryEntryCountsBeyondTheCandidateCap) {
  std::vector<std::string> lines;
  for (int i = 5999; i >= 0; --i) {
    char word[16];
    std::snprintf(word, sizeof word, "w%05d", i);
    lines.push_back(std::string("2,") + word + ",B");
  }
  const auto out = SuggestFor(Dict(lines), "2", kMaxSuggestions);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(kMaxSuggestions));
  EXPECT_EQ(out.front().phrase, "w00000");
  EXPECT_EQ(out.back().phrase, "w00999");
}

TEST(SuggestTest, AReadFailureGivesNothing) {
  const std::string dictionary = Dict({"2,a,B", "2,b,B", "2,c,B"});
  MemorySource source(dictionary, 3, 9);
  std::vector<Suggestion> out{Suggestion{}};
  EXPECT_EQ(Suggest(source, "2", 20, out), ScanResult::kReadError);
  EXPECT_TRUE(out.empty());
}

TEST(SuggestTest, FourteenTwosHaveTheirFirstTwentyDistinctAndInOrder) {
  const auto out = SuggestFor(Dict({"2,a,B", "2,b,B", "2,c,B", "22,ab,B", "222,abc,B", "2,2,D"}),
                              std::string(14, '2'));
  ASSERT_EQ(out.size(), 20U);
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_TRUE(RanksBefore(out[i - 1], out[i])) << i;
  }
  // Fewest words first: four "abc" and one "ab", in every order.
  EXPECT_EQ(out[0].words, 5);
  EXPECT_EQ(Cp1252ToUtf8(out[0].phrase), "ab abc abc abc abc");
}

// --- brute force ---

struct Word {
  std::string digits;
  std::string word;
  char classLetter;
};

// Every cover of the number's digits, ranked, one per vanity text.
std::vector<Suggestion> BruteForce(const std::vector<Word>& words, const std::string& number,
                                   int limit) {
  if (FirstDigitPos(number) == 0) {
    return {};
  }
  std::map<std::string, Suggestion> best;
  std::vector<std::pair<std::size_t, const Word*>> chosen;
  std::function<void(std::size_t)> cover = [&](std::size_t at) {
    while (at < number.size() && !(number[at] >= '0' && number[at] <= '9')) {
      ++at;
    }
    if (at == number.size()) {
      Suggestion s;
      std::string vanity;
      std::size_t copied = 0;
      for (const auto& [pos, w] : chosen) {
        std::string shown;
        for (char ch : w->word) {
          if (ch != '+') {
            shown += ch;
          }
        }
        const std::string trimmed(Trim(shown));
        vanity += Cp1252ToUtf8(number.substr(copied, pos - copied)) + UpperUtf8(trimmed);
        copied = pos + w->digits.size();
        if (!trimmed.empty()) {
          s.phrase += (s.phrase.empty() ? "" : " ") + trimmed;
        }
        s.words += 1;
        s.classA += w->classLetter == 'A' ? 1 : 0;
        s.digitWords += !trimmed.empty() && std::all_of(trimmed.begin(), trimmed.end(), [](char c) {
          return c >= '0' && c <= '9';
        });
      }
      s.vanity = vanity + Cp1252ToUtf8(number.substr(copied));
      auto it = best.find(s.vanity);
      if (it == best.end() || RanksBefore(s, it->second)) {
        best[s.vanity] = s;
      }
      return;
    }
    for (const Word& w : words) {
      if (number.compare(at, w.digits.size(), w.digits) == 0) {
        chosen.emplace_back(at, &w);
        cover(at + w.digits.size());
        chosen.pop_back();
      }
    }
  };
  cover(0);
  std::vector<Suggestion> all;
  for (auto& [vanity, s] : best) {
    all.push_back(s);
  }
  std::sort(all.begin(), all.end(), RanksBefore);
  all.resize(std::min(all.size(), static_cast<std::size_t>(limit)));
  return all;
}

TEST(SuggestTest, MatchesBruteForceOnRandomDictionaries) {
  std::mt19937 random(20261207);
  const std::vector<std::string> letters = {"a", "b", "A", "B", "s", "S", "\xDF", " ", "9"};
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> lines;
    std::vector<Word> words;
    const int entries = 1 + pick(round % 4 == 0 ? 80 : 10);
    for (int e = 0; e < entries; ++e) {
      std::string digits;
      for (int n = 1 + pick(e % 3 == 0 ? 3 : 1); n > 0; --n) {
        digits += static_cast<char>('2' + pick(2));
      }
      std::string word;
      for (int n = 1 + pick(3); n > 0; --n) {
        word += letters[static_cast<std::size_t>(pick(static_cast<int>(letters.size())))];
      }
      const int mark = pick(12);
      if (mark == 0) {
        word = "-" + word;
      } else if (mark == 1) {
        word += "+";
      } else if (mark == 2) {
        word = "+" + word;
      } else if (mark == 3) {
        word += "-";
      } else if (mark == 4) {
        word = digits;
      }
      const char classLetter = pick(3) == 0 ? 'A' : 'B';
      lines.push_back(digits + "," + word + "," + classLetter);
      if (word.front() != '-' && word.front() != '+' && word.back() != '-') {
        words.push_back({digits, word, classLetter});
      }
    }
    std::string number;
    for (int n = 1 + pick(round % 4 == 0 ? 3 : 6); n > 0; --n) {
      const int kind = pick(10);
      number += kind == 0 ? '-' : kind == 1 ? kBullet : static_cast<char>('2' + pick(2));
    }
    const int limit = 1 + pick(round % 2 == 0 ? 3 : 30);
    SCOPED_TRACE("round " + std::to_string(round) + ", number " + Cp1252ToUtf8(number) +
                 ", limit " + std::to_string(limit));
    const auto expected = BruteForce(words, number, limit);
    const auto actual = SuggestFor(Dict(lines), number, limit);
    ASSERT_EQ(Lines(actual), Lines(expected));
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].digitWords, expected[i].digitWords);
      EXPECT_EQ(actual[i].classA, expected[i].classA);
      // The placed words rebuild the vanity text.
      std::string digits;
      for (const SuggestedWord& w : actual[i].placed) {
        EXPECT_EQ(number.compare(static_cast<std::size_t>(w.pos - 1), w.digits.size(), w.digits),
                  0);
        digits += w.digits;
      }
      std::string free;
      std::copy_if(number.begin(), number.end(), std::back_inserter(free),
                   [](char c) { return c >= '0' && c <= '9'; });
      EXPECT_EQ(digits, free);
    }
  }
}

}  // namespace
}  // namespace vantrel
