// SPDX-License-Identifier: GPL-3.0-or-later
// The Language menu of the running program: every window but the test window changes its
// language at once, always from its English texts; the choice is kept for the next start,
// and a fresh start speaks the language of LANG.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include <QStatusBar>
#include "AllWindows.h"
#include "CellText.h"
#include "FindControl.h"
#include "LayerGrid.h"
#include "QtCatalogs.h"
#include "Texts.h"
#include "WindowTranslation.h"

namespace vantrel {
namespace {

// A run of its own: the catalogs this test program carries, the language chosen from LANG.
std::unique_ptr<i18n::ProgramTranslation> StartTranslation(const char* lang) {
  qputenv("LANG", lang);
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  return std::make_unique<i18n::ProgramTranslation>(setup);
}

class LanguageSwitchTest : public ::testing::Test {
 protected:
  void TearDown() override { qputenv("LANG", "en_US.UTF-8"); }

  // Opens the Language menu with the mouse and clicks item, as a person does.
  static void ChooseLanguage(TMainForm& form, QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    ASSERT_NE(menu, nullptr);
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    EXPECT_FALSE(menu->isVisible());
  }

  static QMenu* LanguageMenu(const TMainForm& form) {
    return qobject_cast<QMenu*>(testing::Find<QAction>(form, "English1")->parent());
  }

  static QString Header(const CellTable& table, int col) { return FromCp1252(table.Cell(col, 0)); }

