// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fontconfig reads its configuration (some hundred XML files) the first time a font is
// needed, which costs a fresh process several milliseconds before its first window can be
// laid out. This reads it on a thread of its own while the application object connects to
// the display. Wait() before the first widget: a font needed while the thread still reads
// would make fontconfig read everything a second time.

#include <thread>

namespace vantrel {

class FontConfigAhead {
 public:
  FontConfigAhead();
  ~FontConfigAhead();
  FontConfigAhead(const FontConfigAhead&) = delete;
  FontConfigAhead& operator=(const FontConfigAhead&) = delete;

  // Returns once the configuration is read; at once after the first call.
  void Wait();

 private:
  std::thread reader_;
};

}  // namespace vantrel
