// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mail and web addresses leave the program through a launcher: the desktop's own handler
// in the program, a recorder in tests. Windows that open addresses take a Launcher& when
// they are built, so nothing global has to be swapped for a test.

#include <QUrl>

namespace vantrel {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Hands the address to the program the desktop chose for it ("mailto:" to the mail
  // program, "https:" to the browser); false when none took it.
  virtual bool Open(const QUrl& url) = 0;
};

class DesktopLauncher final : public Launcher {
 public:
  bool Open(const QUrl& url) override;
};

}  // namespace vantrel
