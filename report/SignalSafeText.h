// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text built in a buffer that its owner gives it, for the crash record: it is written
// inside a signal handler after the program broke, so everything here is async-signal-safe
// (no allocation, no locks, no stdio). What does not fit into the buffer is cut off; the
// buffer is never overrun.

#include <cstddef>
#include <cstdint>

namespace vantrel {

class SignalSafeText {
 public:
  SignalSafeText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  void Add(const char* s);
  void AddN(const char* s, std::size_t n);
  // Exactly digits hexadecimal digits (up to 16, capitals): a longer value loses its
  // upper digits.
  void Hex(std::uint64_t value, int digits);
  // At least minDigits hexadecimal digits (capitals), more when the value needs them.
  void HexAtLeast(std::uint64_t value, int minDigits);
  // Decimal, with leading zeros up to width digits; a minus sign before them.
  void Dec(long value, int width = 1);
  // The record's line break: CR LF, as the error log has it.
  void Line() { Add("\r\n"); }

  const char* Data() const { return buffer_; }
  std::size_t Size() const { return used_; }
  void Clear() { used_ = 0; }

 private:
  char* buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

}  // namespace vantrel
