// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cell texts are Windows-1252 bytes; Qt shows and edits Unicode. The placeholder bullet
// 0x95 becomes "•" and back; a character the code page lacks becomes '?'.

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

namespace vantrel {

QString FromCp1252(std::string_view text);
std::string ToCp1252(const QString& text);

// Accepts only text that Windows-1252 can hold. Dictionary words are Windows-1252, so a
// character outside it could never match and would reach the clipboard as '?'.
QValidator* NewCp1252Validator(QObject* parent);

}  // namespace vantrel
