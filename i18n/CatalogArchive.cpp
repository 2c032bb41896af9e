// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogArchive.h"

#include <algorithm>
#include <cstring>

#include "CatalogFileBytes.h"

namespace vantrel::i18n {

// The marker is spelt out byte by byte, so that the compiler keeps no second copy of the
// text elsewhere; "used" keeps it even where nothing reads it. volatile stops the 8 zero
// bytes from being folded into the code: the build step rewrites them in the file.
__attribute__((used))
const volatile unsigned char kCatalogArchiveMarker[kArchiveMarkerLength + 8] = {
    '6', '6', '3', '7', 'D', 'B', '2', 'E', '-', '6', '2', 'E', '1', '-', '4',
    'A', '6', '0', '-', 'A', 'C', '1', '9', '-', 'C', '2', '3', '8', '6', '7',
    '0', '4', '6', 'A', '8', '9', 0,   0,   0,   0,   0,   0,   0,   0};

namespace {

constexpr std::uint64_t kLongestEntry = 64 * 1024;
// Far more than the index of any number of catalogs the program could carry.
constexpr std::uint64_t kLongestIndex = 1024 * 1024;

std::uint64_t ReadLittle64(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ArchiveMarkerText() {
  std::string text;
  for (std::size_t i = 0; i < kArchiveMarkerLength; ++i) {
    text += static_cast<char>(kCatalogArchiveMarker[i]);
  }
  return text;
}

std::uint64_t ArchiveIndexOffset() {
  unsigned char bytes[8];
  for (std::size_t i = 0; i < 8; ++i) {
    bytes[i] = kCatalogArchiveMarker[kArchiveMarkerLength + i];
  }
  return ReadLittle64(bytes);
}

std::string ArchiveKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (c == '\\') {
      c = '/';
    }
  }
  return key;
}

TCatalogArchive TCatalogArchive::Parse(std::span<const unsigned char> file,
                                       std::uint64_t firstEntry) {
  return ParseAt(file, 0, file.size(), firstEntry);
}

TCatalogArchive TCatalogArchive::ParseAt(std::span<const unsigned char> part, std::uint64_t base,
                                         std::uint64_t size, std::uint64_t firstEntry) {
  TCatalogArchive archive;
  archive.expected_ = firstEntry != 0;
  // Only the part of the file that was read can be looked at.
  const std::uint64_t readEnd = std::min(size, base + part.size());
  auto at = [&](std::uint64_t offset) { return part.data() + (offset - base); };
  for (std::uint64_t entry = firstEntry; entry != 0;) {
    if (entry < base || entry > readEnd || readEnd - entry < 8) {
      break;
    }
    const std::uint64_t next = ReadLittle64(at(entry));
    if (next == 0) {
      archive.whole_ = true;
      break;
    }
    // An entry runs up to the next one. The build writes the chain forwards, so a chain
    // that stands still or goes back (and would loop) ends here, and so does an entry too
    // short for its three numbers or longer than any name.
    if (next <= entry || next > readEnd || next - entry < 24 || next - entry > kLongestEntry) {
      break;
    }
    const std::uint64_t end = next;
    TArchivedFileInfo info;
    info.offset = ReadLittle64(at(entry) + 8);
    info.size = ReadLittle64(at(entry) + 16);
    if (info.offset > size || info.size > size - info.offset) {
      break;
    }
    const std::string_view name =
        Trimmed(std::string_view(reinterpret_cast<const char*>(at(entry)) + 24, end - entry - 24));
    if (!name.empty()) {
      // The first file of a name stands; a second one is a fault of the build.
      if (!archive.files_.emplace(ArchiveKey(name), info).second) {
        archive.duplicates_.emplace_back(name);
      }
    }
    entry = next;
  }
  return archive;
}

TCatalogArchive TCatalogArchive::Load(const std::string& path, std::uint64_t firstEntry,
                                      FileCalls& calls) {
  if (firstEntry == 0) {
    return {};
  }
  // The index lies at the end of the executable, behind the catalogs; only it is read.
  CatalogFileBytes index(calls);
  if (!index.Open(path, firstEntry, kLongestIndex).IsOk()) {
    TCatalogArchive none;
    none.expected_ = true;
    return none;
  }
  return ParseAt(index.Bytes(), firstEntry, index.FileSize(), firstEntry);
}

const TArchivedFileInfo* TCatalogArchive::Find(std::string_view name) const {
  const auto found = files_.find(ArchiveKey(name));
  return found == files_.end() ? nullptr : &found->second;
}

}  // namespace vantrel::i18n
