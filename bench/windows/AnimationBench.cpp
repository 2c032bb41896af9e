// SPDX-License-Identifier: GPL-3.0-or-later
// The button animation's tick, which runs once a second for the whole run. While the
// animation rests, every tick hides and stops all ten worms, none of them playing: that
// must cost next to nothing. Compared with bringing a worm out and sending it back.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "AnimatedPicture.h"
#include "ButtonWorms.h"
#include "Main.h"
#include "Pictures.h"
#include "QuietServices.h"

namespace {

struct Window {
  QTemporaryDir dir;
  vantrel::SettingsStore settings{dir.path()};
  vantrel::bench::QuietDialogs dialogs;
  vantrel::bench::QuietLauncher launcher;
  vantrel::bench::QuietHelp help;
  vantrel::ShellState shell;
  vantrel::Translator translator;
  vantrel::Services services{dialogs, launcher, help, settings, shell, translator};
  vantrel::TMainForm form{services};

  bool Show() {
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    form.show();
    return QTest::qWaitForWindowExposed(&form);
  }
};

// A tick while the animation rests: the ten worms hidden and stopped, none shown.
void BM_RestingTick(benchmark::State& state) {
  Window window;
  if (!window.Show()) {
    state.SkipWithError("the window did not show");
    return;
  }
  for (int i = 0; i < 20; ++i) {
    window.form.Timer1Timer();  // past the tenth tick: from now on every tick hides all
  }
  for (auto _ : state) {
    window.form.Timer1Timer();
  }
}
BENCHMARK(BM_RestingTick);

// Stopping a picture that does not play, as the resting tick does ten times.
void BM_StopAStoppedPicture(benchmark::State& state) {
  vantrel::AnimatedPicture picture;
  picture.Load(vantrel::PicturePath("worm-left.gif"));
  for (auto _ : state) {
    picture.Stop();
    benchmark::DoNotOptimize(picture.IsPlaying());
  }
}
BENCHMARK(BM_StopAStoppedPicture);

// A worm brought out from its first frame and sent back, with the window painted.
void BM_ShowAndHideAWorm(benchmark::State& state) {
  Window window;
  if (!window.Show()) {
    state.SkipWithError("the window did not show");
    return;
  }
  vantrel::ButtonWorms& worms =
      *window.form.findChild<vantrel::ButtonWorms*>(QStringLiteral("ButtonWorms"));
  for (auto _ : state) {
    worms.ShowAndRestart(4);
    QApplication::processEvents();
    worms.HideAndStop(4);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShowAndHideAWorm);

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWindowBenchmarks(argc, argv);
}
