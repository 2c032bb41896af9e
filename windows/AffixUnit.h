#pragma once
// TAffixForm, "Vantrel - Correct Root Word Spelling": shows a word joined with an
// ending or beginning for the user to confirm or correct before it enters the phrase.

#include <QDialog>

#include "MainModel.h"
#include "Services.h"

class QLineEdit;
class QPushButton;
class QWidget;

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

  // Shows the window modally. OK runs the model's AffixOkBtnClick; when that refuses
  // (it has told the user why), the window closes as if cancelled.
  int ShowModal();

  // The column widths the main window writes at its close.
  int WordWidth() const;
  int NumberWidth() const;

  TLayerGrid* SelectedAffixGrid() const { return selectedAffixGrid_; }
  QWidget* GridPanel() const { return gridPanel_; }
  QPushButton* AffixOkBtn() const { return affixOkBtn_; }
  QPushButton* AffixCancelBtn() const { return affixCancelBtn_; }

  // The in-place editor of the proposed word. It opens on a double click on the word
  // cell, on F2, or on typing while the word cell is current; Enter or leaving it keeps
  // the text, Esc drops it. The digits cell has none: the bullets follow the digits.
  QLineEdit* WordEditor() const { return wordEditor_; }
  bool Editing() const;
  void BeginWordEdit();

 public slots:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void AffixOkBtnClick();
  void SelectedAffixGridColWidthsChanged();

  void BeginEdit(int col, int row, const QString* typed);
  void CommitWordEdit();
  void CancelWordEdit();
  void PlaceWordEditor();

  MainModel& model_;
  Services& services_;
  QWidget* gridPanel_ = nullptr;
  TLayerGrid* selectedAffixGrid_ = nullptr;
  QLineEdit* wordEditor_ = nullptr;
  QPushButton* affixOkBtn_ = nullptr;
  QPushButton* affixCancelBtn_ = nullptr;
  int editCol_ = -1;
  int editRow_ = -1;
};

}  // namespace vantrel
