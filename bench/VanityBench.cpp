// SPDX-License-Identifier: GPL-3.0-or-later
// How often the whole-number suggestions put a real vanity number first: each row of
// bench/vanity/vanity-numbers.tsv (a number from public advertising and the vanity a
// person would pick) is suggested on its language's bundled dictionary, and the rank of
// the expected vanity among the first 20 is printed, then how many came first and how
// many among the first three.
//
// It measures and does not judge: a row that is not first fails nothing, so the exit
// status is 0 whenever it ran. It is 1 when the list or a dictionary cannot be read or
// a row is malformed, since a figure from half the list would mislead.
//
// Not a Google Benchmark, but the CI runs every bench_* with --benchmark_min_time, so
// arguments starting with --benchmark are accepted and ignored.

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"
#include "Status.h"
#include "Suggest.h"

namespace {

using vantrel::Status;
using vantrel::StatusCode;

constexpr int kLimit = 20;
constexpr int kTopFew = 3;

struct Row {
  int line = 0;
  std::string language;
  std::string number;
  std::string expected;
  std::string note;
};

// The standard telephone keypad; 0 for anything that is not a letter A to Z.
char KeypadDigit(char letter) {
  static constexpr std::string_view kKeys[] = {"ABC", "DEF",  "GHI", "JKL",
                                               "MNO", "PQRS", "TUV", "WXYZ"};
  for (int key = 0; key < 8; ++key) {
    if (kKeys[key].find(letter) != std::string_view::npos) {
      return static_cast<char>('2' + key);
    }
  }
  return 0;
}

// Only letters A to Z and digits count when two vanity texts are compared: separators
// and case are how a text is written, not what it spells.
std::string Canonical(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += c;
    }
  }
  return out;
}

Status Malformed(const Row& row, const std::string& why) {
  return {StatusCode::kMalformed, "line " + std::to_string(row.line) + ": " + why};
}

// A row is four fields: language, number, expected vanity, note. The vanity's letters
// must stand on their number's digits, or the row could never come first.
Status ParseRow(std::string_view text, int line, Row& row) {
  row = Row{};
  row.line = line;
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = text.find('\t', start);
    fields.emplace_back(text.substr(start, tab - start));
    if (tab == std::string_view::npos) {
      break;
    }
    start = tab + 1;
  }
  if (fields.size() != 4) {
    return Malformed(row,
                     "expected 4 TAB-separated fields (language, number, expected, "
                     "note), found " +
                         std::to_string(fields.size()));
  }
  row.language = fields[0];
  row.number = fields[1];
  row.expected = fields[2];
  row.note = fields[3];
  if (row.language != "en" && row.language != "de" && row.language != "fr") {
    return Malformed(row, "language \"" + row.language + "\" is not en, de or fr");
  }
  std::string digits;
  for (char c : row.number) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (std::string_view(" -()./+").find(c) == std::string_view::npos) {
      return Malformed(row, "the number \"" + row.number + "\" holds '" + std::string(1, c) +
                                "', neither a digit nor a separator");
    }
  }
  if (digits.empty()) {
    return Malformed(row, "the number is empty");
  }
  for (char c : row.expected) {
    if (c != '-' && c != ' ' && Canonical(std::string_view(&c, 1)).empty()) {
      return Malformed(row, "the vanity \"" + row.expected + "\" holds '" + std::string(1, c) +
                                "', neither a letter A to Z, a digit nor a separator");
    }
  }
  const std::string vanity = Canonical(row.expected);
  if (vanity.size() != digits.size()) {
    return Malformed(row, "the vanity " + vanity + " has " + std::to_string(vanity.size()) +
                              " letters and digits, the number " + digits + " has " +
                              std::to_string(digits.size()) + " digits");
  }
  for (std::size_t i = 0; i < vanity.size(); ++i) {
    const char c = vanity[i];
    const char dialled = (c >= '0' && c <= '9') ? c : KeypadDigit(c);
    if (dialled != digits[i]) {
      return Malformed(row, "the vanity " + vanity + " dials " + std::string(1, dialled) +
                                " at position " + std::to_string(i + 1) + " (" + std::string(1, c) +
                                "), the number " + digits + " has " + std::string(1, digits[i]));
    }
  }
  return {};
}

