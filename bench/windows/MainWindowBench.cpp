// SPDX-License-Identifier: GPL-3.0-or-later
// What a person waits for after a click in the main window: a candidate picked with the
// mouse, the phrase rebuilt, the bundled dictionary searched again and the grids
// repainted.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "LayerGrid.h"
#include "Main.h"
#include "QuietServices.h"

namespace {

void BM_PickThroughTheWindow(benchmark::State& state) {
  QTemporaryDir dir;
  vantrel::SettingsStore settings(dir.path());
  vantrel::bench::QuietDialogs dialogs{QStringLiteral(VANTREL_ENGLISH)};
  vantrel::bench::QuietLauncher launcher;
  vantrel::bench::QuietHelp help;
  vantrel::ShellState shell;
  vantrel::Translator translator;
  vantrel::Services services{dialogs, launcher, help, settings, shell, translator};
  vantrel::TMainForm form(services);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    state.SkipWithError("the window did not show");
    return;
  }
  // The endings and beginnings load on a thread after the window shows; a search waits
  // for them, so the picks are timed once they are in.
  const QDeadlineTimer deadline(30000);
  while (form.Model().AffixesLoading() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  vantrel::TLayerGrid* grid = form.findChild<vantrel::TLayerGrid*>(QStringLiteral("PossibleGrid"));
  for (auto _ : state) {
    state.PauseTiming();
    form.findChild<QLineEdit*>(QStringLiteral("EntryEdit"))->setFocus();
    form.EntryEditEnter();
    form.findChild<QLineEdit*>(QStringLiteral("EntryEdit"))->selectAll();
    QTest::keyClicks(form.findChild<QLineEdit*>(QStringLiteral("EntryEdit")),
                     QStringLiteral("18003569377"));
    form.findChild<QPushButton*>(QStringLiteral("ConvertBtn"))->click();
    grid->SetTopRow(1);
    state.ResumeTiming();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 1).center());
    form.repaint();
  }
  if (dialogs.warnings != 0 || form.Model().Phrase().Cell(0, 1).empty()) {
    state.SkipWithError(("the pick did not happen: " + std::to_string(dialogs.warnings) +
                         " warnings, status " + form.statusBar()->currentMessage().toStdString())
                            .c_str());
  }
}
BENCHMARK(BM_PickThroughTheWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWindowBenchmarks(argc, argv);
}
