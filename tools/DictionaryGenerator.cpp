// SPDX-License-Identifier: GPL-3.0-or-later
#include "DictionaryGenerator.h"

#include <algorithm>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "Codepage.h"
#include "ReplaceFile.h"

namespace vantrel::gendict {
namespace {

// The base letter of every letter from U+00C0 to U+00FF; a blank for the two signs among
// them (multiplication and division). Accented letters sit on the key of their base letter,
// as phones that offer them do. Each letter takes exactly one key, so a word has as many
// digits as letters: ß goes on 7 (German keypads carry it there, after PQRS), Æ and Œ on
// the key of their first letter, Ð on D, and Þ on T, the letter it is spelled with.
constexpr std::string_view kLatin1Base =
    "AAAAAAACEEEEIIIIDNOOOOO OUUUUYTs"
    "aaaaaaaceeeeiiiidnooooo ouuuuyty";

constexpr std::string_view kKeys = "22233344455566677778889999";  // a to z

// The base letter of a letter, or '\0'. The other letters of Windows-1252 are the few
// from U+0152 on; its florin sign (U+0192) is a currency sign here, not a letter, and so
// are the ordinal indicators and the micro sign.
char BaseLetter(char32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    return static_cast<char>(c);
  }
  if (c >= 0xC0 && c <= 0xFF) {
    const char base = kLatin1Base[c - 0xC0];
    return base == ' ' ? '\0' : base;
  }
  switch (c) {
    case 0x0152:  // Œ
      return 'O';
    case 0x0153:  // œ
      return 'o';
    case 0x0160:  // Š
      return 'S';
    case 0x0161:  // š
      return 's';
    case 0x0178:  // Ÿ
      return 'Y';
    case 0x017D:  // Ž
      return 'Z';
    case 0x017E:  // ž
      return 'z';
    default:
      return '\0';
  }
}

// Strict UTF-8: overlong forms, surrogates and truncated sequences fail.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char ch = DecodeUtf8At(text, i);
    if (!ch.valid) {
      return std::nullopt;
    }
    out += ch.code;
    i += ch.length;
  }
  return out;
}

bool FitsCp1252(const std::u32string& text) {
  for (char32_t c : text) {
    if (UnicodeToCp1252(c) < 0) {
      return false;
    }
  }
  return true;
}

// The digits and the Windows-1252 bytes of a run of letters, or nothing when a character
// is not a letter.
std::optional<Entry> SpellLetters(const std::u32string& letters) {
  Entry entry;
  entry.digits.reserve(letters.size());
  entry.word.reserve(letters.size());
  for (char32_t c : letters) {
    const char digit = KeypadDigit(c);
    if (digit == '\0') {
      return std::nullopt;
    }
    entry.digits += digit;
    entry.word += static_cast<char>(UnicodeToCp1252(c));
  }
  return entry;
}

std::size_t LineLength(const Entry& entry) {
  return entry.digits.size() + 1 + entry.word.size() + 2;
}

void AppendEntry(std::string& out, const Entry& entry) {
  out += entry.digits;
  out += ',';
  out += entry.word;
  out += ',';
  out += entry.classLetter;
  if (entry.commonness != kNoCommonness) {
    out += ',';
    out += std::to_string(entry.commonness);
  }
  out += "\r\n";
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool IsMark(char c) {
  return c == '-' || c == '+';
}

// Lines split at LF, with a CR before the LF dropped; a text that ends with LF has no
// empty line after it.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    visit(++lineNumber, line);
  }
}

Status LineError(std::size_t lineNumber, std::string_view affix, std::string_view problem) {
  return {StatusCode::kMalformed, "line " + std::to_string(lineNumber) + ": \"" +
                                      std::string(affix) + "\" " + std::string(problem)};
}

}  // namespace

char KeypadDigit(char32_t c) {
  const char base = BaseLetter(c);
  if (base == '\0') {
    return '\0';
  }
  const char lower = base >= 'a' ? base : static_cast<char>(base - 'A' + 'a');
  return kKeys[static_cast<std::size_t>(lower - 'a')];
}

bool IsUpperCaseLetter(char32_t c) {
  const char base = BaseLetter(c);
  return base >= 'A' && base <= 'Z';
}

std::string_view SkipReason(Skip skip) {
  switch (skip) {
    case Skip::kNone:
      return "kept";
    case Skip::kEmpty:
      return "empty";
    case Skip::kNotUtf8:
      return "not UTF-8";
    case Skip::kNotCp1252:
      return "not Windows-1252";
    case Skip::kNotLetters:
      return "not letters only";
    case Skip::kTooLong:
      return "too long";
    case Skip::kDuplicate:
      return "duplicate";
    case Skip::kAbbreviation:
      return "abbreviations";
  }
  return "unknown";
}

