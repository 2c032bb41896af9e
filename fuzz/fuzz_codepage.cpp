// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as UTF-8 typed or pasted by the user, and any bytes as a Windows-1252
// dictionary text: the conversions give one code page byte per character, '?' for what
// the code page lacks, and convert back to what they came from.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // As UTF-8: one byte per character read, malformed sequences included.
  const std::string cp = vantrel::Utf8ToCp1252(bytes);
  std::size_t characters = 0;
  bool allValid = true;
  bool allInCodePage = true;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const vantrel::Utf8Char ch = vantrel::DecodeUtf8At(bytes, pos);
    if (ch.length == 0 || ch.length > 4 || pos + ch.length > bytes.size()) {
      __builtin_trap();
    }
    allValid = allValid && ch.valid;
    allInCodePage = allInCodePage && ch.valid && vantrel::UnicodeToCp1252(ch.code) >= 0;
    if (!ch.valid && cp[characters] != '?') {
      __builtin_trap();
    }
    pos += ch.length;
    ++characters;
  }
  if (cp.size() != characters) {
    __builtin_trap();
  }
  // Text the code page can hold comes back unchanged.
  if (allValid && allInCodePage && vantrel::Cp1252ToUtf8(cp) != bytes) {
    __builtin_trap();
  }

  // As Windows-1252: every byte is a character, and the way there and back is lossless.
  const std::string utf8 = vantrel::Cp1252ToUtf8(bytes);
  if (vantrel::Utf8ToCp1252(utf8) != bytes) {
    __builtin_trap();
  }
  for (unsigned char byte : bytes) {
    if (vantrel::UnicodeToCp1252(vantrel::Cp1252ToUnicode(byte)) != byte) {
      __builtin_trap();
    }
  }
  return 0;
}
