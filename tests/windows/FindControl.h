// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's control, found as the window's translation and a screen reader find it: by
// its object name. A control that is missing fails the test instead of crashing it.

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace vantrel::testing {

template <class Control>
Control* Find(const QObject& window, const char* name) {
  Control* control = window.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) {
    throw std::logic_error(window.objectName().toStdString() + " has no control named " + name);
  }
  return control;
}

}  // namespace vantrel::testing
