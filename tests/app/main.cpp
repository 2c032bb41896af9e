// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLocale>
#include <QStyleFactory>
#include <QtGlobal>

#include "Application.h"

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

}  // namespace
#endif

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where the test's environment does not
  // apply: the offscreen platform has to be chosen here.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Nothing may depend on the machine's language or locale.
  qputenv("LANG", "en_US.UTF-8");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  // The program's own application object, whose notify is under test.
  vantrel::TVantrelApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  testing::InitGoogleTest(&argc, argv);
#if defined(__SANITIZE_ADDRESS__)
  testing::UnitTest::GetInstance()->listeners().Append(new ErrorsThroughQtFrames);
#endif
  return RUN_ALL_TESTS();
}
