// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The generator of the bundled dictionaries. It turns a word list (UTF-8 text, one word a
// line, as the Debian word lists are) and an affix list into a dictionary file: lines of
// "digits,word,class" in Windows-1252, each ended by CR LF, the digits spelled on the
// standard telephone keypad (ABC 2, DEF 3, GHI 4, JKL 5, MNO 6, PQRS 7, TUV 8, WXYZ 9).
//
// The program itself never works a keypad code out: whatever digits these files hold are
// the digits it searches. So every rule about letters and keys lives here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Status.h"

namespace vantrel::gendict {

// Class letters of the generated entries. "A" shows the word in italics. The letters of
// ordinary words also say how common the word is, which the suggestions read (the engine's
// Rarity, which a test holds to these letters); a user's dictionary with one letter
// throughout has all its words equally common. "D" tells the digit entries apart.
inline constexpr char kNameClass = 'A';   // begins with an upper-case letter: a proper name
inline constexpr char kWordClass = 'B';   // an ordinary word, or an affix; the most common band
inline constexpr char kDigitClass = 'D';  // a digit standing for itself

// The commonness bands after the first, most common one (kWordClass).
inline constexpr char kFamiliarClass = 'C';
inline constexpr char kLessCommonClass = 'E';
inline constexpr char kRareClass = 'F';

// How common a word is: a figure from 0 to 99, ten times its Zipf value, which is the
// base-ten logarithm of how often the word occurs per billion words of running text
// (round(10 * log10(occurrences * 1e9 / words counted)), clamped). 60 is once in a
// thousand words ("help" is 53, "the" 79), 30 once in a million. It is written as a fourth
// field after the class letter ("4357,help,B,53"), which readers of the three-field form
// ignore; digit and affix entries have none.
inline constexpr int kNoCommonness = -1;
inline constexpr int kMaxCommonness = 99;

// Each ordinary word's class letter is the coarse band of its figure, so that a user sees
// at a glance how common a word is, and the suggestions still rank words by their letter
// in a dictionary without the fourth field: B from 40 (once in 100,000 words or more
// often), C from 30 (once in a million), E from 22, F below. With the bundled counts every
// counted English word is at least E, and F holds only the words the counts lack and
// scowl does not call well known (kUnseenFigures).
struct Band {
  char classLetter;
  int from;  // the lowest figure of the band
};
inline constexpr std::array<Band, 4> kBands = {{
    {kWordClass, 40},
    {kFamiliarClass, 30},
    {kLessCommonClass, 22},
    {kRareClass, 0},
}};

// The figure of an ordinary word that the counts lack. The counts only list words that
// occur often enough (the English ones from 500 times in 1.09 billion words, figure 27;
// German 29, French 28), so a word they lack is rarer than every word they hold. For
// English, Debian's scowl word lists by size tell such words apart: sizes 10, 20 and 35
// are words every speaker knows, placed just below the rarest counted word (25, band E,
// still ahead of rare words); sizes 40 and 50 complete an ordinary dictionary (20, band F);
// any other word is a specialist's or a rare form (12). German and French have no lists by
// size, so all their missing words share one figure between those two (15, band F): a
// long compound or an inflected form missing from the counts may well be ordinary, but
// there is nothing to say which.
inline constexpr std::array<int, 2> kUnseenFigures = {25, 20};  // one per size band, in order
inline constexpr int kUnseenRareFigure = 12;                    // in no size band
inline constexpr int kUnseenUnrankedFigure = 15;                // no size bands given

// Room that the fourth field (",99") takes on a word's line.
inline constexpr std::size_t kCommonnessRoom = 3;

// The program reads at most this many characters of a line; a longer entry would be cut
// and found under the wrong digits, so it is left out instead.
inline constexpr std::size_t kMaxLineLength = 255;

// The keypad key ('2' to '9') of a letter given as a Unicode code point, or '\0' when the
// character is not a letter a dictionary word may hold. Only letters of Windows-1252 count.
char KeypadDigit(char32_t c);

// True for the upper-case letters among those KeypadDigit accepts.
bool IsUpperCaseLetter(char32_t c);

struct Entry {
  std::string digits;
  std::string word;  // Windows-1252 bytes, affix marks included
  char classLetter = kWordClass;
  int commonness = kNoCommonness;  // 0 to kMaxCommonness, or kNoCommonness for no fourth field

  bool operator==(const Entry&) const = default;
};

// Why a line of a word list gave no entry.
enum class Skip {
  kNone,
  kEmpty,
  kNotUtf8,
  kNotCp1252,     // holds a character that Windows-1252 lacks
  kNotLetters,    // apostrophes, hyphens, digits, blanks, punctuation...
  kTooLong,       // the entry line would be longer than kMaxLineLength
  kDuplicate,     // the same word came earlier in the list
  kAbbreviation,  // a single letter, or capitals after the first letter (DPs, ESP)
};
inline constexpr std::size_t kSkipKinds = 8;
static_assert(static_cast<std::size_t>(Skip::kAbbreviation) + 1 == kSkipKinds);

// A phrase for a summary line, such as "not Windows-1252".
std::string_view SkipReason(Skip skip);

struct WordResult {
  Skip skip = Skip::kNone;
  Entry entry;  // filled when skip is kNone
};

// The entry of one word (UTF-8, without its line end). Duplicates are the caller's business.
WordResult MakeWordEntry(std::string_view utf8Word);

struct SkipCount {
  std::size_t count = 0;
  std::size_t firstLine = 0;  // 1-based line of the first such word; 0 when count is 0
};

struct WordList {
  std::vector<Entry> entries;  // in the order of the list
  std::array<SkipCount, kSkipKinds> skipped{};

