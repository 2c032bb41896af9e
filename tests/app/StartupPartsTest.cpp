// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces that let the main window show before the rest is ready: the font configuration
// read on a thread of its own, the first paint of a window, which starts the work that may
// wait, and the program's style, whose standard icons are read only when drawn.

#include <gtest/gtest.h>

#include <signal.h>

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "FirstPaint.h"
#include "FontConfigAhead.h"
#include "ProgramStyle.h"
#include "QuitSignals.h"

namespace vantrel {
namespace {

// A window wholly covered by a child: the window itself never paints.
struct CoveredWindow {
  CoveredWindow() {
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("covering"), &window));
    window.resize(200, 80);
  }
  QWidget window;
};

TEST(FontConfigAhead, WaitingAgainOrLeavingItToTheDestructorIsSafe) {
  // A thread still joinable when its object goes ends the program; a second join throws.
  EXPECT_NO_THROW({
    FontConfigAhead ahead;
    ahead.Wait();
    ahead.Wait();
  });
  EXPECT_NO_THROW({ FontConfigAhead unwaited; });
}

TEST(FirstPaint, ActionsRunOnceAtTheWindowsFirstPaintAndNotForAnotherWindow) {
  CoveredWindow watched;
  QWidget other;
  other.resize(100, 50);
  std::vector<const char*> ran;
  OnFirstPaint(watched.window, [&] { ran.push_back("on"); });
  AfterFirstPaint(watched.window, [&] { ran.push_back("after"); });

  other.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
  QTest::qWait(20);
  EXPECT_TRUE(ran.empty()) << "another window's paint counted";

  watched.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&watched.window));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 2; }, 2000));
  EXPECT_STREQ(ran[0], "on");
  EXPECT_STREQ(ran[1], "after");

  // Later paints run nothing again.
  watched.window.hide();
  watched.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&watched.window));
  watched.window.repaint();
  QTest::qWait(20);
  EXPECT_EQ(ran.size(), 2u);
}

// A child that remembers that it has finished painting.
class PaintProbe : public QWidget {
 public:
  using QWidget::QWidget;
  bool painted = false;

 protected:
  void paintEvent(QPaintEvent*) override { painted = true; }
};

TEST(FirstPaint, TheLaterActionWaitsUntilThePaintIsOver) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* probe = new PaintProbe(&window);
  layout->addWidget(probe);
  window.resize(120, 60);
  bool onSawPaint = true;
  bool afterSawPaint = false;
  OnFirstPaint(window, [&] { onSawPaint = probe->painted; });
  AfterFirstPaint(window, [&] { afterSawPaint = probe->painted; });
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return afterSawPaint; }, 2000));
  EXPECT_FALSE(onSawPaint) << "the first action runs before the paint";
}

// The icons a control asks for while it is built are the base style's own pictures.
TEST(ProgramStyle, StandardIconsDrawAsTheBaseStyleDraws) {
  const QString base = QApplication::style()->name();
  ProgramStyle program(base);
  QStyle* plain = program.baseStyle();
  const QStyle::StandardPixmap icons[] = {
      QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_MessageBoxWarning,
      QStyle::SP_MessageBoxCritical, QStyle::SP_ArrowBack, QStyle::SP_DialogOkButton};
  for (const QStyle::StandardPixmap which : icons) {
    SCOPED_TRACE(static_cast<int>(which));
    const QIcon icon = program.standardIcon(which, nullptr, nullptr);
    const QIcon expected = plain->standardIcon(which, nullptr, nullptr);
    EXPECT_EQ(icon.isNull(), expected.isNull());
    for (const int size : {16, 32}) {
      EXPECT_EQ(icon.pixmap(size).toImage(), expected.pixmap(size).toImage());
      EXPECT_EQ(icon.actualSize(QSize(size, size)), expected.actualSize(QSize(size, size)));
    }
    EXPECT_EQ(icon.pixmap(16, QIcon::Disabled).toImage(),
              expected.pixmap(16, QIcon::Disabled).toImage());
  }
}

// The handler a signal has now.
void (*HandlerOf(int number))(int) {
  struct sigaction now {};
  sigaction(number, nullptr, &now);
  return now.sa_handler;
}

void KeepGoing(int /*signal*/) {}

// While the program runs, SIGTERM and SIGHUP close its main window; before and after, each
// does what it did before, so that a signal at the very end still ends the program.
TEST(QuitSignals, EachSignalIsTakenOverAndGivenBackAndOneClosesTheWindow) {
  const int ending[] = {SIGTERM, SIGHUP};
  for (int number : ending) {
    ::signal(number, KeepGoing);
  }
  {
    QuitSignals quit;
    for (int number : ending) {
      EXPECT_NE(HandlerOf(number), &KeepGoing) << number;
    }
  }
  for (int number : ending) {
    EXPECT_EQ(HandlerOf(number), &KeepGoing) << number;
  }

  for (int number : ending) {
    SCOPED_TRACE(number);
    int closes = 0;
    QuitSignals quit;
    quit.SetClose([&closes] { ++closes; });
    ASSERT_EQ(::raise(number), 0);
    EXPECT_TRUE(QTest::qWaitFor([&closes] { return closes == 1; }, 5000));
  }
  for (int number : ending) {
    ::signal(number, SIG_DFL);
  }
}

}  // namespace
}  // namespace vantrel
