// SPDX-License-Identifier: GPL-3.0-or-later
#include "SignalSafeText.h"

namespace vantrel {

void SignalSafeText::Add(const char* s) {
  while (*s != '\0' && used_ < capacity_) {
    buffer_[used_++] = *s++;
  }
}

void SignalSafeText::AddN(const char* s, std::size_t n) {
  for (std::size_t i = 0; i < n && used_ < capacity_; ++i) {
    buffer_[used_++] = s[i];
  }
}

void SignalSafeText::Hex(std::uint64_t value, int digits) {
  char out[16];
  if (digits > 16) {
    digits = 16;
  }
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  }
  AddN(out, digits > 0 ? static_cast<std::size_t>(digits) : 0);
}

void SignalSafeText::HexAtLeast(std::uint64_t value, int minDigits) {
  int digits = 1;
  while (digits < 16 && (value >> (4 * digits)) != 0) {
    ++digits;
  }
  Hex(value, digits > minDigits ? digits : minDigits);
}

void SignalSafeText::Dec(long value, int width) {
  char out[24];
  int n = 0;
  const bool negative = value < 0;
  unsigned long v =
      negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  do {
    out[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while ((v != 0 || n < width) && n < 20);
  if (negative) {
    out[n++] = '-';
  }
  while (n > 0) {
    AddN(&out[--n], 1);
  }
}

}  // namespace vantrel
