// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's six windows for a test: created in the program's order over a throwaway
// settings folder and a small dictionary, with the dialogs scripted and the launcher and
// help recorded. Each suite writes its own dictionary and decides when to start.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "SixWindows.h"
#include "TestPanel.h"
#include "Texts.h"

namespace vantrel::testing {

class ProgramWindowsTest : public ::testing::Test, public SixWindows {
 protected:
  // Writes the dictionary that the first start's Open dialog will be given.
  void WriteDictionary(const char* lines) {
    ASSERT_TRUE(dir.isValid());
    dictionaryPath = dir.filePath(QStringLiteral("words.txt"));
    QFile file(dictionaryPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines);
    file.close();
    settings = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("config")));
  }

  void TearDown() override { CloseWindows(); }

  // The six windows in the program's order; the main window is shown.
  void CreateWindows() {
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    SixWindows::CreateWindows(*services);
    form->show();
  }

  // The words of the phrase, in number order.
  QStringList PhraseWords() const {
    QStringList words;
    for (int row = 1; row <= 100; ++row) {
      const std::string& word = form->Model().Phrase().Cell(0, row);
      if (!word.empty()) {
        words << FromCp1252(word);
      }
    }
    return words;
  }

  QTemporaryDir dir;
  QString dictionaryPath;
  std::unique_ptr<SettingsStore> settings;
  ScriptedDialogs dialogs;
  RecordingLauncher launcher;
  RecordingHelp help;
  ShellState state;
  Translator translator;
  std::unique_ptr<Services> services;
};

}  // namespace vantrel::testing
