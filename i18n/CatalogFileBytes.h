// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole file, or a range of it, read into memory. Catalogs are small: a copy costs
// little, while a mapping would end the program with SIGBUS the moment another program
// shortened the file under it.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "FileCalls.h"
#include "Status.h"

namespace vantrel::i18n {

class CatalogFileBytes {
 public:
  // No catalog, nor the archive's index, comes near this.
  static constexpr std::uint64_t kLargest = 64 * 1024 * 1024;
  static constexpr std::uint64_t kToTheEnd = std::numeric_limits<std::uint64_t>::max();

  // The bytes are read through calls.
  explicit CatalogFileBytes(FileCalls& calls = FileCalls::Real()) : calls_(&calls) {}

  // Reads the bytes of path from offset, length bytes of them or all up to the end; fewer
  // where the file ends before (none when offset lies past its end). The
  // file is opened without waiting (a pipe in its place would block for ever) and must be
  // a regular file. A failure is kCannotOpen (no such regular file, or no right to it) or
  // kReadFailed (a read failed, or the range is larger than any catalog can be), with the
  // system's error text as its reason; no byte is kept then: a read that fails part-way
  // leaves the file empty, never with part of its bytes.
  Status Open(const std::string& path, std::uint64_t offset = 0, std::uint64_t length = kToTheEnd);
  void Close();

  std::span<const unsigned char> Bytes() const { return bytes_; }
  // The size of the whole file when it was read.
  std::uint64_t FileSize() const { return fileSize_; }

 private:
  FileCalls* calls_;
  std::vector<unsigned char> bytes_;
  std::uint64_t fileSize_ = 0;
};

}  // namespace vantrel::i18n
