// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli: the word engine from the command line, for scripts. The interface is
// kept stable: arguments and output are UTF-8, the engine works in Windows-1252.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "Catalogs.h"
#include "CliArguments.h"
#include "Codepage.h"
#include "MainModel.h"
#include "Suggest.h"
#include "WordLookup.h"

namespace {

constexpr const char* kUsage =
    "usage: vantrel-cli search [--mode any|left|right] [--dictionary FILE] [--] NUMBER\n"
    "       vantrel-cli lookup [--dictionary FILE] [--] WORD\n"
    "       vantrel-cli affixes [--dictionary FILE] [--] NUMBER DIGITS POSITION\n"
    "       vantrel-cli suggest [--limit N] [--json] [--dictionary FILE] [--] NUMBER|-...\n"
    "       vantrel-cli --help\n";

// The help in paragraphs, each translated on its own.
constexpr const char* kHelp[] = {
    "Vantrel turns telephone numbers into words, using a dictionary of\n"
    "\"digits,word,class\" lines.\n",
    "\n",
    "search   Lists every dictionary word whose digits occur in NUMBER where the mode\n"
    "         allows: any (anywhere, the default), left (at the number's first digit)\n"
    "         or right (at its last digit). One line per candidate, in dictionary\n"
    "         order: the word, a TAB, its digits, a TAB, and \"italic\" or \"regular\".\n"
    "         The status line (\" 3 Matches out of 10 words in .001 secs\") goes to\n"
    "         standard error.\n",
    "lookup   Lists the digits under which the dictionary holds WORD, one per line\n"
    "         (letters A to Z in any case, bracketed notes ignored), or \"No Numeric\n"
    "         Equivalent\". The status line goes to standard error.\n",
    "affixes  Lists the endings and beginnings that fit next to a word placed in\n"
    "         NUMBER: NUMBER is the entry text as it stands, with a bullet \"\xE2\x80\xA2\"\n"
    "         for every digit already taken; DIGITS and POSITION (counted from 1) are\n"
    "         those of the word just placed. One line per offer: the affix as stored\n"
    "         (with its '-' or '+'), a TAB, its digits, a TAB, \"italic\" or \"regular\".\n",
    "suggest  Lists what each NUMBER could spell, best first: words over its digits,\n"
    "         each digit either under a word or kept as it is. The number's prefix\n"
    "         (its country code, area or toll-free code) stays digits at no cost;\n"
    "         past it the lowest cost wins: a word 20, more the less common it is; a\n"
    "         digit kept 14 before the words, 30 between them (18 for a 2 or 4 read\n"
    "         as to or for), 26 after them; two English words that go together cost\n"
    "         less. Then fewer words, fewer kept digits, the words in byte order. Each\n"
    "         vanity text once; none that keeps every digit. Words may cross the\n"
    "         number's blanks, hyphens, brackets, dots and slashes. One line per\n"
    "         suggestion: the phrase, a TAB, and the vanity text (NUMBER as typed\n"
    "         with the words in capitals over their digits); with several NUMBERs each\n"
    "         line starts with its NUMBER and a TAB. A NUMBER of - reads the numbers\n"
    "         from standard input, one a line (blank lines are skipped).\n"
    "         --json writes one JSON object a line for each NUMBER instead:\n"
    "         {\"number\", \"suggestions\": [{\"phrase\", \"vanity\", \"keys\": {...}}]}.\n",
    "\n",
    "--dictionary FILE  the dictionary to read (default: the bundled English one)\n"
    "--mode MODE        any, left or right (search only)\n"
    "--limit N          how many suggestions, 1 to 1000 (default 20; suggest only)\n"
    "--json             JSON lines for scripts (suggest only)\n"
    "--                 ends the options, so that a NUMBER may begin with '-'\n",
    "\n",
    "Arguments and output are UTF-8; dictionary texts are Windows-1252 and are\n"
    "converted both ways (a character Windows-1252 lacks becomes '?').\n",
    "\n",
    "Exit status: 0 on success; 1 when the dictionary cannot be opened or read (what\n"
    "was found before a read failure is still printed); 2 on a usage error.\n",
};

// The messages in the language LANG names, as the window chooses it when no language is
// stored, from the catalogs this program carries. Only what a person reads is translated:
// usage, help, warnings and the status lines. What scripts read on standard output (the
// candidates, the digits, "italic" and "regular", "No Numeric Equivalent", the
// suggestions and their JSON) is the same in every language.
class CliTexts {
 public:
  CliTexts() : instance_(vantrel::i18n::TTranslationInstance::ForThisProgram()) {}

