// SPDX-License-Identifier: GPL-3.0-or-later
// Vantrel: program start. Seven windows: six are created here in their fixed order and
// live until the main window closes; the suggestions window is made by the main window
// the first time File > Suggest asks for it. The main window is shown first, and the five
// after it are made as soon as it has painted, so that the user sees it without waiting
// for windows that show only on demand.

#include <optional>

#include <QStyle>
#include <QTimer>
#include <QUrl>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "Application.h"
#include "CrashHandler.h"
#include "Dialogs.h"
#include "ErrorLog.h"
#include "ErrorReport.h"
#include "ErrorTracer.h"
#include "FirstPaint.h"
#include "FirstPaintSignal.h"
#include "FontConfigAhead.h"
#include "HelpViewer.h"
#include "Launcher.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "ProgramStyle.h"
#include "QtCatalogs.h"
#include "QuitSignals.h"
#include "ReportPage.h"
#include "Services.h"
#include "SettingsStore.h"
#include "TestPanel.h"

namespace {

// The five windows made after the main window, in their fixed order; they go before it.
struct SideWindows {
  SideWindows(vantrel::TMainForm& mainForm, vantrel::Services& services)
      : lookupForm(mainForm.Dictionary(), services, &mainForm),
        aboutForm(services, &mainForm),
        affixForm(mainForm.Model(), services, &mainForm),
        notifyForm(services, &mainForm),
        testForm(services, &mainForm) {
    testForm.SetDictionary(&mainForm.Dictionary());
    testForm.SetAboutForm(&aboutForm);
    mainForm.SetSideWindows(&lookupForm, &aboutForm, &affixForm, &notifyForm, &testForm);
  }

  vantrel::TLookupForm lookupForm;
  vantrel::TAboutForm aboutForm;
  vantrel::TAffixForm affixForm;
  vantrel::TNotifyForm notifyForm;
  vantrel::TTestForm testForm;
};

}  // namespace

int main(int argc, char** argv) {
  // Before any file is written: a write past the file-size limit fails as a write and is
  // reported, instead of ending the program in its middle.
  vantrel::CatchFileSizeSignal();
  // The tracer comes before anything else, so that it sees errors raised during start-up;
  // a crash from here on leaves a record in the log.
  vantrel::TErrorTracer tracer;
  vantrel::ErrorLog errorLog(vantrel::ErrorLog::DefaultPath());
  vantrel::InstallCrashHandler(errorLog.Path());
  const QString logPath = QString::fromStdString(errorLog.Path());

  // Connecting to the display and reading the font configuration each take milliseconds;
  // they run side by side, and the windows wait for both.
  vantrel::FontConfigAhead fontConfig;
  vantrel::VantrelApplication app(argc, argv);
  // A logout or a shutdown (SIGTERM, SIGHUP) closes the main window as File > Exit does, so
  // that the settings of the run are written; a signal during the start waits for it.
  vantrel::QuitSignals quitSignals;
  fontConfig.Wait();
  QApplication::setApplicationName(QStringLiteral("Vantrel"));
  // The style the user or the desktop chose, with its icons read when first drawn.
  QApplication::setStyle(new vantrel::ProgramStyle(QApplication::style()->name()));
  // The desktop finds the menu entry, and with it the icon, under this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.vantrel.vantrel"));
  // A catalog that cannot be used is an error of the program like any other: it reaches
  // the error report, once for each distinct error. It may be found in the middle of
  // building a window or of Qt's own translation, so the report waits for the event loop.
  vantrel::i18n::SetCatalogErrorHandler([&app](const vantrel::i18n::CatalogError& error) {
    app.ReportLater(std::make_exception_ptr(error));
  });
  // Before any window: the catalogs and Qt's own texts in the user's language.
  vantrel::i18n::ProgramTranslation translation;

  vantrel::QtDialogs dialogs;
  vantrel::DesktopLauncher launcher;
  vantrel::SettingsStore settings;
  vantrel::HelpBook help(&settings);
  vantrel::ShellState state;
  vantrel::Translator translator(&translation.Instance());
  vantrel::Services services{dialogs, launcher, help, settings, state, translator};

  // Every error that escapes an event handler is logged, shown and offered by e-mail.
  vantrel::ErrorReport report(
      errorLog, QString::fromLatin1(vantrel::kSupportEmail),
      [&services](const QUrl& address) { vantrel::OpenAddress(services, nullptr, address); });
  report.SetReportPage(&vantrel::ReportPageCaption,
                       [logPath] { return vantrel::ReportPageLines(logPath); });
  app.SetErrorHandler([&report](QObject* sender, const std::exception_ptr& error) {
    report.ApplicationEvents1Exception(sender, error);
  });

  // The main window comes first; its creation touches none of the others. The others
  // are its children, so that they stay above it, and go before it.
  vantrel::TMainForm mainForm(services);
  std::optional<SideWindows> sideWindows;
  mainForm.SetSideWindowMaker([&] { sideWindows.emplace(mainForm, services); });
  vantrel::AfterFirstPaint(mainForm, [&mainForm] { mainForm.MakeSideWindows(); });
  quitSignals.SetClose([&mainForm] { mainForm.close(); });

  vantrel::SignalFirstPaint(mainForm);
  mainForm.show();
  if (vantrel::TakeCrashNotice(errorLog.Path())) {
    QTimer::singleShot(0, &mainForm,
                       [&] { dialogs.Warning(&mainForm, vantrel::CrashNoticeText(logPath)); });
  }
  const int result = QApplication::exec();
  quitSignals.SetClose({});
  vantrel::i18n::SetCatalogErrorHandler({});
  return result;
}
