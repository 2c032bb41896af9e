#pragma once
// The small windows beside the main window: About, the new-release notification and the
// hidden test window.

#include <QDialog>
#include <QString>
#include <QUrl>

#include "AnimatedPicture.h"
#include "Dictionary.h"
#include "Services.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vantrel {

// The makers' addresses, shown by the About window and used in the e-mails composed.
inline constexpr const char* kSupportEmail = "support@vantrel.example";
inline constexpr const char* kHomePage = "https://vantrel.example/";

// Hands an address to the desktop ("mailto:" to the mail program, a web address to the
// browser). When no program takes it the user is told so, with the address to use by hand,
// in a warning over parent.
void OpenAddress(Services& services, QWidget* parent, const QUrl& address);

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(Services& services, QWidget* parent = nullptr);
  // Shows the window modally; Frog follows the animation switch at every showing.
  int ShowModal();
  // Frog is shown and plays while the animation is on, and is hidden while it is off.
  void FrogFollowsAnimation();
  QLabel* EmailLabel() const { return emailLabel_; }
  QLabel* HomePageLabel() const { return homePageLabel_; }
  AnimatedPicture* Frog() const { return frog_; }
  QPushButton* OkBtn() const { return okBtn_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void EmailLabelClick();
  void HomePageLabelClick();

  Services& services_;
  QLabel* emailLabel_ = nullptr;
  QLabel* homePageLabel_ = nullptr;
  AnimatedPicture* frog_ = nullptr;
  QPushButton* okBtn_ = nullptr;
};

class TNotifyForm : public QDialog {
  Q_OBJECT

 public:
  explicit TNotifyForm(Services& services, QWidget* parent = nullptr);
  int ShowModal();
  // The countdown run at the main window's close: every fifth close shows the window.
  // A failure to store the count raises SettingsWriteError.
  void ShowNotifyForm();
  QRadioButton* NotifyRadioButton() const { return notify_; }
  QRadioButton* RemindRadioButton() const { return remind_; }
  QRadioButton* DoNotShowRadioButton() const { return doNotShow_; }
  QPushButton* Ok() const { return ok_; }

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
  QCheckBox* AnimationCheckBox() const { return animationCheckBox_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* EmailErrorBtn() const { return emailErrorBtn_; }
  QPushButton* NoDictionaryBtn() const { return noDictionaryBtn_; }
  QPushButton* ErrorReadingDictionary() const { return errorReadingDictionary_; }
  QPushButton* EntryCanNotExceed() const { return entryCanNotExceed_; }

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
