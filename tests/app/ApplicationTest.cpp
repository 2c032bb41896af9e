// SPDX-License-Identifier: GPL-3.0-or-later
// The application object keeps every error inside the event loop: a click, a key, a timer
// or a posted event whose handler fails leaves the program running. Also the program's
// windows under it, where settings that cannot be written make handlers fail.

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include <QAction>
#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "Application.h"
#include "FindControl.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "QtCatalogs.h"
#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "SixWindows.h"
#include "TestPanel.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

namespace {

// Every test here makes an error escape an event handler on purpose, and the error passes
// Qt's own frames on its way to notify. Qt is built without exception support and runs no
// destructors there, so what those frames had allocated (the text of a key event, a copy
// of a mouse event, a guarded pointer) stays allocated: a known cost of each reported
// error, not a leak of the program's. The leak checker ignores what is allocated while a
// test runs; everything else of the run is still checked.
class ErrorsThroughQtFrames final : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { __lsan_disable(); }
  void OnTestEnd(const testing::TestInfo&) override { __lsan_enable(); }
};

const bool kErrorsThroughQtFramesListening = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new ErrorsThroughQtFrames);
  return true;
}();

}  // namespace
#endif

namespace vantrel {
namespace {

VantrelApplication& App() {
  return *static_cast<VantrelApplication*>(QCoreApplication::instance());
}

struct Reported {
  QObject* receiver;
  QString text;
};

// Records what reaches the error handler instead of showing it.
class RecordedErrors {
 public:
  RecordedErrors() {
    App().SetErrorHandler([this](QObject* receiver, const std::exception_ptr& error) {
      errors.push_back({receiver, VantrelApplication::ErrorText(error)});
    });
  }
  ~RecordedErrors() { App().SetErrorHandler({}); }

  std::vector<Reported> errors;
};

// Whether the event loop still delivers: a timer set now fires.
bool LoopGoesOn() {
  bool fired = false;
  QTimer::singleShot(0, [&fired] { fired = true; });
  return QTest::qWaitFor([&fired] { return fired; }, 2000);
}

class ThrowingObject final : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) {
      throw std::runtime_error("a posted event failed");
    }
    return QObject::event(event);
  }
};

TEST(Application, AnErrorLeavingAnyHandlerReachesTheErrorHandlerAndTheLoopGoesOn) {
  struct Case {
    const char* name;
    // Makes a handler fail through a real event; returns the object the event was for.
    std::function<QObject*(QWidget& window)> raise;
    const char* text;
  };
  const Case cases[] = {
      {"a button's click",
       [](QWidget& window) -> QObject* {
         auto* button = new QPushButton(QStringLiteral("Go"), &window);
         QObject::connect(button, &QPushButton::clicked,
                          [] { throw std::runtime_error("the click failed"); });
         QTest::mouseClick(button, Qt::LeftButton);
         return button;
       },
       "the click failed"},
      {"a key typed into a field",
       [](QWidget& window) -> QObject* {
         auto* edit = new QLineEdit(&window);
         QObject::connect(edit, &QLineEdit::textEdited,
                          [] { throw std::length_error("the key failed"); });
         QTest::keyClick(edit, Qt::Key_A);
         return edit;
       },
       "the key failed"},
      {"a timer's tick",
       [](QWidget& window) -> QObject* {
         auto* timer = new QTimer(&window);
         timer->setSingleShot(true);
         QObject::connect(timer, &QTimer::timeout,
                          [] { throw std::runtime_error("the tick failed"); });
         timer->start(0);
         QTest::qWait(20);
         return timer;
       },
       "the tick failed"},
      {"a posted event",
       [](QWidget& window) -> QObject* {
         auto* object = new ThrowingObject;
         object->setParent(&window);
         QCoreApplication::postEvent(object, new QEvent(QEvent::User));
         QCoreApplication::processEvents();
         return object;
       },
       "a posted event failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordedErrors recorded;
    QWidget window;
    window.show();
    QObject* receiver = c.raise(window);
    ASSERT_EQ(recorded.errors.size(), 1u);
    EXPECT_EQ(recorded.errors[0].text, QString::fromUtf8(c.text));
    // The event was for the control itself (a timer's tick is an event of the timer).
    EXPECT_EQ(recorded.errors[0].receiver, receiver);
    EXPECT_TRUE(LoopGoesOn());
  }
}

TEST(Application, ACatalogErrorReachesTheErrorHandlerOnceAndOnlyFromTheEventLoop) {
  RecordedErrors recorded;
  i18n::SetCatalogErrorHandler(
      [](const i18n::CatalogError& error) { App().ReportLater(std::make_exception_ptr(error)); });
  const i18n::CatalogError broken(
      {StatusCode::kMalformed, "This file is not a valid GNU gettext mo file: /x/app-test.mo"});
  for (int i = 0; i < 3; ++i) {
    i18n::ReportCatalogError(broken);
  }
  EXPECT_TRUE(recorded.errors.empty());  // not in the middle of what was being built
  EXPECT_TRUE(LoopGoesOn());
  i18n::SetCatalogErrorHandler({});
  ASSERT_EQ(recorded.errors.size(), 1U);
  EXPECT_EQ(recorded.errors[0].text, QString::fromUtf8(broken.what()));
}

TEST(Application, WithoutAHandlerTheErrorShowsAsAWarningWithOneOk) {
  QPushButton button(QStringLiteral("Go"));
  QObject::connect(&button, &QPushButton::clicked,
                   [] { throw std::runtime_error("The disk is full"); });
  button.show();

  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QAbstractButton*> buttons;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      return;
    }
    answer.stop();
    text = box->text();
    icon = box->icon();
    buttons = box->buttons();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  answer.start(10);
  // A search inside a search: two busy pointers stacked, both taken down before the message.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QTest::mouseClick(&button, Qt::LeftButton);  // returns once the warning is answered
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  while (QApplication::overrideCursor() != nullptr) {
    QApplication::restoreOverrideCursor();
  }
  EXPECT_EQ(text, QStringLiteral("The disk is full"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons.size(), 1);
  EXPECT_TRUE(LoopGoesOn());
}

TEST(Application, AHandlerThatFailsItselfDoesNotEndTheProgram) {
  App().SetErrorHandler([](QObject*, const std::exception_ptr&) { throw std::bad_alloc(); });
  QPushButton button;
  QObject::connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("first"); });
  QTest::mouseClick(&button, Qt::LeftButton);
  App().SetErrorHandler({});
  EXPECT_TRUE(LoopGoesOn());
}

