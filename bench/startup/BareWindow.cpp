// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: a bare Qt window with one line edit, started
// and timed the way the program is.

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "FirstPaintSignal.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLineEdit(&window));
  vantrel::SignalFirstPaint(window);
  window.show();
  return QApplication::exec();
}
