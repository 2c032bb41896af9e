// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TTestForm: the hidden test window, opened by typing "test" and pressing Lookup.

#include <QDialog>

#include "Dictionary.h"
#include "Services.h"

class QCheckBox;
class QPushButton;

namespace vantrel {

class TAboutForm;

// The hidden test window. Its own texts stay in English in every language; the messages
// it shows are translated.
class TTestForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTestForm(Services& services, QWidget* parent = nullptr);
  // The dictionary whose name the "'Error Reading Dictionary'" message shows; without
  // one, it names none.
  void SetDictionary(const DictionaryFile* dictionary) { dictionary_ = dictionary; }
  // The About window, whose Frog follows the animation switch at every OK.
  void SetAboutForm(TAboutForm* about) { aboutForm_ = about; }
  // Shown without blocking the main window.
  void ShowModeless();

 private:
  void FormShow();
  void OKBtnClick();
  void EmailErrorBtnClick();
  void NoDictionaryBtnClick();
  void ErrorReadingDictionaryClick();
  void EntryCanNotExceedClick();

  Services& services_;
  const DictionaryFile* dictionary_ = nullptr;
  TAboutForm* aboutForm_ = nullptr;
  QCheckBox* animationCheckBox_ = nullptr;
  QPushButton* okBtn_ = nullptr;
  QPushButton* emailErrorBtn_ = nullptr;
  QPushButton* noDictionaryBtn_ = nullptr;
  QPushButton* errorReadingDictionary_ = nullptr;
  QPushButton* entryCanNotExceed_ = nullptr;
};

}  // namespace vantrel
