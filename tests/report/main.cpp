// The report tests run inside the program's own application object, so that an error
// raised by a handler takes the way it takes in the program: through notify to the report.

#include <QLocale>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "Application.h"

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
