// SPDX-License-Identifier: GPL-3.0-or-later
// Every English text that the program's sources hand to the catalog has an entry in the
// German and in the French catalog, and the catalogs carry the agreed translations.
//
// The sources are scanned for string literals passed to TranslateText, TranslateTextCp1252,
// the windows' Translate, SourceText (a window's English texts) and the engine's Tr (message
// pieces). Texts that reach TranslateText or a window through a variable are caught by the
// window suite, which builds every window with a catalog installed.

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
       {"TranslateText(", "TranslateTextCp1252(", "Translate(", "SourceText(", "Tr("}) {
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
    EXPECT_EQ(TMoCatalog::Read(bytes_, catalog_), TMoCatalog::Status::Ok) << language;
  }
  const TMoCatalog& Catalog() const { return catalog_; }

 private:
  std::vector<unsigned char> bytes_;
  TMoCatalog catalog_;
};

TEST(CatalogCoverage, TheScannerFindsLiteralsOfEveryForm) {
  const std::set<std::string> found = TranslatedLiterals(
      "a(TranslateText(\"One\")); Tr(\"Two \"\n  \"parts\"); x.Translate(\"Three\\n\");"
      " TranslateTextCp1252( \"Four\" ); SourceText(\"Five\"); MyTr(\"no\"); TranslateText(name); "
      "Tr(\"a\" + b);");
  EXPECT_EQ(found, (std::set<std::string>{"One", "Two parts", "Three\n", "Four", "Five"}));
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

TEST(CatalogCoverage, CatalogsCarryTheAgreedTranslations) {
  struct Row {
    const char* english;
    const char* german;
    const char* french;
  };
  CompiledCatalog german("de");
  CompiledCatalog french("fr");
  EXPECT_TRUE(german.Catalog().HasUtf8Charset());
  EXPECT_TRUE(french.Catalog().HasUtf8Charset());
  for (const Row& row : {
           Row{"Candidate Word", "Beispielwort", "Mot candidat"},
           Row{"Represents", "stellt dar", "Représente"},
           Row{"Selected Word", "Ausgewähltes Wort", "Mot selectionné"},
           Row{"&Language", "&Sprache", "Langue"},
           Row{"&English", "&Englisch", "&English"},
           Row{" Matches out of ", " Treffer aus ", " assortiments de "},
           Row{" secs", " Sekunden", " secondes"},
           Row{"No Dictionary Open", "Kein Verzeichnis geöffnet", "N'ouvrir aucun dictionnaire"},
           Row{"&Yes", "&Ja", "Oui"},
           Row{"&No", "&Nein", "Non"},
           Row{"Cancel", "Abbrechen", "Annuler"},
           Row{"OK", "OK", "OK"},
       }) {
    SCOPED_TRACE(row.english);
    EXPECT_EQ(german.Catalog().Find(row.english).value_or("(none)"), row.german);
    EXPECT_EQ(french.Catalog().Find(row.english).value_or("(none)"), row.french);
  }
  // The menu's own names of the languages have no entry and never change.
  for (const char* unchanged : {"&Deutsch", "&Francais"}) {
    EXPECT_FALSE(german.Catalog().Find(unchanged));
    EXPECT_FALSE(french.Catalog().Find(unchanged));
  }
}

}  // namespace
}  // namespace vantrel::i18n
