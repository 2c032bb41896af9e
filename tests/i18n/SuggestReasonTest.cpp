// SPDX-License-Identifier: GPL-3.0-or-later
// The reason the suggestions window gives for each suggestion, in the three languages of
// the program's catalogs.

#include <gtest/gtest.h>

#include <memory>

#include "QtCatalogs.h"
#include "Suggest.h"
#include "SuggestWindow.h"

namespace vantrel::i18n {
namespace {

Suggestion Keys(int leading, int middle, int trailing, int words, int mostRare) {
  Suggestion s;
  s.middleDigits = middle;
  s.trailingDigits = trailing;
  s.keptDigits = leading + middle + trailing;
  s.words = words;
  s.mostRare = mostRare;
  return s;
}

TEST(SuggestReason, EachKeySaysItsPartInEveryLanguage) {
  TranslationSetup setup = TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  ProgramTranslation translation(setup);
  struct Case {
    Suggestion keys;
    const char* english;
    const char* german;
    const char* french;
  };
  const std::vector<Case> cases = {
      {Keys(4, 0, 0, 1, 0), "area code kept, 1 word, common", "Vorwahl behalten, 1 Wort, gängig",
       "indicatif conservé, 1 mot, courant"},
      {Keys(0, 0, 3, 1, 2), "end kept, 1 word, less common",
       "Ende behalten, 1 Wort, weniger gängig", "fin conservée, 1 mot, moins courant"},
      {Keys(2, 1, 0, 3, kNameRarity), "area code kept, digits between words, 3 words, with a name",
       "Vorwahl behalten, Ziffern zwischen Wörtern, 3 Wörter, mit Eigenname",
       "indicatif conservé, chiffres entre les mots, 3 mots, avec un nom propre"},
      {Keys(0, 0, 0, 2, 3), "2 words, rare", "2 Wörter, selten", "2 mots, rare"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.english);
    translation.Instance().SelectLanguage("en_US");
    EXPECT_EQ(SuggestionReason(c.keys), QString::fromUtf8(c.english));
    translation.Instance().SelectLanguage("de_DE");
    EXPECT_EQ(SuggestionReason(c.keys), QString::fromUtf8(c.german));
    translation.Instance().SelectLanguage("fr_FR");
    EXPECT_EQ(SuggestionReason(c.keys), QString::fromUtf8(c.french));
  }
}

}  // namespace
}  // namespace vantrel::i18n
