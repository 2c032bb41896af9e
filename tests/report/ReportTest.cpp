// SPDX-License-Identifier: GPL-3.0-or-later
// The error report as the user meets it: an error escapes a handler of a real window,
// the dialog shows it, the log keeps it, and the mail program is offered the log.

#include <gtest/gtest.h>

#include "DebugInfo.h"
#include "FindControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <memory>

#include <signal.h>
#include <sys/resource.h>

#include <QFileInfo>

#include "AboutVantrel.h"
#include "Application.h"
#include "ErrorDialog.h"
#include "ErrorReport.h"
#include "ErrorTracer.h"
#include "Main.h"
#include "Notify.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ReportPage.h"
#include "ScriptedDialogs.h"
#include "TestPanel.h"

#if defined(__SANITIZE_ADDRESS__)
// The leaks that Qt's frames leave behind when an error passes them are known by name
// (.ci/lsan.supp); Qt keeps no frame pointers, so only the thorough unwinder finds the
// names.
extern "C" const char* __asan_default_options() {
  return "fast_unwind_on_malloc=0";
}
#endif

namespace vantrel {
namespace {

// What the user saw of one report dialog.
struct SeenDialog {
  QString title;
  QString message;
  QStringList tabs;
  QString callStack;
  QString reportPage;
  int currentTab = -1;
  bool okHasFocus = false;
  bool detailsShown = false;
  bool terminateShown = true;
  QString detailsText;
};

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    Report(dir.filePath(QStringLiteral("state/Vantrel/VantrelError.Log")));
  }

  void TearDown() override { static_cast<VantrelApplication*>(qApp)->SetErrorHandler(nullptr); }

