// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainModel.h"

#include <algorithm>
#include <utility>

namespace vantrel {

std::string_view SubText(std::string_view text, int pos, int count) {
  if (pos < 1) {
    pos = 1;
  }
  const auto start = static_cast<std::size_t>(pos - 1);
  if (count <= 0 || start >= text.size()) {
    return {};
  }
  return text.substr(start, static_cast<std::size_t>(count));
}

namespace {

std::string WithoutPlus(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch != '+') {
      out += ch;
    }
  }
  return out;
}

bool AllBullets(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char ch) { return ch == kBullet; });
}

}  // namespace

MainModel::MainModel(DictionaryFile& dictionary, MainHost& host)
    : dictionary_(dictionary), host_(host) {
  // Two blanks in the first phrase row make the first ClearPhrase (when the entry
  // field first gets the focus) empty every slot and give it the empty position.
  SelectedGrid.SetCell(0, 1, "  ");
}

void MainModel::WriteEntry(std::string text) {
  entry_ = std::move(text);
  host_.EntryWritten();
}

// ----- the entry field -----

void MainModel::EntryEditChange(std::string text) {
  host_.NoteUserActivity();
  entry_ = std::move(text);
  UpdateConvertButton();
  ClearPhrase();
  ClearCandidates();
  ClearAffixGrid();
  if (entry_.size() >= kEntryLimit) {
    host_.Warn({Tr("Entry Can Not Exceed "), Lit(std::to_string(kEntryLimit)), Tr(" Characters")});
  }
}

void MainModel::EntryEditEnter() {
  host_.NoteUserActivity();
  ClearPhrase();
  ClearCandidates();
  ClearAffixGrid();
  if (entry_.find(kBullet) != std::string::npos) {
    WriteEntry(currentNumber_);
    UpdateConvertButton();
  }
}

void MainModel::ClearBtnClick() {
  host_.NoteUserActivity();
  ClearPhrase();
  ClearCandidates();
  ClearAffixGrid();
  WriteEntry("");
  UpdateConvertButton();
}

// ----- the dictionary -----

bool MainModel::OpenDictionary() {
  const std::optional<std::string> chosen = host_.ChooseDictionaryFile();
  if (!chosen) {
    // The previous file stays bound, so later searches keep reading it.
    dictionary_.SetNoneInUse(host_.Translate("No Dictionary Open"));
    return false;
  }
  dictionary_.SetInUse(*chosen);
  dictionary_.Bind(*chosen);
  if (dictionary_.Reopen() == nullptr) {
    host_.Warn({Tr("Can Not Open "), Lit(dictionary_.name), Tr(" in Open1Click")});
    dictionary_.SetNoneInUse(host_.Translate("No Dictionary Open"));
    return false;
  }
  return true;
}

void MainModel::LoadAffixes() {
  affixes_.AffixLast = -1;
  std::unique_ptr<ByteSource> source = dictionary_.Reopen();
  if (source == nullptr) {
    if (!OpenDictionary()) {
      return;
    }
    source = dictionary_.Reopen();
    if (source == nullptr) {
      return;
    }
  }
  ByteCensus census(*source);
  if (affixes_.Load(census) == ScanResult::kReadError) {
    host_.Warn({Tr("Error Reading Dictionary "), Lit(dictionary_.name)});
    return;
  }
  // Every search of such a file ends with "0 Matches out of -1 words"; the user learns
  // why once, when the file is opened.
  switch (census.Why(affixes_.ExaminedLines())) {
    case Unexaminable::kNo:
      break;
    case Unexaminable::kEmpty:
      host_.Warn({Tr("The dictionary "), Lit(dictionary_.name),
                  Tr(" is empty, so no words can be found in it.")});
      break;
    case Unexaminable::kSingleLine:
      host_.Warn({Tr("The dictionary "), Lit(dictionary_.name),
                  Tr(" has a single line. The last line of a dictionary is never examined, so "
                     "no words can be found in it.")});
      break;
    case Unexaminable::kUnixLineEnds:
      host_.Warn({Tr("The dictionary "), Lit(dictionary_.name),
                  Tr(" yields no words: its lines must end with CR LF, not with LF alone.")});
      break;
  }
}

// ----- the search -----

void MainModel::UpdateConvertButton() {
  convertEnabled_ = FirstDigitPos(entry_) != 0;
  Changed();
}

void MainModel::UpdateCopyButton() {
  copyEnabled_ =
      !Trim(entry_).empty() && !Trim(SelectedGrid.Cell(0, 1)).empty() && FirstDigitPos(entry_) == 0;
  Changed();
}

