// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts through the catalog, the windows' TranslateText, and every window built
// in German and in French with no text missing from the catalogs.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <set>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "AllWindows.h"
#include "CatalogsUtf8.h"
#include "I18nTesting.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "QtCatalogs.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "TestPanel.h"
#include "Texts.h"
#include "Translator.h"
#include "WindowTranslation.h"

namespace vantrel {
namespace {

// This test program carries the catalogs as vantrel does.
std::unique_ptr<i18n::ProgramTranslation> StartTranslation() {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  return std::make_unique<i18n::ProgramTranslation>(setup);
}

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton which) {
  QAbstractButton* button = box.button(which);
  return button != nullptr ? button->text() : QStringLiteral("(none)");
}

TEST(QtTexts, MessageBoxButtonsSpeakTheCurrentLanguage) {
  auto translation = StartTranslation();
  struct Row {
    const char* code;
    const char* yes;
    const char* no;
    const char* cancel;
  };
  for (const Row& row :
       {Row{"de_DE", "&Ja", "&Nein", "Abbrechen"}, Row{"fr_FR", "Oui", "Non", "Annuler"},
        Row{"en_US", "&Yes", "&No", "Cancel"}, Row{"es_ES", "&Yes", "&No", "Cancel"}}) {
    SCOPED_TRACE(row.code);
    translation->Instance().SelectLanguage(row.code);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vantrel"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(ButtonText(box, QMessageBox::Yes), QString::fromUtf8(row.yes));
    EXPECT_EQ(ButtonText(box, QMessageBox::No), QString::fromUtf8(row.no));
    EXPECT_EQ(ButtonText(box, QMessageBox::Cancel), QString::fromUtf8(row.cancel));
    QMessageBox ok(QMessageBox::Warning, QStringLiteral("Vantrel"), QStringLiteral("!"),
                   QMessageBox::Ok);
    EXPECT_EQ(ButtonText(ok, QMessageBox::Ok), QStringLiteral("OK"));
  }
}

// Qt asks under contexts of its own; what Qt's catalogs lack, the program's catalog answers
// by the source text alone. (Here without Qt's catalogs, so that only the program's speaks.)
TEST(QtTexts, AnyContextIsTranslatedBySourceText) {
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  i18n::ProgramTranslation translation(setup, QString());
  translation.Instance().SelectLanguage("de_DE");
  for (const char* context : {"QPlatformTheme", "QGnomeTheme", "QFileDialog", "Whatever"}) {
    SCOPED_TRACE(context);
    EXPECT_EQ(QCoreApplication::translate(context, "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QCoreApplication::translate(context, "Open Dictionary"),
              QStringLiteral("Wörterbuch öffnen"));
    EXPECT_EQ(QCoreApplication::translate(context, "No such text"), QStringLiteral("No such text"));
  }
}

TEST(QtTexts, TheWindowsTranslatorFollowsTheProgramsTranslation) {
  Translator translator;
  EXPECT_EQ(translator.Text("Candidate Word"), QStringLiteral("Candidate Word"));  // none yet
  EXPECT_EQ(TranslateText("Candidate Word"), QStringLiteral("Candidate Word"));
  {
    auto translation = StartTranslation();
    QStringList told;
    QObject::connect(&translator, &Translator::LanguageChanged,
                     [&told](const QString& language) { told << language; });
    EXPECT_EQ(translator.SelectLanguage(QStringLiteral("de_DE")), QStringLiteral("de_DE"));
    EXPECT_EQ(translator.Text("Candidate Word"), QStringLiteral("Beispielwort"));
    // The texts of code without a window at hand speak the windows' language.
    EXPECT_EQ(TranslateText("Candidate Word"), QStringLiteral("Beispielwort"));
    EXPECT_EQ(translator.Cp1252("Selected Word"), "Ausgew\xE4hltes Wort");
    const Message entry{Tr("Entry Can Not Exceed "), Lit("30"), Tr(" Characters")};
    EXPECT_EQ(translator.Message(entry),
              QStringLiteral("Die Eingabe darf nicht länger sein als 30 Zeichen"));
    EXPECT_EQ(TranslateMessage(entry), translator.Message(entry));
    EXPECT_EQ(translator.SelectLanguage(QStringLiteral("fr_FR")), QStringLiteral("fr_FR"));
    EXPECT_EQ(translator.Text("Represents"), QStringLiteral("Représente"));
    EXPECT_EQ(translator.Language(), QStringLiteral("fr_FR"));
    EXPECT_EQ(told, (QStringList{QStringLiteral("de_DE"), QStringLiteral("fr_FR")}));

    // A translator of the instance it is given speaks that instance's language.
    Translator own(&translation->Instance());
    EXPECT_EQ(own.Language(), QStringLiteral("fr_FR"));
    EXPECT_EQ(own.SelectLanguage(QStringLiteral("de_DE")), QStringLiteral("de_DE"));
    EXPECT_EQ(own.Text("Represents"), QStringLiteral("stellt dar"));
    EXPECT_EQ(told.size(), 2) << "each translator tells its own windows";

    // A window it translates speaks its instance's language too, whatever the program's
    // translation speaks.
    i18n::TTranslationInstance other(i18n::TTranslationInstance::ForThisProgram());
    other.SelectLanguage("fr_FR");
    Translator french(&other);
    QLabel label(SourceText("Represents"));
    french.Window(label);
    EXPECT_EQ(label.text(), QStringLiteral("Représente"));
    EXPECT_EQ(translator.Language(), QStringLiteral("de_DE"));
  }
  EXPECT_EQ(translator.Text("Represents"), QStringLiteral("Represents"));  // gone with it
}

TEST(QtTexts, ACatalogThatCannotBeUsedIsReportedOnceAndTextsStayEnglish) {
  i18n::testing::TempFolder folder;
  const std::filesystem::path program = folder.Path() / "prog";
  i18n::testing::WriteBytes(program, i18n::testing::FakeProgram());
  i18n::testing::WriteText(folder.Path() / "locale/de/LC_MESSAGES/default.mo", "garbage");
  // Without Qt's catalogs, which would give Qt's texts in German by themselves.
  i18n::ProgramTranslation translation(i18n::TranslationSetup{program.string(), 0, {}}, QString());
  std::vector<std::string> told;
  i18n::SetCatalogErrorHandler(
      [&](const i18n::CatalogError& error) { told.push_back(error.what()); });
  translation.Instance().SelectLanguage("de_DE");
  EXPECT_EQ(TranslateText("Cancel"), QStringLiteral("Cancel"));
  EXPECT_EQ(TranslateText("Copy"), QStringLiteral("Copy"));
  QMessageBox box(QMessageBox::Question, QStringLiteral("Vantrel"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(ButtonText(box, QMessageBox::Yes), QStringLiteral("&Yes"));
  i18n::SetCatalogErrorHandler({});
  ASSERT_EQ(told.size(), 1U);
  EXPECT_EQ(told[0], "This file is not a valid GNU gettext mo file: " +
                         (folder.Path() / "locale/de/LC_MESSAGES/default.mo").string());
}

TEST(QtTexts, ASecondCatalogOfTheSameNameInTheArchiveIsReported) {
  i18n::testing::TempFolder folder;
  std::vector<unsigned char> image = i18n::testing::FakeProgram();
  ASSERT_TRUE(tools::AppendCatalogArchive(image,
                                          {{"locale\\de\\LC_MESSAGES\\default.mo", {'a'}},
                                           {"LOCALE\\DE\\LC_MESSAGES\\default.mo", {'b'}}},
                                          false)
                  .status.IsOk());
  const std::filesystem::path program = folder.Path() / "prog-with-twins";
  i18n::testing::WriteBytes(program, image);
  std::vector<std::string> told;
  i18n::SetCatalogErrorHandler(
      [&](const i18n::CatalogError& error) { told.push_back(error.what()); });
  {
    i18n::ProgramTranslation translation(
        i18n::TranslationSetup{program.string(), i18n::testing::IndexOffsetOf(image), {}});
  }
  i18n::SetCatalogErrorHandler({});
  EXPECT_EQ(told,
            std::vector<std::string>{"The catalog archive holds more than one file named "
                                     "LOCALE\\DE\\LC_MESSAGES\\default.mo; the first one is used"});
}

// The English texts the windows were built with, as their translation kept them, and
// those of them that the catalog of the current language does not hold.
struct WindowTexts {
  std::set<std::string> all;
  std::set<std::string> missing;
};

WindowTexts TextsMissingFromTheCatalog(QObject& windows, i18n::TDomain& catalog) {
  WindowTexts texts;
  auto check = [&](const QString& text) {
    const std::string key = i18n::WithoutCarriageReturns(text.toStdString());
    std::string translated;
    if (key.empty()) {
      return;
    }
    texts.all.insert(key);
    if (catalog.LookupInto(key, translated) == i18n::TDomain::Found::kNo) {
      texts.missing.insert(key);
    }
  };
  for (i18n::TTranslationMarker* marker : windows.findChildren<i18n::TTranslationMarker*>()) {
    for (const i18n::TRetranslatorItem& item : marker->Retranslator().Items()) {
      if (item.itemList) {
        for (const QString& line : item.sourceLines) {
          check(line);
        }
      } else {
        check(item.source);
      }
    }
  }
  return texts;
}

TEST(QtTexts, EveryWindowBuildsInGermanAndFrenchWithoutATextMissingFromTheCatalogs) {
  auto translation = StartTranslation();
  for (const char* code : {"de_DE", "fr_FR"}) {
    SCOPED_TRACE(code);
    qputenv("LANG", code);
    translation->Instance().SelectLanguage(code);
    AllWindows windows;
    EXPECT_EQ(windows.form->CurrentLanguage(), QString::fromLatin1(code));
    EXPECT_EQ(windows.affix->windowTitle(),
              windows.translator.Text("Vantrel - Correct Root Word Spelling"));
    EXPECT_NE(windows.affix->windowTitle(), QStringLiteral("Vantrel - Correct Root Word Spelling"));
    i18n::TDomain& catalog = translation->Instance().Domain("default");
    ASSERT_EQ(catalog.CurrentState(), i18n::TDomain::State::kOpen);
    const WindowTexts texts = TextsMissingFromTheCatalog(*windows.form, catalog);
    // The windows' own texts, from the main window's menu to the lookup window's buttons.
    EXPECT_GT(texts.all.size(), 60U);
    EXPECT_EQ(texts.all.count("&Language"), 1U);
    EXPECT_EQ(texts.all.count("Vantrel - Correct Root Word Spelling"), 1U);
    std::set<std::string> missing = texts.missing;
    // The Language menu names German and French in their own words, in every language.
    missing.erase("&Deutsch");
    missing.erase("&Francais");
    for (const std::string& text : missing) {
      ADD_FAILURE() << "\"" << text << "\" has no entry in the " << code << " catalog";
    }
  }
  qputenv("LANG", "en_US.UTF-8");
}

TEST(QtTexts, TheStoredLanguageBecomesTheCatalogsLanguageAtTheMainWindowsCreation) {
  qputenv("LANG", "de_DE.UTF-8");
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  struct Row {
    const char* stored;
    const char* language;
    const char* aboutTitle;
  };
  for (const Row& row :
       {Row{"fr_FR", "fr_FR", "À propos de Vantrel"}, Row{"en_US", "en_US", "About Vantrel"},
        Row{"", "de_DE", "Über Vantrel"}}) {
    SCOPED_TRACE(row.stored);
    i18n::ProgramTranslation translation(setup);  // a run of its own
    ASSERT_EQ(Translator().Language(), QStringLiteral("de_DE"));
    AllWindows windows(QString::fromUtf8(row.stored));
    EXPECT_EQ(windows.form->CurrentLanguage(), QString::fromUtf8(row.language));
    EXPECT_EQ(windows.translator.Language(), QString::fromUtf8(row.language));
    // The windows created after the main window speak that language.
    EXPECT_EQ(windows.about->windowTitle(), QString::fromUtf8(row.aboutTitle));
  }
  qputenv("LANG", "en_US.UTF-8");
}

}  // namespace
}  // namespace vantrel
