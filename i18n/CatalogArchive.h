// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalog archive: the compiled catalogs appended to the executable after linking, so
// that the program alone, copied anywhere, carries its languages.
//
// The program's constant data holds the 36-character marker text followed by 8 bytes, the
// file offset of the archive's first index entry (unsigned little-endian, 0 = no archive).
// The build step (tools/vantrel-catalogs) finds the marker in the linked file and writes the
// offset there. Each index entry holds, little-endian: the offset of the next entry (0 ends
// the chain, and such an entry holds nothing else), the offset of the file's bytes, the
// file's size, and up to the next entry the file's name relative to the executable's
// folder, filled up with blanks. The build writes 256-byte entries with backslashes as
// separators ("locale\de\LC_MESSAGES\default.mo").
//
// Reading trusts nothing in the file: an entry or a file that reaches past the end, or a
// chain that does not move forwards (and so could loop), ends the reading; the entries read
// so far stay.

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FileCalls.h"

namespace vantrel::i18n {

inline constexpr std::size_t kArchiveMarkerLength = 36;
inline constexpr std::size_t kArchiveIndexEntrySize = 256;

// The marker and the 8 bytes behind it, as they lie in the program's constant data.
extern const volatile unsigned char kCatalogArchiveMarker[kArchiveMarkerLength + 8];

// The marker text, for the build step and the tests (built at run time, so that the text
// occurs only once in the program's file).
std::string ArchiveMarkerText();

// The offset of the first index entry as this running program holds it.
std::uint64_t ArchiveIndexOffset();

struct TArchivedFileInfo {
  std::uint64_t offset = 0;  // where the file's bytes start in the executable
  std::uint64_t size = 0;
};

class TCatalogArchive {
 public:
  TCatalogArchive() = default;

  // Reads the index chain of file (the whole executable) starting at firstEntry.
  static TCatalogArchive Parse(std::span<const unsigned char> file, std::uint64_t firstEntry);

  // Reads the archive of the executable at path, whose index starts at firstEntry (0 = none).
  // A file that cannot be opened or read gives an empty archive.
  static TCatalogArchive Load(const std::string& path, std::uint64_t firstEntry,
                              FileCalls& calls = FileCalls::Real());

  // Reads the index chain from part, the bytes of a file of size bytes from offset base on.
  static TCatalogArchive ParseAt(std::span<const unsigned char> part, std::uint64_t base,
                                 std::uint64_t size, std::uint64_t firstEntry);

  // The archived file of that relative name; the case of letters does not matter, nor
  // whether folders are separated by '\' or '/'.
  const TArchivedFileInfo* Find(std::string_view name) const;

  std::size_t Count() const { return files_.size(); }

  // An index was expected (the program says where it starts) but its chain does not reach
  // its closing entry: the program file was cut short or damaged after the build, and
  // some or all of its catalogs are missing.
  bool Damaged() const { return expected_ && !whole_; }

  // Names found again after the first file of that name, which stands; in index order.
  const std::vector<std::string>& Duplicates() const { return duplicates_; }

  // Names in their sorted, case-folded form.
  const std::map<std::string, TArchivedFileInfo>& Files() const { return files_; }

 private:
  std::map<std::string, TArchivedFileInfo> files_;
  std::vector<std::string> duplicates_;
  bool expected_ = false;
  bool whole_ = false;
};

// The name under which an archived file is looked up: ASCII letters lowered, '\' as '/'.
std::string ArchiveKey(std::string_view name);

}  // namespace vantrel::i18n
