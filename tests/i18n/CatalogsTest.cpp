// SPDX-License-Identifier: GPL-3.0-or-later
// The translation instance: where catalogs are found, the language choice, the lookup with
// its line ends, and every failure of a catalog that cannot be used.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "Catalogs.h"
#include "I18nTesting.h"

namespace vantrel::i18n {
namespace {

using testing::FakeProgram;
using testing::IndexOffsetOf;
using testing::Msgfmt;
using testing::PoText;
using testing::TempFolder;
using testing::WriteBytes;

// A program folder: bin/prog carrying an archive of the given catalogs, nothing on disk.
class CatalogsTest : public ::testing::Test {
 protected:
  std::vector<unsigned char> Catalog(const std::vector<std::pair<std::string, std::string>>& m,
                                     const std::string& charset = "UTF-8") {
    return Msgfmt(folder.Path(), PoText(m, charset));
  }

  void MakeProgram(const std::vector<tools::ArchiveFile>& files) {
    std::vector<unsigned char> image = FakeProgram();
    ASSERT_TRUE(tools::AppendCatalogArchive(image, files, false).status.IsOk());
    indexOffset = files.empty() ? 0 : IndexOffsetOf(image);
    WriteBytes(program, image);
  }

  std::unique_ptr<TTranslationInstance> Start(std::string lang = "C", std::string locale = {},
                                              FileCalls& calls = FileCalls::Real()) {
    LanguageSources sources;
    sources.environment = [lang] { return lang; };
    sources.userLocale = [locale] { return locale; };
    return std::make_unique<TTranslationInstance>(
        TranslationSetup{program.string(), indexOffset, sources, &calls});
  }

  std::filesystem::path OnDisk(const std::string& language) const {
    return folder.Path() / "bin" / "locale" / language / "LC_MESSAGES" / "default.mo";
  }

  TempFolder folder;
  std::filesystem::path program = folder.Path() / "bin" / "prog";
  std::uint64_t indexOffset = 0;
};

TEST_F(CatalogsTest, ArchivedCatalogsAreFoundByLanguageAndTerritoryOrLanguageAlone) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Cancel", "Abbrechen"}})},
               {"locale\\fr\\LC_MESSAGES\\Default.mo", Catalog({{"Cancel", "Annuler"}})}});
  auto instance = Start();
  struct Row {
    const char* code;
    const char* cancel;
  };
  // Archive names are compared without regard to case, so "DE" finds "de" there.
  for (const Row& row :
       {Row{"de_DE", "Abbrechen"}, Row{"de_AT", "Abbrechen"}, Row{"de", "Abbrechen"},
        Row{"fr_FR", "Annuler"}, Row{"fr_CA", "Annuler"}, Row{"en_US", "Cancel"},
        Row{"es_ES", "Cancel"}, Row{"C", "Cancel"}, Row{"", "Cancel"}, Row{"DE_de", "Abbrechen"}}) {
    SCOPED_TRACE(row.code);
    instance->SelectLanguage(row.code);
    EXPECT_EQ(instance->TranslateText("Cancel"), row.cancel);
    EXPECT_EQ(instance->TranslateText("Not in any catalog"), "Not in any catalog");
  }
}

TEST_F(CatalogsTest, AutomaticAustrianGermanUsesTheGermanCatalog) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Represents", "stellt dar"}})}});
  auto instance = Start("", "de_AT");
  EXPECT_EQ(instance->CurrentLanguage(), "de_AT");
  EXPECT_EQ(instance->TranslateText("Represents"), "stellt dar");
  EXPECT_TRUE(instance->Domain("default").FromArchive());
}

TEST_F(CatalogsTest, TheArchiveBeatsAFileOfTheSameNameOnDisk) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Copy", "Kopieren"}})}});
  WriteBytes(OnDisk("de"), Catalog({{"Copy", "from disk"}}));
  WriteBytes(OnDisk("fr"), Catalog({{"Copy", "Copier"}}));
  auto instance = Start();
  instance->SelectLanguage("de_DE");
  EXPECT_EQ(instance->TranslateText("Copy"), "Kopieren");
  // A language the archive lacks comes from disk.
  instance->SelectLanguage("fr_FR");
  EXPECT_EQ(instance->TranslateText("Copy"), "Copier");
  EXPECT_FALSE(instance->Domain("default").FromArchive());
  EXPECT_EQ(instance->Domain("default").CatalogPath(), OnDisk("fr").string());
}

