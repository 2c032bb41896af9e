// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A GNU gettext message catalog (.mo) read in place from the bytes it lies in: a file on
// disk read whole, or a stretch of the executable. Lookups copy nothing.
//
// The catalog starts with the magic number 0x950412DE in its own byte order, so both orders
// are read; the revision at byte 4 is ignored. At byte 8 comes the number of messages N, at
// 12 and 16 the offsets of two tables of N (length, offset) pairs: the sorted source texts
// and their translations. Every offset and length is checked against the bytes at reading,
// so a lookup never leaves them, whatever the file holds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "Status.h"

namespace vantrel::i18n {

class MoCatalog {
 public:
  // The reasons of the two ways in which bytes are no catalog (both kMalformed).
  static constexpr std::string_view kNotMoFile = "not a GNU gettext mo file";
  static constexpr std::string_view kOutsideItsBytes =
      "a table or text of the mo file lies outside its bytes";

  // Reads the catalog that fills bytes; catalog is left alone unless that succeeds. The
  // bytes must outlive the catalog.
  static Status Read(std::span<const unsigned char> bytes, MoCatalog& catalog);

  // The translation of key (a source text without carriage returns), found by halving.
  std::optional<std::string_view> Find(std::string_view key) const;

  // The header entry: the translation of the empty source text.
  std::string_view Header() const;

  // True when the header's Content-Type line names charset UTF-8.
  bool HasUtf8Charset() const;

  std::uint32_t Count() const { return count_; }
  std::string_view SourceAt(std::uint32_t index) const { return Text(sources_, index); }
  std::string_view TranslationAt(std::uint32_t index) const { return Text(translations_, index); }

 private:
  std::uint32_t Word(std::uint64_t offset) const;
  std::string_view Text(std::uint64_t table, std::uint32_t index) const;

  std::span<const unsigned char> bytes_;
  bool swapped_ = false;
  std::uint32_t count_ = 0;
  std::uint64_t sources_ = 0;
  std::uint64_t translations_ = 0;
};

// True when the header's first line starting with "Content-Type: " (in any case) names the
// character set UTF-8.
bool HeaderNamesUtf8(std::string_view header);

}  // namespace vantrel::i18n