  static void TypeAndSearch(TMainForm& form) {
    QTest::keyClicks(testing::Find<QLineEdit>(form, "EntryEdit"), QStringLiteral("228"));
    QTest::mouseClick(testing::Find<QPushButton>(form, "ConvertBtn"), Qt::LeftButton);
    ASSERT_FALSE(testing::Find<QStatusBar>(form, "StatusBar1")->currentMessage().isEmpty());
  }
};

// What the windows show in one language.
struct Shown {
  const char* code;
  const char* convert;
  const char* language;
  const char* english;
  const char* candidate;
  const char* represents;
  const char* selected;
  const char* about;
  const char* version;
  const char* lookup;
  bool englishOn, germanOn, frenchOn;
};

const Shown kEnglish{"en_US",
                     "Convert",
                     "&Language",
                     "&English",
                     "Candidate Word",
                     "Represents",
                     "Selected Word",
                     "About Vantrel",
                     "Beta Version 2.0",
                     "Vantrel - Lookup Individual Word",
                     false,
                     true,
                     true};
const Shown kGerman{"de_DE", "Umwandeln", "&Sprache", "&Englisch", "Beispielwort", "stellt dar",
                    "Ausgewähltes Wort", "Über Vantrel",
                    // Only French translates the version line.
                    "Beta Version 2.0", "Vantrel - Einzelnes Wort nachschlagen", true, false, true};
const Shown kFrench{"fr_FR",
                    "Convertir",
                    "Langue",
                    "&English",
                    "Mot candidat",
                    "Représente",
                    "Mot selectionné",
                    "À propos de Vantrel",
                    "Version bêta 2.0",
                    "Vantrel - Rechercher un mot",
                    true,
                    true,
                    false};

void ExpectShown(const AllWindows& w, const Shown& shown) {
  SCOPED_TRACE(shown.code);
  const TMainForm& form = *w.form;
  EXPECT_EQ(testing::Find<QPushButton>(form, "ConvertBtn")->text(),
            QString::fromUtf8(shown.convert));
  // Texts without an agreed wording are the catalog's for their English.
  EXPECT_EQ(testing::Find<QPushButton>(form, "ConvertBtn")->toolTip(),
            TranslateText("Convert to alpha equivalents"));
  EXPECT_EQ(testing::Find<QRadioButton>(form, "LeftBtn")->text(), TranslateText("Left"));
  EXPECT_EQ(testing::Find<QLineEdit>(form, "EntryEdit")->toolTip(),
            TranslateText("Enter Number to Convert"));
  EXPECT_EQ(testing::Find<TLayerGrid>(form, "PossibleGrid")->Hint(),
            TranslateText("Click to select"));
  EXPECT_EQ(testing::Find<QAction>(form, "Open1")->text(), TranslateText("&Open"));
  EXPECT_EQ(qobject_cast<QMenu*>(testing::Find<QAction>(form, "English1")->parent())->title(),
            QString::fromUtf8(shown.language));
  EXPECT_EQ(testing::Find<QAction>(form, "English1")->text(), QString::fromUtf8(shown.english));
  // The languages' own names never change.
  EXPECT_EQ(testing::Find<QAction>(form, "German1")->text(), QStringLiteral("&Deutsch"));
  EXPECT_EQ(testing::Find<QAction>(form, "French1")->text(), QStringLiteral("&Francais"));
  EXPECT_EQ(testing::Find<QAction>(form, "English1")->isEnabled(), shown.englishOn);
  EXPECT_EQ(testing::Find<QAction>(form, "German1")->isEnabled(), shown.germanOn);
  EXPECT_EQ(testing::Find<QAction>(form, "French1")->isEnabled(), shown.frenchOn);

  const MainModel& model = w.form->Model();
  EXPECT_EQ(FromCp1252(model.Candidates().Cell(0, 0)), QString::fromUtf8(shown.candidate));
  EXPECT_EQ(FromCp1252(model.Candidates().Cell(1, 0)), QString::fromUtf8(shown.represents));
  EXPECT_EQ(FromCp1252(model.Phrase().Cell(0, 0)), QString::fromUtf8(shown.selected));
  EXPECT_EQ(FromCp1252(model.Phrase().Cell(1, 0)), QString::fromUtf8(shown.represents));
  EXPECT_EQ(FromCp1252(model.Correction().Cell(0, 0)), QString::fromUtf8(shown.candidate));
  EXPECT_EQ(FromCp1252(model.Correction().Cell(1, 0)), QString::fromUtf8(shown.represents));

  EXPECT_EQ(w.about->windowTitle(), QString::fromUtf8(shown.about));
  EXPECT_EQ(testing::Find<QLabel>(*w.about, "Version")->text(), QString::fromUtf8(shown.version));
  EXPECT_EQ(w.lookup->windowTitle(), QString::fromUtf8(shown.lookup));
  EXPECT_EQ(w.lookup->findChild<QPushButton*>(QStringLiteral("CancelLookUpBtn"))->text(),
            TranslateText("Cancel"));
  EXPECT_EQ(w.affix->windowTitle(), TranslateText("Vantrel - Correct Root Word Spelling"));
  EXPECT_EQ(w.affix->findChild<QLabel*>(QStringLiteral("WarningLine1"))->text(),
            TranslateText("If you correct spelling,  make"));
  EXPECT_EQ(w.affix->findChild<QLabel*>(QStringLiteral("CautionImage"))->accessibleName(),
            TranslateText("Caution"));
  EXPECT_EQ(w.notify->windowTitle(), TranslateText("New Release Notification"));
  EXPECT_EQ(testing::Find<QRadioButton>(*w.notify, "RemindRadioButton")->text(),
            TranslateText("Remind me later"));

  // The test window keeps its English in every language and is never translated.
  EXPECT_EQ(w.test->windowTitle(), QStringLiteral("Vantrel - Test Hidden Functions & Messages"));
  EXPECT_EQ(testing::Find<QCheckBox>(*w.test, "AnimationCheckBox")->text(),
            QStringLiteral("Enable Animation"));
  EXPECT_EQ(w.test->findChild<i18n::TTranslationMarker*>(), nullptr);
}

TEST_F(LanguageSwitchTest, EveryWindowButTheTestWindowFollowsTheMenuFromItsEnglish) {
  auto translation = StartTranslation("en_US.UTF-8");
  AllWindows w;
  w.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
  const QString caption = w.form->windowTitle();
  ASSERT_EQ(caption, QStringLiteral("Vantrel ") + w.Folder() + QStringLiteral("/words.txt"));
  ExpectShown(w, kEnglish);

  struct Step {
    QAction* item;
    const Shown& shown;
  };
  // French after German: the French can only come from the English texts.
  for (const Step& step : {Step{testing::Find<QAction>(*w.form, "German1"), kGerman},
                           Step{testing::Find<QAction>(*w.form, "French1"), kFrench},
                           Step{testing::Find<QAction>(*w.form, "English1"), kEnglish},
                           Step{testing::Find<QAction>(*w.form, "French1"), kFrench}}) {
    SCOPED_TRACE(step.shown.code);
    TypeAndSearch(*w.form);
    ChooseLanguage(*w.form, step.item);
    EXPECT_EQ(w.form->CurrentLanguage(), QString::fromLatin1(step.shown.code));
    ExpectShown(w, step.shown);
    // A status line written in the old language goes; the caption is rebuilt.
    EXPECT_EQ(testing::Find<QStatusBar>(*w.form, "StatusBar1")->currentMessage(), QString());
    EXPECT_EQ(w.form->windowTitle(), caption);
  }
}

// Each button of the main window says what it does in its tool tip, in the language
// chosen last.
TEST_F(LanguageSwitchTest, EveryMainWindowButtonsToolTipSpeaksTheChosenLanguage) {
  struct Tip {
    const char* button;
    const char* english;
    const char* german;
    const char* french;
  };
  const Tip tips[] = {
      {"LeftBtn", "Include leftmost digit in conversion", "Die Ziffer ganz links mit umwandeln",
       "Inclure le chiffre le plus à gauche dans la conversion"},
      {"RightBtn", "Include rightmost digit in conversion", "Die Ziffer ganz rechts mit umwandeln",
       "Inclure le chiffre le plus à droite dans la conversion"},
      {"AnyPointBtn", "Convert longest string of digits", "Längste Ziffernfolge umwandeln",
       "Convertir la plus longue suite de chiffres"},
      {"ConvertBtn", "Convert to alpha equivalents", "In Buchstaben umwandeln",
       "Convertir en lettres"},
      {"ClearBtn", "Clear form", "Formular leeren", "Effacer le formulaire"},
      {"CopyBtn", "Copy number and phrase to clipboard",
       "Nummer und Wortfolge in die Zwischenablage kopieren",
       "Copier le numéro et l'expression dans le presse-papiers"},
      {"LookupBtn", "Lookup numeric equivalent of a word", "Ziffernfolge eines Wortes nachschlagen",
       "Rechercher l'équivalent numérique d'un mot"},
  };
  auto translation = StartTranslation("en_US.UTF-8");
  AllWindows w;
  w.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
  struct Step {
    const char* item;  // null: as the program starts
    const char* Tip::*text;
  };
  const Step steps[] = {{nullptr, &Tip::english},
                        {"German1", &Tip::german},
                        {"French1", &Tip::french},
                        {"English1", &Tip::english}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.item != nullptr ? step.item : "start");
    if (step.item != nullptr) {
      ChooseLanguage(*w.form, testing::Find<QAction>(*w.form, step.item));
    }
    for (const Tip& tip : tips) {
      SCOPED_TRACE(tip.button);
      EXPECT_EQ(testing::Find<QAbstractButton>(*w.form, tip.button)->toolTip().toStdString(),
                tip.*step.text);
    }
  }
}

TEST_F(LanguageSwitchTest, TheLookupWindowsStatusLineSpeaksTheLanguageOfNow) {
  auto translation = StartTranslation("de_DE.UTF-8");
  AllWindows w;
  w.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
  w.lookup->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.lookup.get()));
  QTest::keyClicks(testing::Find<QLineEdit>(*w.lookup, "WordToConvert"), QStringLiteral("bat"));
  QTest::mouseClick(testing::Find<QPushButton>(*w.lookup, "ConvertBtn"), Qt::LeftButton);
  const QString german = testing::Find<QStatusBar>(*w.lookup, "StatusBar1")->currentMessage();
  ASSERT_NE(german.indexOf(TranslateText(" secs")), -1) << german.toStdString();
  w.lookup->hide();

  ChooseLanguage(*w.form, testing::Find<QAction>(*w.form, "French1"));
  w.lookup->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.lookup.get()));
  const QString french = testing::Find<QStatusBar>(*w.lookup, "StatusBar1")->currentMessage();
  EXPECT_NE(french.indexOf(QStringLiteral(" secondes")), -1) << french.toStdString();
  EXPECT_EQ(french.indexOf(QStringLiteral(" Sekunden")), -1) << french.toStdString();
  w.lookup->hide();
}

