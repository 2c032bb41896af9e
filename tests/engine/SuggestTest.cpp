// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number suggestions: hand-checked cases for each rule, and the first N against
// a brute-force enumeration of every cover on random small dictionaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "Fakes.h"
#include "MainModel.h"
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
  EXPECT_TRUE(Suggest(source, number, limit, out).IsOk());
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
      {"a word at every place its digits stand",
       {"23,ad,B"},
       "2323",
       20,
       {"23 ad|23AD", "ad 23|AD23", "ad ad|ADAD"}},
      {"overlapping placements are refused; kept digits in the middle count first",
       {"22,aa,B", "2,b,B"},
       "222",
       20,
       {"2 aa|2AA", "22 b|22B", "aa 2|AA2", "2 b 2|2B2", "b 22|B22", "aa b|AAB", "b aa|BAA",
        "2 b b|2BB", "b b 2|BB2", "b b b|BBB", "b 2 b|B2B"}},
      {"digits kept at the start cost nothing, at the end more, in the middle most",
       {"2,b,B", "4,g,B"},
       "234",
       20,
       {"23 g|23G", "b 34|B34", "b 3 g|B3G"}},
      {"fewer words, then fewer digits kept at the end, then fewer kept digits",
       {"22,ab,B", "2,a,B", "3,d,B"},
       "223",
       5,
       {"22 d|22D", "ab 3|AB3", "2 a 3|2A3", "a 23|A23", "ab d|ABD"}},
      {"longer words before more common ones, common before rare",
       {"2,a,F", "2,c,B", "23,ad,F", "3,e,B"},
       "123",
       4,
       {"1 ad|1AD", "12 e|12E", "1 c 3|1C3", "1 a 3|1A3"}},
      {"proper names after every band of commonness",
       {"2,Cd,A", "2,ab,F"},
       "2",
       20,
       {"ab|AB", "Cd|CD"}},
      {"separators stay where digits are kept, and words cross them",
       {"3569377,flowers,B", "356,elm,B", "9377,yeps,B"},
       "1-888-356-9377",
       3,
       {"1 888 flowers|1-888-FLOWERS", "1 888 356 yeps|1-888-356-YEPS",
        "1 888 elm 9377|1-888-ELM-9377"}},
      {"a word never crosses a bullet or a letter",
       {"22,aa,B", "2,b,B"},
       "2\x95"
       "2x2",
       20,
       {"2 2 b|2\xE2\x80\xA2"
        "2xB",
        "2 b 2|2\xE2\x80\xA2"
        "Bx2",
        "b 2 2|B\xE2\x80\xA2"
        "2x2",
        "2 b b|2\xE2\x80\xA2"
        "BxB",
        "b b 2|B\xE2\x80\xA2"
        "Bx2",
        "b b b|B\xE2\x80\xA2"
        "BxB",
        "b 2 b|B\xE2\x80\xA2"
        "2xB"}},
      {"the phrase's pieces in Windows-1252 order, one vanity text each",
       {"2,\xE9,B", "2,z,B", "2,Z,B"},
       "2",
       20,
       {"Z|Z", "\xC3\xA9|\xC3\x89"}},
      {"one vanity text per result, with its best phrase",
       {"2,a,F", "2,A,B", "22,aa,B"},
       "22",
       20,
       {"aa|AA", "2 A|2A", "A 2|A2"}},
      {"a limit of one", {"2,b,B", "2,a,B"}, "22", 1, {"2 a|2A"}},
      {"no cover that keeps every digit", {"3,d,B"}, "22", 20, {}},
      {"a number without a free digit gives nothing", {"2,a,B"}, "\x95-\x95", 20, {}},
      {"an empty number gives nothing", {"2,a,B"}, "", 20, {}},
      {"endings and beginnings are not words; over+ is over",
       {"68437,over+,B", "6843,-ing,B", "684,re-,B", "37,+s,B", "7,-s,B", "7,s-,B"},
       "68437",
       20,
       {"over|OVER"}},
      {"words of digits alone, or of nothing, spell nothing",
       {"2,2,D", "3,7,B", "2, ,B",
        "23,a\x01"
        "d,B",
        "3,d,B"},
       "23",
       20,
       {"2 d|2D"}},
      {"only digits fields of 0 to 9 take part",
       {"2 ,q,B", "2,a,B"},
       "2 2",
       2,
       {"2 a|2 A", "a 2|A 2"}},
      {"one capital for each letter; \xC3\x9F stays",
       {"23,\xDF\xB5\xFF,B"},
       "23",
       20,
       {"\xC3\x9F\xC2\xB5\xC3\xBF|\xC3\x9F\xCE\x9C\xC5\xB8"}},
      {"words are trimmed in the phrase and the vanity text", {"23, ab ,B"}, "23", 20, {"ab|AB"}},
      {"the number's other characters stay as typed", {"22,aa,B"}, "(2) 2x", 20, {"aa|(AAx"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Lines(SuggestFor(Dict(c.dictionary), c.number, c.limit)), c.expected);
  }
}

