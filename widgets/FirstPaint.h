// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first paint of a window: the moment the user first sees it.

#include <functional>

class QWidget;

namespace vantrel {

// Runs action once, as soon as a widget of window first paints, before that paint. The
// window itself may be covered by its children and never paint at all.
void OnFirstPaint(QWidget& window, std::function<void()> action);

// Runs action once the window's first paint is done: work that the first sight of the
// window need not wait for.
void AfterFirstPaint(QWidget& window, std::function<void()> action);

}  // namespace vantrel
