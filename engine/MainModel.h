// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's word engine: the number in the entry field, the search, the phrase
// and the affix additions, as operations on cell tables. The window shows the tables
// and turns user events into these calls; the engine reaches back through MainHost for
// everything a person sees (messages, the busy pointer, the Open dialog, the affix
// window).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Affixes.h"
#include "CellTable.h"
#include "Codepage.h"
#include "Dictionary.h"
#include "EngineHost.h"
#include "Message.h"
#include "Search.h"
#include "SearchRunner.h"

namespace vantrel {

class MainHost : public EngineHost {
 public:
  // The engine wrote the entry text itself; this is not a user edit.
  virtual void EntryWritten() {}
  // The Open dialog: the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseDictionaryFile() { return std::nullopt; }
  // Shows the affix window modally; its OK joins the corrected word (JoinAffix).
  virtual void ShowAffixWindow() {}
  // A search of a large dictionary began on a thread of its own: from now on PollSearch
  // is to be called now and then until it returns false.
  virtual void SearchStarted() {}
};

// A word in the phrase: its text as the candidate grid shows it (Windows-1252, no '+'),
// its digits, and the 1-based position of its digits in the number.
struct PhraseWord {
  std::string word;
  std::string digits;
  int pos = 0;
};

struct Suggestion;

// The operations are what a person does to the number and the phrase; the windows call
// them from their handlers, and note the user's activity themselves. Steps the engine
// takes on its own (rebuilding the phrase, the search that follows a placed word) are
// never the user's activity.
class MainModel {
 public:
  static constexpr int kPhraseSlots = 100;
  static constexpr int kStagingSlot = 100;
  static constexpr int kEmptyPosition = 5000;
  static constexpr int kAffixRows = 8500;
  static constexpr int kEntryLimit = 100;

  MainModel(DictionaryFile& dictionary, MainHost& host);

  // --- the tables the grids show ---
  const CellTable& Candidates() const { return candidates_; }
  const CellTable& Phrase() const { return phrase_; }
  const CellTable& AffixOffers() const { return affixOffers_; }
  // The proposal of the affix window in row 1, which the user may edit before JoinAffix.
  CellTable& Correction() { return correction_; }
  const CellTable& Correction() const { return correction_; }
  // A grid binds to the table it shows: it moves the current row, writes its headings
  // into row 0, and its clipboard keys can paste into a cell. The engine reads every
  // cell back when it uses it.
  struct GridTables {
    CellTable& candidates;
    CellTable& phrase;
    CellTable& affixOffers;
    CellTable& correction;
  };
  GridTables TablesForGrids() { return {candidates_, phrase_, affixOffers_, correction_}; }

  // --- the number in the entry field ---
  const std::string& EntryText() const { return entry_; }
  // Puts a text into the entry field as the program's own write, not a user edit.
  void SetEntryText(std::string text) { WriteEntry(std::move(text)); }
  // The user typed: the phrase, the candidates and the affix offers start over.
  void TypeNumber(std::string text);
  // The user came back to the field: the phrase goes, and a number with bullets turns
  // back into the number as it was last searched. A phrase built over many clicks is not
  // lost to a click or a Tab into the field: it is put aside, the status line says how to
  // bring it back, and TakeBackPhrase does, until the number is typed, searched or
  // cleared.
  void ResumeNumber();
  // Puts back the phrase, the candidates and the number with its bullets as they were
  // before ResumeNumber; false when nothing was put aside.
  bool TakeBackPhrase();
  bool PhraseSetAside() const { return setAside_.has_value(); }
  // Empties the field, the phrase, the candidates and the affix offers.
  void ClearNumber();
  SearchMode Mode() const { return mode_; }
  void SetMode(SearchMode mode) { mode_ = mode; }

  // --- the dictionary ---
  DictionaryFile& Dictionary() { return dictionary_; }
  // Asks for a dictionary through the Open dialog and opens it. The chosen file is in
  // use from then on, but only on trial: when its table is read and it turns out to
  // yield no words, the dictionary used before takes its place again (TakeAffixes).
  bool OpenDictionary();
  // Fills the affix table from the dictionary; asks for another when it cannot be
  // opened. Says once why a dictionary of which no line can be examined yields nothing.
  void LoadAffixes();
  // The path the settings keep: the dictionary in use, or while none is, the stored one
  // that could not be opened at start, so that the next start tries it again.
  const std::string& KeptDictionary() const;
  const AffixTable& Affixes() const { return affixes_; }
  // The same load in three steps, so that the reading can happen away from the windows:
  // OpenForAffixes asks for another dictionary when the one in use cannot be opened (and
  // returns nullptr when none can be), ReadAffixes touches nothing of the model and may
  // run on any thread, TakeAffixes puts the table in place and says once what went wrong.
  // A chosen dictionary that yields no words is refused there: the one used before is in
  // use again with its table. When that table had not been read yet, ReloadWanted says
  // so once, and the caller loads it again.
  struct ReadAffixTable {
    AffixTable table;
    Status result;
    Unexaminable why = Unexaminable::kNo;
  };
  std::unique_ptr<ByteSource> OpenForAffixes();
  static ReadAffixTable ReadAffixes(ByteSource& source);
  void TakeAffixes(ReadAffixTable read);
  bool ReloadWanted() { return std::exchange(reloadWanted_, false); }
  // While the table is being read, a search is not made but noted, and made as soon as
  // TakeAffixes has the table.
  void SetAffixesLoading(bool loading) { affixesLoading_ = loading; }
  bool AffixesLoading() const { return affixesLoading_; }

