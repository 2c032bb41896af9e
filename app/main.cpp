// Vantrel: program start. The six windows are created in their fixed order and live
// until the main window closes.

#include "Main.h"
#include "AffixUnit.h"
#include "Application.h"
#include "Dialogs.h"
#include "HelpViewer.h"
#include "Launcher.h"
#include "LookUp.h"
#include "Services.h"
#include "SettingsStore.h"
#include "SideWindows.h"

int main(int argc, char** argv) {
  // Its notify keeps any error inside the event loop: the program goes on after it.
  vantrel::TVantrelApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel"));

  vantrel::QtDialogs dialogs;
  vantrel::DesktopLauncher launcher;
  vantrel::THelpViewer help;
  vantrel::SettingsStore settings;
  vantrel::ShellState state;
  vantrel::Services services{dialogs, launcher, help, settings, state};

  // The main window comes first; its creation touches none of the others. The others
  // are its children, so that they stay above it, and go before it.
  vantrel::TMainForm mainForm(services);
  vantrel::TLookupForm lookupForm(mainForm.Dictionary(), services, &mainForm);
  vantrel::TAboutForm aboutForm(services, &mainForm);
  vantrel::TAffixForm affixForm(mainForm.Model(), services, &mainForm);
  vantrel::TNotifyForm notifyForm(services, &mainForm);
  vantrel::TTestForm testForm(services, &mainForm);
  testForm.SetDictionary(&mainForm.Dictionary());
  mainForm.SetSideWindows(&lookupForm, &aboutForm, &affixForm, &notifyForm, &testForm);

  mainForm.show();
  return QApplication::exec();
}
