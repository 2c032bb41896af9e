// SPDX-License-Identifier: GPL-3.0-or-later
#include "Search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "LineFilter.h"

namespace vantrel {

SubstringMatcher::SubstringMatcher(std::string_view text) {
  // Character classes first: 1..k for the distinct characters of the text.
  int classes = 0;
  for (unsigned char ch : text) {
    if (classOf_[ch] == 0) {
      classOf_[ch] = static_cast<std::uint8_t>(++classes);
    }
  }
  width_ = static_cast<std::size_t>(classes) + 1;

  // The usual online construction of a suffix automaton.
  struct State {
    int len = 0;
    int link = -1;
    std::map<int, int> next;
  };
  std::vector<State> states(1);
  states.reserve(2 * text.size() + 1);
  int last = 0;
  for (unsigned char ch : text) {
    const int c = classOf_[ch];
    const int cur = static_cast<int>(states.size());
    states.push_back({states[static_cast<std::size_t>(last)].len + 1, -1, {}});
    int p = last;
    while (p != -1 && !states[static_cast<std::size_t>(p)].next.count(c)) {
      states[static_cast<std::size_t>(p)].next[c] = cur;
      p = states[static_cast<std::size_t>(p)].link;
    }
    if (p == -1) {
      states[static_cast<std::size_t>(cur)].link = 0;
    } else {
      const int q = states[static_cast<std::size_t>(p)].next[c];
      if (states[static_cast<std::size_t>(p)].len + 1 == states[static_cast<std::size_t>(q)].len) {
        states[static_cast<std::size_t>(cur)].link = q;
      } else {
        const int clone = static_cast<int>(states.size());
        State copy = states[static_cast<std::size_t>(q)];
        copy.len = states[static_cast<std::size_t>(p)].len + 1;
        states.push_back(std::move(copy));
        while (p != -1 && states[static_cast<std::size_t>(p)].next[c] == q) {
          states[static_cast<std::size_t>(p)].next[c] = clone;
          p = states[static_cast<std::size_t>(p)].link;
        }
        states[static_cast<std::size_t>(q)].link = clone;
        states[static_cast<std::size_t>(cur)].link = clone;
      }
    }
    last = cur;
  }

  next_.assign(states.size() * width_, -1);
  for (std::size_t s = 0; s < states.size(); ++s) {
    for (const auto& [c, target] : states[s].next) {
      next_[s * width_ + static_cast<std::size_t>(c)] = static_cast<std::int16_t>(target);
    }
  }
}

bool SubstringMatcher::Contains(std::string_view text) const {
  int state = Start();
  for (unsigned char ch : text) {
    state = Next(state, ch);
    if (state < 0) {
      return false;
    }
  }
  return true;
}

bool IsCandidateWord(std::string_view word) {
  return !word.empty() && word.front() != '-' && word.front() != '+' && word.back() != '-';
}

std::string WithoutPlus(std::string_view word) {
  std::string out;
  out.reserve(word.size());
  for (const char ch : word) {
    if (ch != '+') {
      out += ch;
    }
  }
  return out;
}

Status SearchCandidates(ByteSource& source, std::string_view number, SearchMode mode,
                        CellTable& candidates, SearchCounts& counts) {
  // The quick test: the text before the first comma, as the line stands, must occur
  // in the number. Most lines fail on their first characters and are never split.
  const LineFilter quick(number);
  const int first = FirstDigitPos(number);
  const int last = LastDigitPos(number);
  DictionaryEntry entry;
  counts = SearchCounts{};
  std::size_t examined = 0;
  const Status result = ScanFiltered(source, quick, examined, [&](std::string_view line) {
    if (!ParseDictionaryLine(line, entry)) {
      return;
    }
    bool matches = true;
    if (mode == SearchMode::kLeft) {
      // The first occurrence of the text before the line's first comma, as read.
      matches = Pos(line.substr(0, line.find(',')), number) == first;
    } else if (mode == SearchMode::kRight) {
      matches = LastPos(entry.digits, number) + static_cast<int>(entry.digits.size()) - 1 == last;
    }
    if (!matches) {
      return;
    }
    if (!IsCandidateWord(entry.word)) {
      return;
    }
    counts.matches = std::min(counts.matches + 1, kMaxCandidates);
    candidates.SetCell(0, counts.matches, WithoutPlus(entry.word));
    candidates.SetCell(1, counts.matches, entry.digits);
    if (entry.classLetter == 'A') {
      candidates.SetItalic(0, counts.matches, true);
    }
  });
  // The count starts at -1; a file of more lines than an int holds shows the largest.
  counts.words =
      static_cast<int>(std::min<std::size_t>(examined, std::numeric_limits<int>::max())) - 1;
  return result;
}

std::string FormatSeconds(double seconds, char decimalSeparator) {
  if (!std::isfinite(seconds)) {
    return {};
  }
  const long long thousandths = std::llround(seconds * 1000.0);
  if (thousandths == 0) {
    return {};
  }
  std::string out;
  unsigned long long magnitude = thousandths < 0
                                     ? 0ULL - static_cast<unsigned long long>(thousandths)
                                     : static_cast<unsigned long long>(thousandths);
  if (thousandths < 0) {
    out += '-';
  }
  const unsigned long long whole = magnitude / 1000;
  unsigned frac = static_cast<unsigned>(magnitude % 1000);
  if (whole != 0) {
    out += std::to_string(whole);
  }
  if (frac != 0) {
    std::string decimals = {static_cast<char>('0' + frac / 100),
                            static_cast<char>('0' + frac / 10 % 10),
                            static_cast<char>('0' + frac % 10)};
    while (decimals.back() == '0') {
      decimals.pop_back();
    }
    out += decimalSeparator;
    out += decimals;
  }
  return out;
}

}  // namespace vantrel