// The public examples, on a dictionary that holds the words that compete with them.
TEST(SuggestTest, TheAnswerAPersonPicksComesFirst) {
  const std::vector<std::string> dictionary = {"3569377,flowers,B",
                                               "356,elm,B",
                                               "9377,yeps,F",
                                               "377,err,B",
                                               "888,tut,F",
                                               "8,t,F",
                                               "8,u,F",
                                               "75,pl,F",
                                               "234,beg,C",
                                               "34,eh,F",
                                               "23,ad,B",
                                               "2284,bath,B",
                                               "4357,help,B",
                                               "228,bat,B",
                                               "228,cat,B",
                                               "228,act,B",
                                               "4357,gels,C",
                                               "7378423,service,B",
                                               "737,pep,C",
                                               "8423,vice,B",
                                               "8423,tide,B",
                                               "617,Ola,A"};
  struct Example {
    std::string number;
    std::string first;
  };
  const std::vector<Example> examples = {
      {"18883569377", "1888FLOWERS"},
      {"1-888-356-9377", "1-888-FLOWERS"},
      {"1-800-356-9377", "1-800-FLOWERS"},
      {"16175551234", "16175551BEG"},
      {"(617) 555-1234", "(617) 555-1BEG"},
      {"7378423", "SERVICE"},
      {"2284357", "228HELP"},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(e.number);
    const auto out = SuggestFor(Dict(dictionary), e.number);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0].vanity, e.first);
    for (const Suggestion& s : out) {
      EXPECT_GT(s.words, 0) << s.vanity;
    }
  }
  // Among full covers of two words, common words first.
  const auto out = Lines(SuggestFor(Dict(dictionary), "2284357", 20));
  const auto at = [&](const std::string& line) {
    return std::find(out.begin(), out.end(), line) - out.begin();
  };
  EXPECT_LT(at("bat help|BATHELP"), at("act gels|ACTGELS"));
  EXPECT_LT(at("228 help|228HELP"), at("bath 357|BATH357"));
  EXPECT_LT(at("bath 357|BATH357"), at("bat help|BATHELP"));
  EXPECT_LT(at("bat help|BATHELP"), static_cast<std::ptrdiff_t>(out.size()));
}

TEST(SuggestTest, PiecesGiveTheTextTheyCoverAndItsPosition) {
  const auto out =
      SuggestFor(Dict({"3569377,flowers,B", "356,elm,B", "68437,over+,B"}), "1-800-356-9377", 1);
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].phrase, "1 800 flowers");
  std::vector<std::string> placed;
  for (const SuggestedWord& w : out[0].placed) {
    placed.push_back(w.word + "@" + w.digits + "@" + std::to_string(w.pos) +
                     (w.kept ? "@kept" : ""));
  }
  EXPECT_EQ(placed,
            (std::vector<std::string>{"1@1@1@kept", "800@800@3@kept", "flowers@356-9377@7"}));
  EXPECT_EQ(out[0].keptDigits, 4);
  EXPECT_EQ(out[0].LeadingDigits(), 4);
  EXPECT_EQ(out[0].words, 1);
}

TEST(SuggestTest, KeysCountKeptDigitsByWhereTheyStand) {
  const auto out = SuggestFor(Dict({"3,d,C", "5,j,F", "7,p,A"}), "1234567", 20);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0].vanity, "123456P");
  const auto it = std::find_if(out.begin(), out.end(),
                               [](const Suggestion& s) { return s.vanity == "12D4J6P"; });
  ASSERT_NE(it, out.end());
  EXPECT_EQ(it->middleDigits, 2);
  EXPECT_EQ(it->trailingDigits, 0);
  EXPECT_EQ(it->LeadingDigits(), 2);
  EXPECT_EQ(it->keptDigits, 4);
  EXPECT_EQ(it->words, 3);
  EXPECT_EQ(it->rarity, Rarity('C') + Rarity('F') + Rarity('A'));
  EXPECT_EQ(it->mostRare, kNameRarity);
  const auto tail = std::find_if(out.begin(), out.end(),
                                 [](const Suggestion& s) { return s.vanity == "12D4567"; });
  ASSERT_NE(tail, out.end());
  EXPECT_EQ(tail->trailingDigits, 4);
  EXPECT_EQ(tail->middleDigits, 0);
}

