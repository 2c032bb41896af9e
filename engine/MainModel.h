// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's word engine: the number in the entry field, the search, the phrase
// and the affix additions, as operations on cell tables. The window shows the tables
// and turns user events into these calls; the engine reaches back through MainHost for
// everything a person sees (messages, the busy pointer, the Open dialog, the affix
// window).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "Affixes.h"
#include "CellTable.h"
#include "Codepage.h"
#include "Dictionary.h"
#include "EngineHost.h"
#include "Message.h"
#include "Search.h"

namespace vantrel {

class MainHost : public EngineHost {
 public:
  // The engine wrote the entry text itself; this is not a user edit.
  virtual void EntryWritten() {}
  // The Open dialog: the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseDictionaryFile() { return std::nullopt; }
  // Shows the affix window modally; its OK runs AffixOkBtnClick.
  virtual void ShowAffixWindow() {}
};

class MainModel {
 public:
  static constexpr int kPhraseSlots = 100;
  static constexpr int kStagingSlot = 100;
  static constexpr int kEmptyPosition = 5000;
  static constexpr int kAffixRows = 8500;
  static constexpr int kEntryLimit = 100;

  MainModel(DictionaryFile& dictionary, MainHost& host);

  // The grids' contents.
  CellTable PossibleGrid{2, kSearchRows};
  CellTable SelectedGrid{2, kPhraseSlots};
  CellTable AffixGrid{2, kAffixRows};
  CellTable SelectedAffixGrid{2, 2};

  // --- the entry field ---
  const std::string& EntryText() const { return entry_; }
  // Puts a text into the entry field as the program's own write, not a user edit.
  void SetEntryText(std::string text) { WriteEntry(std::move(text)); }
  // The user's own edit of the entry field (EntryEditChange).
  void EntryEditChange(std::string text);
  // The entry field receives the focus (EntryEditEnter).
  void EntryEditEnter();
  void ClearBtnClick();
  SearchMode Mode() const { return mode_; }
  void SetMode(SearchMode mode) { mode_ = mode; }

  // --- the dictionary ---
  DictionaryFile& Dictionary() { return dictionary_; }
  // Asks for a dictionary through the Open dialog and opens it.
  bool OpenDictionary();
  // Fills the affix table from the dictionary; asks for another when it cannot be
  // opened. Says once why a dictionary of which no line can be examined yields nothing.
  void LoadAffixes();
  const AffixTable& Affixes() const { return affixes_; }

  // --- the search ---
  void ConvertBtnClick();
  void ClearCandidates();
  void UpdateConvertButton();
  void UpdateCopyButton();
  bool ConvertEnabled() const { return convertEnabled_; }
  bool CopyEnabled() const { return copyEnabled_; }
  const Message& Status() const { return status_; }
  const std::string& CurrentNumber() const { return currentNumber_; }

  // --- the phrase ---
  void ChooseCandidate(int row);
  // Places ChosenWord at ChosenPos. Refuses (false) when ChosenDigits do not stand
  // there as free digits, so that a phrase word can never cover what is not its own.
  bool InsertChosenWord();
  void RebuildPhrase();
  void RemovePhraseWord(int row);
  void ClearPhrase();
  std::string PhraseText() const;
  int WordPositions(int slot) const { return wordPositions_[static_cast<std::size_t>(slot)]; }

  std::string ChosenWord;
  std::string ChosenDigits;
  int ChosenPos = 0;

  // --- the affix additions ---
  void ClearAffixGrid();
  void ShowAffixesFor(const std::string& word, const std::string& digits, int pos);
  // A release on the affix grid's row (-1 when the pointer was on no cell).
  void AffixGridMouseUp(int row);
  // OK in the affix window. False, with a message and nothing changed, when the
  // phrase no longer holds the chosen word or the digits of the proposal do not stand
  // in the number where it would go.
  bool AffixOkBtnClick();
  const std::string& SelectedWordLabel() const { return selectedWordLabel_; }
  int AffixPos = 0;

 private:
  void WriteEntry(std::string text);
  // An affix marked '+' placed as a word of its own at pos, beside the chosen word.
  void PlaceWordBeside(int pos, std::string word, std::string digits);
  void Changed() { host_.StateChanged(); }

  DictionaryFile& dictionary_;
  MainHost& host_;
  AffixTable affixes_;
  std::string entry_;
  std::string currentNumber_;
  SearchMode mode_ = SearchMode::kAnyPoint;
  Message status_;
  bool convertEnabled_ = false;
  bool copyEnabled_ = false;
  std::string selectedWordLabel_;
  // Slots 1 to 100; index 0 is unused. Zero until the first ClearPhrase.
  std::array<int, kPhraseSlots + 1> wordPositions_{};
};

// Copy of count characters from the 1-based position pos, clipped to the text.
std::string_view SubText(std::string_view text, int pos, int count);

}  // namespace vantrel
