// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds of the side windows' pictures and of the sentences they show
// over several lines, through Qt's accessibility interfaces, in English and in German.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "AllWindows.h"
#include "FindControl.h"
#include "QtCatalogs.h"
#include "Texts.h"

namespace vantrel {
namespace {

std::unique_ptr<i18n::ProgramTranslation> StartTranslation(const char* lang) {
  qputenv("LANG", lang);
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  return std::make_unique<i18n::ProgramTranslation>(setup);
}

class ScreenReaderTest : public ::testing::TestWithParam<const char*> {
 protected:
  void TearDown() override { qputenv("LANG", "en_US.UTF-8"); }
  bool German() const { return QByteArray(GetParam()).startsWith("de"); }
};

// Every name a screen reader reads in window: the names of all controls it is not kept
// from, the window's own first.
void CollectSpoken(QAccessibleInterface* node, QStringList& spoken) {
  if (node == nullptr || node->state().invisible) {
    return;
  }
  if (const QString name = node->text(QAccessible::Name); !name.isEmpty()) {
    spoken.append(name);
  }
  for (int i = 0; i < node->childCount(); ++i) {
    CollectSpoken(node->child(i), spoken);
  }
}

enum class Window { kAbout, kAffix, kNotify, kTest };

QWidget& WindowOf(AllWindows& w, Window window) {
  switch (window) {
    case Window::kAbout:
      return *w.about;
    case Window::kAffix:
      return *w.affix;
    case Window::kNotify:
      return *w.notify;
    case Window::kTest:
      return *w.test;
  }
  return *w.form;
}

struct Spoken {
  Window window;
  const char* control;
  QAccessible::Role role;
  const char* english;  // null: kept from a screen reader
  const char* german;
};

const Spoken kSpoken[] = {
    {Window::kAbout, "ProgramIcon", QAccessible::Graphic, "Vantrel logo", "Vantrel-Logo"},
    {Window::kAbout, "Frog", QAccessible::Client, nullptr, nullptr},
    {Window::kAffix, "CautionImage", QAccessible::Graphic, "Caution", "Achtung"},
    {Window::kAffix, "WarningLine1", QAccessible::StaticText,
     "If you correct spelling, make sure it remains consistent with the numeric translation.",
     "Wenn Sie die Schreibweise korrigieren, achten Sie darauf, dass sie zur Ziffernfolge "
     "passt."},
    {Window::kAffix, "WarningLine2", QAccessible::Client, nullptr, nullptr},
    {Window::kAffix, "WarningLine3", QAccessible::Client, nullptr, nullptr},
    {Window::kNotify, "NoteLine1", QAccessible::StaticText, "Your address will be kept private.",
     "Ihre Adresse wird vertraulich behandelt."},
    {Window::kNotify, "NoteLine2", QAccessible::Client, nullptr, nullptr},
    // The test window is English in every language.
    {Window::kTest, "Banner", QAccessible::Client, nullptr, nullptr},
    {Window::kTest, "CautionImage", QAccessible::Graphic, "Caution", "Caution"},
};

TEST_P(ScreenReaderTest, PicturesAndSplitSentencesAreReadOnceInTheUsersLanguage) {
  auto translation = StartTranslation(GetParam());
  AllWindows w;
  for (QWidget* window :
       {static_cast<QWidget*>(w.about.get()), static_cast<QWidget*>(w.affix.get()),
        static_cast<QWidget*>(w.notify.get()), static_cast<QWidget*>(w.test.get())}) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  }
  for (const Spoken& row : kSpoken) {
    SCOPED_TRACE(row.control);
    QWidget& window = WindowOf(w, row.window);
    SCOPED_TRACE(window.objectName().toStdString());
    auto* control = testing::Find<QWidget>(window, row.control);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), row.role);
    if (row.english == nullptr) {
      EXPECT_TRUE(access->state().invisible);
      EXPECT_FALSE(access->state().focusable);
      EXPECT_EQ(access->text(QAccessible::Name), QString());
      EXPECT_EQ(access->text(QAccessible::Description), QString());
      EXPECT_EQ(access->childCount(), 0);
      continue;
    }
    EXPECT_FALSE(access->state().invisible);
    EXPECT_EQ(access->text(QAccessible::Name).toStdString(), German() ? row.german : row.english);
  }
}

TEST_P(ScreenReaderTest, TheWindowsReadEachSentenceOnceAndShowItsLinesAsBefore) {
  auto translation = StartTranslation(GetParam());
  AllWindows w;
  for (QWidget* window :
       {static_cast<QWidget*>(w.affix.get()), static_cast<QWidget*>(w.notify.get())}) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  }
  struct Sentence {
    Window window;
    std::vector<const char*> lines;  // as the window shows them, in English
    const char* whole;
  };
  const Sentence sentences[] = {
      {Window::kAffix,
       {"WarningLine1", "WarningLine2", "WarningLine3"},
       "If you correct spelling, make sure it remains consistent with the numeric translation."},
      {Window::kNotify, {"NoteLine1", "NoteLine2"}, "Your address will be kept private."},
  };
  for (const Sentence& sentence : sentences) {
    QWidget& window = WindowOf(w, sentence.window);
    SCOPED_TRACE(window.objectName().toStdString());
    QStringList spoken;
    CollectSpoken(QAccessible::queryAccessibleInterface(&window), spoken);
    EXPECT_EQ(spoken.count(TranslateText(sentence.whole)), 1) << spoken.join(u'|').toStdString();
    for (const char* line : sentence.lines) {
      const QString shown = testing::Find<QLabel>(window, line)->text();
      EXPECT_FALSE(shown.isEmpty());
      // On screen the line is the design's; read aloud it is only part of the sentence.
      EXPECT_FALSE(spoken.contains(shown)) << shown.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenReaderTest,
                         ::testing::Values("en_US.UTF-8", "de_DE.UTF-8"));

}  // namespace
}  // namespace vantrel