TEST(Application, TheTextShownIsTheMessageOrElseTheTypeOfTheError) {
  struct Case {
    const char* name;
    std::exception_ptr error;
    QString text;
  };
  const Case cases[] = {
      {"a message", std::make_exception_ptr(std::runtime_error("Out of paper")),
       QStringLiteral("Out of paper")},
      {"an empty message", std::make_exception_ptr(std::runtime_error("")),
       QStringLiteral("std::runtime_error")},
      {"blanks only", std::make_exception_ptr(std::logic_error("  ")),
       QStringLiteral("std::logic_error")},
      {"no standard error", std::make_exception_ptr(42), QStringLiteral("int")},
      {"a settings error",
       std::make_exception_ptr(SettingsWriteError(QStringLiteral("NotifyCount"),
                                                  QStringLiteral("/x/Vantrel.reg"),
                                                  {StatusCode::kWriteFailed, "Not a directory"})),
       QStringLiteral("The setting \"NotifyCount\" cannot be written to /x/Vantrel.reg: Not a "
                      "directory")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VantrelApplication::ErrorText(c.error).toStdString(), c.text.toStdString());
  }
}

// The six windows on a small dictionary, with settings in a folder of their own.
class ProgramTest : public ::testing::Test, public testing::SixWindows {
 protected:
  ~ProgramTest() override { Stop(); }