void MainModel::ClearCandidates() {
  status_.clear();
  PossibleGrid.SetCurrentRow(1);
  UpdateCopyButton();
  PossibleGrid.SetRowCount(kSearchRows);
  // Candidates fill the rows from 1 on, so an empty first row means nothing to clear.
  if (!PossibleGrid.Cell(0, 1).empty()) {
    for (int row = 1; row <= kSearchRows; ++row) {
      PossibleGrid.SetCell(0, row, {});
      PossibleGrid.SetCell(1, row, {});
      PossibleGrid.SetItalic(0, row, false);
    }
  }
  Changed();
}

void MainModel::ConvertBtnClick() {
  host_.NoteUserActivity();
  const std::string number(Short(entry_));
  if (number.find(kBullet) == std::string::npos) {
    currentNumber_ = number;
  }
  const double start = host_.Now();
  ClearCandidates();
  std::unique_ptr<ByteSource> source = dictionary_.Reopen();
  if (source == nullptr) {
    host_.Warn({Tr("Can Not Open "), Lit(dictionary_.name), Tr(" in ConvertBtnClick")});
    return;
  }
  host_.SetBusy(true);
  SearchCounts counts;
  if (SearchCandidates(*source, number, mode_, PossibleGrid, counts) == ScanResult::kReadError) {
    host_.SetBusy(false);
    host_.Warn({Tr("Error Reading Dictionary "), Lit(dictionary_.name)});
    return;
  }
  const double seconds = host_.Now() - start;
  status_ = StatusLine(counts.matches, counts.words, seconds, host_.DecimalSeparator());
  PossibleGrid.SetRowCount(std::max(counts.matches + 1, 25));
  host_.SetBusy(false);
  Changed();
}

// ----- the phrase -----

void MainModel::ChooseCandidate(int row) {
  if (row < 1) {
    return;
  }
  const std::string word = PossibleGrid.Cell(0, row);
  const std::string digits = PossibleGrid.Cell(1, row);
  if (word.empty() || digits.empty()) {
    return;
  }
  // The occurrence that let the word match in this mode.
  ChosenPos = mode_ == SearchMode::kRight ? LastPos(digits, entry_) : Pos(digits, entry_);
  ChosenWord = word;
  ChosenDigits = digits;
  if (InsertChosenWord()) {
    RebuildPhrase();
  }
}

bool MainModel::InsertChosenWord() {
  const int n = static_cast<int>(ChosenDigits.size());
  if (n == 0 || ChosenPos < 1 || SubText(entry_, ChosenPos, n) != ChosenDigits ||
      ChosenDigits.find(kBullet) != std::string::npos) {
    return false;
  }
  std::string number = entry_;
  number.replace(static_cast<std::size_t>(ChosenPos - 1), static_cast<std::size_t>(n),
                 static_cast<std::size_t>(n), kBullet);
  WriteEntry(std::move(number));
  SelectedGrid.SetCell(0, kStagingSlot, ChosenWord);
  SelectedGrid.SetCell(1, kStagingSlot, ChosenDigits);
  wordPositions_[kStagingSlot] = ChosenPos;
  ShowAffixesFor(ChosenWord, ChosenDigits, ChosenPos);
  UpdateConvertButton();
  return true;
}

void MainModel::RebuildPhrase() {
  std::array<std::string, kPhraseSlots + 1> words;
  std::array<std::string, kPhraseSlots + 1> digits;
  std::array<long long, kPhraseSlots + 1> key{};
  for (int r = 1; r <= kPhraseSlots; ++r) {
    words[static_cast<std::size_t>(r)] = SelectedGrid.Cell(0, r);
    digits[static_cast<std::size_t>(r)] = SelectedGrid.Cell(1, r);
    key[static_cast<std::size_t>(r)] = wordPositions_[static_cast<std::size_t>(r)];
  }
  ClearPhrase();
  // A selection sort that keeps equal positions in slot order; empty slots, at the
  // empty position, sort after every word.
  for (int k = 1; k <= kPhraseSlots; ++k) {
    std::size_t lowest = 1;
    for (std::size_t i = 2; i <= kPhraseSlots; ++i) {
      if (key[i] < key[lowest]) {
        lowest = i;
      }
    }
    SelectedGrid.SetCell(0, k, words[lowest]);
    SelectedGrid.SetCell(1, k, digits[lowest]);
    wordPositions_[static_cast<std::size_t>(k)] = static_cast<int>(key[lowest]);
    key[lowest] += 100000;
  }
  int firstEmpty = 101;
  for (int r = 26; r <= kPhraseSlots; ++r) {
    if (SelectedGrid.Cell(0, r).empty()) {
      firstEmpty = r;
      break;
    }
  }
  // A hundredth word stands in slot 100: the grid shows it too, or cutting the row off
  // would drop it from the phrase that Copy writes.
  SelectedGrid.SetRowCount(std::min(kPhraseSlots + 1, firstEmpty));
  SelectedGrid.SetCurrentRow(1);
  ConvertBtnClick();
}