TEST(SuggestTest, RarityByClassLetter) {
  EXPECT_EQ(Rarity(kCommonClass), 0);
  EXPECT_LT(Rarity(kCommonClass), Rarity(kFamiliarClass));
  EXPECT_LT(Rarity(kFamiliarClass), Rarity(kLessCommonClass));
  EXPECT_LT(Rarity(kLessCommonClass), Rarity(kRareClass));
  EXPECT_LT(Rarity(kRareClass), Rarity('A'));
  for (char other : {'D', 'x', 'Z', '1', ' '}) {
    EXPECT_EQ(Rarity(other), 0) << other;
  }
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
  EXPECT_EQ(Suggest(source, "2", 20, out).Code(), StatusCode::kReadFailed);
  EXPECT_TRUE(out.empty());
}

TEST(SuggestTest, FourteenTwosHaveTheirFirstTwentyDistinctAndInOrder) {
  const auto out =
      SuggestFor(Dict({"2,a,B", "2,b,B", "2,c,B", "22,ab,B", "222,abc,B"}), std::string(14, '2'));
  ASSERT_EQ(out.size(), 20U);
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_TRUE(RanksBefore(out[i - 1], out[i])) << i;
  }
  // One word, the longest, after the digits kept at the start.
  EXPECT_EQ(out[0].words, 1);
  EXPECT_EQ(out[0].vanity, "22222222222ABC");
}

// A word across a separator is placed over the characters it covers, separator
// included, so that the phrase keeps one row for it and taking it out gives back the
// number exactly as it was typed.
TEST(SuggestPlacementTest, AWordAcrossASeparatorTakesItsDigitsAndTheSeparator) {
  testing::MemoryFiles files;
  files.files["dict.txt"] = Dict({"3569377,flowers,B", "356,elm,B", "1,1,D"});
  DictionaryFile dictionary{files.Opener()};
  dictionary.Bind("dict.txt");
  dictionary.name = "dict.txt";
  testing::RecordingHost host;
  MainModel model{dictionary, host};
  model.ResumeNumber();
  model.TypeNumber("1-888-356-9377");

  MemorySource source(files.files["dict.txt"]);
  std::vector<Suggestion> out;
  ASSERT_TRUE(Suggest(source, model.EntryText(), 1, out).IsOk());
  ASSERT_EQ(out.size(), 1U);
  ASSERT_EQ(out[0].vanity, "1-888-FLOWERS");
  ASSERT_TRUE(model.ApplySuggestion(out[0]));

  const std::string b = "\x95";
  EXPECT_EQ(model.EntryText(), b + "-" + b + b + b + "-" + b + b + b + b + b + b + b + b);
  std::vector<std::string> rows;
  for (int row = 1; row <= 3; ++row) {
    rows.push_back(model.Phrase().Cell(0, row) + "@" + model.Phrase().Cell(1, row) + "@" +
                   std::to_string(model.WordPositions(row)));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"1@1@1", "888@888@3", "flowers@356-9377@7"}));
  EXPECT_EQ(model.PhraseText(), "1-888-356-9377, 1 888 flowers");

  model.RemovePhraseWord(3);
  EXPECT_EQ(model.EntryText(), b + "-" + b + b + b + "-356-9377");
  // The number changed under a suggestion made before: nothing is placed over it.
  model.RemovePhraseWord(1);
  model.RemovePhraseWord(1);
  model.SetEntryText("1-888-356-93");
  EXPECT_FALSE(model.ApplySuggestion(out[0]));
}

// --- brute force ---

struct Word {
  std::string digits;
  std::string word;
  char classLetter;
};

bool IsSep(char c) {
  return c == ' ' || c == '-' || c == '(' || c == ')' || c == '.' || c == '/' || c == '+';
}

bool IsDigitChar(char c) {
  return c >= '0' && c <= '9';
}

// One piece of a cover: a kept digit (word == nullptr) or a word, over [from, to).
struct Piece {
  std::size_t from;
  std::size_t to;
  const Word* word;
};

// The keys of a cover, worked out from their definitions on the whole cover.
Suggestion Judge(const std::string& number, const std::vector<Piece>& pieces) {
  Suggestion s;
  std::size_t copied = 0;
  std::vector<bool> isWord;
  std::vector<std::string> items;  // kept digits that touch are one item
  for (const Piece& p : pieces) {
    const bool joins = !isWord.empty() && !isWord.back() && p.word == nullptr && copied == p.from;
    s.vanity += Cp1252ToUtf8(number.substr(copied, p.from - copied));
    copied = p.to;
    if (p.word == nullptr) {
      s.vanity += number[p.from];
      s.order += std::string{number[p.from], '\0'};
      if (joins) {
        items.back() += number[p.from];
      } else {
        items.emplace_back(1, number[p.from]);
      }
      isWord.push_back(false);
      continue;
    }
    std::string shown;
    for (char ch : p.word->word) {
      if (ch != '+') {
        shown += ch;
      }
    }
    const std::string trimmed(Trim(shown));
    s.vanity += UpperUtf8(trimmed);
    s.order += trimmed + '\0';
    items.push_back(trimmed);
    s.words += 1;
    s.rarity += Rarity(p.word->classLetter);
    isWord.push_back(true);
  }
  s.vanity += Cp1252ToUtf8(number.substr(copied));
  for (const std::string& item : items) {
    s.phrase += (s.phrase.empty() ? "" : " ") + item;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (isWord[i]) {
      continue;
    }
    const bool before = std::find(isWord.begin(), isWord.begin() + static_cast<long>(i), true) !=
                        isWord.begin() + static_cast<long>(i);
    const bool after =
        std::find(isWord.begin() + static_cast<long>(i), isWord.end(), true) != isWord.end();
    s.keptDigits += 1;
    s.middleDigits += before && after ? 1 : 0;
    s.trailingDigits += before && !after ? 1 : 0;
  }
  return s;
}

