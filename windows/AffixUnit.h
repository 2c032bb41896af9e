#pragma once
// TAffixForm, "Vantrel - Correct Root Word Spelling": shows a word joined with an
// ending or beginning for the user to confirm or correct before it enters the phrase.

#include <QDialog>

#include "MainModel.h"
#include "Services.h"

class QPushButton;

namespace vantrel {

class TLayerGrid;

class TAffixForm : public QDialog {
  Q_OBJECT

 public:
  // Created once at start-up; reads its geometry ("Affix Top", "Affix Left", "Affix
  // Width", "Affix Word Width", "Affix Number Width") itself (FormCreate). Shows the
  // model's SelectedAffixGrid table.
  TAffixForm(MainModel& model, Services& services, QWidget* parent = nullptr);
  ~TAffixForm() override;

  // Shows the window modally. OK runs the model's AffixOkBtnClick.
  int ShowModal();

  // The column widths the main window writes at its close.
  int WordWidth() const;
  int NumberWidth() const;

  TLayerGrid* SelectedAffixGrid() const { return selectedAffixGrid_; }
  QPushButton* AffixOkBtn() const { return affixOkBtn_; }
  QPushButton* AffixCancelBtn() const { return affixCancelBtn_; }

 private:
  void FormCreate();
  void AffixOkBtnClick();
  void SelectedAffixGridColWidthsChanged();

  MainModel& model_;
  Services& services_;
  TLayerGrid* selectedAffixGrid_ = nullptr;
  QPushButton* affixOkBtn_ = nullptr;
  QPushButton* affixCancelBtn_ = nullptr;
};

}  // namespace vantrel