  const SkipCount& Skipped(Skip skip) const { return skipped[static_cast<std::size_t>(skip)]; }
};

// Reads a whole word list. Lines end at LF; a CR before the LF and a byte-order mark at
// the start are dropped. Every line gives an entry or counts under its reason.
WordList ReadWordList(std::string_view text);

struct AffixList {
  std::vector<Entry> entries;  // in the order of the list
  // One kMalformed Status for each bad line, its reason "line 7: ..."; none when all is
  // well. The list is read to its end, so that one run names every line to mend.
  std::vector<Status> errors;
};

// Reads an affix list: UTF-8 text, one affix a line with its mark ('-' joined to the word,
// '+' a word of its own) at the start for an ending, at the end for a beginning, or at
// both. Blanks around an affix are ignored; empty lines and lines starting with '#' are
// comments. The digits come from the letters alone, marks excluded.
AffixList ReadAffixList(std::string_view text);

// Word counts of a language model: how often each word occurred in the text it was made
// from.
struct WordCounts {
  std::unordered_map<std::string, std::uint64_t> occurrences;  // UTF-8 spelling -> count
  std::uint64_t total = 0;  // all words counted, the model's special tokens left out
};

// Reads the word counts of a language model in the text form of Onboard's models (Debian
// package onboard-data): a "\data\" header whose "ngram 1=N" line says how many entries
// follow, then under "\1-grams:" one "COUNT WORD" line for each word (UTF-8, case kept),
// then the longer n-grams, which are ignored. The tokens <unk>, <s>, </s> and <num> are
// not words and count toward nothing. A failure (kMalformed) leaves counts empty; its
// reason starts with the line ("line 7: ...") where there is one. LF or CR LF line ends.
Status ReadWordCounts(std::string_view text, WordCounts& counts);

// How often a dictionary word (UTF-8) occurred: its own spelling, and for a word all in
// lower case also its capitalised form, which is the same word at the start of a
// sentence. Never the all-capitals form, which is mostly an acronym (AMT is not amt); a
// word with capitals is counted by its own spelling alone.
std::uint64_t CountWord(const WordCounts& counts, std::string_view utf8Word);

// The figure of a word that occurred this many times among total words (see
// kNoCommonness), clamped to 0 to kMaxCommonness; kNoCommonness when it never occurred.
int CommonnessFigure(std::uint64_t occurrences, std::uint64_t total);

// The class letter of an ordinary word with this figure (kBands).
char CommonnessClass(int figure);

struct CommonnessTally {
  std::size_t counted = 0;    // words the counts hold, names included
  std::size_t estimated = 0;  // ordinary words given a figure of kUnseenFigures and the like
  std::size_t namesUncounted = 0;
  std::array<std::size_t, kBands.size()> perBand{};  // ordinary words, in the order of kBands
};

// True when a Windows-1252 word holds a vowel (y and the accented vowels included).
bool HasVowel(std::string_view cp1252Word);

// Gives every word its figure from the counts, and each ordinary word (not a name) the
// class letter of that figure. An ordinary word the counts lack takes the figure of the
// first size band that holds it (kUnseenFigures), kUnseenRareFigure when none does, or
// kUnseenUnrankedFigure when no size bands are given; a name the counts lack takes
// kUnseenRareFigure, and so does at most a word without a vowel. A size band is UTF-8 text, one
// word a line, as scowl's word lists by size are (several lists may be joined); at most
// kUnseenFigures.size() bands are read.
CommonnessTally MarkCommonness(std::vector<Entry>& words, const WordCounts& counts,
                               const std::vector<std::string>& sizeBands);

// The whole dictionary file: the word entries, the affix entries, an entry for each digit
// 0 to 9 (so that every number can be covered), and an empty last line, because the last
// line of a dictionary is never examined. An entry with a figure gets the fourth field.
std::string RenderDictionary(const std::vector<Entry>& words, const std::vector<Entry>& affixes);

// Reads a whole file. A failure (kCannotOpen, kReadFailed) leaves contents empty; its
// reason names the path.
Status ReadFile(const std::string& path, std::string& contents);

// Writes a whole file as the settings store writes its own (ReplaceFile), so that an
// interrupted build never leaves a half-written dictionary that looks complete. A
// failure's reason names the path.
Status WriteFileReplacing(const std::string& path, std::string_view contents);

}  // namespace vantrel::gendict