// Every cover of the number's digits, ranked, one per vanity text, none without a word.
std::vector<Suggestion> BruteForce(const std::vector<Word>& words, const std::string& number,
                                   int limit) {
  std::map<std::string, Suggestion> best;
  std::vector<Piece> pieces;
  std::function<void(std::size_t)> cover = [&](std::size_t at) {
    while (at < number.size() && !IsDigitChar(number[at])) {
      ++at;
    }
    if (at == number.size()) {
      Suggestion s = Judge(number, pieces);
      if (s.words == 0) {
        return;
      }
      auto it = best.find(s.vanity);
      if (it == best.end() || RanksBefore(s, it->second)) {
        best[s.vanity] = s;
      }
      return;
    }
    pieces.push_back({at, at + 1, nullptr});
    cover(at + 1);
    pieces.pop_back();
    for (const Word& w : words) {
      // The word's digits one by one from at, crossing separators only.
      std::size_t i = at;
      std::size_t matched = 0;
      while (matched < w.digits.size() && i < number.size()) {
        if (number[i] == w.digits[matched]) {
          ++matched;
          ++i;
          if (matched < w.digits.size()) {
            while (i < number.size() && IsSep(number[i])) {
              ++i;
            }
          }
        } else {
          break;
        }
      }
      if (matched == w.digits.size()) {
        pieces.push_back({at, i, &w});
        cover(i);
        pieces.pop_back();
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
  const std::string classes = "ABCEFDx";
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 600; ++round) {
    std::vector<std::string> lines;
    std::vector<Word> words;
    const int entries = 1 + pick(round % 8 == 0 ? 300 : round % 4 == 0 ? 80 : 10);
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
      const char classLetter = classes[static_cast<std::size_t>(pick(7))];
      lines.push_back(digits + "," + word + "," + classLetter);
      std::string shown = word;
      std::erase(shown, '+');
      const std::string_view trimmed = Trim(shown);
      const bool spells = !trimmed.empty() && !std::all_of(trimmed.begin(), trimmed.end(),
                                                           [](char c) { return IsDigitChar(c); });
      if (word.front() != '-' && word.front() != '+' && word.back() != '-' && spells) {
        words.push_back({digits, word, classLetter});
      }
    }
    std::string number;
    for (int n = 1 + pick(round % 4 == 0 ? 3 : 7); n > 0; --n) {
      const int kind = pick(12);
      number += kind == 0   ? '-'
                : kind == 1 ? kBullet
                : kind == 2 ? ' '
                : kind == 3 ? 'x'
                            : static_cast<char>('2' + pick(2));
    }
    const int limit = 1 + pick(round % 2 == 0 ? 3 : 30);
    SCOPED_TRACE("round " + std::to_string(round) + ", number " + Cp1252ToUtf8(number) +
                 ", limit " + std::to_string(limit));
    const auto expected = BruteForce(words, number, limit);
    const auto actual = SuggestFor(Dict(lines), number, limit);
    ASSERT_EQ(Lines(actual), Lines(expected));
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].middleDigits, expected[i].middleDigits);
      EXPECT_EQ(actual[i].trailingDigits, expected[i].trailingDigits);
      EXPECT_EQ(actual[i].keptDigits, expected[i].keptDigits);
      EXPECT_EQ(actual[i].rarity, expected[i].rarity);
      EXPECT_EQ(actual[i].words, expected[i].words);
      // The pieces cover every digit once, each at the text it gives.
      std::string covered;
      for (const SuggestedWord& w : actual[i].placed) {
        EXPECT_EQ(number.compare(static_cast<std::size_t>(w.pos - 1), w.digits.size(), w.digits),
                  0);
        std::copy_if(w.digits.begin(), w.digits.end(), std::back_inserter(covered), IsDigitChar);
      }
      std::string free;
      std::copy_if(number.begin(), number.end(), std::back_inserter(free), IsDigitChar);
      EXPECT_EQ(covered, free);
    }
  }
}

}  // namespace
}  // namespace vantrel
