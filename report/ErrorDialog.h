// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report dialog: the error message beside the error icon, OK, the details button and
// a Terminate button that the program keeps hidden, and below them one page each for the
// call stack, the registers and how to report the error. The pages are plain text in a
// fixed-pitch font, so that the columns of the stack and the registers line up.

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vantrel {

struct ErrorDialogTexts {
  QString message;
  QStringList callStack;
  QStringList registers;
  QString reportCaption;  // the report page's name, in the user's language
  QStringList reportLines;
};

class TErrorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TErrorDialog(const ErrorDialogTexts& texts, const QIcon& icon = QIcon(),
                        QWidget* parent = nullptr);

  // Opens in full with "Call Stack" in front and the focus on OK.
  void ShowDetails(bool shown);
  bool DetailsShown() const;

  QLabel* MessageLabel() const { return message_; }
  QPushButton* OkBtn() const { return okBtn_; }
  QPushButton* DetailsBtn() const { return detailsBtn_; }
  QPushButton* TerminateBtn() const { return terminateBtn_; }
  QTabWidget* Pages() const { return pages_; }
  QPlainTextEdit* Page(int index) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* message_ = nullptr;
  QPushButton* okBtn_ = nullptr;
  QPushButton* detailsBtn_ = nullptr;
  QPushButton* terminateBtn_ = nullptr;
  QTabWidget* pages_ = nullptr;
};

}  // namespace vantrel
