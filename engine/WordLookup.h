// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The word lookup: the digits fields under which the dictionary holds a typed word.

#include <string>

#include "CellTable.h"
#include "Dictionary.h"
#include "EngineHost.h"

namespace vantrel {

class LookupModel {
 public:
  static constexpr int kRows = 20;  // at most 19 results; the last row stays empty

  LookupModel(DictionaryFile& dictionary, EngineHost& host)
      : dictionary_(dictionary), host_(host) {}

  CellTable ConvertedGrid{1, kRows};

  const std::string& WordText() const { return word_; }
  // The word field changed or got the focus; only a text the user changed counts.
  void WordToConvertChange(std::string text, bool modifiedByUser);
  void ConvertBtnClick();
  // A click on the results: Copy follows the current row.
  void ConvertedGridClick();
  // The clipboard text of Copy: the digits of the current row, ", ", the typed word.
  std::string CopyBtnClick();
  void ClearBtnClick();

  bool ConvertEnabled() const { return convertEnabled_; }
  bool CopyEnabled() const { return copyEnabled_; }
  const Message& Status() const { return status_; }

 private:
  void EmptyGrid();

  DictionaryFile& dictionary_;
  EngineHost& host_;
  std::string word_;
  bool convertEnabled_ = false;
  bool copyEnabled_ = false;
  Message status_;
};

}  // namespace vantrel
