// SPDX-License-Identifier: GPL-3.0-or-later
#include "Codepage.h"

#include <array>

namespace vantrel {
namespace {

// 0x80 to 0x9F; every other byte is its own code point.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHigh[byte - 0x80];
  }
  return byte;
}

int UnicodeToCp1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    return static_cast<int>(code);
  }
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == code) {
      return static_cast<int>(0x80 + i);
    }
  }
  return -1;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
  }
  return out;
}

Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos) {
  Utf8Char result;
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  if (lead < 0x80) {
    result.code = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    result.code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    result.code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    result.code = lead & 0x07;
  } else {
    return result;
  }
  if (text.size() - pos <= extra) {
    return result;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[pos + k]);
    if ((next & 0xC0) != 0x80) {
      return result;
    }
    result.code = (result.code << 6) | (next & 0x3F);
  }
  result.length = 1 + extra;
  // Overlong forms and surrogates are malformed too.
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  result.valid = result.code >= kMin[extra] && !(result.code >= 0xD800 && result.code <= 0xDFFF) &&
                 result.code <= 0x10FFFF;
  return result;
}

std::size_t FirstInvalidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char ch = DecodeUtf8At(text, i);
    if (!ch.valid) {
      return i;
    }
    i += ch.length;
  }
  return std::string_view::npos;
}

bool IsValidUtf8(std::string_view text) {
  return FirstInvalidUtf8(text) == std::string_view::npos;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char ch = DecodeUtf8At(text, i);
    const int byte = ch.valid ? UnicodeToCp1252(ch.code) : -1;
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += ch.length;
  }
  return out;
}

}  // namespace vantrel
