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

namespace vantrel::i18n {

class TMappedFile {
 public:
  enum class Result {
    Ok,
    CannotOpen,       // the file cannot be opened for reading, or is no regular file
    CannotCreateMap,  // its size cannot be learnt
    CannotMap,        // it cannot be read, or is larger than any catalog can be
  };

  // No catalog, nor the archive's index, comes near this.
  static constexpr std::uint64_t kLargest = 64 * 1024 * 1024;
  static constexpr std::uint64_t kToTheEnd = std::numeric_limits<std::uint64_t>::max();

  // The bytes are read through calls.
  explicit TMappedFile(FileCalls& calls = FileCalls::Real()) : calls_(&calls) {}

  // Reads the bytes of path from offset, length bytes of them or all up to the end; fewer
  // where the file ends before (none when offset lies past its end). The
  // file is opened without waiting (a pipe in its place would block for ever) and must be
  // a regular file. On failure SystemError tells why, and no byte is kept: a read that
  // fails part-way leaves the file empty, never with part of its bytes.
  Result Open(const std::string& path, std::uint64_t offset = 0, std::uint64_t length = kToTheEnd);
  void Close();

  std::span<const unsigned char> Bytes() const { return bytes_; }
  // The size of the whole file when it was read.
  std::uint64_t FileSize() const { return fileSize_; }
  const std::string& SystemError() const { return systemError_; }

 private:
  FileCalls* calls_;
  std::vector<unsigned char> bytes_;
  std::uint64_t fileSize_ = 0;
  std::string systemError_;
};

}  // namespace vantrel::i18n