TEST_F(CatalogsTest, ALanguageWithoutCatalogIsProbedOnceAndSaysNothing) {
  MakeProgram({});
  auto instance = Start();
  instance->SelectLanguage("es_ES");
  EXPECT_EQ(instance->TranslateText("Cancel"), "Cancel");
  TDomain& domain = instance->Domain("default");
  EXPECT_EQ(domain.CurrentState(), TDomain::State::kNoneFound);
  WriteBytes(OnDisk("es"), Catalog({{"Cancel", "Cancelar"}}));
  EXPECT_EQ(instance->TranslateText("Cancel"), "Cancel");  // not probed again
  EXPECT_EQ(domain.CurrentState(), TDomain::State::kNoneFound);
  instance->SelectLanguage("es_ES");
  EXPECT_EQ(instance->TranslateText("Cancel"), "Cancelar");
  EXPECT_EQ(instance->TranslateText("Copy"), "Copy");
  // The catalog now open answers for what it holds and only for that.
  std::string found;
  EXPECT_EQ(domain.LookupInto("Copy", found), TDomain::Found::kNo);
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(domain.LookupInto("Cancel", found), TDomain::Found::kYes);
  EXPECT_EQ(found, "Cancelar");
}

TEST_F(CatalogsTest, CarriageReturnsAreDroppedFromKeysAndAddedToTranslations) {
  MakeProgram(
      {{"locale\\de\\LC_MESSAGES\\default.mo",
        Catalog({{"Line one\\nLine two", "Zeile eins\\nZeile zwei"}, {"Ends\\n", "Endet\\n"}})}});
  auto instance = Start("de_DE");
  EXPECT_EQ(instance->TranslateText("Line one\r\nLine two"), "Zeile eins\r\nZeile zwei");
  EXPECT_EQ(instance->TranslateText("Line one\nLine two"), "Zeile eins\r\nZeile zwei");
  EXPECT_EQ(instance->TranslateText("Ends\r\n"), "Endet\r\n");
  EXPECT_EQ(instance->TranslateText("Not\nfound"), "Not\r\nfound");
  EXPECT_EQ(instance->TranslateText(""), "");  // never the catalog's header
}

TEST_F(CatalogsTest, DisabledTranslationReturnsTextsUnchanged) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Copy", "Kopieren"}})}});
  auto instance = Start("de_DE");
  instance->SetEnabled(false);
  EXPECT_EQ(instance->TranslateText("Copy"), "Copy");
  EXPECT_FALSE(instance->TranslateResourceText("Copy"));
  instance->SetEnabled(true);
  EXPECT_EQ(instance->TranslateText("Copy"), "Kopieren");
}

TEST_F(CatalogsTest, ResourceTextsGiveOnlyTranslationsThatDiffer) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"&Yes", "&Ja"}, {"OK", "OK"}})}});
  auto instance = Start("de_DE");
  EXPECT_EQ(instance->TranslateResourceText("&Yes"), "&Ja");
  EXPECT_FALSE(instance->TranslateResourceText("OK"));
  EXPECT_FALSE(instance->TranslateResourceText("Save"));
}

void ExpectError(TTranslationInstance& instance, StatusCode code, const std::string& message) {
  try {
    instance.TranslateText("Copy");
    ADD_FAILURE() << "no error";
  } catch (const CatalogError& error) {
    EXPECT_EQ(error.Failure(), Status(code, message));
    EXPECT_EQ(error.what(), message);
  }
}

