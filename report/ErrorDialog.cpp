// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorDialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantrel {
namespace {

QFont PageFont() {
  // Courier where it is installed; any fixed-pitch font where it is not.
  QFont font(QStringLiteral("Courier"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  }
  font.setPixelSize(14);
  return font;
}

QPlainTextEdit* PageText(QWidget* parent, const char* name, const QString& accessibleName,
                         const QStringList& lines) {
  auto* page = new QPlainTextEdit(parent);
  page->setObjectName(QString::fromLatin1(name));
  page->setReadOnly(true);
  page->setLineWrapMode(QPlainTextEdit::NoWrap);
  page->setFont(PageFont());
  page->setPlainText(lines.join(QLatin1Char('\n')));
  page->setAccessibleName(accessibleName);
  // Read-only, yet a keyboard user can walk through it and copy from it.
  page->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  return page;
}

}  // namespace

TErrorDialog::TErrorDialog(const ErrorDialogTexts& texts, const QIcon& icon, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TErrorDialog"));
  setWindowTitle(QStringLiteral("Application Error"));

  auto* iconLabel = new QLabel(this);
  iconLabel->setObjectName(QStringLiteral("ErrorIcon"));
  const QIcon shown = icon.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxCritical) : icon;
  iconLabel->setPixmap(shown.pixmap(QSize(32, 32)));
  iconLabel->setAlignment(Qt::AlignTop);
  iconLabel->setAccessibleName(QStringLiteral("Error"));

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("MessageLabel"));
  message_->setTextFormat(Qt::PlainText);
  QString message = texts.message;
  message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  message_->setText(message);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  message_->setAccessibleName(QStringLiteral("Application Error"));
  message_->setAccessibleDescription(message);
  message_->setMinimumWidth(360);

  okBtn_ = new QPushButton(QStringLiteral("OK"), this);
  okBtn_->setObjectName(QStringLiteral("OkBtn"));
  okBtn_->setDefault(true);
  detailsBtn_ = new QPushButton(QStringLiteral("Compact <<"), this);
  detailsBtn_->setObjectName(QStringLiteral("DetailsBtn"));
  detailsBtn_->setAutoDefault(false);
  terminateBtn_ = new QPushButton(QStringLiteral("Terminate"), this);
  terminateBtn_->setObjectName(QStringLiteral("TerminateBtn"));
  terminateBtn_->setAutoDefault(false);
  terminateBtn_->setVisible(false);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  pages_->addTab(PageText(pages_, "CallStackPage", QStringLiteral("Call Stack"), texts.callStack),
                 QStringLiteral("Call Stack"));
  pages_->addTab(PageText(pages_, "RegistersPage", QStringLiteral("Registers"), texts.registers),
                 QStringLiteral("Registers"));
  QPlainTextEdit* report = PageText(pages_, "ReportPage", texts.reportCaption, texts.reportLines);
  // The instructions are sentences with a path in them: they wrap at the page's width
  // rather than scroll sideways, in every language.
  report->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  pages_->addTab(report, texts.reportCaption);
  pages_->setMinimumSize(680, 280);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okBtn_);
  buttons->addWidget(detailsBtn_);
  buttons->addWidget(terminateBtn_);
  buttons->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(iconLabel);
  top->addSpacing(8);
  top->addWidget(message_, 1);
  top->addSpacing(8);
  top->addLayout(buttons);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(pages_, 1);
  // The compact dialog ends above the pages, and the full one grows back to its size.
  outer->setSizeConstraint(QLayout::SetFixedSize);

  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(detailsBtn_, &QPushButton::clicked, this, [this] { ShowDetails(!DetailsShown()); });
  connect(terminateBtn_, &QPushButton::clicked, this, [] { QCoreApplication::exit(1); });

  ShowDetails(true);
  pages_->setCurrentIndex(0);
  okBtn_->setFocus(Qt::OtherFocusReason);
}

void TErrorDialog::ShowDetails(bool shown) {
  pages_->setVisible(shown);
  detailsBtn_->setText(shown ? QStringLiteral("Compact <<") : QStringLiteral("Details >>"));
  // The fixed size follows at once, not at the next pass of the event loop.
  layout()->activate();
}

bool TErrorDialog::DetailsShown() const {
  return !pages_->isHidden();
}

QPlainTextEdit* TErrorDialog::Page(int index) const {
  return qobject_cast<QPlainTextEdit*>(pages_->widget(index));
}

void TErrorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, whichever window was in front when the error came.
  if (const QScreen* screen = this->screen()) {
    QRect area = frameGeometry();
    area.moveCenter(screen->availableGeometry().center());
    move(area.topLeft());
  }
  okBtn_->setFocus(Qt::OtherFocusReason);
}

}  // namespace vantrel