  void Start() {
    const QString dictionaryPath = dir.filePath(QStringLiteral("words.txt"));
    QFile file(dictionaryPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("228,bat,B\r\n46,go,B\r\n\r\n");
    file.close();
    dialogs.fileChoices.push_back(dictionaryPath);
    CreateWindows(services);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  void Stop() { CloseWindows(); }

  // A file where the settings folder should be: every write fails.
  void BlockSettings() {
    QDir(settings.Folder()).removeRecursively();
    QFile blocker(settings.Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }

  // The notification window shown for real, as its modal loop would show it.
  static void ShowNotificationWindow(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }

  QTemporaryDir dir;
  SettingsStore settings{dir.filePath(QStringLiteral("config"))};
  testing::ScriptedDialogs dialogs;
  RecordingLauncher launcher;
  RecordingHelp help;
  ShellState state;
  Translator translator;
  Services services{dialogs, launcher, help, settings, state, translator};
  RecordedErrors recorded;
};

TEST_F(ProgramTest, HelpNotifyOkWithSettingsThatCannotBeWrittenIsAWarningAndTheProgramGoesOn) {
  Start();
  BlockSettings();
  dialogs.onExec.push_back([this](QDialog& dialog) {
    ShowNotificationWindow(dialog);
    QTest::mouseClick(testing::Find<QRadioButton>(*notify, "RemindRadioButton"), Qt::LeftButton);
    QTest::mouseClick(testing::Find<QPushButton>(*notify, "Ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());  // told why, the window closes as it would have
    if (dialog.isVisible()) {
      dialog.reject();
    }
  });
  testing::Find<QAction>(*form, "Notify1")->trigger();
  EXPECT_TRUE(recorded.errors.empty()) << "an expected failure reached the error report";
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(
      dialogs.warnings[0].startsWith(QStringLiteral("Failed to set data for 'NotifyCount'")))
      << dialogs.warnings[0].toStdString();
  EXPECT_TRUE(dialogs.warnings[0].contains(settings.FilePath()));

  // The program goes on: a number is still searched.
  testing::Find<QLineEdit>(*form, "EntryEdit")->setFocus();
  QTest::keyClicks(testing::Find<QLineEdit>(*form, "EntryEdit"), QStringLiteral("228"));
  QTest::keyClick(testing::Find<QLineEdit>(*form, "EntryEdit"), Qt::Key_Return);
  EXPECT_EQ(form->Model().Candidates().Cell(0, 1), "bat");
}

TEST_F(ProgramTest, SettingsThatCannotBeWrittenAreAWarningAndTheRunEnds) {
  struct Way {
    const char* name;
    std::function<void(TMainForm&)> close;
  };
  const Way ways[] = {
      {"File > Exit",
       [](TMainForm& window) { testing::Find<QAction>(window, "Exit1")->trigger(); }},
      {"the close box", [](TMainForm& window) { window.close(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    recorded.errors.clear();
    dialogs.warnings.clear();
    Start();
    BlockSettings();
    way.close(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(recorded.errors.empty()) << "an expected failure reached the error report";
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(
        dialogs.warnings[0].startsWith(QStringLiteral("Failed to set data for 'Dictionary'")))
        << dialogs.warnings[0].toStdString();
    EXPECT_TRUE(dialogs.warnings[0].contains(settings.FilePath()));
    EXPECT_TRUE(dialogs.shownDialogs.isEmpty());  // no countdown on top
    form->close();                                // closing again says nothing more
    EXPECT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(recorded.errors.empty());
    Stop();
    ASSERT_TRUE(QFile::remove(settings.Folder()));
  }
}

TEST_F(ProgramTest, TheWarningAtCloseComesBeforeTheRunEnds) {
  Start();
  BlockSettings();
  bool stoppedByTest = false;
  bool warnedWhileRunning = false;
  QTimer::singleShot(0, form.get(), [this, &warnedWhileRunning] {
    form->close();  // the close box, in the loop
    warnedWhileRunning = dialogs.warnings.size() == 1;
  });
  QTimer::singleShot(5000, qApp, [&stoppedByTest] {
    stoppedByTest = true;
    QCoreApplication::quit();
  });
  QApplication::exec();
  EXPECT_TRUE(warnedWhileRunning);
  EXPECT_FALSE(stoppedByTest) << "closing the main window did not end the run";
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(recorded.errors.empty());
}

TEST_F(ProgramTest, AFailureInTheCountdownAtCloseIsToldOnceAndTheWindowStillCloses) {
  struct Case {
    const char* name;
    std::function<void(TNotifyForm&)> answer;
    bool reported;  // by the error report, else by a warning (neither case today)
  };
  const Case cases[] = {
      {"OK pressed in the notification window",
       [](TNotifyForm& window) {
         QTest::mouseClick(testing::Find<QPushButton>(window, "Ok"), Qt::LeftButton);
       },
       false},
      // A settings error raised by the countdown itself leaves it for the close handler.
      {"an error leaving the countdown",
       [](TNotifyForm& window) { testing::Find<QPushButton>(window, "Ok")->click(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorded.errors.clear();
    dialogs.warnings.clear();
    Start();
    // The last close before the notification: the countdown shows the window.
    settings.OpenKey(SettingsStore::OpenMode::kCreate)
        ->WriteInteger(QStringLiteral("NotifyCount"), 1);
    dialogs.onExec.push_back([&](QDialog& dialog) {
      ShowNotificationWindow(dialog);
      BlockSettings();
      c.answer(*notify);
    });
    EXPECT_TRUE(form->close());  // the close event goes through notify, as the close box's
    // Told once, by a warning: the window's own OK handler warns, and a failure that leaves
    // the countdown is warned of by the close handler.
    ASSERT_EQ(recorded.errors.size() + static_cast<std::size_t>(dialogs.warnings.size()), 1u);
    if (c.reported) {
      ASSERT_EQ(recorded.errors.size(), 1u);
      EXPECT_TRUE(recorded.errors[0].text.contains(QStringLiteral("\"NotifyCount\"")));
    } else {
      ASSERT_EQ(dialogs.warnings.size(), 1);
      EXPECT_TRUE(
          dialogs.warnings[0].startsWith(QStringLiteral("Failed to set data for 'NotifyCount'")))
          << dialogs.warnings[0].toStdString();
    }
    EXPECT_FALSE(form->isVisible());
    Stop();
    ASSERT_TRUE(QFile::remove(settings.Folder()));
  }
}

}  // namespace
}  // namespace vantrel
