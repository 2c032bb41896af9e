// SPDX-License-Identifier: GPL-3.0-or-later
// What the translation of the windows costs a person: a change of language from the menu,
// which translates all six windows again and must fit in one frame (16 ms), and the start
// of the program to its first shown window, with the translation and without it (the
// ratio must stay below 1.2).

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <memory>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "QtCatalogs.h"
#include "QuietServices.h"
#include "TestPanel.h"
#include "WindowTranslation.h"

namespace {

// A first run: no settings, a small dictionary chosen in the Open dialog, so that what is
// measured is the windows and not the reading of a large dictionary.
struct Run {
  Run()
      : dialogs(dir.filePath(QStringLiteral("words.txt"))),
        settings(dir.filePath(QStringLiteral("config"))) {
    QFile file(dir.filePath(QStringLiteral("words.txt")));
    if (file.open(QIODevice::WriteOnly)) {
      file.write("228,bat,B\r\n2255,ball,B\r\n464,-ing,B\r\n663,+one,B\r\n\r\n");
    }
  }

  // The six windows in their order, as the program creates them.
  void CreateWindows() {
    form = std::make_unique<vantrel::TMainForm>(services);
    lookup = std::make_unique<vantrel::TLookupForm>(form->Dictionary(), services, form.get());
    about = std::make_unique<vantrel::TAboutForm>(services, form.get());
    affix = std::make_unique<vantrel::TAffixForm>(form->Model(), services, form.get());
    notify = std::make_unique<vantrel::TNotifyForm>(services, form.get());
    test = std::make_unique<vantrel::TTestForm>(services, form.get());
    form->SetSideWindows(lookup.get(), about.get(), affix.get(), notify.get(), test.get());
  }

  void DestroyWindows() {
    test.reset();
    notify.reset();
    affix.reset();
    about.reset();
    lookup.reset();
    form.reset();
  }

  ~Run() { DestroyWindows(); }

  QTemporaryDir dir;
  vantrel::bench::QuietDialogs dialogs;
  vantrel::bench::QuietLauncher launcher;
  vantrel::bench::QuietHelp help;
  vantrel::ShellState shell;
  vantrel::Translator translator;
  vantrel::SettingsStore settings;
  vantrel::Services services{dialogs, launcher, help, settings, shell, translator};
  std::unique_ptr<vantrel::TMainForm> form;
  std::unique_ptr<vantrel::TLookupForm> lookup;
  std::unique_ptr<vantrel::TAboutForm> about;
  std::unique_ptr<vantrel::TAffixForm> affix;
  std::unique_ptr<vantrel::TNotifyForm> notify;
  std::unique_ptr<vantrel::TTestForm> test;
};

std::unique_ptr<vantrel::i18n::ProgramTranslation> ProgramTranslation(
    const QString& qtFolder = vantrel::i18n::QtTranslationsFolder()) {
  vantrel::i18n::TranslationSetup setup = vantrel::i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = vantrel::i18n::EnvironmentLanguageSources();
  return std::make_unique<vantrel::i18n::ProgramTranslation>(setup, qtFolder);
}

// German and French in turn from the Language menu: every window but the test window is
// translated again, the grids' titles rewritten, the main window repainted.
void BM_LanguageSwitch(benchmark::State& state) {
  qputenv("LANG", "en_US.UTF-8");
  auto translation = ProgramTranslation();
  Run run;
  run.CreateWindows();
  run.form->show();
  if (!QTest::qWaitForWindowExposed(run.form.get())) {
    state.SkipWithError("the window did not show");
    return;
  }
  bool german = true;
  for (auto _ : state) {
    if (german) {
      run.form->findChild<QAction*>(QStringLiteral("German1"))->trigger();
    } else {
      run.form->findChild<QAction*>(QStringLiteral("French1"))->trigger();
    }
    run.form->repaint();
    german = !german;
  }
  if (run.form->findChild<QAction*>(QStringLiteral("German1"))->isEnabled() ==
      run.form->findChild<QAction*>(QStringLiteral("French1"))->isEnabled()) {
    state.SkipWithError("the language did not change");
  }
}
BENCHMARK(BM_LanguageSwitch)->Unit(benchmark::kMillisecond);

// From the start of the translation layer to the first shown window: range 1 with the
// translation in German and Qt's own German catalog, range 2 the same on a system without
// Qt's catalogs (what loading qtbase_de.qm costs is the difference of 1 and 2), range 0
// without any translation (no catalogs, and walks that read no property).
void BM_StartToFirstWindow(benchmark::State& state) {
  const bool translated = state.range(0) != 0;
  const QString qtFolder = state.range(0) == 2 ? QString() : vantrel::i18n::QtTranslationsFolder();
  qputenv("LANG", translated ? "de_DE.UTF-8" : "en_US.UTF-8");
  for (auto _ : state) {
    state.PauseTiming();
    {
      auto run = std::make_unique<Run>();
      state.ResumeTiming();
      std::unique_ptr<vantrel::i18n::ProgramTranslation> translation;
      vantrel::i18n::WindowTranslator untranslated;
      if (translated) {
        translation = ProgramTranslation(qtFolder);
      } else {
        untranslated.IgnoreClassProperty(QObject::staticMetaObject, QByteArray());
        untranslated.Install();
      }
      run->CreateWindows();
      run->form->show();
      // Shown and painted: the offscreen platform exposes a window at once, without
      // the polling of a wait that would round the time up.
      QApplication::processEvents();
      if (run->form->windowHandle() == nullptr || !run->form->windowHandle()->isExposed()) {
        state.SkipWithError("the window did not show");
      }
      state.PauseTiming();
      run.reset();
      translation.reset();
    }
    state.ResumeTiming();
  }
  qputenv("LANG", "en_US.UTF-8");
}
BENCHMARK(BM_StartToFirstWindow)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Qt's own catalog alone: following a change to German loads qtbase_de.qm (range 1);
// following English loads nothing (range 0).
void BM_QtCatalogFollowsLanguage(benchmark::State& state) {
  qputenv("LANG", "en_US.UTF-8");
  auto translation = ProgramTranslation();
  const bool german = state.range(0) != 0;
  for (auto _ : state) {
    translation->Instance().SelectLanguage(german ? "de_DE" : "en_US");
  }
  if (german && !translation->QtTexts().HasQtCatalog()) {
    state.SkipWithError("Qt's German catalog is not installed (qt6-translations-l10n)");
  }
}
BENCHMARK(BM_QtCatalogFollowsLanguage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWindowBenchmarks(argc, argv);
}
