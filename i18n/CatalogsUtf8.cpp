// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogsUtf8.h"

namespace vantrel::i18n {

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
