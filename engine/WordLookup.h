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

  // The digits found, one per row; the grid that shows them moves the current row.
  const CellTable& Results() const { return results_; }
  CellTable& ResultsForGrid() { return results_; }

  // The word field changed or got the focus; only a text the user changed counts.
  void TypeWord(std::string text, bool modifiedByUser);
  // Lists the digits under which the dictionary holds the word.
  void LookUp();
  // The user picked a result: Copy follows the current row.
  void ChooseResult();
  // The clipboard text of Copy: the digits of the current row, ", ", the typed word.
  std::string CopyText() const;
  void Clear();

  bool ConvertEnabled() const { return convertEnabled_; }
  bool CopyEnabled() const { return copyEnabled_; }
  // What the status line says after the last action.
  const Message& StatusMessage() const { return status_; }

 private:
  void EmptyGrid();

  DictionaryFile& dictionary_;
  EngineHost& host_;
  CellTable results_{1, kRows};
  std::string word_;
  bool convertEnabled_ = false;
  bool copyEnabled_ = false;
  Message status_;
};

}  // namespace vantrel
