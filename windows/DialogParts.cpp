// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogParts.h"

#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QPushButton>

namespace vantrel {

QString Latin(const char* text) {
  return QString::fromLatin1(text);
}

QLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& pixmap) {
  auto* label = new QLabel(parent);
  label->setObjectName(Latin(name));
  label->setPixmap(pixmap);
  label->setFixedSize(pixmap.size());
  return label;
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
