// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAffixForm, "Vantrel - Correct Root Word Spelling": shows a word joined with an
// ending or beginning for the user to confirm or correct before it enters the phrase.

#include <QDialog>

#include "MainModel.h"
#include "Services.h"
#include "WindowPlace.h"

class QPushButton;
class QWidget;

namespace vantrel {

class TLayerGrid;

class TAffixForm : public QDialog, public KeepsSettings {
  Q_OBJECT

 public:
  // Created once at start-up; reads its geometry ("Affix Top", "Affix Left", "Affix
  // Width", "Affix Word Width", "Affix Number Width") itself (FormCreate). Shows the
  // model's Correction() table.
  TAffixForm(MainModel& model, Services& services, QWidget* parent = nullptr);
  ~TAffixForm() override;

  // Shows the window modally. OK joins the corrected word (JoinAffix); when that refuses
  // (it has told the user why), the window closes as if cancelled.
  int ShowModal();

  // The column widths the main window writes at its close.
  int WordWidth() const;
  int NumberWidth() const;
  std::optional<SettingValue> Stored(Setting setting) const override;

 public slots:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  // The correction table's column titles in the current language.
  void WriteColumnTitles();
  void AffixOkBtnClick();
  void SelectedAffixGridColWidthsChanged();

  // The proposed word may be corrected in the grid's editor, but not to a blank word;
  // the digits cell has no editor: the bullets follow the digits.
  bool AcceptWord(const QString& text) const;

  MainModel& model_;
  Services& services_;
  QWidget* gridPanel_ = nullptr;
  TLayerGrid* selectedAffixGrid_ = nullptr;
  QPushButton* affixOkBtn_ = nullptr;
  QPushButton* affixCancelBtn_ = nullptr;
};

}  // namespace vantrel
