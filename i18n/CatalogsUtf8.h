// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text conversions of the translation layer. Catalog keys and translations are UTF-8;
// the windows hand in and take back UTF-16. Catalog keys never hold carriage returns, while
// the texts the program shows end their lines with CR LF.

#include <string>
#include <string_view>

namespace vantrel::i18n {

// True when text is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut off at the end.
bool IsValidUtf8(std::string_view text);

// UTF-16 to UTF-8. A surrogate pair becomes one four-byte sequence; a lone surrogate
// becomes U+FFFD, so the key of a damaged text is still well-formed.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16. Returns an empty text when text is not valid UTF-8.
std::u16string Utf8ToUtf16(std::string_view text);

// The key under which a text is looked up: every carriage return removed.
std::string WithoutCarriageReturns(std::string_view text);

// A carriage return put before every line feed that has none before it.
std::string WithCarriageReturns(std::string_view text);
// The same, appended to out.
void AppendWithCarriageReturns(std::string& out, std::string_view text);

}  // namespace vantrel::i18n
