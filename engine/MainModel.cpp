// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainModel.h"

#include <algorithm>
#include <utility>

#include "Suggest.h"

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

bool AllBullets(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char ch) { return ch == kBullet; });
}

}  // namespace

MainModel::MainModel(DictionaryFile& dictionary, MainHost& host)
    : dictionary_(dictionary), host_(host) {
  // Two blanks in the first phrase row make the first ClearPhrase (when the entry
  // field first gets the focus) empty every slot and give it the empty position.
  phrase_.SetCell(0, 1, "  ");
}

void MainModel::WriteEntry(std::string text) {
  entry_ = std::move(text);
  host_.EntryWritten();
}

// ----- the entry field -----

void MainModel::TypeNumber(std::string text) {
  setAside_.reset();
  entry_ = std::move(text);
  UpdateConvertButton();
  ClearPhrase();
  ClearCandidates();
  ClearAffixGrid();
  if (entry_.size() >= kEntryLimit) {
    host_.Warn({Tr("Entry Can Not Exceed "), Lit(std::to_string(kEntryLimit)), Tr(" Characters")});
  }
}

MainModel::Cells MainModel::KeepCells(const CellTable& table) {
  MainModel::Cells kept{table.RowCount(), {}};
  for (int r = 0; r < table.RowCount(); ++r) {
    for (int c = 0; c < table.ColCount(); ++c) {
      kept.texts.push_back(table.Cell(c, r));
    }
  }
  return kept;
}

void MainModel::PutCells(Cells kept, CellTable& table) {
  table.SetRowCount(kept.rowCount);
  std::size_t i = 0;
  for (int r = 0; r < kept.rowCount; ++r) {
    for (int c = 0; c < table.ColCount(); ++c) {
      table.SetCell(c, r, std::move(kept.texts[i++]));
    }
  }
}

void MainModel::ResumeNumber() {
  setAside_.reset();
  // A placed word fills its slot and has its position; before the first clear the slots
  // have no positions.
  bool placed = false;
  for (int r = 1; r <= kPhraseSlots && !placed; ++r) {
    const int at = wordPositions_[static_cast<std::size_t>(r)];
    placed = !phrase_.Cell(0, r).empty() && at > 0 && at != kEmptyPosition;
  }
  if (placed) {
    setAside_ = Work{KeepCells(candidates_),
                     KeepCells(phrase_),
                     KeepCells(affixOffers_),
                     entry_,
                     currentNumber_,
                     status_,
                     convertEnabled_,
                     copyEnabled_,
                     selectedWordLabel_,
                     chosen_,
                     affixPos_,
                     wordPositions_,
                     runner_.Running()};
  }
  ClearPhrase();
  ClearCandidates();
  ClearAffixGrid();
  if (entry_.find(kBullet) != std::string::npos) {
    WriteEntry(currentNumber_);
    UpdateConvertButton();
  }
  if (setAside_) {
    status_ = {Tr("The phrase was put aside: Esc brings it back")};
    Changed();
  }
}

bool MainModel::TakeBackPhrase() {
  if (!setAside_) {
    return false;
  }
  Work work = std::move(*setAside_);
  setAside_.reset();
  runner_.Stop();
  PutCells(std::move(work.candidates), candidates_);
  PutCells(std::move(work.phrase), phrase_);
  PutCells(std::move(work.affixOffers), affixOffers_);
  currentNumber_ = std::move(work.currentNumber);
  status_ = std::move(work.status);
  convertEnabled_ = work.convertEnabled;
  copyEnabled_ = work.copyEnabled;
  selectedWordLabel_ = std::move(work.selectedWordLabel);
  chosen_ = std::move(work.chosen);
  affixPos_ = work.affixPos;
  wordPositions_ = work.wordPositions;
  WriteEntry(std::move(work.entry));
  if (work.searching) {
    // The search it was waiting for went with it; the number is searched again.
    Search();
  }
  Changed();
  return true;
}

void MainModel::ClearNumber() {
  setAside_.reset();
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
    // A cancelled choice changes nothing: the dictionary in use stays in use, is searched
    // and is what the settings keep.
    return false;
  }
  if (dictionary_.Open(*chosen) == nullptr) {
    // The file that failed never becomes the dictionary in use, so the caption, the
    // settings and every later search keep naming the one that still works.
    host_.Warn({Tr("Can Not Open "), Lit(*chosen), Tr(" in Open1Click")});
    return false;
  }
  // A choice made while an earlier one is still on trial replaces that one, but the
  // dictionary to go back to stays the one that was in use before either.
  if (!previous_) {
    previous_ = Previous{dictionary_.BoundPath(), dictionary_.InUse(), dictionary_.name, affixes_,
                         tableRead_};
  }
  dictionary_.SetInUse(*chosen);
  dictionary_.Bind(*chosen);
  return true;
}

