// SPDX-License-Identifier: GPL-3.0-or-later
#include "MoCatalog.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vantrel::i18n {

namespace {

constexpr std::uint32_t kMagic = 0x950412DE;
constexpr std::uint32_t kMagicSwapped = 0xDE120495;
constexpr std::uint64_t kHeaderSize = 20;  // magic, revision, N, two table offsets

std::uint32_t Swap(std::uint32_t value) {
  return ((value & 0xFF) << 24) | ((value & 0xFF00) << 8) | ((value >> 8) & 0xFF00) | (value >> 24);
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Source texts compare as unsigned bytes, a proper prefix first: the order msgfmt sorts by.
int Compare(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  const int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (bytes != 0) {
    return bytes;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

std::uint32_t MoCatalog::Word(std::uint64_t offset) const {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes_.data() + offset, sizeof value);
  // .mo files of either order are read on a little-endian machine.
  return swapped_ ? Swap(value) : value;
}

std::string_view MoCatalog::Text(std::uint64_t table, std::uint32_t index) const {
  const std::uint64_t entry = table + 8ULL * index;
  const std::uint32_t length = Word(entry);
  const std::uint32_t offset = Word(entry + 4);
  return {reinterpret_cast<const char*>(bytes_.data()) + offset, length};
}

Status MoCatalog::Read(std::span<const unsigned char> bytes, MoCatalog& catalog) {
  MoCatalog read;
  read.bytes_ = bytes;
  if (bytes.size() < 4) {
    return {StatusCode::kMalformed, std::string(kNotMoFile)};
  }
  std::uint32_t magic = 0;
  std::memcpy(&magic, bytes.data(), sizeof magic);
  if (magic == kMagicSwapped) {
    read.swapped_ = true;
  } else if (magic != kMagic) {
    return {StatusCode::kMalformed, std::string(kNotMoFile)};
  }
  const std::uint64_t size = bytes.size();
  if (size < kHeaderSize) {
    return {StatusCode::kMalformed, std::string(kOutsideItsBytes)};
  }
  read.count_ = read.Word(8);
  read.sources_ = read.Word(12);
  read.translations_ = read.Word(16);
  // 64-bit sums of 32-bit values cannot overflow.
  const std::uint64_t tableSize = 8ULL * read.count_;
  if (read.sources_ + tableSize > size || read.translations_ + tableSize > size) {
    return {StatusCode::kMalformed, std::string(kOutsideItsBytes)};
  }
  for (std::uint64_t table : {read.sources_, read.translations_}) {
    for (std::uint32_t i = 0; i < read.count_; ++i) {
      const std::uint64_t entry = table + 8ULL * i;
      if (std::uint64_t{read.Word(entry + 4)} + read.Word(entry) > size) {
        return {StatusCode::kMalformed, std::string(kOutsideItsBytes)};
      }
    }
  }
  catalog = read;
  return {};
}

std::optional<std::string_view> MoCatalog::Find(std::string_view key) const {
  if (count_ == 0) {
    return std::nullopt;
  }
  // Positions count from 1. The search starts at the largest power of two not above N and
  // moves by halving steps, never below 1 or above N; a miss at step 0 ends it.
  std::uint32_t position = 1;
  while (position <= count_ / 2) {
    position *= 2;
  }
  std::uint32_t step = position / 2;
  for (;;) {
    const int order = Compare(key, SourceAt(position - 1));
    if (order == 0) {
      return TranslationAt(position - 1);
    }
    if (step == 0) {
      return std::nullopt;
    }
    if (order < 0) {
      position = position > step ? position - step : 1;
    } else {
      position = count_ - position > step ? position + step : count_;
    }
    step /= 2;
  }
}

std::string_view MoCatalog::Header() const {
  return Find(std::string_view()).value_or(std::string_view());
}

bool MoCatalog::HasUtf8Charset() const {
  return HeaderNamesUtf8(Header());
}

bool HeaderNamesUtf8(std::string_view header) {
  constexpr std::string_view kField = "CONTENT-TYPE: ";
  while (!header.empty()) {
    const std::size_t end = header.find('\n');
    std::string_view line = header.substr(0, end);
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    if (line.size() < kField.size() ||
        !std::equal(kField.begin(), kField.end(), line.begin(),
                    [](char field, char c) { return field == Upper(c); })) {
      continue;
    }
    std::string rest;
    for (char c : line.substr(kField.size())) {
      rest += Upper(c);
    }
    return rest.find("CHARSET=UTF-8") != std::string::npos;
  }
  return false;
}

}  // namespace vantrel::i18n
