// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts that the windows are made of: labels with a picture, a text or an address,
// buttons, and the fixed dialog frame.

#include <QList>
#include <QString>

class QDialog;
class QLabel;
class QPixmap;
class QPushButton;
class QWidget;

namespace vantrel {

QString Latin(const char* text);
// A picture with the name a screen reader gives it (an English text, translated with its
// window); an empty name marks a picture that only decorates, which a screen reader passes
// over.
QLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& pixmap,
                     const QString& spokenName);
QLabel* TextLabel(QWidget* parent, const char* name, const QString& text, bool bold);
// Blue and underlined, as addresses are shown; the parent window takes its clicks.
QLabel* AddressLabel(QWidget* parent, const char* name, const QString& text);
// A push button with its object name, by which the translation and a screen reader find
// it, its text and its tool tip (none when hint is empty).
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint = {});
// The same as the window's default button.
QPushButton* OkButton(QWidget* parent, const char* name, const QString& text);
// Keeps a control from a screen reader, which neither names nor counts it as something to
// read: a picture that only decorates, or a line of a sentence that another control speaks
// whole. It stays on screen as it is.
void HideFromScreenReader(QWidget* widget);
// A sentence that the window shows over several lines, one label each, is read once: the
// first line speaks the whole sentence (an English text, translated with its window), the
// others are kept from the screen reader.
void SpeakLinesAsOne(const QList<QLabel*>& lines, const QString& sentence);
// A fixed dialog frame with only a close box; the window is as large as its contents.
void FixedFrame(QDialog& dialog);

}  // namespace vantrel
