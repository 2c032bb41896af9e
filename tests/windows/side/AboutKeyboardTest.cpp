// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's addresses, reached and opened from the keyboard.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "AboutVantrel.h"
#include "FindControl.h"
#include "Notify.h"
#include "SideTesting.h"
#include "TestPanel.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;

TEST(AboutKeyboard, TabReachesTheAddressesAndSpaceOrEnterOpensThem) {
  TestServices env;
  TAboutForm about(env.services);
  ASSERT_TRUE(ShowActive(about));
  struct Row {
    QLabel* label;
    Qt::Key key;
    const char* opened;
  };
  for (const Row& r : {Row{testing::Find<QLabel>(about, "EmailLabel"), Qt::Key_Space,
                           "mailto:support@vantrel.example?subject=Vantrel"},
                       Row{testing::Find<QLabel>(about, "HomePageLabel"), Qt::Key_Return,
                           "https://vantrel.example/"}}) {
    SCOPED_TRACE(r.opened);
    for (int i = 0; i < 10 && QApplication::focusWidget() != r.label; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), r.label);
    const size_t before = env.launcher.Opened().size();
    QTest::keyClick(r.label, r.key);
    ASSERT_EQ(env.launcher.Opened().size(), before + 1);
    EXPECT_EQ(env.launcher.Opened().back().toString(), QString::fromLatin1(r.opened));
    // Enter on an address opens it and does not close the window.
    EXPECT_TRUE(about.isVisible());
  }
}

}  // namespace
}  // namespace vantrel
