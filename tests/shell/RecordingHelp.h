// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A help for tests: it keeps what was asked for and shows nothing; its window's place is
// what the test puts into place.

#include <map>
#include <optional>
#include <vector>

#include "HelpViewer.h"

namespace vantrel {

class RecordingHelp final : public Help {
 public:
  // The contents page is recorded as context 0.
  void ShowContents() override { asked_.push_back(0); }
  void ShowContext(int context) override { asked_.push_back(context); }

  const std::vector<int>& Asked() const { return asked_; }
  std::optional<SettingValue> Stored(Setting setting) const override {
    const auto found = place.find(setting);
    return found == place.end() ? std::nullopt
                                : std::optional(SettingValue::Integer(found->second));
  }

  std::map<Setting, int> place;

 private:
  std::vector<int> asked_;
};

}  // namespace vantrel