// The suggestions window's headers, its More button and each reason speak the language
// chosen last; the window is made once and only listed again.
TEST_F(LanguageSwitchTest, TheSuggestionsWindowSpeaksTheLanguageOfNow) {
  auto translation = StartTranslation("en_US.UTF-8");
  AllWindows w;
  w.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
  QTest::keyClicks(testing::Find<QLineEdit>(*w.form, "EntryEdit"), QStringLiteral("8002282280"));
  struct Language {
    const char* item;
    QStringList headers;
    const char* more;
    const char* why;  // of the first row, 800 bat bat 0
  };
  const std::vector<Language> languages = {
      {"English1",
       {QStringLiteral("Phrase"), QStringLiteral("Vanity Text"), QStringLiteral("Why")},
       "More",
       "toll-free code kept, end kept, 2 words, common"},
      {"German1",
       {QStringLiteral("Wortfolge"), QStringLiteral("Buchstabennummer"), QStringLiteral("Warum")},
       "Mehr",
       "geb\xC3\xBChrenfreie Vorwahl behalten, Ende behalten, 2 W\xC3\xB6rter, g\xC3\xA4ngig"},
      {"French1",
       {QStringLiteral("Expression"), QString::fromUtf8("Num\xC3\xA9ro en lettres"),
        QStringLiteral("Pourquoi")},
       "Plus",
       "pr\xC3\xA9"
       "fixe de num\xC3\xA9ro vert conserv\xC3\xA9, fin conserv\xC3\xA9"
       "e, 2 mots, "
       "courant"},
  };
  for (const Language& language : languages) {
    SCOPED_TRACE(language.item);
    QAction* item = testing::Find<QAction>(*w.form, language.item);
    if (item->isEnabled()) {
      ChooseLanguage(*w.form, item);
    }
    testing::Find<QAction>(*w.form, "Suggest1")->trigger();
    auto* window = testing::Find<QDialog>(*w.form, "SuggestWindow");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    auto* list = testing::Find<QTableWidget>(*window, "SuggestionList");
    QStringList headers;
    for (int column = 0; column < list->columnCount(); ++column) {
      headers << list->horizontalHeaderItem(column)->text();
    }
    EXPECT_EQ(headers, language.headers)
        << w.form->findChildren<QDialog*>(QStringLiteral("SuggestWindow")).size() << " "
        << QApplication::topLevelWidgets().size();
    EXPECT_EQ(testing::Find<QPushButton>(*window, "MoreBtn")->text(),
              QString::fromUtf8(language.more));
    ASSERT_GT(list->rowCount(), 0);
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("800BATBAT0"));
    EXPECT_EQ(list->item(0, 2)->text(), QString::fromUtf8(language.why));
    window->reject();
  }
}

