// SPDX-License-Identifier: GPL-3.0-or-later
// Every English text that the program's sources hand to the catalog has an entry in the
// German and in the French catalog, and the catalogs carry what assets/po says.
//
// The sources are scanned for string literals passed to TranslateText, the windows'
// translator (Text, Cp1252) and Translate, SourceText (a window's English texts) and the
// engine's Tr (message pieces). Texts that reach TranslateText or a window through a variable are
// caught by the window suite, which builds every window with a catalog installed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "I18nTesting.h"
#include "MoCatalog.h"

namespace vantrel::i18n {
namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Reads one or more adjacent C string literals at text[i]; false when there is none.
bool ReadLiterals(const std::string& text, std::size_t& i, std::string& out) {
  bool any = false;
  for (;;) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\r')) {
      ++i;
    }
    if (i >= text.size() || text[i] != '"') {
      return any;
    }
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) {
        const char escaped = text[++i];
        out += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
      } else {
        out += text[i];
      }
    }
    ++i;
    any = true;
  }
}

// The literal texts passed to the translating functions in one source text.
std::set<std::string> TranslatedLiterals(const std::string& text) {
  std::set<std::string> found;
  for (const char* function :
       {"TranslateText(", "Text(", "Cp1252(", "Translate(", "SourceText(", "Tr("}) {
    const std::string call = function;
    for (std::size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
      if (at > 0 && IsNameChar(text[at - 1])) {
        continue;  // another function whose name ends the same way
      }
      std::size_t i = at + call.size();
      std::string literal;
      if (ReadLiterals(text, i, literal)) {
        while (i < text.size() && text[i] == ' ') {
          ++i;
        }
        if (i < text.size() && text[i] == ')') {
          found.insert(literal);
        }
      }
    }
  }
  return found;
}

std::set<std::string> ProgramTexts() {
  std::set<std::string> texts;
  const std::filesystem::path root = VANTREL_SOURCE_DIR;
  for (const char* layer : {"engine", "widgets", "shell", "windows", "app", "report"}) {
    if (!std::filesystem::exists(root / layer)) {
      continue;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / layer)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".h") {
        continue;
      }
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      for (const std::string& found : TranslatedLiterals(text.str())) {
        texts.insert(found);
      }
    }
  }
  return texts;
}

class CompiledCatalog {
 public:
  explicit CompiledCatalog(const char* language)
      : bytes_(testing::ReadBytes(std::filesystem::path(VANTREL_CATALOG_DIR) /
                                  (std::string(language) + ".mo"))) {
    EXPECT_TRUE(MoCatalog::Read(bytes_, catalog_).IsOk()) << language;
  }
  const MoCatalog& Catalog() const { return catalog_; }

 private:
  std::vector<unsigned char> bytes_;
  MoCatalog catalog_;
};

TEST(CatalogCoverage, TheScannerFindsLiteralsOfEveryForm) {
  const std::set<std::string> found = TranslatedLiterals(
      "a(TranslateText(\"One\")); Tr(\"Two \"\n  \"parts\"); x.Translate(\"Three\\n\");"
      " translator.Cp1252( \"Four\" ); SourceText(\"Five\"); MyTr(\"no\"); TranslateText(name); "
      "Tr(\"a\" + b); services_.translator.Text(\"Six\"); SetText(\"no\");");
  EXPECT_EQ(found, (std::set<std::string>{"One", "Two parts", "Three\n", "Four", "Five", "Six"}));
}

TEST(CatalogCoverage, EveryTextOfTheSourcesIsInBothCatalogs) {
  const std::set<std::string> texts = ProgramTexts();
  ASSERT_GT(texts.size(), 60U) << "the scan of the sources found too little";
  // The Language menu names German and French in their own words, in every language.
  const std::set<std::string> unchanged = {"&Deutsch", "&Francais"};
  for (const char* language : {"de", "fr"}) {
    CompiledCatalog compiled(language);
    for (const std::string& text : texts) {
      if (unchanged.count(text) != 0) {
        continue;
      }
      EXPECT_TRUE(compiled.Catalog().Find(text))
          << "\"" << text << "\" has no entry in assets/po/" << language << ".po";
    }
  }
}

// The entries of a .po file as (msgid, msgstr), the header left out. The catalogs use
// single-form entries only.
std::vector<std::pair<std::string, std::string>> PoEntries(const std::string& language) {
  std::ifstream in(std::filesystem::path(VANTREL_SOURCE_DIR) / "assets/po" / (language + ".po"));
  std::vector<std::pair<std::string, std::string>> entries;
  std::string* into = nullptr;
  std::string line;
  const auto literal = [](const std::string& text, std::size_t from) {
    std::size_t i = text.find('"', from);
    std::string out;
    if (i != std::string::npos) {
      ReadLiterals(text, i, out);
    }
    return out;
  };
  while (std::getline(in, line)) {
    if (line.rfind("msgid ", 0) == 0) {
      entries.emplace_back(literal(line, 6), std::string());
      into = &entries.back().first;
    } else if (line.rfind("msgstr ", 0) == 0 && into != nullptr) {
      entries.back().second = literal(line, 7);
      into = &entries.back().second;
    } else if (line.rfind('"', 0) == 0 && into != nullptr) {
      *into += literal(line, 0);
    } else {
      into = nullptr;
    }
  }
  std::erase_if(entries, [](const auto& entry) { return entry.first.empty(); });
  return entries;
}

// What a translator writes in assets/po reaches the program unchanged through msgfmt and
// the catalog reader: accents, access keys and the blanks that join message pieces.
TEST(CatalogCoverage, CompiledCatalogsCarryEveryEntryOfTheirPoFile) {
  for (const char* language : {"de", "fr"}) {
    SCOPED_TRACE(language);
    CompiledCatalog compiled(language);
    EXPECT_TRUE(compiled.Catalog().HasUtf8Charset());
    const auto entries = PoEntries(language);
    ASSERT_GT(entries.size(), 60U) << "the .po file was not read";
    for (const auto& [english, translated] : entries) {
      SCOPED_TRACE(english);
      EXPECT_EQ(compiled.Catalog().Find(english).value_or("(none)"), translated);
    }
  }
}

// A message is assembled from pieces that carry their own blanks (" Matches out of "): a
// translation that drops one runs words together.
TEST(CatalogCoverage, TranslatedPiecesKeepTheBlanksOfTheirEnglishText) {
  for (const char* language : {"de", "fr"}) {
    SCOPED_TRACE(language);
    for (const auto& [english, translated] : PoEntries(language)) {
      if (translated.empty()) {
        continue;
      }
      SCOPED_TRACE(english);
      // A translation may add a blank where its word order moves a number elsewhere
      // (". Every other setting" becomes " nicht gelesen werden. ..."), never drop one.
      if (english.front() == ' ') {
        EXPECT_EQ(translated.front(), ' ') << translated;
      }
      if (english.back() == ' ') {
        EXPECT_EQ(translated.back(), ' ') << translated;
      }
    }
  }
}

// The menu's own names of the languages have no entry and never change.
TEST(CatalogCoverage, LanguageNamesStayInTheirOwnWords) {
  for (const char* language : {"de", "fr"}) {
    CompiledCatalog compiled(language);
    for (const char* unchanged : {"&Deutsch", "&Francais"}) {
      EXPECT_FALSE(compiled.Catalog().Find(unchanged)) << language << " " << unchanged;
    }
  }
}

}  // namespace
}  // namespace vantrel::i18n
