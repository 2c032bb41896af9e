// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A launcher for tests: it keeps every address it is asked to open and opens none.

#include <QUrl>
#include <vector>

#include "Launcher.h"

namespace vantrel {

class RecordingLauncher final : public Launcher {
 public:
  bool Open(const QUrl& url) override {
    opened_.push_back(url);
    return succeeds_;
  }

  // What Open answers, as if the desktop had (or had not) found a program for the address.
  void SetSucceeds(bool succeeds) { succeeds_ = succeeds; }
  const std::vector<QUrl>& Opened() const { return opened_; }

 private:
  std::vector<QUrl> opened_;
  bool succeeds_ = true;
};

}  // namespace vantrel
