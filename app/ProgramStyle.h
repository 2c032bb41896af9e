// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's style: the platform's own, except that a standard icon is read from its
// picture files only when it is first drawn. A menu bar asks for its overflow arrow while
// it is being built, and reading that one picture would load every image reader of Qt
// before the first window shows, for an arrow that a menu bar of three menus never shows.

#include <QProxyStyle>

namespace vantrel {

class ProgramStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // The style of that name as the base; an unknown name gives the platform's default.
  explicit ProgramStyle(const QString& baseStyleName);

  QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                     const QWidget* widget) const override;
};

}  // namespace vantrel