WordResult MakeWordEntry(std::string_view utf8Word) {
  WordResult result;
  if (utf8Word.empty()) {
    result.skip = Skip::kEmpty;
    return result;
  }
  const std::optional<std::u32string> text = DecodeUtf8(utf8Word);
  if (!text) {
    result.skip = Skip::kNotUtf8;
    return result;
  }
  if (!FitsCp1252(*text)) {
    result.skip = Skip::kNotCp1252;
    return result;
  }
  std::optional<Entry> entry = SpellLetters(*text);
  if (!entry) {
    result.skip = Skip::kNotLetters;
    return result;
  }
  // Every word may get the fourth field, and a line cut short would cut its figure.
  if (LineLength(*entry) + kCommonnessRoom > kMaxLineLength) {
    result.skip = Skip::kTooLong;
    return result;
  }
  // Letters and acronyms (D, DPs, ESP) would crowd out the real words of every number;
  // "a" is the one single letter worth offering. A word such as eBay stays.
  const bool single = text->size() == 1 && (*text)[0] != U'a';
  const bool acronym = IsUpperCaseLetter(text->front()) &&
                       std::any_of(text->begin() + 1, text->end(), IsUpperCaseLetter);
  if (single || acronym) {
    result.skip = Skip::kAbbreviation;
    return result;
  }
  entry->classLetter = IsUpperCaseLetter(text->front()) ? kNameClass : kWordClass;
  result.entry = std::move(*entry);
  return result;
}

WordList ReadWordList(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  WordList list;
  std::unordered_set<std::string> seen;
  ForEachLine(text, [&](std::size_t lineNumber, std::string_view line) {
    WordResult result = MakeWordEntry(line);
    if (result.skip == Skip::kNone && !seen.insert(result.entry.word).second) {
      result.skip = Skip::kDuplicate;
    }
    if (result.skip == Skip::kNone) {
      list.entries.push_back(std::move(result.entry));
      return;
    }
    SkipCount& count = list.skipped[static_cast<std::size_t>(result.skip)];
    if (count.count++ == 0) {
      count.firstLine = lineNumber;
    }
  });
  return list;
}

AffixList ReadAffixList(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  AffixList list;
  std::unordered_map<std::string, std::size_t> seen;  // word field -> line
  ForEachLine(text, [&](std::size_t lineNumber, std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') {
      return;
    }
    const std::string_view affix = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    const bool ending = IsMark(affix.front());
    const bool beginning = affix.size() > 1 && IsMark(affix.back());
    if (!ending && !beginning) {
      list.errors.push_back(
          LineError(lineNumber, affix, "has no mark ('-' or '+') at its start or end"));
      return;
    }
    std::string_view core = affix;
    core.remove_prefix(ending ? 1 : 0);
    core.remove_suffix(beginning ? 1 : 0);
    const std::optional<std::u32string> letters = DecodeUtf8(core);
    if (!letters) {
      list.errors.push_back(LineError(lineNumber, affix, "is not UTF-8 text"));
      return;
    }
    std::optional<Entry> entry = letters->empty() ? std::nullopt : SpellLetters(*letters);
    if (!entry) {
      list.errors.push_back(
          LineError(lineNumber, affix,
                    "must hold letters of Windows-1252 between its marks, and only those"));
      return;
    }
    if (ending) {
      entry->word.insert(entry->word.begin(), affix.front());
    }
    if (beginning) {
      entry->word += affix.back();
    }
    if (LineLength(*entry) > kMaxLineLength) {
      list.errors.push_back(LineError(lineNumber, affix, "is too long"));
      return;
    }
    const auto [earlier, fresh] = seen.emplace(entry->word, lineNumber);
    if (!fresh) {
      list.errors.push_back(
          LineError(lineNumber, affix, "repeats line " + std::to_string(earlier->second)));
      return;
    }
    list.entries.push_back(std::move(*entry));
  });
  return list;
}

std::string RenderDictionary(const std::vector<Entry>& words, const std::vector<Entry>& affixes) {
  std::size_t size = 2 + 10 * 7;
  for (const auto* entries : {&words, &affixes}) {
    for (const Entry& entry : *entries) {
      size += LineLength(entry) + 2;
    }
  }
  std::string out;
  out.reserve(size + words.size() * kCommonnessRoom);
  for (const auto* entries : {&words, &affixes}) {
    for (const Entry& entry : *entries) {
      AppendEntry(out, entry);
    }
  }
  for (char digit = '0'; digit <= '9'; ++digit) {
    AppendEntry(out, Entry{std::string(1, digit), std::string(1, digit), kDigitClass});
  }
  out += "\r\n";
  return out;
}

