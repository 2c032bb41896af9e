// SPDX-License-Identifier: GPL-3.0-or-later
// Every window in English, German and French, reached both by a start in the language and
// by a switch from the Language menu: each text fits where it is shown, and each window and
// menu gives every access key once.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "AllWindows.h"
#include "Dialogs.h"
#include "ErrorDialog.h"
#include "HelpViewer.h"
#include "QtCatalogs.h"
#include "ReportPage.h"
#include "SuggestWindow.h"
#include "Texts.h"

namespace vantrel {
namespace {

// The access key of a text: the character after a single '&' ("&&" is an ampersand, and
// "& " none).
QChar AccessKey(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') {
      continue;
    }
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    return text[i + 1].isSpace() ? QChar() : text[i + 1].toLower();
  }
  return {};
}

QString Shown(QString text) {
  // What is drawn: the access key's '&' is not.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(u'&');
  text.replace(u'\x01', u'&');
  return text;
}

struct Problem {
  QString where;
  QString what;
};

// Every label, button, group title and window title of window that is shown and does not
// fit. Word-wrapped labels fit when their height takes every line.
void CheckFit(QWidget& window, std::vector<Problem>& problems) {
  const QString name = window.objectName();
  const auto problem = [&](const QWidget& w, const QString& text) {
    problems.push_back({name + QLatin1Char('/') + w.objectName(), text});
  };
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->isVisibleTo(&window) || label->text().isEmpty() || !label->pixmap().isNull() ||
        label->textFormat() == Qt::RichText) {
      continue;
    }
    const QFontMetrics metrics(label->font());
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      if (label->heightForWidth(room.width()) > label->height() + 1) {
        problem(*label, label->text());
      }
    } else if (metrics.horizontalAdvance(Shown(label->text())) > room.width()) {
      problem(*label, label->text());
    }
  }
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(&window) || button->text().isEmpty()) {
      continue;
    }
    if (button->minimumSizeHint().width() > button->width()) {
      problem(*button, button->text());
    }
  }
  for (QGroupBox* box : window.findChildren<QGroupBox*>()) {
    if (!box->isVisibleTo(&window) || box->title().isEmpty()) {
      continue;
    }
    if (QFontMetrics(box->font()).horizontalAdvance(Shown(box->title())) + 16 > box->width()) {
      problem(*box, box->title());
    }
  }
  // The title bar: the window manager's bold title beside its buttons (about 100 pixels).
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  if (QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + 100 > window.width()) {
    problems.push_back({name + QStringLiteral(" (title)"), window.windowTitle()});
  }
}

// No control lies over another of the same panel: each stands where the person can see and
// click it whole. Controls are the visible buttons, labels, fields, group boxes and frames
// directly inside a panel; a panel's own children are checked in their turn.
void CheckNoOverlap(QWidget& window, std::vector<Problem>& problems) {
  QList<QWidget*> panels = window.findChildren<QWidget*>();
  panels.prepend(&window);
  for (QWidget* panel : panels) {
    std::vector<QWidget*> controls;
    for (QObject* child : panel->children()) {
      auto* widget = qobject_cast<QWidget*>(child);
      if (widget == nullptr || widget->isWindow() || !widget->isVisibleTo(&window) ||
          widget->width() <= 0 || widget->height() <= 0) {
        continue;
      }
      if (qobject_cast<QAbstractButton*>(widget) != nullptr || qobject_cast<QLabel*>(widget) ||
          qobject_cast<QGroupBox*>(widget) != nullptr ||
          qobject_cast<QLineEdit*>(widget) != nullptr) {
        controls.push_back(widget);
      }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        if (controls[i]->geometry().intersects(controls[j]->geometry())) {
          problems.push_back(
              {window.objectName() + QStringLiteral(" (overlap)"),
               controls[i]->objectName() + QStringLiteral(" / ") + controls[j]->objectName()});
        }
      }
    }
  }
}