Status ReadRows(const std::string& path, std::vector<Row>& rows) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return Status::FromError(StatusCode::kCannotOpen, "cannot open " + path, errno);
  }
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    if (!text.empty() && text.back() == '\r') {
      text.pop_back();
    }
    if (text.empty() || text.front() == '#') {
      continue;
    }
    Row row;
    if (Status status = ParseRow(text, line, row); !status.IsOk()) {
      return {status.Code(), path + ", " + status.Reason()};
    }
    rows.push_back(std::move(row));
  }
  if (in.bad()) {
    return {StatusCode::kReadFailed, "cannot read " + path};
  }
  if (rows.empty()) {
    return {StatusCode::kMalformed, path + " holds no rows"};
  }
  return {};
}

std::string DictionaryPath(const std::string& language) {
  const std::string share = VANTREL_SHARE "/";
  if (language == "de") {
    return share + "Vantrel Deutsch.txt";
  }
  if (language == "fr") {
    return share + "Vantrel Francais.txt";
  }
  return share + "Vantrel Dictionary.txt";
}

// The 1-based rank of the expected vanity among the suggestions, 0 when it is missing.
Status RankOf(const Row& row, int& rank, std::string& first) {
  const std::string path = DictionaryPath(row.language);
  auto source = vantrel::OpenFileSource(path);
  if (source == nullptr) {
    return {StatusCode::kCannotOpen, "cannot open the dictionary " + path};
  }
  std::vector<vantrel::Suggestion> suggestions;
  if (Status status = vantrel::Suggest(*source, row.number, kLimit, suggestions); !status.IsOk()) {
    return {status.Code(), path + ": " + status.Reason()};
  }
  rank = 0;
  first = suggestions.empty() ? "(none)" : suggestions.front().vanity;
  const std::string expected = Canonical(row.expected);
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    if (Canonical(suggestions[i].vanity) == expected) {
      rank = static_cast<int>(i) + 1;
      break;
    }
  }
  return {};
}

struct Tally {
  int rows = 0;
  int first = 0;
  int topFew = 0;
};

std::string Share(int count, int of) {
  char text[64];
  std::snprintf(text, sizeof text, "%d of %d (%.0f%%)", count, of,
                of == 0 ? 0.0 : 100.0 * count / of);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = VANTREL_VANITY_NUMBERS;
  bool pathGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--benchmark")) {
      continue;
    }
    if (arg.starts_with("-") || pathGiven) {
      std::fprintf(stderr, "usage: bench_vanity [NUMBERS.tsv]\n");
      return 2;
    }
    path = arg;
    pathGiven = true;
  }

  std::vector<Row> rows;
  if (Status status = ReadRows(path, rows); !status.IsOk()) {
    std::fprintf(stderr, "bench_vanity: %s\n", status.Reason().c_str());
    return 1;
  }

  std::printf("rank  %-16s %-14s first suggestion\n", "number", "expected");
  Tally all;
  std::map<std::string, Tally> byLanguage;
  for (const Row& row : rows) {
    int rank = 0;
    std::string first;
    if (Status status = RankOf(row, rank, first); !status.IsOk()) {
      std::fprintf(stderr, "bench_vanity: line %d: %s\n", row.line, status.Reason().c_str());
      return 1;
    }
    const std::string shown = rank == 0 ? "-" : std::to_string(rank);
    std::printf("%4s  %-16s %-14s %s\n", shown.c_str(), row.number.c_str(), row.expected.c_str(),
                first.c_str());
    for (Tally* tally : {&all, &byLanguage[row.language]}) {
      ++tally->rows;
      tally->first += rank == 1 ? 1 : 0;
      tally->topFew += (rank >= 1 && rank <= kTopFew) ? 1 : 0;
    }
  }

  std::printf("\nfirst: %s\n", Share(all.first, all.rows).c_str());
  std::printf("top %d: %s\n", kTopFew, Share(all.topFew, all.rows).c_str());
  for (const auto& [language, tally] : byLanguage) {
    std::printf("%s: first %s, top %d %s\n", language.c_str(),
                Share(tally.first, tally.rows).c_str(), kTopFew,
                Share(tally.topFew, tally.rows).c_str());
  }
  return 0;
}
