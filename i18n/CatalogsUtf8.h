// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text conversions of the translation layer. Catalog keys and translations are UTF-8
// (checked by IsValidUtf8 of Codepage.h); the windows hand in and take back UTF-16.
// Catalog keys never hold carriage returns, while the texts the program shows end their
// lines with CR LF.

#include <string>
#include <string_view>

namespace vantrel::i18n {

// The key under which a text is looked up: every carriage return removed.
std::string WithoutCarriageReturns(std::string_view text);

// A carriage return put before every line feed that has none before it.
std::string WithCarriageReturns(std::string_view text);
// The same, appended to out.
void AppendWithCarriageReturns(std::string& out, std::string_view text);

}  // namespace vantrel::i18n