// Each window, each menu of the menu bar, and the menu bar with the main window's controls
// (Alt+key reaches both) give every access key once.
void CheckAccessKeys(QWidget& window, std::vector<Problem>& problems) {
  const auto unique = [&](const QString& where, const QStringList& texts) {
    QMap<QChar, QString> seen;
    for (const QString& text : texts) {
      const QChar key = AccessKey(text);
      if (key.isNull()) {
        continue;
      }
      if (seen.contains(key)) {
        problems.push_back({where, seen[key] + QStringLiteral(" / ") + text});
      }
      seen.insert(key, text);
    }
  };
  QStringList controls;
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(&window)) {
      controls << button->text();
    }
  }
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->buddy() != nullptr) {
      controls << label->text();
    }
  }
  for (QGroupBox* box : window.findChildren<QGroupBox*>()) {
    controls << box->title();
  }
  if (auto* main = qobject_cast<QMainWindow*>(&window)) {
    for (QAction* menu : main->menuBar()->actions()) {
      controls << menu->text();
      QStringList items;
      if (menu->menu() != nullptr) {
        for (QAction* item : menu->menu()->actions()) {
          if (item->isVisible() && !item->isSeparator()) {
            items << item->text();
          }
        }
      }
      unique(window.objectName() + QLatin1Char('/') + menu->text(), items);
    }
  }
  unique(window.objectName(), controls);
}

void Expose(QWidget& window) {
  window.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
}

class WindowFitTest : public ::testing::TestWithParam<std::tuple<const char*, bool>> {
 protected:
  void TearDown() override {
    qputenv("LANG", "en_US.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
};

TEST_P(WindowFitTest, EveryTextFitsAndEveryAccessKeyIsUnique) {
  const auto [language, switched] = GetParam();
  // Started in the language, or started in English and switched from the Language menu.
  qputenv("LANG", switched ? "en_US.UTF-8" : language);
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  AllWindows windows;
  if (switched) {
    const std::string code(language);
    if (code == "de_DE") {
      windows.form->German1Click();
    } else if (code == "fr_FR") {
      windows.form->French1Click();
    } else {
      windows.form->English1Click();
    }
  }
  ASSERT_EQ(windows.translator.Language(), QString::fromLatin1(language));

  HelpViewer help;
  ErrorDialogTexts texts;
  texts.message = QStringLiteral("Access violation at address 00000000.");
  texts.callStack = {QStringLiteral("main.cpp:1")};
  texts.registers = {QStringLiteral("rax 0")};
  texts.reportCaption = ReportPageCaption();
  texts.reportLines =
      ReportPageLines(QStringLiteral("/home/someone/.local/state/Vantrel/VantrelError.Log"));
  ErrorDialog report(texts);
  report.Pages()->setCurrentIndex(2);
  SuggestWindow suggest(windows.form->Model(), *windows.services, windows.form.get());
  // The Open dialog as the first start shows it, with its note; its access keys are Qt's.
  const std::unique_ptr<QFileDialog> open = NewOpenDialog(
      windows.form.get(), windows.translator.Text("Open Dictionary"),
      windows.translator.Text("Text Documents") + QStringLiteral(" (*.txt)"),
      BundledDictionaryPath(windows.translator),
      StartDictionaryNote(windows.translator, QStringLiteral("/home/someone/Wörterbücher/gone.txt"),
                          QFileInfo(BundledDictionaryPath(windows.translator)).absolutePath()));
  open->setObjectName(QStringLiteral("OpenDialog"));

  std::vector<Problem> problems;
  QWidget* all[] = {windows.form.get(),
                    windows.lookup.get(),
                    windows.about.get(),
                    windows.affix.get(),
                    windows.notify.get(),
                    windows.test.get(),
                    &help,
                    &report,
                    &suggest};
  for (QWidget* window : all) {
    SCOPED_TRACE(window->objectName().toStdString());
    Expose(*window);
    CheckFit(*window, problems);
    CheckNoOverlap(*window, problems);
    CheckAccessKeys(*window, problems);
    window->hide();
  }
  Expose(*open);
  CheckFit(*open, problems);
  open->hide();
  // The report page's sentences are read without scrolling sideways.
  QPlainTextEdit* page = report.Page(2);
  ASSERT_NE(page, nullptr);
  Expose(report);
  EXPECT_FALSE(page->horizontalScrollBar()->isVisible());
  report.hide();

  for (const Problem& p : problems) {
    ADD_FAILURE() << language << (switched ? " (switched)" : " (started)") << ": "
                  << p.where.toStdString() << ": \"" << p.what.toStdString() << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, WindowFitTest,
                         ::testing::Combine(::testing::Values("en_US", "de_DE", "fr_FR"),
                                            ::testing::Bool()),
                         [](const auto& param) {
                           return std::string(std::get<0>(param.param)).substr(0, 2) +
                                  (std::get<1>(param.param) ? "Switched" : "Started");
                         });

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

// The note of the Open dialog at start says why it opens and which dictionaries come with
// Vantrel, in the current language.
TEST(StartDictionaryNote, SaysWhyTheDialogOpensAndNamesTheBundledDictionaries) {
  QTemporaryDir dir;
  const QString present = dir.filePath(QStringLiteral("present.txt"));
  QFile file(present);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QString gone = dir.filePath(QStringLiteral("gone.txt"));
  const QString folder = dir.filePath(QStringLiteral("share"));
  const struct {
    QString stored;
    const char* why;
  } rows[] = {
      {QString(), "Vantrel needs a dictionary"},
      {present, "Vantrel needs a dictionary"},  // opened for another reason
      {gone, "The dictionary used last time, %1, cannot be found."},
      {dir.path(), "The dictionary used last time, %1, cannot be opened."},  // a folder
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored.toStdString());
    const QString note = StartDictionaryNote(Translator(), row.stored, folder);
    QString why = QString::fromLatin1(row.why);
    why.replace(QStringLiteral("%1"), row.stored);
    EXPECT_TRUE(note.startsWith(why)) << note.toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("Dictionaries that come with Vantrel, in ") + folder));
    EXPECT_TRUE(
        note.endsWith(QStringLiteral("Vantrel Dictionary.txt (English), Vantrel Deutsch.txt "
                                     "(German), Vantrel Francais.txt (French)")));
  }
}