TEST_F(CatalogsTest, CatalogsThatCannotBeUsedRaiseThePartsMessagesAndAreTriedAgain) {
  MakeProgram({});
  auto instance = Start("de_DE");
  const std::string path = OnDisk("de").string();

  WriteBytes(OnDisk("de"), {'n', 'o', 't', ' ', 'a', ' ', 'c', 'a', 't', 'a', 'l', 'o', 'g'});
  ExpectError(*instance, StatusCode::kMalformed,
              "This file is not a valid GNU gettext mo file: " + path);
  EXPECT_EQ(instance->Domain("default").CurrentState(), TDomain::State::kClosedMayOpen);

  WriteBytes(OnDisk("de"), {});
  ExpectError(*instance, StatusCode::kMalformed,
              "This file is not a valid GNU gettext mo file: " + path);

  WriteBytes(OnDisk("de"), Catalog({{"Copy", "Kopieren"}}, "ISO-8859-1"));
  ExpectError(*instance, StatusCode::kMalformed,
              "The translation for the language code de_DE (in " + path +
                  ") does not have charset=utf-8 in its Content-Type. Translations are turned "
                  "off.");
  EXPECT_EQ(instance->Domain("default").CurrentState(), TDomain::State::kClosedMayOpen);

  std::filesystem::remove(OnDisk("de"));
  std::filesystem::create_directories(OnDisk("de"));  // a folder where the file should be
  ExpectError(*instance, StatusCode::kCannotOpen, "Cannot open file " + path);
  std::filesystem::remove(OnDisk("de"));

  // A FIFO that nobody writes: the open does not wait for a writer.
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  ExpectError(*instance, StatusCode::kCannotOpen, "Cannot open file " + path);
  std::filesystem::remove(OnDisk("de"));

  // Repaired, the catalog opens at the next lookup.
  WriteBytes(OnDisk("de"), Catalog({{"Copy", "Kopieren"}}));
  EXPECT_EQ(instance->TranslateText("Copy"), "Kopieren");
}

// The real reads, at most `piece` bytes at a time, failing with an I/O error once `budget`
// bytes have been read.
class FailingReads final : public FileCalls {
 public:
  std::size_t piece = 1 << 20;
  std::size_t budget = static_cast<std::size_t>(-1);

  ssize_t ReadAt(int fd, void* data, std::size_t size, off_t offset) override {
    if (budget == 0) {
      errno = EIO;
      return -1;
    }
    const std::size_t n = std::min({size, piece, budget});
    const ssize_t got = FileCalls::ReadAt(fd, data, n, offset);
    budget -= got > 0 ? static_cast<std::size_t>(got) : 0;
    return got;
  }
};

TEST_F(CatalogsTest, ACatalogWhoseReadFailsPartWayIsNotUsedAndIsTriedAgain) {
  MakeProgram({{"locale\\fr\\LC_MESSAGES\\default.mo", Catalog({{"Copy", "Copier"}})}});
  WriteBytes(OnDisk("de"), Catalog({{"Copy", "Kopieren"}}));
  struct Row {
    const char* name;
    const char* language;
    std::string path;  // the catalog's name in the message
    const char* copy;
  } rows[] = {
      {"on disk", "de_DE", OnDisk("de").string(), "Kopieren"},
      {"in the archive", "fr_FR", OnDisk("fr").string(), "Copier"},
  };
  for (const Row& row : rows) {
    for (const std::size_t failAfter : {std::size_t{0}, std::size_t{1}, std::size_t{25}}) {
      SCOPED_TRACE(std::string(row.name) + ", failing after " + std::to_string(failAfter));
      FailingReads calls;
      calls.piece = 4;
      auto instance = Start(row.language, {}, calls);
      calls.budget = failAfter;  // the archive's index was read whole
      try {
        instance->TranslateText("Copy");
        ADD_FAILURE() << "no error";
      } catch (const CatalogError& error) {
        EXPECT_EQ(error.Failure().Code(), StatusCode::kReadFailed);
        EXPECT_EQ(error.what(),
                  "Cannot map file " + row.path + " into memory. Reason: Input/output error");
      }
      TDomain& domain = instance->Domain("default");
      EXPECT_EQ(domain.CurrentState(), TDomain::State::kClosedMayOpen);
      EXPECT_EQ(domain.CatalogPath(), "");
      // Read in pieces of four bytes to the end, the same catalog is used whole.
      calls.budget = static_cast<std::size_t>(-1);
      EXPECT_EQ(instance->TranslateText("Copy"), row.copy);
      EXPECT_EQ(domain.CurrentState(), TDomain::State::kOpen);
    }
  }
}

TEST_F(CatalogsTest, ATranslationThatIsNotUtf8RaisesAndTheCatalogStaysOpen) {
  std::vector<unsigned char> bytes = Catalog({{"Copy", "Kopieren"}, {"Left", "Links"}});
  const std::string good = "Kopieren";
  auto at = std::search(bytes.begin(), bytes.end(), good.begin(), good.end());
  ASSERT_NE(at, bytes.end());
  at[1] = 0xC3;  // a lead byte followed by a plain letter
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", bytes}});
  auto instance = Start("de_DE");
  ExpectError(*instance, StatusCode::kMalformed,
              "Error: Could not translate Copy. Probably because the mo file doesn't contain "
              "utf-8 encoded translations.");
  EXPECT_EQ(instance->Domain("default").CurrentState(), TDomain::State::kOpen);
  EXPECT_EQ(instance->TranslateText("Left"), "Links");
}

