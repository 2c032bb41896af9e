// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordPairs.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace vantrel {

// Written at build time from an English language model (tools/word-pairs.py): lines
// "first second figure" sorted by "first second", and "word figure" sorted by word.
extern const char kEnglishWordPairs[];
extern const char kEnglishStrongestPairs[];

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'A' && ch <= 'Z') {
      ch = static_cast<char>(ch - 'A' + 'a');
    }
  }
  return out;
}

// The figure after the key on its line of a sorted table, 0 when no line has the key.
int Lookup(std::string_view table, std::string_view key) {
  std::size_t low = 0;  // always the start of a line
  std::size_t high = table.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    // npos + 1 is 0: the first line has no line break before it.
    const std::size_t start = middle == 0 ? 0 : table.rfind('\n', middle - 1) + 1;
    const std::size_t end = std::min(table.find('\n', start), table.size());
    const std::string_view line = table.substr(start, end - start);
    const std::size_t space = line.rfind(' ');
    const std::string_view lineKey = line.substr(0, std::min(space, line.size()));
    if (lineKey < key) {
      low = end + 1;
    } else if (key < lineKey) {
      high = start;
    } else {
      int figure = 0;
      const std::string_view digits = line.substr(lineKey.size() + 1);
      std::from_chars(digits.data(), digits.data() + digits.size(), figure);
      return figure;
    }
  }
  return 0;
}

}  // namespace

WordPairs::WordPairs(std::string_view table) {
  std::map<std::string, int> pairs;
  std::map<std::string, int> strongest;
  while (!table.empty()) {
    const std::size_t end = std::min(table.find('\n'), table.size());
    const std::string_view line = table.substr(0, end);
    table.remove_prefix(std::min(end + 1, table.size()));
    const std::size_t space = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (space == 0 || space == std::string_view::npos || last == space || last + 1 == space) {
      continue;
    }
    const std::string_view first = line.substr(0, space);
    const std::string_view second = line.substr(space + 1, last - space - 1);
    const std::string_view digits = line.substr(last + 1);
    int figure = 0;
    const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), figure);
    if (error != std::errc() || ptr != digits.data() + digits.size() || figure <= 0 ||
        second.find(' ') != std::string_view::npos) {
      continue;
    }
    pairs[Lower(first) + ' ' + Lower(second)] = figure;
  }
  for (const auto& [key, figure] : pairs) {
    const std::size_t space = key.find(' ');
    for (std::string word : {key.substr(0, space), key.substr(space + 1)}) {
      int& most = strongest[word];
      most = std::max(most, figure);
    }
    ownedPairs_ += key + ' ' + std::to_string(figure) + '\n';
  }
  for (const auto& [word, figure] : strongest) {
    ownedStrongest_ += word + ' ' + std::to_string(figure) + '\n';
  }
  pairs_ = ownedPairs_;
  strongest_ = ownedStrongest_;
  FindLongest();
}

WordPairs::WordPairs(std::string_view pairs, std::string_view strongest)
    : pairs_(pairs), strongest_(strongest) {
  FindLongest();
}

void WordPairs::FindLongest() {
  for (std::size_t start = 0; start < strongest_.size();) {
    const std::size_t end = std::min(strongest_.find('\n', start), strongest_.size());
    longest_ = std::max(longest_, strongest_.find(' ', start) - start);
    start = end + 1;
  }
}

int WordPairs::Figure(std::string_view first, std::string_view second) const {
  if (first.size() > longest_ || second.size() > longest_) {
    return 0;
  }
  return Lookup(pairs_, Lower(first) + ' ' + Lower(second));
}

int WordPairs::Strongest(std::string_view word) const {
  if (word.size() > longest_) {
    return 0;
  }
  return Lookup(strongest_, Lower(word));
}

const WordPairs& WordPairs::English() {
  static const WordPairs english(kEnglishWordPairs, kEnglishStrongestPairs);
  return english;
}

}  // namespace vantrel
