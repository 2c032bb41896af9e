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

#include "AffixUnit.h"
#include "LookUp.h"
#include "Main.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "SideWindows.h"
#include "Texts.h"

namespace vantrel::testing {

class ProgramWindowsTest : public ::testing::Test {
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
    services = std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state});
    form = std::make_unique<TMainForm>(*services);
    lookup = std::make_unique<TLookupForm>(form->Dictionary(), *services, form.get());
    about = std::make_unique<TAboutForm>(*services, form.get());
    affix = std::make_unique<TAffixForm>(form->Model(), *services, form.get());
    notify = std::make_unique<TNotifyForm>(*services, form.get());
    test = std::make_unique<TTestForm>(*services, form.get());
    form->SetSideWindows(lookup.get(), about.get(), affix.get(), notify.get(), test.get());
    form->show();
  }

  void CloseWindows() {
    test.reset();
    notify.reset();
    affix.reset();
    about.reset();
    lookup.reset();
    form.reset();
  }

  // The words of the phrase, in number order.
  QStringList PhraseWords() const {
    QStringList words;
    for (int row = 1; row <= 100; ++row) {
      const std::string& word = form->Model().SelectedGrid.Cell(0, row);
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
  std::unique_ptr<Services> services;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TLookupForm> lookup;
  std::unique_ptr<TAboutForm> about;
  std::unique_ptr<TAffixForm> affix;
  std::unique_ptr<TNotifyForm> notify;
  std::unique_ptr<TTestForm> test;
};

}  // namespace vantrel::testing