Status ReadFile(const std::string& path, std::string& contents) {
  contents.clear();
  const FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return Status::FromError(StatusCode::kCannotOpen, "cannot open " + path, errno);
  }
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    contents.append(buffer, got);
  }
  if (std::ferror(file.get())) {
    const int error = errno;
    contents.clear();
    return Status::FromError(StatusCode::kReadFailed, "cannot read " + path, error);
  }
  return {};
}

Status WriteFileReplacing(const std::string& path, std::string_view contents) {
  const Status written = ReplaceFile(path, contents);
  return written.IsOk() ? written
                        : Status(written.Code(), "cannot write " + path + ": " + written.Reason());
}

Status ReadWordCounts(std::string_view text, WordCounts& counts) {
  counts = {};
  const auto fail = [&counts](std::size_t lineNumber, const std::string& problem) {
    counts = {};
    return Status(
        StatusCode::kMalformed,
        (lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " : std::string()) + problem);
  };
  enum class Part { kBeforeData, kHeader, kWords, kLonger };
  Part part = Part::kBeforeData;
  std::optional<std::uint64_t> announced;  // "ngram 1=N" of the header
  std::uint64_t entries = 0;               // 1-gram lines, special tokens included
  std::unordered_map<std::string_view, std::size_t> lineOf;
  Status status;
  ForEachLine(text, [&](std::size_t lineNumber, std::string_view line) {
    if (!status.IsOk() || part == Part::kLonger) {
      return;
    }
    if (part == Part::kBeforeData) {
      if (line.find_first_not_of(" \t") == std::string_view::npos) {
        return;
      }
      if (line != "\\data\\") {
        status = fail(lineNumber, "a language model starts with \"\\data\\\"");
      }
      part = Part::kHeader;
      return;
    }
    if (part == Part::kHeader) {
      if (line == "\\1-grams:") {
        part = Part::kWords;
      } else if (line.starts_with("ngram 1=")) {
        std::uint64_t n = 0;
        const std::string_view value = line.substr(8);
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (error != std::errc() || end != value.data() + value.size()) {
          status = fail(lineNumber, "\"" + std::string(line) + "\" is not a number of words");
        }
        announced = n;
      }
      return;
    }
    // The 1-grams, up to the next section.
    if (line.starts_with('\\')) {
      part = Part::kLonger;
      return;
    }
    if (line.empty()) {
      return;
    }
    const std::size_t blank = line.find_first_of(" \t");
    const std::string_view number = line.substr(0, blank);
    std::string_view word =
        blank == std::string_view::npos ? std::string_view() : line.substr(blank);
    word.remove_prefix(std::min(word.find_first_not_of(" \t"), word.size()));
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
        word.empty() || word.find_first_of(" \t") != std::string_view::npos) {
      status = fail(lineNumber, "\"" + std::string(line) + "\" is not a count and a word");
      return;
    }
    if (!DecodeUtf8(word)) {
      status = fail(lineNumber, "the word is not UTF-8 text");
      return;
    }
    const auto [earlier, fresh] = lineOf.emplace(word, lineNumber);
    if (!fresh) {
      status = fail(lineNumber, "\"" + std::string(word) + "\" repeats line " +
                                    std::to_string(earlier->second));
      return;
    }
    ++entries;
    if (word == "<unk>" || word == "<s>" || word == "</s>" || word == "<num>") {
      return;
    }
    if (counts.total + count < counts.total) {
      status = fail(lineNumber, "the counts add up to more than can be held");
      return;
    }
    counts.total += count;
    counts.occurrences.emplace(word, count);
  });
  if (!status.IsOk()) {
    return status;
  }
  if (part == Part::kBeforeData || part == Part::kHeader) {
    return fail(0, part == Part::kBeforeData ? "empty; a language model was expected"
                                             : "no \"\\1-grams:\" section");
  }
  // A file cut short still reads as a smaller model; the header says how many words the
  // whole one holds.
  if (announced && *announced != entries) {
    return fail(0, "the header announces " + std::to_string(*announced) +
                       " words, the file holds " + std::to_string(entries));
  }
  if (counts.total == 0) {
    return fail(0, "no word is counted");
  }
  return status;
}

std::uint64_t CountWord(const WordCounts& counts, std::string_view utf8Word) {
  const auto countOf = [&counts](const std::string& spelling) -> std::uint64_t {
    const auto found = counts.occurrences.find(spelling);
    return found == counts.occurrences.end() ? 0 : found->second;
  };
  std::uint64_t total = countOf(std::string(utf8Word));
  const std::optional<std::u32string> letters = DecodeUtf8(utf8Word);
  if (!letters || letters->empty() ||
      std::any_of(letters->begin(), letters->end(), IsUpperCaseLetter)) {
    return total;
  }
  // The capitalised form. A word of one letter ("a") has no other capitalised form than
  // its capital, which at the start of a sentence is the word itself, not an acronym.
  const char32_t first = (*letters)[0];
  char32_t upper = 0;
  if ((first >= U'a' && first <= U'z') ||
      (first >= 0xE0 && first <= 0xFE && first != 0xF7)) {  // not the division sign
    upper = first - 0x20;
  } else if (first == 0xFF) {  // ÿ
    upper = 0x178;
  } else if (first == 0x153 || first == 0x161 || first == 0x17E) {  // œ, š, ž
    upper = first - 1;
  }
  // ß has no capital in Windows-1252, and no word starts with it.
  if (upper == 0) {
    return total;
  }
  std::string capitalised;
  AppendUtf8(capitalised, upper);
  const std::size_t firstLength = DecodeUtf8At(utf8Word, 0).length;
  capitalised += utf8Word.substr(firstLength);
  return total + countOf(capitalised);
}

int CommonnessFigure(std::uint64_t occurrences, std::uint64_t total) {
  if (occurrences == 0 || total == 0) {
    return kNoCommonness;
  }
  const double perBillion = static_cast<double>(occurrences) * 1e9 / static_cast<double>(total);
  const double figure = std::round(10.0 * std::log10(perBillion));
  return static_cast<int>(std::clamp(figure, 0.0, static_cast<double>(kMaxCommonness)));
}

char CommonnessClass(int figure) {
  for (const Band& band : kBands) {
    if (figure >= band.from) {
      return band.classLetter;
    }
  }
  return kBands.back().classLetter;
}

bool HasVowel(std::string_view cp1252Word) {
  return std::any_of(cp1252Word.begin(), cp1252Word.end(), [](char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return std::string_view("aeiouyAEIOUY").find(ch) != std::string_view::npos ||
           (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7 && byte != 0xD0 && byte != 0xF0 &&
            byte != 0xDE && byte != 0xFE && byte != 0xDF && byte != 0xD1 && byte != 0xF1 &&
            byte != 0xC7 && byte != 0xE7) ||
           byte == 0x9C || byte == 0x8C || byte == 0x9F || byte == 0xFF;
  });
}

CommonnessTally MarkCommonness(std::vector<Entry>& words, const WordCounts& counts,
                               const std::vector<std::string>& sizeBands) {
  // The words of the size bands as the dictionary holds them (Windows-1252), mapped to
  // their band; a word in several bands belongs to the first.
  std::unordered_map<std::string, std::size_t> bandOf;
  for (std::size_t band = 0; band < sizeBands.size() && band < kUnseenFigures.size(); ++band) {
    ForEachLine(sizeBands[band], [&](std::size_t, std::string_view line) {
      const WordResult made = MakeWordEntry(line);
      if (made.skip == Skip::kNone) {
        bandOf.emplace(made.entry.word, band);
      }
    });
  }
  CommonnessTally tally;
  for (Entry& entry : words) {
    const std::uint64_t occurrences = CountWord(counts, Cp1252ToUtf8(entry.word));
    entry.commonness = CommonnessFigure(occurrences, counts.total);
    const bool name = entry.classLetter == kNameClass;
    if (entry.commonness != kNoCommonness) {
      ++tally.counted;
    } else if (name) {
      // A name the counts lack is rare in real text, whatever its letter says.
      entry.commonness = kUnseenRareFigure;
      ++tally.namesUncounted;
    } else {
      const auto found = bandOf.find(entry.word);
      entry.commonness = sizeBands.empty()       ? kUnseenUnrankedFigure
                         : found == bandOf.end() ? kUnseenRareFigure
                                                 : kUnseenFigures[found->second];
      ++tally.estimated;
    }
    // A word without a vowel is an abbreviation or a sound (km, mm, Mr, hmm): frequent in
    // text, but nobody spells a telephone number with it.
    if (!HasVowel(entry.word)) {
      entry.commonness = std::min(entry.commonness, kUnseenRareFigure);
    }
    if (!name) {
      entry.classLetter = CommonnessClass(entry.commonness);
      for (std::size_t band = 0; band < kBands.size(); ++band) {
        if (kBands[band].classLetter == entry.classLetter) {
          ++tally.perBand[band];
          break;
        }
      }
    }
  }
  return tally;
}

}  // namespace vantrel::gendict
