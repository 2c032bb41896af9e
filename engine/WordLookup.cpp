// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordLookup.h"

#include <algorithm>

#include "Codepage.h"

namespace vantrel {

void LookupModel::EmptyGrid() {
  for (int row = 0; row < kRows; ++row) {
    results_.SetCell(0, row, {});
  }
}

void LookupModel::TypeWord(std::string text, bool modifiedByUser) {
  word_ = std::move(text);
  if (!modifiedByUser) {
    return;
  }
  EmptyGrid();
  copyEnabled_ = false;
  convertEnabled_ = !Trim(word_).empty();
  host_.StateChanged();
}

void LookupModel::LookUp() {
  std::unique_ptr<ByteSource> source = dictionary_.Reopen();
  if (source == nullptr) {
    host_.Warn({Tr("Can Not Open "), Lit(dictionary_.name), Tr(" in ConvertBtnClick")});
    return;
  }
  int words = -1;
  int matches = 0;
  const std::string target(Short(Trim(StripBrackets(Short(LowerAZ(Short(word_)))))));
  host_.SetBusy(true);
  EmptyGrid();
  results_.SetCurrentRow(0);
  const double start = host_.Now();
  const int lastRow = results_.RowCount() - 1;
  DictionaryEntry entry;
  const vantrel::Status result = ScanDictionary(*source, [&](std::string_view line) {
    ++words;
    if (!ParseDictionaryLine(line, entry)) {
      return;
    }
    // The word field is not trimmed: a blank beside a comma never matches.
    if (StripBrackets(Short(LowerAZ(entry.word))) != target) {
      return;
    }
    for (int row = 0; row <= matches; ++row) {
      if (results_.Cell(0, row) == entry.digits) {
        return;
      }
    }
    matches = std::min(matches + 1, lastRow);
    results_.SetCell(0, matches - 1, entry.digits);
  });
  if (!result.IsOk()) {
    host_.SetBusy(false);
    // In this window the read error stays in English whatever the language: its pieces
    // are literal, so the catalogs never reach it.
    host_.Warn({Lit("Error Reading Dictionary "), Lit(dictionary_.name)});
    host_.StateChanged();
    return;
  }
  if (results_.Cell(0, 0).empty()) {
    results_.SetCell(0, 0, Utf8ToCp1252(host_.Translate("No Numeric Equivalent")));
    copyEnabled_ = false;
  } else {
    copyEnabled_ = true;
  }
  if (!results_.Cell(0, 1).empty()) {
    copyEnabled_ = false;  // several results: the user picks one first
  }
  host_.SetBusy(false);
  status_ = StatusLine(matches, words, host_.Now() - start, host_.DecimalSeparator());
  host_.StateChanged();
}

void LookupModel::ChooseResult() {
  copyEnabled_ = !results_.Cell(0, results_.CurrentRow()).empty();
  host_.StateChanged();
}

std::string LookupModel::CopyText() const {
  return std::string(Trim(results_.Cell(0, results_.CurrentRow()))) + ", " + word_;
}

void LookupModel::Clear() {
  word_.clear();
  EmptyGrid();
  convertEnabled_ = false;
  copyEnabled_ = false;
  host_.StateChanged();
}

}  // namespace vantrel
