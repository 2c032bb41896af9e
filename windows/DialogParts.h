// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts that the windows are made of: labels with a picture, a text or an address,
// buttons, and the fixed dialog frame.

#include <QString>

class QDialog;
class QLabel;
class QPixmap;
class QPushButton;
class QWidget;

namespace vantrel {

QString Latin(const char* text);
QLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& pixmap);
QLabel* TextLabel(QWidget* parent, const char* name, const QString& text, bool bold);
// Blue and underlined, as addresses are shown; the parent window takes its clicks.
QLabel* AddressLabel(QWidget* parent, const char* name, const QString& text);
// A push button with its object name, by which the translation and a screen reader find
// it, its text and its tool tip (none when hint is empty).
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint = {});
// The same as the window's default button.
QPushButton* OkButton(QWidget* parent, const char* name, const QString& text);
// A fixed dialog frame with only a close box; the window is as large as its contents.
void FixedFrame(QDialog& dialog);

}  // namespace vantrel
