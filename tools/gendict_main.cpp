// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-gendict: writes one bundled dictionary from a word list and an affix list.
//
//   vantrel-gendict --words LIST [--affixes LIST] [--no-names]
//                   [--counts MODEL [--common LISTS]...] --output FILE
//
// Exits with 0 on success, 1 when an input is bad or a file cannot be read or written
// (the message says which), 2 on a wrong command line. The output is replaced only when
// the whole dictionary could be built.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "DictionaryGenerator.h"

namespace {

using namespace vantrel::gendict;

constexpr std::string_view kUsage =
    "usage: vantrel-gendict --words LIST [--affixes LIST] [--no-names]\n"
    "                       [--counts MODEL [--common LISTS]...] --output FILE\n"
    "  LIST   UTF-8 text, one word (or one affix with its '-' or '+' mark) a line\n"
    "  MODEL  a language model of Onboard (onboard-data): how often each word occurs;\n"
    "         each word gets its commonness (0 to 99) and the class letter of its band\n"
    "  LISTS  word lists joined by commas: the next band by size, for the words the\n"
    "         model lacks, the most common first; at most two\n"
    "  FILE   the dictionary to write (Windows-1252, CR LF line ends)\n";

struct Options {
  std::string words;
  std::string affixes;
  std::string output;
  std::string counts;
  std::vector<std::string> common;  // one entry per band: file names joined by commas
  bool noNames = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--no-names") {
      options.noNames = true;
      continue;
    }
    if (arg == "--common" && i + 1 < argc) {
      options.common.emplace_back(argv[++i]);
      if (options.common.size() > kUnseenFigures.size()) {
        std::fprintf(stderr, "vantrel-gendict: at most %zu --common bands\n",
                     kUnseenFigures.size());
        return false;
      }
      continue;
    }
    std::string* target = arg == "--words"     ? &options.words
                          : arg == "--affixes" ? &options.affixes
                          : arg == "--output"  ? &options.output
                          : arg == "--counts"  ? &options.counts
                                               : nullptr;
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "vantrel-gendict: %s %.*s\n",
                   target == nullptr ? "unknown argument" : "missing value after",
                   static_cast<int>(arg.size()), arg.data());
      return false;
    }
    *target = argv[++i];
  }
  if (options.words.empty() || options.output.empty()) {
    std::fprintf(stderr, "vantrel-gendict: --words and --output are required\n");
    return false;
  }
  if (!options.common.empty() && options.counts.empty()) {
    std::fprintf(stderr, "vantrel-gendict: --common needs --counts\n");
    return false;
  }
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vantrel-gendict: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage.data(), stderr);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();

  std::string text;
  if (const vantrel::Status read = ReadFile(options.words, text); !read.IsOk()) {
    return Fail(read.Reason());
  }
  WordList words = ReadWordList(text);
  // The Debian word lists are UTF-8; anything else means the wrong file, and reading it
  // on would quietly drop every accented word.
  if (const SkipCount& bad = words.Skipped(Skip::kNotUtf8); bad.count > 0) {
    return Fail(options.words + ": line " + std::to_string(bad.firstLine) + " is not UTF-8 text (" +
                std::to_string(bad.count) + " lines in all); the word list must be UTF-8");
  }
  if (words.entries.empty()) {
    return Fail(options.words + ": no usable words");
  }

  // German writes every noun with a capital, so a capital says nothing about names
  // there; such lists mark no word as a name.
  if (options.noNames) {
    for (Entry& entry : words.entries) {
      entry.classLetter = kWordClass;
    }
  }

  // Commonness: the model's counts, and the size bands (each one's lists read whole and
  // joined) for the words the model lacks.
  std::string bandSummary;
  if (!options.counts.empty()) {
    WordCounts counts;
    if (const vantrel::Status read = ReadFile(options.counts, text); !read.IsOk()) {
      return Fail(read.Reason());
    }
    if (const vantrel::Status parsed = ReadWordCounts(text, counts); !parsed.IsOk()) {
      return Fail(options.counts + ": " + parsed.Reason() +
                  "; a language model of Onboard was expected, nothing written");
    }
    std::vector<std::string> bands;
    for (const std::string& files : options.common) {
      std::string band;
      std::size_t from = 0;
      while (from <= files.size()) {
        const std::size_t comma = std::min(files.find(',', from), files.size());
        const std::string path = files.substr(from, comma - from);
        from = comma + 1;
        if (path.empty()) {
          continue;
        }
        std::string list;
        if (const vantrel::Status read = ReadFile(path, list); !read.IsOk()) {
          return Fail(read.Reason());
        }
        band += list + "\n";
      }
      bands.push_back(std::move(band));
    }
    const CommonnessTally tally = MarkCommonness(words.entries, counts, bands);
    bandSummary = "; commonness: " + std::to_string(tally.counted) + " counted, " +
                  std::to_string(tally.estimated) + " estimated, " +
                  std::to_string(tally.namesUncounted) + " names without; bands";
    for (std::size_t band = 0; band < kBands.size(); ++band) {
      bandSummary += std::string(band == 0 ? " " : ", ") + kBands[band].classLetter + " " +
                     std::to_string(tally.perBand[band]);
    }
  }

  // Ordinary words list before names, so that a number's candidates start with words.
  std::stable_partition(words.entries.begin(), words.entries.end(),
                        [](const Entry& entry) { return entry.classLetter != kNameClass; });

  AffixList affixes;
  if (!options.affixes.empty()) {
    if (const vantrel::Status read = ReadFile(options.affixes, text); !read.IsOk()) {
      return Fail(read.Reason());
    }
    affixes = ReadAffixList(text);
    if (!affixes.errors.empty()) {
      for (const vantrel::Status& error : affixes.errors) {
        std::fprintf(stderr, "%s: %s\n", options.affixes.c_str(), error.Reason().c_str());
      }
      return Fail(options.affixes + ": " + std::to_string(affixes.errors.size()) +
                  " bad lines; nothing written");
    }
  }

  const std::string dictionary = RenderDictionary(words.entries, affixes.entries);
  if (const vantrel::Status written = WriteFileReplacing(options.output, dictionary);
      !written.IsOk()) {
    return Fail(written.Reason());
  }

  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::string leftOut;
  for (std::size_t kind = 1; kind < kSkipKinds; ++kind) {
    const SkipCount& count = words.skipped[kind];
    if (count.count > 0) {
      leftOut += (leftOut.empty() ? " " : ", ") + std::to_string(count.count) + " " +
                 std::string(SkipReason(static_cast<Skip>(kind))) + " (first at line " +
                 std::to_string(count.firstLine) + ")";
    }
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f", took.count());
  const std::string summary =
      options.output + ": " + std::to_string(words.entries.size()) + " words, " +
      std::to_string(affixes.entries.size()) + " affixes, 10 digits, " +
      std::to_string(dictionary.size()) + " bytes in " + seconds +
      " s; left out:" + (leftOut.empty() ? " nothing" : leftOut) + bandSummary + "\n";
  std::fputs(summary.c_str(), stdout);
  return 0;
}
