// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole file mapped read-only into memory. Catalogs are read in place, never copied.

#include <cstddef>
#include <span>
#include <string>

namespace vantrel::i18n {

class TMappedFile {
 public:
  enum class Result {
    Ok,
    CannotOpen,       // the file cannot be opened for reading, or is no regular file
    CannotCreateMap,  // its size cannot be learnt, so no mapping can be made
    CannotMap,        // the system refuses the mapping
  };

  TMappedFile() = default;
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;
  TMappedFile(TMappedFile&& other) noexcept;
  TMappedFile& operator=(TMappedFile&& other) noexcept;
  ~TMappedFile();

  // Maps path whole. On failure SystemError tells why.
  Result Open(const std::string& path);
  void Close();

  std::span<const unsigned char> Bytes() const { return {data_, size_}; }
  const std::string& SystemError() const { return systemError_; }

 private:
  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
  std::string systemError_;
};

}  // namespace vantrel::i18n