void MainModel::ClearPhrase() {
  if (SelectedGrid.Cell(0, 1).empty()) {
    return;
  }
  SelectedGrid.SetRowCount(kPhraseSlots + 1);
  for (int r = 1; r <= kPhraseSlots; ++r) {
    SelectedGrid.SetCell(0, r, {});
    SelectedGrid.SetCell(1, r, {});
    wordPositions_[static_cast<std::size_t>(r)] = kEmptyPosition;
  }
  SelectedGrid.SetCurrentRow(1);
}

void MainModel::RemovePhraseWord(int row) {
  if (row < 1 || row > kPhraseSlots) {
    return;
  }
  const std::string digits = SelectedGrid.Cell(1, row);
  const int n = static_cast<int>(digits.size());
  const int p = wordPositions_[static_cast<std::size_t>(row)];
  // The digits go back only where the word's bullets stand; anything else would
  // overwrite the number.
  if (n > 0 && p >= 1 && static_cast<int>(SubText(entry_, p, n).size()) == n &&
      AllBullets(SubText(entry_, p, n))) {
    std::string number = entry_;
    number.replace(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(n), digits);
    WriteEntry(std::move(number));
  }
  SelectedGrid.SetCell(0, row, {});
  SelectedGrid.SetCell(1, row, {});
  wordPositions_[static_cast<std::size_t>(row)] = kEmptyPosition;
  ClearAffixGrid();
  RebuildPhrase();
  UpdateConvertButton();
}

std::string MainModel::PhraseText() const {
  std::string text = std::string(Trim(currentNumber_)) + ",";
  for (int r = 1; r <= kPhraseSlots; ++r) {
    text = std::string(Trim(text + " " + std::string(Trim(SelectedGrid.Cell(0, r)))));
  }
  return text;
}

// ----- the affix additions -----

void MainModel::ClearAffixGrid() {
  selectedWordLabel_.clear();
  AffixGrid.SetRowCount(kAffixRows);
  // Offers fill the grid from row 0, so an empty first cell means nothing to clear.
  if (!AffixGrid.Cell(0, 0).empty()) {
    for (int row = 0; row < kAffixRows; ++row) {
      AffixGrid.SetCell(0, row, {});
      AffixGrid.SetCell(1, row, {});
      AffixGrid.SetItalic(0, row, false);
    }
  }
  Changed();
}

void MainModel::ShowAffixesFor(const std::string& word, const std::string& digits, int pos) {
  ClearAffixGrid();
  AffixGrid.SetCurrentRow(0);
  selectedWordLabel_ = word;
  const std::string_view t = entry_;
  const std::string_view after =
      SubText(t, pos + static_cast<int>(digits.size()), static_cast<int>(t.size()));
  const std::string_view before = SubText(t, 1, pos - 1);
  int r = 0;
  for (int i = 0; i <= affixes_.AffixLast; ++i) {
    const AffixRecord& e = affixes_[i];
    bool listed = false;
    if (e.Kind == kSuffix) {
      listed = after.substr(0, e.Digits.size()) == e.Digits;
    } else if (e.Kind == kPrefix) {
      const int p = LastPos(e.Digits, before);
      listed = p > 0 && p == static_cast<int>(before.size() - e.Digits.size()) + 1;
    }
    if (listed) {
      AffixGrid.SetCell(0, r, e.Word);
      AffixGrid.SetCell(1, r, e.Digits);
      if (e.ClassLetter == "A") {
        AffixGrid.SetItalic(0, r, true);
      }
      ++r;
    }
  }
  AffixGrid.SetRowCount(std::max(r, 16));
  Changed();
}

void MainModel::PlaceWordBeside(int pos, std::string word, std::string digits) {
  const int savedPos = std::exchange(ChosenPos, pos);
  std::string savedWord = std::exchange(ChosenWord, std::move(word));
  std::string savedDigits = std::exchange(ChosenDigits, std::move(digits));
  if (InsertChosenWord()) {
    RebuildPhrase();
    return;
  }
  // Refused: the chosen word stays the one whose affixes are listed.
  ChosenPos = savedPos;
  ChosenWord = std::move(savedWord);
  ChosenDigits = std::move(savedDigits);
}

