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

struct Kept {
  int prefix = 0;
  int leading = 0;
  int middle = 0;
  int toOrFor = 0;
  int trailing = 0;
};

Suggestion Keys(PlanKind kind, CodeKind code, bool country, Kept kept, int words, int leastCommon,
                bool name = false, int letteredPrefix = 0) {
  Suggestion s;
  s.plan.kind = kind;
  s.plan.code = code;
  s.plan.countryCode = country;
  s.prefixDigits = kept.prefix;
  s.leadingDigits = kept.leading;
  s.middleDigits = kept.middle;
  s.toOrFor = kept.toOrFor;
  s.trailingDigits = kept.trailing;
  s.rank.words = words;
  s.rank.letteredPrefix = letteredPrefix;
  s.leastCommon = leastCommon;
  s.withName = name;
  return s;
}

Suggestion Paired(Suggestion s) {
  s.pairs = 1;
  return s;
}

TEST(SuggestReason, EachKeySaysItsPartInEveryLanguage) {
  TranslationSetup setup = TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  ProgramTranslation translation(setup);
  const Translator translator(&translation.Instance());
  struct Case {
    Suggestion keys;
    const char* english;
    const char* german;
    const char* french;
  };
  using P = PlanKind;
  using C = CodeKind;
  const std::vector<Case> cases = {
      {Keys(P::kNorthAmerican, C::kArea, false, {3}, 1, kCommonWord),
       "area code kept, 1 word, common", "Vorwahl behalten, 1 Wort, g\xC3\xA4ngig",
       "indicatif conserv\xC3\xA9, 1 mot, courant"},
      {Keys(P::kNorthAmerican, C::kTollFree, true, {4, 0, 0, 0, 3}, 1, kCommonWord - 1),
       "country and toll-free code kept, end kept, 1 word, less common",
       "Landesvorwahl und geb\xC3\xBChrenfreie Vorwahl behalten, Ende behalten, 1 Wort, weniger "
       "g\xC3\xA4ngig",
       "indicatif pays et pr\xC3\xA9"
       "fixe de num\xC3\xA9ro vert conserv\xC3\xA9s, fin "
       "conserv\xC3\xA9"
       "e, 1 mot, moins courant"},
      {Keys(P::kGerman, C::kMobile, false, {4, 2, 2, 1}, 3, kFamiliarWord, true),
       "mobile code kept, digits kept before the words, digits between words, 2 or 4 read as to "
       "or for, 3 words, with a name",
       "Mobilfunkvorwahl behalten, Ziffern vor den W\xC3\xB6rtern behalten, Ziffern zwischen "
       "W\xC3\xB6rtern, 2 oder 4 als \xE2\x80\x9Eto\xE2\x80\x9C oder \xE2\x80\x9E"
       "for\xE2\x80\x9C gelesen, 3 W\xC3\xB6rter, mit Eigenname",
       "pr\xC3\xA9"
       "fixe mobile conserv\xC3\xA9, chiffres conserv\xC3\xA9s avant les mots, "
       "chiffres entre les mots, 2 ou 4 lu \xC2\xAB to \xC2\xBB ou \xC2\xAB for \xC2\xBB, 3 mots, "
       "avec un nom propre"},
      // Only 2s and 4s between the words: no plain digits between them.
      {Keys(P::kFrench, C::kService, true, {4, 0, 1, 1}, 2, kFamiliarWord - 1),
       "country and service code kept, 2 or 4 read as to or for, 2 words, rare", "", ""},
      {Keys(P::kNone, C::kNone, false, {3}, 2, kCommonWord),
       "digits kept at the start, 2 words, common",
       "Ziffern am Anfang behalten, 2 W\xC3\xB6rter, g\xC3\xA4ngig",
       "chiffres du d\xC3\xA9"
       "but conserv\xC3\xA9s, 2 mots, courant"},
      // A word over the prefix says so, whatever the rest of the prefix is.
      {Keys(P::kNorthAmerican, C::kArea, true, {2}, 2, kCommonWord, false, 2),
       "prefix in letters, 2 words, common",
       "Vorwahl in Buchstaben, 2 W\xC3\xB6rter, g\xC3\xA4ngig",
       "pr\xC3\xA9"
       "fixe en lettres, 2 mots, courant"},
      {Keys(P::kNorthAmerican, C::kNone, true, {1}, 1, kCommonWord),
       "country code kept, 1 word, common", "Landesvorwahl behalten, 1 Wort, g\xC3\xA4ngig",
       "indicatif pays conserv\xC3\xA9, 1 mot, courant"},
      {Keys(P::kNorthAmerican, C::kNone, false, {}, 2, kRareWord), "2 words, rare",
       "2 W\xC3\xB6rter, selten", "2 mots, rare"},
      {Paired(Keys(P::kNorthAmerican, C::kTollFree, true, {4}, 2, kCommonWord)),
       "country and toll-free code kept, 2 words, words that go together, common",
       "Landesvorwahl und geb\xC3\xBChrenfreie Vorwahl behalten, 2 W\xC3\xB6rter, "
       "h\xC3\xA4ufige Wortverbindung, g\xC3\xA4ngig",
       "indicatif pays et pr\xC3\xA9"
       "fixe de num\xC3\xA9ro vert conserv\xC3\xA9s, 2 mots, mots qui vont ensemble, courant"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.english);
    translation.Instance().SelectLanguage("en_US");
    EXPECT_EQ(SuggestionReason(c.keys, translator), QString::fromUtf8(c.english));
    if (*c.german == '\0') {
      continue;
    }
    translation.Instance().SelectLanguage("de_DE");
    EXPECT_EQ(SuggestionReason(c.keys, translator), QString::fromUtf8(c.german));
    translation.Instance().SelectLanguage("fr_FR");
    EXPECT_EQ(SuggestionReason(c.keys, translator), QString::fromUtf8(c.french));
  }
}

}  // namespace
}  // namespace vantrel::i18n
