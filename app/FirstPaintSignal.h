// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the start-up benchmark: when the environment names a file descriptor in
// VANTREL_FIRST_PAINT_FD, one byte is written to it as soon as the window has painted for
// the first time, so that a parent process can time the start up to the first window shown.
// Without the variable nothing happens.

class QWidget;

namespace vantrel {

void SignalFirstPaint(QWidget& window);

}  // namespace vantrel