  // The program's wiring: the application hands escaping errors to the report.
  void Report(const QString& logPath) {
    log = std::make_unique<ErrorLog>(logPath.toStdString());
    report = std::make_unique<ErrorReport>(*log, QString::fromLatin1(kSupportEmail),
                                           [this](const QUrl& address) { launcher.Open(address); });
    report->SetReportPage([this] { return caption; },
                          [this, logPath] {
                            ++linesAsked;
                            return ReportPageLines(logPath);
                          });
    // The dialog is shown, looked at and closed with its OK button.
    report->SetShowDialog([this](ErrorDialog& dialog) {
      dialog.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      SeenDialog s;
      s.title = dialog.windowTitle();
      s.message = dialog.MessageLabel()->text();
      for (int i = 0; i < dialog.Pages()->count(); ++i) {
        s.tabs << dialog.Pages()->tabText(i);
      }
      s.callStack = dialog.Page(0)->toPlainText();
      s.reportPage = dialog.Page(2)->toPlainText();
      s.currentTab = dialog.Pages()->currentIndex();
      s.okHasFocus = dialog.focusWidget() == dialog.OkBtn();
      s.detailsShown = dialog.DetailsShown();
      s.terminateShown = dialog.TerminateBtn()->isVisible();
      s.detailsText = dialog.DetailsBtn()->text();
      seen.push_back(s);
      QTest::mouseClick(dialog.OkBtn(), Qt::LeftButton);
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    static_cast<VantrelApplication*>(qApp)->SetErrorHandler(
        [this](QObject* sender, const std::exception_ptr& error) {
          report->ApplicationEvents1Exception(sender, error);
        });
  }

  QString LogText() const {
    QFile file(QString::fromStdString(log->Path()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir dir;
  TErrorTracer tracer;
  RecordingLauncher launcher;
  std::unique_ptr<ErrorLog> log;
  std::unique_ptr<ErrorReport> report;
  QString caption = QStringLiteral("How To Report Error");
  int linesAsked = 0;
  std::vector<SeenDialog> seen;

  testing::ScriptedDialogs dialogs;
  RecordingHelp help;
  ShellState state;
  Translator translator;
};

// The line of TestPanel.cpp that the report names.
QString SourceLine(int number) {
  QFile file(QStringLiteral(VANTREL_SOURCE_DIR "/windows/TestPanel.cpp"));
  if (!file.open(QIODevice::ReadOnly)) {
    return QString();
  }
  QTextStream in(&file);
  QString line;
  for (int i = 0; i < number && !in.atEnd(); ++i) {
    line = in.readLine();
  }
  return line;
}

TEST_F(ReportTest, TheTestWindowsApplicationErrorIsShownLoggedAndOfferedByMail) {
  VANTREL_SKIP_WITHOUT_DEBUG_INFO();
  SettingsStore store(dir.filePath(QStringLiteral("config")));
  Services services{dialogs, launcher, help, store, state, translator};
  TTestForm test(services);
  test.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&test));

  QTest::mouseClick(testing::Find<QPushButton>(test, "EmailErrorBtn"), Qt::LeftButton);
  ASSERT_EQ(seen.size(), 1U);
  const SeenDialog& shown = seen[0];
  EXPECT_EQ(shown.title, "Application Error");
  const QRegularExpression form(
      QStringLiteral("^Exception 'std::runtime_error' in module report_tests at [0-9A-F]{8,}\n\n\n"
                     "Source file: TestPanel\\.cpp, Line ([0-9]+)$"));
  const QRegularExpressionMatch match = form.match(shown.message);
  ASSERT_TRUE(match.hasMatch()) << shown.message.toStdString();
  EXPECT_TRUE(SourceLine(match.captured(1).toInt()).contains(QStringLiteral("throw")))
      << SourceLine(match.captured(1).toInt()).toStdString();
  // The stack goes from the raise through the button's handler.
  EXPECT_TRUE(shown.callStack.startsWith(QStringLiteral("Call stack:\n:")));
  EXPECT_TRUE(shown.callStack.contains(QStringLiteral("TTestForm::EmailErrorBtnClick()")))
      << shown.callStack.toStdString();

  // The dialog opened in full on the call stack, ready for Enter on OK.
  EXPECT_EQ(shown.tabs, QStringList({"Call Stack", "Registers", "How To Report Error"}));
  EXPECT_EQ(shown.currentTab, 0);
  EXPECT_TRUE(shown.okHasFocus);
  EXPECT_TRUE(shown.detailsShown);
  EXPECT_EQ(shown.detailsText, "Compact <<");
  EXPECT_FALSE(shown.terminateShown);
  const QString path = QString::fromStdString(log->Path());
  EXPECT_EQ(shown.reportPage, "\n\nPlease email " + path +
                                  " to\nsupport@vantrel.example.\n\n"
                                  "Thank You");

  // The record is in the log, and the mail names the log.
  const QString text = LogText();
  EXPECT_TRUE(text.startsWith(QString(27, QLatin1Char('-'))));
  EXPECT_TRUE(text.contains(QStringLiteral("\r\n\r\nSource file: TestPanel.cpp, Line ")));
  EXPECT_TRUE(text.contains("\r\nPlease email " + path + " to\r\n"));
  ASSERT_EQ(launcher.Opened().size(), 1U);
  EXPECT_EQ(launcher.Opened()[0], report->MailAddress());
  EXPECT_EQ(
      report->MailAddress(),
      QUrl("mailto:support@vantrel.example?subject=Vantrel 2.0 Error Log&file=\"" + path + "\""));

  // The program goes on: a second error gives a second record in the same file.
  QTest::mouseClick(testing::Find<QPushButton>(test, "EmailErrorBtn"), Qt::LeftButton);
  EXPECT_EQ(seen.size(), 2U);
  EXPECT_EQ(LogText().count(QRegularExpression(QStringLiteral("^-{27}\\d\\d:\\d\\d:\\d\\d "
                                                              "\\d\\d/\\d\\d/\\d{4}-{27}\r$"),
                                               QRegularExpression::MultilineOption)),
            2);
  EXPECT_EQ(launcher.Opened().size(), 2U);
  QTest::mouseClick(testing::Find<QPushButton>(test, "NoDictionaryBtn"), Qt::LeftButton);
  EXPECT_EQ(dialogs.warnings.size(), 1);

  // The log to read as the makers would: set VANTREL_SHOTS to a folder.
  const QString folder = qEnvironmentVariable("VANTREL_SHOTS");
  if (!folder.isEmpty()) {
    QFile::remove(QDir(folder).filePath(QStringLiteral("VantrelError.Log")));
    QFile::copy(path, QDir(folder).filePath(QStringLiteral("VantrelError.Log")));
  }
}

TEST_F(ReportTest, WithoutALogThatCanBeMadeTheDialogStillShowsAndNoMailIsOffered) {
  Report(QStringLiteral("/proc/vantrel-none/VantrelError.Log"));
  SettingsStore store(dir.filePath(QStringLiteral("config")));
  Services services{dialogs, launcher, help, store, state, translator};
  TTestForm test(services);
  test.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&test));
  QTest::mouseClick(testing::Find<QPushButton>(test, "EmailErrorBtn"), Qt::LeftButton);
  EXPECT_EQ(seen.size(), 1U);
  EXPECT_TRUE(launcher.Opened().empty());
}

// While a write beyond the file-size limit fails, as on a full disk: the limit lowered to
// the log's size for the life of the object, SIGXFSZ ignored so that the write fails
// instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &before_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = before_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &before_);
    signal(SIGXFSZ, previous_);
  }

 private:
  rlimit before_{};
  void (*previous_)(int) = nullptr;
};

