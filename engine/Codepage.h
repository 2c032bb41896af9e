// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dictionary texts are single bytes in the Windows-1252 code page; everything the user
// sees or types is Unicode. These functions convert between the two.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// The placeholder bullet that stands in a number for every digit a phrase word has
// taken: 0x95 in Windows-1252, U+2022 in Unicode.
inline constexpr char kBullet = '\x95';

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
char32_t Cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int UnicodeToCp1252(char32_t code);

std::string Cp1252ToUtf8(std::string_view text);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code);

// One UTF-8 sequence read from text at pos. A malformed one (a stray byte, a truncated
// sequence, an overlong form, a surrogate, beyond U+10FFFF) is not valid; its length
// then covers the bytes that belong to it, at least one.
struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = false;
};
Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos);

// Where the first malformed sequence of text starts, or std::string_view::npos when text
// is well-formed UTF-8 throughout. Every reader of UTF-8 (catalogs, the settings file)
// checks through this one decoder, so that they all refuse the same bytes.
std::size_t FirstInvalidUtf8(std::string_view text);
bool IsValidUtf8(std::string_view text);

// Characters Windows-1252 lacks, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace vantrel
