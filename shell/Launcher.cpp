// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launcher.h"

#include <QDesktopServices>

namespace vantrel {

bool DesktopLauncher::Open(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

}  // namespace vantrel