  // --- the search ---
  // A dictionary of this size or more is searched on a thread of its own: on the
  // window's thread the scan would hold the window still for a noticeable time.
  static constexpr long long kAwaySearchBytes = 16LL << 20;
  // Lists the words of the dictionary whose digits stand free in the number. A large
  // dictionary is searched away from the windows: the candidates are listed when
  // PollSearch finds the search done, and the status line says how far it has got.
  void Search();
  // While a search runs away from the windows: its progress into the status line, or,
  // once it is done, its candidates into the list and its counts into the status line.
  // True while the search still runs.
  bool PollSearch();
  bool Searching() const { return runner_.Running(); }
  // The user stops the search under way; the status line says so and nothing is listed.
  void StopSearch();
  void ClearCandidates();
  void UpdateConvertButton();
  void UpdateCopyButton();
  bool ConvertEnabled() const { return convertEnabled_; }
  bool CopyEnabled() const { return copyEnabled_; }
  // What the status line says after the last action.
  const Message& StatusMessage() const { return status_; }
  // The number as last searched before any of its digits turned into a bullet.
  const std::string& CurrentNumber() const { return currentNumber_; }

  // --- the phrase ---
  // Places the candidate of the row where its digits stand in the number.
  void ChooseCandidate(int row);
  // Places a word over its digits: bullets in the number, a row in the phrase, its
  // affix offers and a new search. Refuses (false, nothing changed) when the digits do
  // not stand free at pos, so that a phrase word never covers what is not its own.
  bool PlaceWord(PhraseWord word);
  // Takes the word of the phrase row out; its digits come back into the number.
  void RemovePhraseWord(int row);
  // Searches the number as it stands, then places the suggestion's words from left to
  // right. Stops at the first word whose digits no longer stand free at its place (the
  // number changed since the suggestion was made); false then.
  bool ApplySuggestion(const Suggestion& suggestion);
  void ClearPhrase();
  std::string PhraseText() const;
  int WordPositions(int slot) const { return wordPositions_[static_cast<std::size_t>(slot)]; }
  // The word placed last, whose affixes are offered.
  const PhraseWord& Chosen() const { return chosen_; }

  // --- the affix additions ---
  void ClearAffixGrid();
  // Offers the affixes that fit beside the digits at pos in the number as it stands,
  // for the word placed there (shown above the offers).
  void ShowAffixesFor(const std::string& word, const std::string& digits, int pos);
  // The offers alone, for digits at pos, with no word named above them.
  void OfferAffixes(std::string_view digits, int pos);
  // Takes the offer of the row (-1 when the pointer was on no cell): an ending or a
  // beginning goes to the affix window as a corrected word, a word of its own is placed.
  void ChooseAffix(int row);
  // Joins the corrected word held in Correction() in place of the chosen word. False,
  // with a message and nothing changed, when the phrase no longer holds the chosen word
  // or the digits of the proposal do not stand in the number where it would go.
  bool JoinAffix();
  // Where the corrected word's digits begin in the number.
  const std::string& SelectedWordLabel() const { return selectedWordLabel_; }

 private:
  void WriteEntry(std::string text);
  // Places the chosen word at its position; false when its digits do not stand free
  // there.
  bool InsertChosenWord();
  // Sorts the phrase by position and searches what is left of the number.
  void RebuildPhrase();
  void Changed() { host_.StateChanged(); }
  // How far the search under way has got, for the status line.
  Message SearchProgress() const;
  // The counts of a finished search into the status line; the list shows its rows.
  void ShowCounts(const SearchCounts& counts, double seconds);

  // The dictionary in use before another was chosen, with its table: kept until the
  // chosen one's table is read.
  struct Previous {
    std::string bound;
    std::string inUse;
    std::string name;
    AffixTable table;
    bool tableRead = false;
  };
  void PutBack(Previous previous);

  DictionaryFile& dictionary_;
  MainHost& host_;
  std::optional<Previous> previous_;
  // Whether affixes_ holds the table of the dictionary in use.
  bool tableRead_ = false;
  bool reloadWanted_ = false;
  // The stored dictionary that could not be opened at start, while none took its place.
  std::string unopened_;
  CellTable candidates_{2, kSearchRows};
  CellTable phrase_{2, kPhraseSlots};
  CellTable affixOffers_{2, kAffixRows};
  CellTable correction_{2, 2};
  AffixTable affixes_;
  bool affixesLoading_ = false;
  bool searchWaiting_ = false;
  std::string entry_;
  std::string currentNumber_;
  SearchMode mode_ = SearchMode::kAnyPoint;
  Message status_;
  bool convertEnabled_ = false;
  bool copyEnabled_ = false;
  std::string selectedWordLabel_;
  PhraseWord chosen_;
  int affixPos_ = 0;
  // Slots 1 to 100; index 0 is unused. Zero until the first ClearPhrase.
  std::array<int, kPhraseSlots + 1> wordPositions_{};

  // What ResumeNumber put aside. The grids watch the tables, so their texts are kept and
  // written back, not the tables.
  struct Cells {
    int rowCount = 0;
    std::vector<std::string> texts;  // row by row
  };
  static Cells KeepCells(const CellTable& table);
  static void PutCells(Cells kept, CellTable& table);
  struct Work {
    Cells candidates;
    Cells phrase;
    Cells affixOffers;
    std::string entry;
    std::string currentNumber;
    Message status;
    bool convertEnabled;
    bool copyEnabled;
    std::string selectedWordLabel;
    PhraseWord chosen;
    int affixPos;
    std::array<int, kPhraseSlots + 1> wordPositions;
    // A search was under way: it is made again when the work is put back.
    bool searching;
  };
  std::optional<Work> setAside_;
  SearchRunner runner_;
};

// Copy of count characters from the 1-based position pos, clipped to the text.
std::string_view SubText(std::string_view text, int pos, int count);

}  // namespace vantrel
