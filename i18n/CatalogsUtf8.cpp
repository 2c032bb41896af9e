// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogsUtf8.h"

#include <cstddef>
#include <cstdint>

namespace vantrel::i18n {

namespace {

// Decodes one character at text[i]; returns its length, or 0 when the bytes there are not
// well-formed UTF-8.
std::size_t DecodeOne(std::string_view text, std::size_t i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - i < length) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      return 0;
    }
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const std::size_t length = DecodeOne(text, i, code);
    if (length == 0) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string WithoutCarriageReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r') {
      out += c;
    }
  }
  return out;
}

std::string WithCarriageReturns(std::string_view text) {
  std::string out;
  AppendWithCarriageReturns(out, text);
  return out;
}

void AppendWithCarriageReturns(std::string& out, std::string_view text) {
  std::size_t done = 0;
  for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
    if (i == 0 || text[i - 1] != '\r') {
      out.append(text.substr(done, i - done));
      out += '\r';
      done = i;
    }
  }
  out.append(text.substr(done));
}

}  // namespace vantrel::i18n
