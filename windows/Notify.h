// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TNotifyForm: the new-release notification, shown by the countdown at the main window's
// close and from the Help menu.

#include <QDialog>

#include "Services.h"

class QPushButton;
class QRadioButton;

namespace vantrel {

class TNotifyForm : public QDialog {
  Q_OBJECT

 public:
  explicit TNotifyForm(Services& services, QWidget* parent = nullptr);
  int ShowModal();
  // The countdown run at the main window's close: every fifth close shows the window.
  // A failure to store the count raises SettingsWriteError.
  void ShowNotifyForm();

 private:
  void OkClick();
  // Raises SettingsWriteError naming "NotifyCount" when the count cannot be stored.
  void WriteNotifyCount(qint32 count);

  Services& services_;
  QRadioButton* notify_ = nullptr;
  QRadioButton* remind_ = nullptr;
  QRadioButton* doNotShow_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace vantrel
