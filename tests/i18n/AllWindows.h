// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six windows built as the program builds them, with a dictionary, so that nothing
// asks, and the settings of a throwaway folder (or of an earlier run's).

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
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

namespace vantrel {

class AllWindows : public testing::SixWindows {
 public:
  // storedLanguage, when given, is the "Language" a previous run kept. folder, when given,
  // holds the dictionary and the settings of an earlier run, which this run goes on with.
  explicit AllWindows(const QString& storedLanguage = {}, const QString& folder = {})
      : folder_(folder.isEmpty() ? dir.path() : folder) {
    const QString path = folder_ + QStringLiteral("/words.txt");
    if (!QFile::exists(path)) {
      QFile file(path);
      EXPECT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("228,bat,B\r\n464,-ing,B\r\n\r\n");
    }
    settings = std::make_unique<SettingsStore>(folder_ + QStringLiteral("/config"));
    if (!storedLanguage.isEmpty()) {
      std::optional<SettingsKey> key = settings->OpenKey(SettingsStore::OpenMode::kCreate);
      EXPECT_TRUE(key);
      key->WriteText(QStringLiteral("Language"), storedLanguage);
      key->WriteText(QStringLiteral("Dictionary"), path);
    } else if (!settings->OpenKey(SettingsStore::OpenMode::kExisting)) {
      dialogs.fileChoices.push_back(path);
    }
    services =
        std::make_unique<Services>(Services{dialogs, launcher, help, *settings, state, translator});
    CreateWindows(*services);
  }
  ~AllWindows() { CloseWindows(); }

  const QString& Folder() const { return folder_; }

  QTemporaryDir dir;
  testing::ScriptedDialogs dialogs;
  RecordingLauncher launcher;
  RecordingHelp help;
  std::unique_ptr<SettingsStore> settings;
  ShellState state;
  Translator translator;
  std::unique_ptr<Services> services;

 private:
  QString folder_;
};

}  // namespace vantrel
