// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SuggestWindow, "Vantrel - Suggestions": what the free digits of the number as it stands
// could spell, best first, each with the reason for its place in a few words. Choosing
// one places its words into the phrase one by one, as if the user had picked them from
// the candidates.

#include <QDialog>
#include <vector>

#include "MainModel.h"
#include "Services.h"
#include "Suggest.h"
#include "WindowPlace.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantrel {

// Why a suggestion stands where it does, in the current language, as a person reads it at
// a glance: "toll-free code kept, 2 words, common".
QString SuggestionReason(const Suggestion& suggestion, const Translator& translator);

class SuggestWindow : public QDialog, public KeepsSettings {
  Q_OBJECT

 public:
  // Restores the window's stored place, size and column widths.
  SuggestWindow(MainModel& model, Services& services, QWidget* parent = nullptr);

  // The widths of the phrase and vanity text columns, which the main window stores at its
  // close with the window's place and size.
  int PhraseWidth() const;
  int VanityWidth() const;
  std::optional<SettingValue> Stored(Setting setting) const override;

  // Lists the suggestions for the entry text and opens the window (modal to the main
  // window, without waiting). When the dictionary cannot be read the user is told and
  // the window stays closed; false then.
  bool ShowSuggestions();

  // Places the suggestion of a row of the list and closes the window.
  void Choose(int row);
  // Lists kDefaultSuggestions more, up to kMaxSuggestions.
  void ShowMore();

 private:
  // Fills the list with the first shown_ suggestions; false when the dictionary cannot be
  // read (the user has been told).
  bool List();
  void FormCreate();

  MainModel& model_;
  Services& services_;
  std::vector<Suggestion> suggestions_;
  QTableWidget* list_ = nullptr;
  QLabel* countLabel_ = nullptr;
  QPushButton* okBtn_ = nullptr;
  QPushButton* cancelBtn_ = nullptr;
  QPushButton* moreBtn_ = nullptr;
  int shown_ = kDefaultSuggestions;
};

}  // namespace vantrel