  std::string operator()(std::string_view english) {
    if (english == "\n") {
      return std::string(english);
    }
    try {
      std::string text = instance_.TranslateText(english);
      // The catalogs end their lines with CR LF, as the windows want; a terminal wants LF.
      std::erase(text, '\r');
      return text;
    } catch (const vantrel::i18n::CatalogError& error) {
      // A catalog that cannot be read leaves every message English, said once.
      instance_.SetEnabled(false);
      std::cerr << "vantrel-cli: " << error.what() << '\n';
      return std::string(english);
    }
  }

  std::string Render(const vantrel::Message& message) {
    return vantrel::Render(message, [this](std::string_view english) { return (*this)(english); });
  }

  // The time in the status line is written as the window writes it in that language:
  // German and French take a decimal comma.
  char DecimalSeparator() const {
    const std::string language = instance_.CurrentLanguage().substr(0, 2);
    return language == "de" || language == "fr" ? ',' : '.';
  }

 private:
  vantrel::i18n::TTranslationInstance instance_;
};

CliTexts& Texts() {
  static CliTexts texts;
  return texts;
}

// Messages and the status line go to standard error; a message means failure.
class CliHost final : public vantrel::MainHost {
 public:
  void Warn(const vantrel::Message& message) override {
    std::cerr << Texts().Render(message) << '\n';
    failed = true;
  }
  char DecimalSeparator() override { return Texts().DecimalSeparator(); }
  bool failed = false;
};

// A dictionary that cannot be opened, told as the suggestion window tells it: the
// command line already says what was being done.
int CannotOpen(const std::string& name) {
  std::cerr << Texts().Render({vantrel::Tr("Can Not Open "), vantrel::Lit(name)}) << '\n';
  return 1;
}

int UsageError(const vantrel::Message& why) {
  std::cerr << "vantrel-cli: " << Texts().Render(why) << '\n' << Texts()(kUsage);
  return 2;
}

void PrintRow(const vantrel::CellTable& table, int row) {
  std::cout << vantrel::Cp1252ToUtf8(table.Cell(0, row)) << '\t'
            << vantrel::Cp1252ToUtf8(table.Cell(1, row)) << '\t'
            << (table.Italic(0, row) ? "italic" : "regular") << '\n';
}

int Search(vantrel::MainModel& model, CliHost& host, const vantrel::cli::Arguments& options) {
  model.SetMode(options.mode == "left"    ? vantrel::SearchMode::kLeft
                : options.mode == "right" ? vantrel::SearchMode::kRight
                                          : vantrel::SearchMode::kAnyPoint);
  model.SetEntryText(vantrel::Utf8ToCp1252(options.operands[0]));
  model.Search();
  // The candidates fill the rows from 1 on, also those found before a read failure.
  for (int row = 1; row < model.Candidates().RowCount(); ++row) {
    if (model.Candidates().Cell(0, row).empty()) {
      break;
    }
    PrintRow(model.Candidates(), row);
  }
  if (host.failed) {
    return 1;
  }
  std::cerr << Texts().Render(model.StatusMessage()) << '\n';
  return 0;
}

int Lookup(vantrel::DictionaryFile& dictionary, CliHost& host,
           const vantrel::cli::Arguments& options) {
  vantrel::LookupModel lookup(dictionary, host);
  lookup.TypeWord(vantrel::Utf8ToCp1252(options.operands[0]), true);
  lookup.LookUp();
  for (int row = 0; row < lookup.Results().RowCount(); ++row) {
    const std::string& cell = lookup.Results().Cell(0, row);
    if (!cell.empty()) {
      std::cout << vantrel::Cp1252ToUtf8(cell) << '\n';
    }
  }
  if (host.failed) {
    return 1;
  }
  std::cerr << Texts().Render(lookup.StatusMessage()) << '\n';
  return 0;
}

int Affixes(vantrel::MainModel& model, CliHost& host, const vantrel::cli::Arguments& options) {
  // Without an Open dialog to ask, a dictionary that cannot be opened ends here.
  if (model.Dictionary().Reopen() == nullptr) {
    return CannotOpen(model.Dictionary().name);
  }
  model.LoadAffixes();
  model.SetEntryText(vantrel::Utf8ToCp1252(options.operands[0]));
  model.OfferAffixes(vantrel::Utf8ToCp1252(options.operands[1]),
                     static_cast<int>(options.position));
  for (int row = 0; row < model.AffixOffers().RowCount(); ++row) {
    if (model.AffixOffers().Cell(0, row).empty()) {
      break;
    }
    PrintRow(model.AffixOffers(), row);
  }
  return host.failed ? 1 : 0;
}

// A UTF-8 text as a JSON string.
std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string_view PlanName(vantrel::PlanKind kind) {
  switch (kind) {
    case vantrel::PlanKind::kNorthAmerican:
      return "north-american";
    case vantrel::PlanKind::kGerman:
      return "german";
    case vantrel::PlanKind::kFrench:
      return "french";
    case vantrel::PlanKind::kNone:
      break;
  }
  return "none";
}

std::string_view CodeName(vantrel::CodeKind code) {
  switch (code) {
    case vantrel::CodeKind::kArea:
      return "area";
    case vantrel::CodeKind::kTollFree:
      return "toll-free";
    case vantrel::CodeKind::kMobile:
      return "mobile";
    case vantrel::CodeKind::kService:
      return "service";
    case vantrel::CodeKind::kNone:
      break;
  }
  return "none";
}

std::string Field(std::string_view name, int value) {
  return "\"" + std::string(name) + "\": " + std::to_string(value);
}

// One object a line: the number, its plan, and each suggestion with its rank keys (in the
// order in which they count) and what it keeps where.
std::string Json(const std::string& number, const std::vector<vantrel::Suggestion>& suggestions) {
  // Every suggestion carries the plan; without one, the shape alone says it.
  const std::string cp1252 = vantrel::Utf8ToCp1252(number);
  const std::string_view shortNumber = vantrel::Short(cp1252);
  const vantrel::NumberingPlan plan =
      suggestions.empty()
          ? vantrel::FindNumberingPlan(shortNumber, vantrel::DictionaryLanguage::kUnknown)
          : suggestions.front().plan;
  std::string out =
      "{\"number\": " + JsonString(number) +
      ", \"plan\": {\"kind\": " + JsonString(std::string(PlanName(plan.kind))) +
      ", \"code\": " + JsonString(std::string(CodeName(plan.code))) +
      ", \"countryCode\": " + (plan.countryCode ? "true" : "false") +
      ", \"prefix\": " + JsonString(vantrel::Cp1252ToUtf8(shortNumber.substr(0, plan.prefixEnd))) +
      "}, \"suggestions\": [";
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    const vantrel::Suggestion& s = suggestions[i];
    out += (i == 0 ? "" : ", ");
    out += "{\"phrase\": " + JsonString(vantrel::Cp1252ToUtf8(s.phrase)) +
           ", \"vanity\": " + JsonString(s.vanity) + ", \"keys\": {" +
           Field("letteredPrefix", s.rank.letteredPrefix) + ", " + Field("cost", s.rank.cost) +
           ", " + Field("words", s.rank.words) + ", " + Field("keptDigits", s.rank.keptDigits) +
           "}, \"kept\": {" + Field("prefix", s.prefixDigits) + ", " +
           Field("leading", s.leadingDigits) + ", " + Field("middle", s.middleDigits) + ", " +
           Field("toOrFor", s.toOrFor) + ", " + Field("trailing", s.trailingDigits) + "}, " +
           Field("leastCommon", s.leastCommon) +
           ", \"withName\": " + (s.withName ? "true" : "false") + ", " + Field("pairs", s.pairs) +
           "}";
  }
  return out + "]}";
}

