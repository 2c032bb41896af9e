// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogParts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QPushButton>

namespace vantrel {

namespace {

// What a screen reader finds of a hidden control: no name, no text and nothing showing, so
// that it reads past it as it reads past what is off screen. Its place among its window's
// controls stays, so that the others keep their order.
class HiddenControl final : public QAccessibleWidget {
 public:
  explicit HiddenControl(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Client) {}

  QString text(QAccessible::Text) const override { return {}; }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.invisible = true;
    state.focusable = false;
    return state;
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
};

}  // namespace

QString Latin(const char* text) {
  return QString::fromLatin1(text);
}

QLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& pixmap,
                     const QString& spokenName) {
  auto* label = new QLabel(parent);
  label->setObjectName(Latin(name));
  label->setPixmap(pixmap);
  label->setFixedSize(pixmap.size());
  if (spokenName.isEmpty()) {
    HideFromScreenReader(label);
  } else {
    label->setAccessibleName(spokenName);
  }
  return label;
}

void HideFromScreenReader(QWidget* widget) {
  // Qt has no setting for this, and a factory of ours would come after Qt's own for its
  // controls: an interface of our own takes the place of the one Qt keeps for the control,
  // for as long as the control lives.
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
  QAccessible::registerAccessibleInterface(new HiddenControl(widget));
}

void SpeakLinesAsOne(const QList<QLabel*>& lines, const QString& sentence) {
  if (lines.isEmpty()) {
    return;
  }
  lines.front()->setAccessibleName(sentence);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    HideFromScreenReader(lines[i]);
  }
}

QLabel* TextLabel(QWidget* parent, const char* name, const QString& text, bool bold) {
  auto* label = new QLabel(parent);
  label->setObjectName(Latin(name));
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

QLabel* AddressLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = TextLabel(parent, name, text, false);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  // Reached with Tab and opened with Space or Enter, like a link.
  label->setFocusPolicy(Qt::StrongFocus);
  label->installEventFilter(parent);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint) {
  auto* button = new QPushButton(parent);
  button->setObjectName(Latin(name));
  button->setText(text);
  if (!hint.isEmpty()) {
    button->setToolTip(hint);
  }
  return button;
}

QPushButton* OkButton(QWidget* parent, const char* name, const QString& text) {
  QPushButton* button = MakeButton(parent, name, text);
  button->setDefault(true);
  return button;
}

void FixedFrame(QDialog& dialog) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vantrel