const std::string& MainModel::KeptDictionary() const {
  return dictionary_.InUse().empty() ? unopened_ : dictionary_.InUse();
}

void MainModel::LoadAffixes() {
  std::unique_ptr<ByteSource> source = OpenForAffixes();
  if (source == nullptr) {
    return;
  }
  TakeAffixes(ReadAffixes(*source));
  if (ReloadWanted()) {
    LoadAffixes();  // the dictionary in use again, whose table was never read
  }
}

std::unique_ptr<ByteSource> MainModel::OpenForAffixes() {
  affixes_.AffixLast = -1;
  tableRead_ = false;
  std::unique_ptr<ByteSource> source = dictionary_.Reopen();
  if (source == nullptr) {
    // The dictionary in use cannot be read: none is in use while the user is asked for
    // another. Its path stays what the settings keep unless another takes its place: a
    // folder not yet mounted or a file briefly locked is tried again at the next start.
    if (!dictionary_.InUse().empty()) {
      unopened_ = dictionary_.InUse();
    }
    dictionary_.SetNoneInUse(host_.Translate("No Dictionary Open"));
    previous_.reset();
    if (!OpenDictionary()) {
      return nullptr;
    }
    source = dictionary_.Reopen();
  }
  return source;
}

void MainModel::PutBack(Previous previous) {
  if (previous.inUse.empty()) {
    dictionary_.SetNoneInUse(std::move(previous.name));
    dictionary_.Bind(std::move(previous.bound));
  } else {
    dictionary_.SetInUse(previous.inUse);
    dictionary_.Bind(std::move(previous.inUse));
    reloadWanted_ = !previous.tableRead;
  }
  affixes_ = std::move(previous.table);
  tableRead_ = previous.tableRead;
}

MainModel::ReadAffixTable MainModel::ReadAffixes(ByteSource& source) {
  ReadAffixTable read;
  ByteCensus census(source);
  read.result = read.table.Load(census);
  read.why = census.Why(read.table.ExaminedLines());
  return read;
}

void MainModel::TakeAffixes(ReadAffixTable read) {
  affixesLoading_ = false;
  // The messages name the file that was read, also when it is refused.
  const std::string name = dictionary_.name;
  std::optional<Previous> previous = std::exchange(previous_, std::nullopt);
  if (previous && read.result.IsOk() && read.why != Unexaminable::kNo) {
    // A chosen file without a word (a picture, an empty file) would leave every search
    // with "0 Matches out of -1 words" and be stored for the next start: the dictionary
    // in use before stays in use, its caption, its table and its searches.
    PutBack(std::move(*previous));
    Changed();
  } else {
    affixes_ = std::move(read.table);
    tableRead_ = true;
  }
  if (!read.result.IsOk()) {
    host_.Warn({Tr("Error Reading Dictionary "), Lit(name)});
  } else {
    // Every search of such a file ends with "0 Matches out of -1 words"; the user learns
    // why once, when the file is opened.
    switch (read.why) {
      case Unexaminable::kNo:
        break;
      case Unexaminable::kEmpty:
        host_.Warn(
            {Tr("The dictionary "), Lit(name), Tr(" is empty, so no words can be found in it.")});
        break;
      case Unexaminable::kSingleLine:
        host_.Warn({Tr("The dictionary "), Lit(name),
                    Tr(" has a single line. The last line of a dictionary is never examined, "
                       "so no words can be found in it.")});
        break;
      case Unexaminable::kUnixLineEnds:
        host_.Warn({Tr("The dictionary "), Lit(name),
                    Tr(" yields no words: its lines must end with CR LF, not with LF alone.")});
        break;
      case Unexaminable::kNotText:
        host_.Warn({Tr("The dictionary "), Lit(name),
                    Tr(" is not a text file (it may be a picture or a program), so no words "
                       "can be found in it.")});
        break;
    }
  }
  if (searchWaiting_) {
    searchWaiting_ = false;
    Search();
  }
}

// ----- the search -----

void MainModel::UpdateConvertButton() {
  convertEnabled_ = FirstDigitPos(entry_) != 0;
  Changed();
}