// The numbers to suggest for: the operands, with "-" standing for the lines of standard
// input.
std::vector<std::string> Numbers(const std::vector<std::string>& operands) {
  std::vector<std::string> out;
  for (const std::string& operand : operands) {
    if (operand != "-") {
      out.push_back(operand);
      continue;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      if (!line.empty()) {
        out.push_back(line);
      }
    }
  }
  return out;
}

int Suggest(vantrel::DictionaryFile& dictionary, const vantrel::cli::Arguments& options) {
  const std::vector<std::string> numbers = Numbers(options.operands);
  const bool several = options.operands.size() > 1 || options.operands[0] == "-";
  int status = 0;
  for (const std::string& typed : numbers) {
    const std::unique_ptr<vantrel::ByteSource> source = dictionary.Reopen();
    if (source == nullptr) {
      return CannotOpen(dictionary.name);
    }
    const std::string number = vantrel::Utf8ToCp1252(typed);
    std::vector<vantrel::Suggestion> suggestions;
    if (!vantrel::Suggest(*source, number, options.limit, suggestions).IsOk()) {
      // A ranking from part of the dictionary would be wrong: nothing for this number,
      // and the run fails.
      std::cerr << Texts().Render(
                       {vantrel::Tr("Error Reading Dictionary "), vantrel::Lit(dictionary.name)})
                << '\n';
      status = 1;
      continue;
    }
    const std::string shown = vantrel::Cp1252ToUtf8(number);
    if (options.json) {
      std::cout << Json(shown, suggestions) << '\n';
      continue;
    }
    for (const vantrel::Suggestion& s : suggestions) {
      if (several) {
        std::cout << shown << '\t';
      }
      std::cout << vantrel::Cp1252ToUtf8(s.phrase) << '\t' << s.vanity << '\n';
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const vantrel::cli::Arguments options =
      vantrel::cli::ParseArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  switch (options.action) {
    case vantrel::cli::Arguments::Action::kUsage:
      std::cerr << Texts()(kUsage);
      return 2;
    case vantrel::cli::Arguments::Action::kHelp:
      std::cout << Texts()(kUsage) << '\n';
      for (const char* paragraph : kHelp) {
        std::cout << Texts()(paragraph);
      }
      return 0;
    case vantrel::cli::Arguments::Action::kUsageError:
      return UsageError(options.usageError);
    case vantrel::cli::Arguments::Action::kRun:
      break;
  }
  const std::string& command = options.command;

  // Paths are passed to the file system as they were given, and named in messages as
  // the UTF-8 they are.
  vantrel::DictionaryFile dictionary;
  const std::string path = options.dictionary.empty()
                               ? vantrel::BundledDictionaryPath(vantrel::ProgramDir())
                               : options.dictionary;
  dictionary.Bind(path);
  dictionary.SetInUse(path);
  if (command == "suggest") {
    return Suggest(dictionary, options);
  }
  CliHost host;
  vantrel::MainModel model(dictionary, host);
  if (command == "search") {
    return Search(model, host, options);
  }
  if (command == "lookup") {
    return Lookup(dictionary, host, options);
  }
  return Affixes(model, host, options);
}
