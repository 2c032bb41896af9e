// SPDX-License-Identifier: GPL-3.0-or-later
#include "DictionaryGenerator.h"

#include <algorithm>

#include <cerrno>
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

std::string LineError(std::size_t lineNumber, std::string_view affix, std::string_view problem) {
  return "line " + std::to_string(lineNumber) + ": \"" + std::string(affix) + "\" " +
         std::string(problem);
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
  if (LineLength(*entry) > kMaxLineLength) {
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
  out.reserve(size);
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

std::vector<std::size_t> MarkCommonness(std::vector<Entry>& words,
                                        const std::vector<std::string>& bands) {
  // The words as the dictionary holds them (Windows-1252) mapped to their band; a word
  // in several bands belongs to the first.
  std::unordered_map<std::string, std::size_t> bandOf;
  for (std::size_t band = 0; band < bands.size() && band < kBandClasses.size(); ++band) {
    std::string_view text = bands[band];
    while (!text.empty()) {
      const std::size_t end = std::min(text.find('\n'), text.size());
      std::string_view line = text.substr(0, end);
      text.remove_prefix(std::min(end + 1, text.size()));
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      const WordResult made = MakeWordEntry(line);
      if (made.skip == Skip::kNone) {
        bandOf.emplace(made.entry.word, band);
      }
    }
  }
  std::vector<std::size_t> counts(std::min(bands.size(), kBandClasses.size()) + 1, 0);
  for (Entry& entry : words) {
    if (entry.classLetter == kNameClass) {
      continue;
    }
    const auto found = bandOf.find(entry.word);
    if (found == bandOf.end()) {
      entry.classLetter = kRareClass;
      counts.back() += 1;
    } else {
      entry.classLetter = kBandClasses[found->second];
      counts[found->second] += 1;
    }
  }
  return counts;
}

}  // namespace vantrel::gendict