TEST_F(CatalogsTest, AnArchiveEntryPastTheEndOfTheChangedExecutableIsRefused) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Copy", "Kopieren"}})}});
  auto instance = Start("de_DE");
  std::filesystem::resize_file(program, 200);  // the executable was replaced meanwhile
  ExpectError(*instance, StatusCode::kMalformed,
              "This file is not a valid GNU gettext mo file: " +
                  (folder.Path() / "bin" / "locale/de/LC_MESSAGES/default.mo").string());
}

TEST(LanguageChoice, AutomaticChoiceTakesLangThenLocaleThenWindowsIdentifier) {
  struct Row {
    const char* name;
    std::string lang;
    std::string locale;
    std::optional<std::uint16_t> id;
    std::string code;
  };
  const std::string longLang(1000, 'x');
  for (const Row& row : {
           Row{"LANG with charset", "de_DE.UTF-8", "fr_FR", 1036, "de_DE"},
           Row{"LANG with modifier", "fr_FR@euro", "", std::nullopt, "fr_FR@euro"},
           Row{"LANG C", "C", "de_DE", std::nullopt, "C"},
           Row{"LANG C.UTF-8", "C.UTF-8", "", std::nullopt, "C"},
           Row{"locale", "", "de_AT", 1031, "de_AT"},
           Row{"locale not ll_CC", "", "deu", 1036, "fr_FR"},
           Row{"locale lower territory", "", "de_at", 3082, "es_ES"},
           Row{"identifier", "", "", 2060, "fr_BE"},
           Row{"unknown identifier", "", "", 9999, "C"},
           Row{"nothing", "", "", std::nullopt, "C"},
           Row{"LANG longer than 900", longLang + ".UTF-8", "", std::nullopt, longLang},
       }) {
    SCOPED_TRACE(row.name);
    LanguageSources sources;
    sources.environment = [&] { return row.lang; };
    sources.userLocale = [&] { return row.locale; };
    sources.windowsLanguageId = [&] { return row.id; };
    EXPECT_EQ(AutomaticLanguage(sources), row.code);
  }
  EXPECT_EQ(AutomaticLanguage(LanguageSources{}), "C");
}

TEST(LanguageChoice, WindowsLanguageIdentifiers) {
  const std::vector<std::pair<std::uint16_t, const char*>> table = {
      {1030, "da_DK"}, {1031, "de_DE"}, {1032, "gr_GR"}, {1033, "en_US"}, {1034, "es_ES"},
      {3082, "es_ES"}, {1035, "fi_FI"}, {1036, "fr_FR"}, {1039, "is_IS"}, {1040, "it_IT"},
      {1042, "ko_KO"}, {1043, "nl_NL"}, {1044, "no_NO"}, {1045, "pl_PL"}, {1046, "pt_BR"},
      {1049, "ru_RU"}, {1053, "sv_SE"}, {2057, "en_UK"}, {2060, "fr_BE"}, {2067, "nl_BE"},
      {2068, "nn_NO"}, {2070, "pt_PT"}, {2077, "fi_SE"}, {3084, "fr_CA"}, {4103, "de_LU"},
      {0, "C"},        {1041, "C"},     {3081, "C"},     {65535, "C"}};
  for (const auto& [id, code] : table) {
    SCOPED_TRACE(id);
    EXPECT_EQ(LanguageFromWindowsId(id), code);
  }
}

TEST_F(CatalogsTest, ALangLongerThan900CharactersStaysEnglish) {
  MakeProgram({{"locale\\de\\LC_MESSAGES\\default.mo", Catalog({{"Copy", "Kopieren"}})}});
  auto instance = Start(std::string(950, 'q') + ".UTF-8");
  EXPECT_EQ(instance->CurrentLanguage(), std::string(950, 'q'));
  EXPECT_EQ(instance->TranslateText("Copy"), "Copy");
}

TEST_F(CatalogsTest, SelectLanguageKeepsAGivenCodeAsItIs) {
  MakeProgram({});
  auto instance = Start();
  instance->SelectLanguage("de_DE.UTF-8");
  EXPECT_EQ(instance->CurrentLanguage(), "de_DE.UTF-8");
  instance->SelectLanguage("");
  EXPECT_EQ(instance->CurrentLanguage(), "C");
}

}  // namespace
}  // namespace vantrel::i18n
