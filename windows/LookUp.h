// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLookupForm, "Vantrel - Lookup Individual Word": the digits under which the dictionary
// holds a typed word.

#include <QDialog>

#include "Dictionary.h"
#include "EngineHost.h"
#include "Services.h"
#include "WindowEngineHost.h"
#include "WindowPlace.h"
#include "WordLookup.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vantrel {

class TLayerGrid;

class TLookupForm : public QDialog, public KeepsSettings, private WindowEngineHost<EngineHost> {
  Q_OBJECT

 public:
  // Created once at start-up, after the main window; reads "Lookup Top" and "Lookup
  // Left" itself (FormCreate).
  TLookupForm(DictionaryFile& dictionary, Services& services, QWidget* parent = nullptr);
  ~TLookupForm() override;

  // Shows the window modally; it keeps its contents between showings.
  int ShowModal();

  std::optional<SettingValue> Stored(Setting setting) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The first step of every handler of a user action but Convert.
  void NoteUserActivity();
  // EngineHost, beyond what every window gives its engine
  void StateChanged() override;

  void FormCreate();
  void WordToConvertChange();
  void ConvertBtnClick();
  void ConvertedGridClick();
  void CopyBtnClick();
  void ClearBtnClick();
  void CancelLookUpBtnClick();

  Services& services_;
  LookupModel model_;
  QLineEdit* wordToConvert_ = nullptr;
  QLabel* equalsLabel_ = nullptr;
  TLayerGrid* convertedGrid_ = nullptr;
  QPushButton* convertBtn_ = nullptr;
  QPushButton* clearBtn_ = nullptr;
  QPushButton* copyBtn_ = nullptr;
  QPushButton* cancelLookUpBtn_ = nullptr;
  QStatusBar* statusBar1_ = nullptr;
  // Whether this window has put up the busy pointer, so that it takes down only its own.
};

}  // namespace vantrel