TEST_F(LanguageSwitchTest, ChoosingTheCurrentLanguageAgainRewritesWhatCodeWrote) {
  auto translation = StartTranslation("de_DE.UTF-8");
  AllWindows w;
  w.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
  ExpectShown(w, kGerman);
  TypeAndSearch(*w.form);
  w.form->Model().TablesForGrids().candidates.SetCell(0, 0, "stale");
  w.form->setWindowTitle(QStringLiteral("stale"));
  // The item is disabled, so no person reaches it; its handler still keeps every rule.
  w.form->German1Click();
  ExpectShown(w, kGerman);
  EXPECT_EQ(testing::Find<QStatusBar>(*w.form, "StatusBar1")->currentMessage(), QString());
  EXPECT_EQ(w.form->windowTitle(),
            QStringLiteral("Vantrel ") + w.Folder() + QStringLiteral("/words.txt"));
}

TEST_F(LanguageSwitchTest, AFreshStartSpeaksTheLanguageOfLang) {
  struct Row {
    const char* lang;
    const Shown& shown;
    bool allOn;  // a language without catalog: English, every item enabled
  };
  for (const Row& row : {Row{"de_AT", kGerman, false}, Row{"de_DE.UTF-8", kGerman, false},
                         Row{"fr_FR.UTF-8", kFrench, false}, Row{"es_ES", kEnglish, true},
                         Row{"C", kEnglish, true}}) {
    SCOPED_TRACE(row.lang);
    auto translation = StartTranslation(row.lang);
    AllWindows w;  // no stored language
    if (row.allOn) {
      Shown shown = row.shown;
      shown.code = row.lang;
      shown.englishOn = shown.germanOn = shown.frenchOn = true;
      ExpectShown(w, shown);
    } else {
      ExpectShown(w, row.shown);
    }
  }
}