TEST(StartDictionaryNote, AStartInGermanWithTheStoredDictionaryGoneSaysSoInGerman) {
  QTemporaryDir dir;
  qputenv("LANG", "de_DE.UTF-8");
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  // A first run keeps German and its dictionary; then the dictionary is moved away.
  {
    AllWindows first(QString(), dir.path());
    first.form->close();  // closing keeps the settings
  }
  const QString gone = dir.filePath(QStringLiteral("moved-away.txt"));
  {
    SettingsStore settings(dir.filePath(QStringLiteral("config")));
    std::optional<SettingsKey> key = settings.OpenKey(SettingsStore::OpenMode::kExisting);
    ASSERT_TRUE(key);
    key->WriteText(QStringLiteral("Dictionary"), gone);
  }
  AllWindows second(QString(), dir.path());
  ASSERT_EQ(second.dialogs.openDialogs.size(), 1U);
  const QString note = second.dialogs.openDialogs[0].note;
  EXPECT_TRUE(note.startsWith(QStringLiteral("Das zuletzt verwendete Wörterbuch ") + gone +
                              QStringLiteral(" wurde nicht gefunden.")))
      << note.toStdString();
  EXPECT_TRUE(note.contains(QStringLiteral("Vantrel Deutsch.txt (Deutsch)")));
  EXPECT_TRUE(note.contains(QStringLiteral("Vantrel Francais.txt (Französisch)")));
  qputenv("LANG", "en_US.UTF-8");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

}  // namespace
}  // namespace vantrel