void MainModel::UpdateCopyButton() {
  copyEnabled_ =
      !Trim(entry_).empty() && !Trim(phrase_.Cell(0, 1)).empty() && FirstDigitPos(entry_) == 0;
  Changed();
}

void MainModel::ClearCandidates() {
  // What a search under way would list belongs to the number as it was.
  runner_.Stop();
  status_.clear();
  candidates_.SetCurrentRow(1);
  UpdateCopyButton();
  candidates_.SetRowCount(kSearchRows);
  // Candidates fill the rows from 1 on, so an empty first row means nothing to clear.
  if (!candidates_.Cell(0, 1).empty()) {
    for (int row = 1; row <= kSearchRows; ++row) {
      candidates_.SetCell(0, row, {});
      candidates_.SetCell(1, row, {});
      candidates_.SetItalic(0, row, false);
    }
  }
  Changed();
}

void MainModel::Search() {
  setAside_.reset();
  if (affixesLoading_) {
    searchWaiting_ = true;
    status_ = {Tr("The dictionary is still loading; the search follows as soon as it is ready.")};
    Changed();
    return;
  }
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
  const long long size = source->Size();
  if (size >= kAwaySearchBytes) {
    runner_.Start(std::move(source), size, number, mode_);
    status_ = SearchProgress();
    host_.SearchStarted();
    Changed();
    return;
  }
  host_.SetBusy(true);
  SearchCounts counts;
  if (!SearchCandidates(*source, number, mode_, candidates_, counts).IsOk()) {
    host_.SetBusy(false);
    host_.Warn({Tr("Error Reading Dictionary "), Lit(dictionary_.name)});
    return;
  }
  ShowCounts(counts, host_.Now() - start);
  host_.SetBusy(false);
  Changed();
}

Message MainModel::SearchProgress() const {
  const long long read = runner_.BytesRead();
  const long long size = runner_.Size();
  // Only a source of a known size is searched away from the windows. A file that grew
  // since it was opened does not show more than 99 %.
  const long long percent = std::min<long long>(read * 100 / std::max(size, 1LL), 99);
  return {Tr("Searching the dictionary: "), Lit(std::to_string(percent) + " %"),
          Tr(" (Esc or Convert stops the search)")};
}

void MainModel::ShowCounts(const SearchCounts& counts, double seconds) {
  status_ = StatusLine(counts.matches, counts.words, seconds, host_.DecimalSeparator());
  candidates_.SetRowCount(std::max(counts.matches + 1, 25));
}

bool MainModel::PollSearch() {
  if (!runner_.Running()) {
    return false;
  }
  if (!runner_.Done()) {
    status_ = SearchProgress();
    Changed();
    return true;
  }
  SearchRunner::Found found = runner_.Take();
  // Like a search on the window's thread, one that fails on the way keeps what it found.
  for (int row = 1; row <= found.counts.matches; ++row) {
    candidates_.SetCell(0, row, found.candidates.Cell(0, row));
    candidates_.SetCell(1, row, found.candidates.Cell(1, row));
    // A name is shown in italics; the search marks only the word.
    candidates_.SetItalic(0, row, found.candidates.Italic(0, row));
  }
  if (!found.result.IsOk()) {
    status_.clear();
    Changed();
    host_.Warn({Tr("Error Reading Dictionary "), Lit(dictionary_.name)});
    return false;
  }
  ShowCounts(found.counts, found.seconds);
  Changed();
  return false;
}

void MainModel::StopSearch() {
  if (!runner_.Running()) {
    return;
  }
  runner_.Stop();
  status_ = {Tr("The search was stopped.")};
  Changed();
}

// ----- the phrase -----

void MainModel::ChooseCandidate(int row) {
  if (row < 1) {
    return;
  }
  const std::string word = candidates_.Cell(0, row);
  const std::string digits = candidates_.Cell(1, row);
  if (word.empty() || digits.empty()) {
    return;
  }
  // The occurrence that let the word match in this mode.
  const int pos = mode_ == SearchMode::kRight ? LastPos(digits, entry_) : Pos(digits, entry_);
  PlaceWord({word, digits, pos});
}

bool MainModel::PlaceWord(PhraseWord word) {
  PhraseWord previous = std::exchange(chosen_, std::move(word));
  if (!InsertChosenWord()) {
    // Refused: the chosen word stays the one whose affixes are listed.
    chosen_ = std::move(previous);
    return false;
  }
  RebuildPhrase();
  return true;
}