TEST_F(ReportTest, AnOlderLogIsOfferedEvenWhenThisRecordCouldNotBeWritten) {
  const QString path = dir.filePath(QStringLiteral("VantrelError.Log"));
  {
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("an older record\r\n");
  }
  Report(path);
  {
    const FileSizeLimit full(static_cast<rlim_t>(QFileInfo(path).size()));
    report->ApplicationEvents1Exception(nullptr, std::make_exception_ptr(std::runtime_error("x")));
  }
  EXPECT_EQ(LogText(), QStringLiteral("an older record\r\n"));
  EXPECT_EQ(seen.size(), 1U);
  EXPECT_EQ(launcher.Opened().size(), 1U);
}

// The disk full before the first record: the log is made but stays empty, and nobody is
// asked to mail an empty file.
TEST_F(ReportTest, AnEmptyLogIsNotOfferedByMail) {
  const QString path = dir.filePath(QStringLiteral("VantrelError.Log"));
  Report(path);
  {
    const FileSizeLimit full(0);
    report->ApplicationEvents1Exception(nullptr, std::make_exception_ptr(std::runtime_error("x")));
  }
  EXPECT_EQ(seen.size(), 1U);
  EXPECT_TRUE(launcher.Opened().empty());
}

TEST_F(ReportTest, TheReportPageIsAskedForAtEveryErrorInTheLanguageOfTheMoment) {
  report->ShowError(std::make_exception_ptr(std::runtime_error("one")));
  caption = QStringLiteral("So melden Sie den Fehler");
  report->ShowError(std::make_exception_ptr(std::runtime_error("two")));
  ASSERT_EQ(seen.size(), 2U);
  EXPECT_EQ(linesAsked, 2);
  EXPECT_EQ(seen[0].tabs.value(2), "How To Report Error");
  EXPECT_EQ(seen[1].tabs.value(2), "So melden Sie den Fehler");
  // An error with no raise on record still has its class and message, and no stack.
  EXPECT_TRUE(
      seen[1].message.startsWith("Exception 'std::runtime_error' in module UNKNOWN at 00000000"
                                 "\ntwo\n\nSource file: UNKNOWN, Line UNKNOWN"))
      << seen[1].message.toStdString();
}

// Settings that cannot be written at close are an expected failure: a warning, never the
// error report, and the program still closes.
TEST_F(ReportTest, SettingsThatCannotBeWrittenAtCloseAreAWarningAndTheProgramStillCloses) {
  // A settings folder that cannot be made: every write fails.
  SettingsStore store(QStringLiteral("/proc/vantrel-none/config"));
  Services services{dialogs, launcher, help, store, state, translator};
  TMainForm form(services);
  TNotifyForm notify(services, &form);
  form.SetSideWindows(nullptr, nullptr, nullptr, &notify, nullptr);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(seen.size(), 0U);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(
      dialogs.warnings[0].startsWith(QStringLiteral("Failed to set data for 'Dictionary'\n")))
      << dialogs.warnings[0].toStdString();
  EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral("/proc/vantrel-none/config")))
      << dialogs.warnings[0].toStdString();
  // The countdown did not run: its notification window was never shown.
  EXPECT_EQ(dialogs.execs, 0);
}

// The notification window's OK with settings that cannot be written: a warning naming
// the value and the file, as at the main window's close; no error report, and the window
// closes as it would have.
TEST_F(ReportTest, ANotificationCountThatCannotBeStoredIsAWarning) {
  SettingsStore store(QStringLiteral("/proc/vantrel-none/config"));
  Services services{dialogs, launcher, help, store, state, translator};
  TNotifyForm notify(services);
  notify.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&notify));
  QTest::mouseClick(testing::Find<QRadioButton>(notify, "RemindRadioButton"), Qt::LeftButton);
  QTest::mouseClick(testing::Find<QPushButton>(notify, "Ok"), Qt::LeftButton);
  EXPECT_EQ(seen.size(), 0U);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(
      dialogs.warnings[0].startsWith(QStringLiteral("Failed to set data for 'NotifyCount'\n")))
      << dialogs.warnings[0].toStdString();
  EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral("/proc/vantrel-none/config")))
      << dialogs.warnings[0].toStdString();
  EXPECT_EQ(notify.result(), QDialog::Accepted);
  EXPECT_FALSE(notify.isVisible());
}