void MainModel::AffixGridMouseUp(int row) {
  host_.NoteUserActivity();
  if (row < 0 || row > AffixGrid.RowCount() - 1) {
    return;
  }
  std::string a(Trim(AffixGrid.Cell(0, row)));
  // The digits are read when they are used: a '+' step refills the grid under them.
  auto ad = [&]() { return std::string(Trim(AffixGrid.Cell(1, row))); };
  if (a.empty()) {
    return;
  }
  if (a.front() == '-') {  // an ending joined to the word
    a.front() = ' ';
    a = std::string(Trim(a));
    AffixPos = ChosenPos;
    SelectedAffixGrid.SetCell(0, 1, ChosenWord + a);
    SelectedAffixGrid.SetCell(1, 1, std::string(Trim(ChosenDigits)) + ad());
    host_.ShowAffixWindow();
  }
  if (!a.empty() && a.front() == '+') {  // a word of its own after the chosen one
    PlaceWordBeside(ChosenPos + static_cast<int>(ChosenDigits.size()), WithoutPlus(a), ad());
  }
  if (!a.empty() && a.back() == '-') {  // a beginning joined to the word
    a.back() = ' ';
    a = std::string(Trim(a));
    const std::string digits = ad();
    AffixPos = ChosenPos - static_cast<int>(digits.size());
    SelectedAffixGrid.SetCell(0, 1, a + ChosenWord);
    SelectedAffixGrid.SetCell(1, 1, digits + std::string(Trim(ChosenDigits)));
    host_.ShowAffixWindow();
  }
  if (!a.empty() && a.back() == '+') {  // a word of its own before the chosen one
    const std::string digits = ad();
    PlaceWordBeside(ChosenPos - static_cast<int>(digits.size()), WithoutPlus(a), digits);
  }
}

bool MainModel::AffixOkBtnClick() {
  int k = 0;
  for (int r = 1; r <= kPhraseSlots; ++r) {
    if (wordPositions_[static_cast<std::size_t>(r)] == ChosenPos) {
      k = r;
      break;
    }
  }
  if (k == 0) {
    host_.Warn({Tr("The word to correct is no longer in the phrase.")});
    return false;
  }
  const std::string word = SelectedAffixGrid.Cell(0, 1);
  const std::string digits = SelectedAffixGrid.Cell(1, 1);
  // A cut can empty the word cell; a phrase row without a word would hide its digits.
  if (Trim(word).empty()) {
    host_.Warn({Tr("The corrected word must not be empty.")});
    return false;
  }
  const int n = static_cast<int>(digits.size());
  // The proposal must cover the chosen word's own bullets and free digits that are
  // exactly its own, or the bullets would swallow other words or separators.
  std::string restored = entry_;
  const int chosenLength = static_cast<int>(SelectedGrid.Cell(1, k).size());
  if (ChosenPos >= 1 &&
      static_cast<int>(SubText(entry_, ChosenPos, chosenLength).size()) == chosenLength) {
    restored.replace(static_cast<std::size_t>(ChosenPos - 1),
                     static_cast<std::size_t>(chosenLength), SelectedGrid.Cell(1, k));
  }
  const bool fits =
      n > 0 && AffixPos >= 1 && AffixPos <= ChosenPos && AffixPos + n >= ChosenPos + chosenLength &&
      SubText(restored, AffixPos, n) == digits && digits.find(kBullet) == std::string::npos;
  if (!fits) {
    host_.Warn({Tr("The digits of the corrected word do not match the number.")});
    return false;
  }
  ClearAffixGrid();
  std::string number = entry_;
  number.replace(static_cast<std::size_t>(AffixPos - 1), static_cast<std::size_t>(n),
                 static_cast<std::size_t>(n), kBullet);
  WriteEntry(std::move(number));
  wordPositions_[static_cast<std::size_t>(k)] = AffixPos;
  SelectedGrid.SetCell(0, k, word);
  SelectedGrid.SetCell(1, k, digits);
  ChosenWord = word;
  ChosenDigits = digits;
  ChosenPos = AffixPos;
  ShowAffixesFor(ChosenWord, ChosenDigits, ChosenPos);
  // The affix may have taken the last free digits: Convert follows the number.
  UpdateConvertButton();
  ConvertBtnClick();
  return true;
}

}  // namespace vantrel
