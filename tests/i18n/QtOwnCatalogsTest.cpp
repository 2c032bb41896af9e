// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in the program's language from Qt's own catalogs (qtbase_de.qm,
// qtbase_fr.qm), whatever LANG says; the program's catalog only where Qt's has nothing; and
// English Qt texts on a system without Qt's catalogs.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <memory>

#include "Dialogs.h"
#include "QtCatalogs.h"

namespace vantrel {
namespace {

bool QtCatalogsInstalled() {
  return QFile::exists(i18n::QtTranslationsFolder() + QStringLiteral("/qtbase_de.qm")) &&
         QFile::exists(i18n::QtTranslationsFolder() + QStringLiteral("/qtbase_fr.qm"));
}

// A run whose language comes from LANG, as a fresh start's does, with Qt's catalogs from
// qtFolder.
std::unique_ptr<i18n::ProgramTranslation> Start(const char* lang, const QString& qtFolder) {
  qputenv("LANG", lang);
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  return std::make_unique<i18n::ProgramTranslation>(setup, qtFolder);
}

class QtOwnCatalogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QtCatalogsInstalled()) {
      GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    }
  }
  void TearDown() override {
    qputenv("LANG", "en_US.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
};

QString LabelText(QFileDialog& dialog, const char* name) {
  auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
  return label != nullptr ? label->text() : QStringLiteral("(none)");
}

TEST_F(QtOwnCatalogsTest, TheFileDialogSpeaksTheProgramsLanguageNotLangs) {
  // LANG says French; the program's language (as stored, or chosen from the menu) wins.
  const struct {
    const char* language;
    const char* lookIn;
    const char* fileType;
    QLocale::Language locale;
  } rows[] = {
      {"de_DE", "Suchen in:", "Dateien des Typs:", QLocale::German},
      {"fr_FR", "Voir dans :", "Fichiers de type :", QLocale::French},
      {"en_US", "Look in:", "Files of type:", QLocale::English},
  };
  auto translation = Start("fr_FR.UTF-8", i18n::QtTranslationsFolder());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.language);
    translation->Instance().SelectLanguage(row.language);
    QFileDialog dialog(nullptr, QStringLiteral("Open"), QDir::tempPath(),
                       QStringLiteral("Text (*.txt)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(LabelText(dialog, "lookInLabel"), QString::fromUtf8(row.lookIn));
    EXPECT_EQ(LabelText(dialog, "fileTypeLabel"), QString::fromUtf8(row.fileType));
    // Sizes, dates and file types come from the default locale, which follows too.
    EXPECT_EQ(QLocale().language(), row.locale);
  }
}

// The program's Open dialog says what a German or French dialog says where Qt's catalog
// does not.
TEST_F(QtOwnCatalogsTest, TheOpenDialogNamesTheFileTypeAsANativeSpeakerWould) {
  auto translation = Start("en_US.UTF-8", i18n::QtTranslationsFolder());
  for (const auto& [code, fileType, lookIn] :
       {std::tuple{"de_DE", "Dateityp:", "Suchen in:"},
        std::tuple{"fr_FR", "Type de fichier :", "Voir dans :"},
        std::tuple{"en_US", "Files of type:", "Look in:"}}) {
    SCOPED_TRACE(code);
    translation->Instance().SelectLanguage(code);
    const std::unique_ptr<QFileDialog> dialog = NewOpenDialog(
        nullptr, QStringLiteral("Open"), QStringLiteral("Text (*.txt)"), QString(), QString());
    EXPECT_EQ(LabelText(*dialog, "fileTypeLabel"), QString::fromUtf8(fileType));
    EXPECT_EQ(LabelText(*dialog, "lookInLabel"), QString::fromUtf8(lookIn));
  }
}

TEST_F(QtOwnCatalogsTest, SizesDatesAndFileTypesFollowTheProgramsLanguage) {
  auto translation = Start("fr_FR.UTF-8", i18n::QtTranslationsFolder());
  translation->Instance().SelectLanguage("de_DE");
  EXPECT_EQ(QLocale().formattedDataSize(3 * 1024 * 1024), QStringLiteral("3,00 MiB"));
  EXPECT_EQ(QLocale().toString(QDate(2026, 12, 8), QLocale::LongFormat),
            QStringLiteral("Dienstag, 8. Dezember 2026"));
  const QString plainText = QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment();
  EXPECT_FALSE(plainText.contains(QStringLiteral("texte")));
  translation->Instance().SelectLanguage("en_US");
  EXPECT_EQ(QLocale().toString(QDate(2026, 12, 8), QLocale::LongFormat),
            QStringLiteral("Tuesday, December 8, 2026"));
}

TEST_F(QtOwnCatalogsTest, QtsCatalogAnswersFirstAndTheProgramsOnlyWhatQtsLacks) {
  auto translation = Start("en_US.UTF-8", i18n::QtTranslationsFolder());
  translation->Instance().SelectLanguage("de_DE");
  EXPECT_TRUE(translation->QtTexts().HasQtCatalog());
  // Qt's own text, from qtbase_de.
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
  // A text Qt's catalog does not have (the help window's title): the program's catalog.
  EXPECT_EQ(QCoreApplication::translate("vantrel::HelpViewer", "Vantrel Help"),
            QStringLiteral("Vantrel-Hilfe"));
  // Neither has it: Qt keeps its English.
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "No such text"),
            QStringLiteral("No such text"));
  // The message-box buttons are the program's own, in both languages.
  for (const auto& [code, yes, no] :
       {std::tuple{"de_DE", "&Ja", "&Nein"}, std::tuple{"fr_FR", "Oui", "Non"}}) {
    SCOPED_TRACE(code);
    translation->Instance().SelectLanguage(code);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vantrel"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8(yes));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QString::fromUtf8(no));
  }
  // English, and a language the program does not speak, keep Qt's English although Qt
  // has a Spanish catalog.
  for (const char* code : {"en_US", "es_ES", "C"}) {
    SCOPED_TRACE(code);
    translation->Instance().SelectLanguage(code);
    EXPECT_FALSE(translation->QtTexts().HasQtCatalog());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
  }
}