TEST_F(LanguageSwitchTest, TheChoiceIsKeptForTheNextStart) {
  QTemporaryDir folder;
  {
    auto translation = StartTranslation("en_US.UTF-8");
    AllWindows w({}, folder.path());
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    ChooseLanguage(*w.form, testing::Find<QAction>(*w.form, "French1"));
    ASSERT_TRUE(w.form->close());
  }
  auto translation = StartTranslation("en_US.UTF-8");
  AllWindows w({}, folder.path());
  EXPECT_TRUE(w.dialogs.openDialogs.empty());
  ExpectShown(w, kFrench);
  std::optional<SettingsKey> key = w.settings->OpenKey(SettingsStore::OpenMode::kExisting);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadText(QStringLiteral("Language")).value, QStringLiteral("fr_FR"));
}

TEST_F(LanguageSwitchTest, AStoredLanguageTranslatesTheMainWindowFromItsEnglish) {
  // Built first in the German of LANG, then in the stored French.
  auto translation = StartTranslation("de_DE.UTF-8");
  AllWindows w(QStringLiteral("fr_FR"));
  ExpectShown(w, kFrench);
}

TEST_F(LanguageSwitchTest, WithoutADictionaryTheCaptionKeepsTheLanguageItsNameWasSetIn) {
  auto translation = StartTranslation("de_DE.UTF-8");
  QTemporaryDir dir;
  SettingsStore settings(dir.filePath(QStringLiteral("config")));
  testing::ScriptedDialogs dialogs;  // the Open dialog is cancelled
  RecordingLauncher launcher;
  RecordingHelp help;
  ShellState state;
  Translator translator;
  Services services{dialogs, launcher, help, settings, state, translator};
  TMainForm form(services);
  const QString caption = QStringLiteral("Vantrel Kein Verzeichnis geöffnet");
  ASSERT_EQ(form.windowTitle(), caption);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ChooseLanguage(form, testing::Find<QAction>(form, "French1"));
  EXPECT_EQ(form.windowTitle(), caption);
  EXPECT_EQ(testing::Find<QPushButton>(form, "ConvertBtn")->text(), QStringLiteral("Convertir"));
}

TEST_F(LanguageSwitchTest, EveryButtonAndLabelHasRoomForItsTextInEveryLanguage) {
  auto translation = StartTranslation("en_US.UTF-8");
  AllWindows w;
  for (QAction* item :
       {testing::Find<QAction>(*w.form, "German1"), testing::Find<QAction>(*w.form, "French1"),
        testing::Find<QAction>(*w.form, "English1")}) {
    item->trigger();
    SCOPED_TRACE(w.form->CurrentLanguage().toStdString());
    for (QWidget* window : std::initializer_list<QWidget*>{
             w.form.get(), w.lookup.get(), w.about.get(), w.affix.get(), w.notify.get()}) {
      window->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
      QList<QWidget*> controls;
      for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        controls << button;
      }
      for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->pixmap().isNull() && !label->wordWrap()) {
          controls << label;
        }
      }
      for (QWidget* control : controls) {
        if (control->isVisible()) {
          SCOPED_TRACE(control->objectName().toStdString());
          EXPECT_GE(control->width(), control->sizeHint().width());
        }
      }
      window->hide();
    }
  }
}

}  // namespace
}  // namespace vantrel