bool MainModel::ApplySuggestion(const Suggestion& suggestion) {
  // A pick by hand always follows a search, which notes the number as typed for Copy
  // before any of its digits turns into a bullet.
  Search();
  for (const SuggestedWord& w : suggestion.placed) {
    if (!PlaceWord({w.word, w.digits, w.pos})) {
      return false;
    }
  }
  return true;
}

bool MainModel::InsertChosenWord() {
  const int n = static_cast<int>(chosen_.digits.size());
  if (n == 0 || chosen_.pos < 1 || SubText(entry_, chosen_.pos, n) != chosen_.digits ||
      chosen_.digits.find(kBullet) != std::string::npos) {
    return false;
  }
  std::string number = entry_;
  number.replace(static_cast<std::size_t>(chosen_.pos - 1), static_cast<std::size_t>(n),
                 static_cast<std::size_t>(n), kBullet);
  WriteEntry(std::move(number));
  phrase_.SetCell(0, kStagingSlot, chosen_.word);
  phrase_.SetCell(1, kStagingSlot, chosen_.digits);
  wordPositions_[kStagingSlot] = chosen_.pos;
  ShowAffixesFor(chosen_.word, chosen_.digits, chosen_.pos);
  UpdateConvertButton();
  return true;
}

void MainModel::RebuildPhrase() {
  std::array<std::string, kPhraseSlots + 1> words;
  std::array<std::string, kPhraseSlots + 1> digits;
  std::array<long long, kPhraseSlots + 1> key{};
  for (int r = 1; r <= kPhraseSlots; ++r) {
    words[static_cast<std::size_t>(r)] = phrase_.Cell(0, r);
    digits[static_cast<std::size_t>(r)] = phrase_.Cell(1, r);
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
    phrase_.SetCell(0, k, words[lowest]);
    phrase_.SetCell(1, k, digits[lowest]);
    wordPositions_[static_cast<std::size_t>(k)] = static_cast<int>(key[lowest]);
    key[lowest] += 100000;
  }
  int firstEmpty = 101;
  for (int r = 26; r <= kPhraseSlots; ++r) {
    if (phrase_.Cell(0, r).empty()) {
      firstEmpty = r;
      break;
    }
  }
  // A hundredth word stands in slot 100: the grid shows it too, or cutting the row off
  // would drop it from the phrase that Copy writes.
  phrase_.SetRowCount(std::min(kPhraseSlots + 1, firstEmpty));
  phrase_.SetCurrentRow(1);
  Search();
}

void MainModel::ClearPhrase() {
  if (phrase_.Cell(0, 1).empty()) {
    return;
  }
  phrase_.SetRowCount(kPhraseSlots + 1);
  for (int r = 1; r <= kPhraseSlots; ++r) {
    phrase_.SetCell(0, r, {});
    phrase_.SetCell(1, r, {});
    wordPositions_[static_cast<std::size_t>(r)] = kEmptyPosition;
  }
  phrase_.SetCurrentRow(1);
}

void MainModel::RemovePhraseWord(int row) {
  if (row < 1 || row > kPhraseSlots) {
    return;
  }
  const std::string digits = phrase_.Cell(1, row);
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
  phrase_.SetCell(0, row, {});
  phrase_.SetCell(1, row, {});
  wordPositions_[static_cast<std::size_t>(row)] = kEmptyPosition;
  ClearAffixGrid();
  RebuildPhrase();
  UpdateConvertButton();
}

std::string MainModel::PhraseText() const {
  std::string text = std::string(Trim(currentNumber_)) + ",";
  for (int r = 1; r <= kPhraseSlots; ++r) {
    text = std::string(Trim(text + " " + std::string(Trim(phrase_.Cell(0, r)))));
  }
  return text;
}

// ----- the affix additions -----

void MainModel::ClearAffixGrid() {
  selectedWordLabel_.clear();
  affixOffers_.SetRowCount(kAffixRows);
  // Offers fill the grid from row 0, so an empty first cell means nothing to clear.
  if (!affixOffers_.Cell(0, 0).empty()) {
    for (int row = 0; row < kAffixRows; ++row) {
      affixOffers_.SetCell(0, row, {});
      affixOffers_.SetCell(1, row, {});
      affixOffers_.SetItalic(0, row, false);
    }
  }
  Changed();
}

void MainModel::ShowAffixesFor(const std::string& word, const std::string& digits, int pos) {
  OfferAffixes(digits, pos);
  selectedWordLabel_ = word;
  Changed();
}