// The same run on a system without qt6-translations-l10n: Qt's texts stay English, the
// program's own texts and message-box buttons are still translated.
TEST(QtOwnCatalogsMissing, QtsTextsStayEnglishAndTheProgramWorks) {
  QTemporaryDir empty;
  auto translation = Start("de_DE.UTF-8", empty.path());
  EXPECT_EQ(translation->Instance().CurrentLanguage(), "de_DE");
  EXPECT_FALSE(translation->QtTexts().HasQtCatalog());
  QFileDialog dialog(nullptr, QStringLiteral("Open"), QDir::tempPath(), QString());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_EQ(LabelText(dialog, "lookInLabel"), QStringLiteral("Look in:"));
  QMessageBox box(QMessageBox::Question, QStringLiteral("Vantrel"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
  EXPECT_EQ(QCoreApplication::translate("vantrel::HelpViewer", "Vantrel Help"),
            QStringLiteral("Vantrel-Hilfe"));
  qputenv("LANG", "en_US.UTF-8");
  translation.reset();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(QtOwnCatalogsLocale, EachLanguageCodeGetsTheLocaleItsTextsAreIn) {
  const struct {
    const char* code;
    const char* locale;
  } rows[] = {
      {"de_DE", "de_DE"}, {"de_AT", "de_AT"}, {"de", "de_DE"},    {"fr_FR", "fr_FR"},
      {"fr_CA", "fr_CA"}, {"en_GB", "en_GB"}, {"en_US", "en_US"}, {"es_ES", "en_US"},
      {"C", "en_US"},     {"", "en_US"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(i18n::LocaleOfLanguage(row.code).name(), QString::fromLatin1(row.locale));
  }
}

}  // namespace
}  // namespace vantrel
