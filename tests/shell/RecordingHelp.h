// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A help for tests: it keeps what was asked for and shows nothing.

#include <vector>

#include "HelpViewer.h"

namespace vantrel {

class RecordingHelp final : public Help {
 public:
  // The contents page is recorded as context 0.
  void ShowContents() override { asked_.push_back(0); }
  void ShowContext(int context) override { asked_.push_back(context); }

  const std::vector<int>& Asked() const { return asked_; }

 private:
  std::vector<int> asked_;
};

}  // namespace vantrel
