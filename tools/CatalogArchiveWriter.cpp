// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogArchiveWriter.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "CatalogArchive.h"

namespace vantrel::tools {

namespace {

using i18n::kArchiveIndexEntrySize;
using i18n::kArchiveMarkerLength;

constexpr std::size_t kNumbersSize = 24;  // next entry, file offset, file size

void PutLittle64(unsigned char* at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    at[i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

std::uint64_t GetLittle64(const unsigned char* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) {
    value = (value << 8) | at[i];
  }
  return value;
}

void AppendEntry(std::vector<unsigned char>& image, std::uint64_t next, std::uint64_t offset,
                 std::uint64_t size, std::string_view name) {
  const std::size_t start = image.size();
  image.resize(start + kArchiveIndexEntrySize, ' ');
  PutLittle64(image.data() + start, next);
  PutLittle64(image.data() + start + 8, offset);
  PutLittle64(image.data() + start + 16, size);
  std::copy(name.begin(), name.end(), image.begin() + static_cast<std::ptrdiff_t>(start + 24));
}

}  // namespace

ArchiveResult AppendCatalogArchive(std::vector<unsigned char>& image,
                                   const std::vector<ArchiveFile>& files, bool ifMissing) {
  ArchiveResult result;
  const std::string marker = i18n::ArchiveMarkerText();
  const auto found = std::search(image.begin(), image.end(), marker.begin(), marker.end());
  if (found == image.end()) {
    result.status = {StatusCode::kMalformed, "the catalog archive marker is not in the executable"};
    return result;
  }
  const auto where = static_cast<std::size_t>(found - image.begin());
  if (std::search(found + 1, image.end(), marker.begin(), marker.end()) != image.end()) {
    result.status = {StatusCode::kMalformed,
                     "the catalog archive marker occurs more than once in the executable"};
    return result;
  }
  if (image.size() - where < kArchiveMarkerLength + 8) {
    result.status = {StatusCode::kMalformed,
                     "the executable ends right after the catalog archive marker"};
    return result;
  }
  for (const ArchiveFile& file : files) {
    if (file.name.empty() || file.name.size() > kArchiveIndexEntrySize - kNumbersSize ||
        file.name.front() == ' ' || file.name.back() == ' ') {
      result.status = {StatusCode::kMalformed,
                       "the archive name \"" + file.name + "\" does not fit an index entry"};
      return result;
    }
  }
  unsigned char* slot = image.data() + where + kArchiveMarkerLength;

  // An archive of an earlier run: keep it when it is whole, or cut it off to write anew.
  const std::uint64_t first = GetLittle64(slot);
  if (first != 0) {
    const i18n::TCatalogArchive existing = i18n::TCatalogArchive::Parse(image, first);
    const bool whole =
        existing.Count() == files.size() &&
        std::all_of(files.begin(), files.end(), [&](const ArchiveFile& file) {
          const i18n::TArchivedFileInfo* info = existing.Find(file.name);
          return info != nullptr && info->size == file.bytes.size() &&
                 std::equal(file.bytes.begin(), file.bytes.end(),
                            image.begin() + static_cast<std::ptrdiff_t>(info->offset));
        });
    if (whole && ifMissing) {
      return result;
    }
    // Cut only what is recognisably an archive this step wrote: files right after each
    // other up to the index, and the index ending the file. Anything else (a stripped
    // file whose old offset now lands inside the program) is left whole.
    std::uint64_t start = first;
    std::uint64_t filesSize = 0;
    for (const auto& [name, info] : existing.Files()) {
      start = std::min(start, info.offset);
      filesSize += info.size;
    }
    const bool recognised =
        existing.Count() > 0 && start + filesSize == first &&
        first + (existing.Count() + 1) * kArchiveIndexEntrySize == image.size() &&
        start >= where + kArchiveMarkerLength + 8;
    if (recognised) {
      image.resize(start);
    }
    slot = image.data() + where + kArchiveMarkerLength;
  }

  std::vector<std::uint64_t> offsets;
  for (const ArchiveFile& file : files) {
    offsets.push_back(image.size());
    image.insert(image.end(), file.bytes.begin(), file.bytes.end());
  }
  const std::uint64_t index = image.size();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::uint64_t next = index + (i + 1) * kArchiveIndexEntrySize;
    AppendEntry(image, next, offsets[i], files[i].bytes.size(), files[i].name);
  }
  AppendEntry(image, 0, 0, 0, {});
  slot = image.data() + where + kArchiveMarkerLength;
  PutLittle64(slot, files.empty() ? 0 : index);
  result.changed = true;
  return result;
}

}  // namespace vantrel::tools