void MainModel::OfferAffixes(std::string_view digits, int pos) {
  ClearAffixGrid();
  affixOffers_.SetCurrentRow(0);
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
      affixOffers_.SetCell(0, r, e.Word);
      affixOffers_.SetCell(1, r, e.Digits);
      if (e.ClassLetter == "A") {
        affixOffers_.SetItalic(0, r, true);
      }
      ++r;
    }
  }
  affixOffers_.SetRowCount(std::max(r, 16));
  Changed();
}

void MainModel::ChooseAffix(int row) {
  if (row < 0 || row > affixOffers_.RowCount() - 1) {
    return;
  }
  std::string a(Trim(affixOffers_.Cell(0, row)));
  // The digits are read when they are used: a '+' step refills the grid under them.
  auto ad = [&]() { return std::string(Trim(affixOffers_.Cell(1, row))); };
  if (a.empty()) {
    return;
  }
  if (a.front() == '-') {  // an ending joined to the word
    a.front() = ' ';
    a = std::string(Trim(a));
    affixPos_ = chosen_.pos;
    correction_.SetCell(0, 1, chosen_.word + a);
    correction_.SetCell(1, 1, std::string(Trim(chosen_.digits)) + ad());
    host_.ShowAffixWindow();
  }
  if (!a.empty() && a.front() == '+') {  // a word of its own after the chosen one
    PlaceWord({WithoutPlus(a), ad(), chosen_.pos + static_cast<int>(chosen_.digits.size())});
  }
  if (!a.empty() && a.back() == '-') {  // a beginning joined to the word
    a.back() = ' ';
    a = std::string(Trim(a));
    const std::string digits = ad();
    affixPos_ = chosen_.pos - static_cast<int>(digits.size());
    correction_.SetCell(0, 1, a + chosen_.word);
    correction_.SetCell(1, 1, digits + std::string(Trim(chosen_.digits)));
    host_.ShowAffixWindow();
  }
  if (!a.empty() && a.back() == '+') {  // a word of its own before the chosen one
    const std::string digits = ad();
    PlaceWord({WithoutPlus(a), digits, chosen_.pos - static_cast<int>(digits.size())});
  }
}

bool MainModel::JoinAffix() {
  int k = 0;
  for (int r = 1; r <= kPhraseSlots; ++r) {
    if (wordPositions_[static_cast<std::size_t>(r)] == chosen_.pos) {
      k = r;
      break;
    }
  }
  if (k == 0) {
    host_.Warn({Tr("The word to correct is no longer in the phrase.")});
    return false;
  }
  const std::string word = correction_.Cell(0, 1);
  const std::string digits = correction_.Cell(1, 1);
  // A cut can empty the word cell; a phrase row without a word would hide its digits.
  if (Trim(word).empty()) {
    host_.Warn({Tr("The corrected word must not be empty.")});
    return false;
  }
  const int n = static_cast<int>(digits.size());
  // The proposal must cover the chosen word's own bullets and free digits that are
  // exactly its own, or the bullets would swallow other words or separators.
  std::string restored = entry_;
  const int chosenLength = static_cast<int>(phrase_.Cell(1, k).size());
  if (chosen_.pos >= 1 &&
      static_cast<int>(SubText(entry_, chosen_.pos, chosenLength).size()) == chosenLength) {
    restored.replace(static_cast<std::size_t>(chosen_.pos - 1),
                     static_cast<std::size_t>(chosenLength), phrase_.Cell(1, k));
  }
  const bool fits = n > 0 && affixPos_ >= 1 && affixPos_ <= chosen_.pos &&
                    affixPos_ + n >= chosen_.pos + chosenLength &&
                    SubText(restored, affixPos_, n) == digits &&
                    digits.find(kBullet) == std::string::npos;
  if (!fits) {
    host_.Warn({Tr("The digits of the corrected word do not match the number.")});
    return false;
  }
  ClearAffixGrid();
  std::string number = entry_;
  number.replace(static_cast<std::size_t>(affixPos_ - 1), static_cast<std::size_t>(n),
                 static_cast<std::size_t>(n), kBullet);
  WriteEntry(std::move(number));
  wordPositions_[static_cast<std::size_t>(k)] = affixPos_;
  phrase_.SetCell(0, k, word);
  phrase_.SetCell(1, k, digits);
  chosen_.word = word;
  chosen_.digits = digits;
  chosen_.pos = affixPos_;
  ShowAffixesFor(chosen_.word, chosen_.digits, chosen_.pos);
  // The affix may have taken the last free digits: Convert follows the number.
  UpdateConvertButton();
  Search();
  return true;
}

}  // namespace vantrel
