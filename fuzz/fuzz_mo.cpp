// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a message catalog: the reader accepts or refuses them, and every text a
// lookup gives back lies inside those bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "MoCatalog.h"

using vantrel::i18n::MoCatalog;

namespace {

void CheckInside(std::span<const unsigned char> bytes, std::string_view text) {
  const auto* begin = reinterpret_cast<const char*>(bytes.data());
  if (!text.empty() && (text.data() < begin || text.data() + text.size() > begin + bytes.size())) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  MoCatalog catalog;
  if (!MoCatalog::Read(bytes, catalog).IsOk()) {
    return 0;
  }
  catalog.HasUtf8Charset();
  // Every source text is looked up (in a sorted catalog each is found), and a few others.
  const std::uint32_t tried = catalog.Count() < 4096 ? catalog.Count() : 4096;
  for (std::uint32_t i = 0; i < tried; ++i) {
    CheckInside(bytes, catalog.SourceAt(i));
    CheckInside(bytes, catalog.TranslationAt(i));
    if (const auto found = catalog.Find(catalog.SourceAt(i))) {
      CheckInside(bytes, *found);
    }
  }
  for (std::string_view key : {"", "Cancel", "&Yes", "\xFF\xFF", "zzzz"}) {
    if (const auto found = catalog.Find(key)) {
      CheckInside(bytes, *found);
    }
  }
  return 0;
}
