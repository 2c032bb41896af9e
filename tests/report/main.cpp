// SPDX-License-Identifier: GPL-3.0-or-later
// The report tests run inside the program's own application object, so that an error
// raised by a handler takes the way it takes in the program: through notify to the report.

#include <QLocale>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "Application.h"

#if defined(__SANITIZE_ADDRESS__)
// The leaks that Qt's frames leave behind when an error passes them are known by name
// (.ci/lsan.supp); Qt keeps no frame pointers, so only the thorough unwinder finds the
// names.
extern "C" const char* __asan_default_options() {
  return "fast_unwind_on_malloc=0";
}
#endif

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where no test environment applies.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QLocale::setDefault(QLocale::c());
  QApplication::setStyle("Fusion");
  vantrel::TVantrelApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
