// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a settings file: the parser ends with a document or a reason, in time
// linear in the input. A document written back reads back the same, and writing that
// again gives the same bytes, so a rewrite never changes what the settings mean.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "RegFile.h"

using vantrel::regfile::Parse;
using vantrel::regfile::ParseResult;
using vantrel::regfile::Serialize;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParseResult first = Parse(bytes);
  if (!first.IsOk()) {
    if (first.status.Reason().empty()) {
      __builtin_trap();
    }
    return 0;
  }
  const std::string written = Serialize(first.document);
  // The writer refuses a file past the limit; short dwords and merged lines can push a
  // file near it over.
  if (written.size() > vantrel::regfile::kMaxFileSize) {
    return 0;
  }
  const ParseResult second = Parse(written);
  if (!second.IsOk() || !(second.document == first.document)) {
    __builtin_trap();
  }
  if (Serialize(second.document) != written) {
    __builtin_trap();
  }
  return 0;
}
