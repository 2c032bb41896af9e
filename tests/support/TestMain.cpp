// SPDX-License-Identifier: GPL-3.0-or-later
// The one main of every test suite. A suite built with VANTREL_TEST_QT runs inside a Qt
// application on the offscreen platform with the Fusion style and an English locale, so
// that it needs no display and comes out the same on every machine; with
// VANTREL_TEST_PROGRAM_APPLICATION that application is the program's own, so that an
// error raised by a handler takes the way it takes in the program.

#include <gtest/gtest.h>

#if defined(VANTREL_TEST_QT)
#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <QtGlobal>
#endif
#if defined(VANTREL_TEST_PROGRAM_APPLICATION)
#include "Application.h"
#endif

int main(int argc, char** argv) {
#if defined(VANTREL_TEST_QT)
  // Test discovery runs this program at build time, where the test's environment does not
  // apply: the offscreen platform has to be chosen here.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Nothing may depend on the machine's language or locale; a test that needs another
  // selects its own.
  qputenv("LANG", "en_US.UTF-8");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
#if defined(VANTREL_TEST_PROGRAM_APPLICATION)
  vantrel::VantrelApplication app(argc, argv);
#else
  QApplication app(argc, argv);
#endif
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
