// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every side-window test needs: the seams of Services with recorders behind them, a
// throwaway settings folder, and dictionaries written to temporary files.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "Services.h"
#include "SettingsStore.h"

namespace vantrel::testing {

struct TestServices {
  TestServices() : store(folder.path()) {}

  QTemporaryDir folder;
  ScriptedDialogs dialogs;
  RecordingLauncher launcher;
  RecordingHelp help;
  SettingsStore store;
  ShellState state;
  Translator translator;
  Services services{dialogs, launcher, help, store, state, translator};

  void WriteInteger(const char* name, qint32 value) {
    store.OpenKey(SettingsStore::OpenMode::kCreate)->WriteInteger(QString::fromLatin1(name), value);
  }
  void WriteText(const char* name, const QString& text) {
    store.OpenKey(SettingsStore::OpenMode::kCreate)->WriteText(QString::fromLatin1(name), text);
  }
  // What a fresh SettingsStore on the same folder reads, as the next run would.
  qint32 ReadInteger(const char* name) const {
    SettingsStore again(folder.path());
    return again.OpenKey(SettingsStore::OpenMode::kExisting)
        ->ReadInteger(QString::fromLatin1(name))
        .value;
  }
};

// A dictionary file of the given Windows-1252 lines, each ended with CR LF, and the empty
// last line that the scan never examines.
inline std::string WriteDictionary(const QTemporaryDir& folder,
                                   const std::vector<std::string>& lines,
                                   const char* name = "dictionary.txt") {
  const QString path = QDir(folder.path()).filePath(QString::fromLatin1(name));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    qFatal("cannot write %s", qPrintable(path));
  }
  for (const std::string& line : lines) {
    file.write(line.data(), static_cast<qint64>(line.size()));
    file.write("\r\n");
  }
  file.write("\r\n");
  return path.toStdString();
}

// Types text key by key. QTest knows keys for ASCII characters only; any other character
// comes as a key event that carries just its text, as from a keyboard layout or an input
// method.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    if (ch.unicode() < 0x80) {
      QTest::keyClick(widget, ch.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
  }
}

// Shows a window and waits until the offscreen platform has made it active, so that
// keyboard focus and shortcuts behave as on a desktop.
inline bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace vantrel::testing
