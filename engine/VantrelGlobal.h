// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text helpers shared by the word engine and the windows.
// Texts are Windows-1252 bytes; positions count from 1 and 0 means "not found".

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// Lines and words are handled as texts of at most this many characters.
inline constexpr std::size_t kShortText = 255;

// Position of the first occurrence of sub in text; 0 when there is none or sub is empty.
int Pos(std::string_view sub, std::string_view text);

// Position of the last occurrence of sub in text, overlapping occurrences included
// (the last 22 in 2222 starts at 3); 0 when there is none.
int LastPos(std::string_view sub, std::string_view text);

int FirstDigitPos(std::string_view text);
int LastDigitPos(std::string_view text);

// Removes bracketed notes, innermost first, for as long as the last '(' stands before
// the first ')'. The result holds at most 255 characters.
std::string StripBrackets(std::string_view line);

struct DictionaryEntry {
  std::string digits;
  std::string word;
  char classLetter = 0;
};

// Splits "digits,word,class" after the bracketed notes are gone. Fields are not
// trimmed; an empty digits or word field, or a missing class letter, is no entry.
bool ParseDictionaryLine(std::string_view line, DictionaryEntry& entry);

// Removes every character with a code from 0 to 32 at both ends.
std::string_view Trim(std::string_view text);

// Turns A to Z into a to z and leaves every other character as it is.
std::string LowerAZ(std::string_view text);

// Cuts a text to the 255 characters the program keeps.
inline std::string_view Short(std::string_view text) {
  return text.substr(0, kShortText);
}

}  // namespace vantrel
