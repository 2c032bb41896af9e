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
#include <string>
#include <string_view>
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

// The commonness bands after the first, most common one (kWordClass), and the letter of a
// word that none of the given lists holds.
inline constexpr char kFamiliarClass = 'C';
inline constexpr char kLessCommonClass = 'E';
inline constexpr char kRareClass = 'F';
inline constexpr std::array<char, 3> kBandClasses = {kWordClass, kFamiliarClass, kLessCommonClass};

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
  std::vector<Entry> entries;       // in the order of the list
  std::vector<std::string> errors;  // "line 7: ...", one per bad line; none when all is well
};

// Reads an affix list: UTF-8 text, one affix a line with its mark ('-' joined to the word,
// '+' a word of its own) at the start for an ending, at the end for a beginning, or at
// both. Blanks around an affix are ignored; empty lines and lines starting with '#' are
// comments. The digits come from the letters alone, marks excluded.
AffixList ReadAffixList(std::string_view text);

// Gives each ordinary word (not a name) the class letter of its commonness: the letter of
// the first band whose lists hold the word (bands[0] the most common, at most
// kBandClasses.size() bands), kRareClass when none does. A band is UTF-8 text, one word a
// line, as the word lists by size are (several lists may be joined); words are matched
// exactly as the word list spells them. Returns how many words each band took, the rare
// ones last.
std::vector<std::size_t> MarkCommonness(std::vector<Entry>& words,
                                        const std::vector<std::string>& bands);

// The whole dictionary file: the word entries, the affix entries, an entry for each digit
// 0 to 9 (so that every number can be covered), and an empty last line, because the last
// line of a dictionary is never examined.
std::string RenderDictionary(const std::vector<Entry>& words, const std::vector<Entry>& affixes);

// Reads a whole file. A failure (kCannotOpen, kReadFailed) leaves contents empty; its
// reason names the path.
Status ReadFile(const std::string& path, std::string& contents);

// Writes a whole file as the settings store writes its own (ReplaceFile), so that an
// interrupted build never leaves a half-written dictionary that looks complete. A
// failure's reason names the path.
Status WriteFileReplacing(const std::string& path, std::string_view contents);

}  // namespace vantrel::gendict
