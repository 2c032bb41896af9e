// SPDX-License-Identifier: GPL-3.0-or-later
// The line helpers on any text: bracket removal and the split into fields.

#include <cstddef>
#include <cstdint>
#include <string>

#include "VantrelGlobal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::string stripped = vantrel::StripBrackets(line);
  if (stripped.size() > vantrel::kShortText) {
    __builtin_trap();
  }
  vantrel::DictionaryEntry entry;
  if (vantrel::ParseDictionaryLine(line, entry)) {
    // Fields never hold the commas that separate them, and none is empty.
    if (entry.digits.empty() || entry.word.empty() || entry.digits.find(',') != std::string::npos ||
        entry.word.find(',') != std::string::npos) {
      __builtin_trap();
    }
  }
  const int last = vantrel::LastPos(line.substr(0, 3), line);
  if (last < 0 || static_cast<std::size_t>(last) > line.size()) {
    __builtin_trap();
  }
  vantrel::Trim(line);
  vantrel::LowerAZ(line);
  return 0;
}
