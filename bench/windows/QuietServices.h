// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seams of the windows' benchmarks: dialogs that answer at once (the Open dialog with
// a dictionary chosen beforehand, or none), a launcher and a help that do nothing, and a
// main() on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <optional>
#include <utility>

#include "Dialogs.h"
#include "HelpViewer.h"
#include "Launcher.h"

namespace vantrel::bench {

class QuietDialogs final : public Dialogs {
 public:
  explicit QuietDialogs(std::optional<QString> dictionary = std::nullopt)
      : dictionary_(std::move(dictionary)) {}
  void Warning(QWidget*, const QString&) override { ++warnings; }
  std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&, const QString&,
                                      const QString&) override {
    return dictionary_;
  }
  int Exec(QDialog&) override { return QDialog::Rejected; }
  void ShowModeless(QWidget&) override {}
  void SetClipboardText(const QString&) override {}
  int warnings = 0;

 private:
  std::optional<QString> dictionary_;
};

class QuietLauncher final : public Launcher {
 public:
  bool Open(const QUrl&) override { return true; }
};

class QuietHelp final : public Help {
 public:
  void ShowContents() override {}
  void ShowContext(int) override {}
};

// Runs the benchmarks of this program inside an application object.
inline int RunWindowBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vantrel::bench
