// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a window gives the word engine it shows: warnings over the window, the busy
// pointer around a dictionary scan, the window's language and the user's decimal
// separator. The main window and the lookup window host their engines through it and
// add only what is their own.

#include <QLocale>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <type_traits>

#include "Dialogs.h"
#include "EngineHost.h"
#include "Message.h"
#include "Services.h"

namespace vantrel {

// The decimal separator of the user's locale, or '.' when it is not one ASCII character
// (the status line is Windows-1252 text).
inline char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

template <class Host>
class WindowEngineHost : public Host {
  static_assert(std::is_base_of_v<EngineHost, Host>);

 public:
  WindowEngineHost(QWidget& window, Services& services) : window_(window), services_(services) {}

  void Warn(const Message& message) override {
    services_.dialogs.Warning(&window_, services_.translator.Message(message));
  }
  void SetBusy(bool busy) override { ShowBusyPointer(busy); }
  std::string Translate(std::string_view english) override {
    return services_.translator.Text(english).toStdString();
  }
  char DecimalSeparator() override { return LocaleDecimalSeparator(); }

 private:
  QWidget& window_;
  Services& services_;
};

}  // namespace vantrel
