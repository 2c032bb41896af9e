// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests run on Qt's offscreen platform with the Fusion style and a fixed
// locale, so that they need no display and come out the same on every machine.

#include <QApplication>
#include <QLocale>
#include <QtGlobal>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where no test environment applies.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QLocale::setDefault(QLocale::c());
  QApplication::setStyle("Fusion");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
