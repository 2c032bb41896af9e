// SPDX-License-Identifier: GPL-3.0-or-later
#include "VantrelGlobal.h"

namespace vantrel {

int Pos(std::string_view sub, std::string_view text) {
  if (sub.empty()) {
    return 0;
  }
  const std::size_t at = text.find(sub);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

int LastPos(std::string_view sub, std::string_view text) {
  if (Pos(sub, text) == 0) {
    return 0;
  }
  return static_cast<int>(text.rfind(sub)) + 1;
}

int FirstDigitPos(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int LastDigitPos(std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i) {
    if (text[i - 1] >= '0' && text[i - 1] <= '9') {
      return static_cast<int>(i);
    }
  }
  return 0;
}

std::string StripBrackets(std::string_view line) {
  std::string result(line);
  for (;;) {
    const std::size_t close = result.find(')');
    const std::size_t open = result.rfind('(');
    if (close == std::string::npos || open == std::string::npos || open >= close) {
      break;
    }
    result.erase(open, close - open + 1);
  }
  if (result.size() > kShortText) {
    result.resize(kShortText);
  }
  return result;
}

bool ParseDictionaryLine(std::string_view line, DictionaryEntry& entry) {
  // Without a ')' there is no bracketed note to remove, and the line is split where it
  // stands; the search meets such lines by the thousand.
  std::string stripped;
  std::string_view s = line.substr(0, kShortText);
  if (line.find(')') != std::string_view::npos) {
    stripped = StripBrackets(line);
    s = stripped;
  }
  const std::size_t p = s.find(',');
  if (p == std::string::npos || p == 0) {
    return false;
  }
  const std::string_view rest = s.substr(p + 1);
  const std::size_t q = rest.find(',');
  if (q == std::string_view::npos || q == 0 || q + 1 >= rest.size()) {
    return false;
  }
  entry.digits.assign(s.substr(0, p));
  entry.word.assign(rest.substr(0, q));
  entry.classLetter = rest[q + 1];
  return true;
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) {
    ++begin;
  }
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) {
    --end;
  }
  return text.substr(begin, end - begin);
}

std::string LowerAZ(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'A' && ch <= 'Z') {
      ch = static_cast<char>(ch - 'A' + 'a');
    }
  }
  return out;
}

}  // namespace vantrel