// ----- the dialog itself -----

ErrorDialogTexts SampleTexts() {
  ErrorDialogTexts texts;
  texts.message = QStringLiteral(
      "Exception 'std::runtime_error' in module vantrel at 0004A1C3\r\n\r\n\r\n"
      "Source file: TestPanel.cpp, Line 409");
  texts.callStack = QStringList{
      "Call stack:",
      ":000055D0C4A4A1C3 [vantrel] vantrel::TTestForm::EmailErrorBtnClick() (TestPanel.cpp, "
      "line 409)",
      "Recursive call (3 times):",
      ":000055D0C4A4B002 [vantrel] vantrel::Walk(int) (Walk.cpp, line 12)",
      ":00007F6E1C2D11A0 [libQt6Core.so.6] QObject::event(QEvent*)"};
  texts.registers = QStringList{
      "Registers:", "RAX = 0000000000000000  CS = 0033  RIP = 000055D0C4A4A1C3  Flags = 00000246"};
  texts.reportCaption = QStringLiteral("How To Report Error");
  texts.reportLines =
      ReportPageLines(QStringLiteral("/home/user/.local/state/Vantrel/"
                                     "VantrelError.Log"));
  return texts;
}

TEST(ErrorDialog, DetailsSwitchBetweenTheFullAndTheCompactDialog) {
  ErrorDialog dialog(SampleTexts());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const int fullHeight = dialog.height();
  EXPECT_TRUE(dialog.Pages()->isVisible());

  QTest::mouseClick(dialog.DetailsBtn(), Qt::LeftButton);
  EXPECT_FALSE(dialog.Pages()->isVisible());
  EXPECT_EQ(dialog.DetailsBtn()->text(), "Details >>");
  EXPECT_LT(dialog.height(), fullHeight / 2);
  // The compact dialog ends above where the pages were.
  EXPECT_LE(dialog.height(), dialog.DetailsBtn()->geometry().bottom() + 80);

  QTest::mouseClick(dialog.DetailsBtn(), Qt::LeftButton);
  EXPECT_TRUE(dialog.Pages()->isVisible());
  EXPECT_EQ(dialog.DetailsBtn()->text(), "Compact <<");
  EXPECT_EQ(dialog.height(), fullHeight);
}

TEST(ErrorDialog, PagesAreFixedPitchReadOnlyAndNamedForScreenReaders) {
  ErrorDialog dialog(SampleTexts());
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    QPlainTextEdit* page = dialog.Page(i);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isReadOnly());
    EXPECT_TRUE(QFontInfo(page->font()).fixedPitch());
    EXPECT_EQ(page->font().pixelSize(), 14);
    EXPECT_EQ(page->accessibleName(), dialog.Pages()->tabText(i));
  }
  EXPECT_FALSE(dialog.MessageLabel()->accessibleName().isEmpty());
  EXPECT_EQ(dialog.MessageLabel()->accessibleDescription(), dialog.MessageLabel()->text());
}

TEST(ErrorDialog, EnterOnTheOpenedDialogClosesItWithOk) {
  ErrorDialog dialog(SampleTexts());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

// Pictures of the dialog to look at: set VANTREL_SHOTS to a folder.
TEST(ErrorDialog, PicturesOfTheFullAndTheCompactDialog) {
  const QString folder = qEnvironmentVariable("VANTREL_SHOTS");
  if (folder.isEmpty()) {
    GTEST_SKIP() << "VANTREL_SHOTS names no folder";
  }
  ErrorDialog dialog(SampleTexts());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath(QStringLiteral("error-full.png"))));
  dialog.Pages()->setCurrentIndex(2);
  EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath(QStringLiteral("error-report-page.png"))));
  QTest::mouseClick(dialog.DetailsBtn(), Qt::LeftButton);
  EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath(QStringLiteral("error-compact.png"))));
}

}  // namespace
}  // namespace vantrel
