// SPDX-License-Identifier: GPL-3.0-or-later
// The grid tests run on Qt's offscreen platform with the Fusion style, so that they need
// no display and render the same everywhere.

#include <QApplication>
#include <QLocale>

#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where no test environment applies.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QLocale::setDefault(QLocale::c());
  QApplication::setStyle("Fusion");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
