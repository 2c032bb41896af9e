// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an executable with a catalog archive: the first 8 bytes are the index
// offset the program would hold behind its marker, the rest is the file. The reading ends
// (no chain loops for ever) and every file it lists lies inside the file.

#include <cstddef>
#include <cstdint>
#include <span>

#include "CatalogArchive.h"

using vantrel::i18n::TCatalogArchive;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) {
    return 0;
  }
  std::uint64_t first = 0;
  for (int i = 7; i >= 0; --i) {
    first = (first << 8) | data[i];
  }
  const std::span<const unsigned char> file(data + 8, size - 8);
  const TCatalogArchive archive = TCatalogArchive::Parse(file, first);
  for (const auto& [name, info] : archive.Files()) {
    if (info.offset > file.size() || info.size > file.size() - info.offset ||
        archive.Find(name) != &info) {
      __builtin_trap();
    }
  }
  return 0;
}
