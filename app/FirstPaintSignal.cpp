// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintSignal.h"

#include <unistd.h>

#include <QtGlobal>

#include "FirstPaint.h"

namespace vantrel {

void SignalFirstPaint(QWidget& window) {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("VANTREL_FIRST_PAINT_FD", &ok);
  if (!ok || fd <= 2) {
    return;
  }
  OnFirstPaint(window, [fd] {
    const char shown = '1';
    // The parent only waits for the byte; a failed write leaves it to its own time limit.
    [[maybe_unused]] const ssize_t written = ::write(fd, &shown, 1);
    ::close(fd);
  });
}

}  // namespace vantrel
