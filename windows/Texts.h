// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts between the engine's Windows-1252 bytes and what the windows show, and the one
// place where an English text is turned into the user's language.

#include <QObject>
#include <QString>
#include <string>
#include <string_view>

#include "CellText.h"
#include "Message.h"
#include "SettingsStore.h"

namespace vantrel {

// One English text through the catalog of the current language. Until the program's
// translation is set up (and where there is no catalog) the English text is the
// translation; a catalog that cannot be used is reported and leaves the text English.
QString TranslateText(std::string_view english);

// An English text that a window is built with. It stays English here: the window's
// translation (TranslateWindow) puts it into the user's language and keeps the English, so
// that a change of language translates it again. The catalogs hold it as they hold every
// text of TranslateText.
inline QString SourceText(std::string_view english) {
  return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
}

// A window's texts in the current language (see WindowTranslation.h); the first call
// keeps the English texts for later calls after a change of language.
void TranslateWindow(QObject& window);

// Makes code (empty: the automatic choice from LANG and the user's locale) the language of
// the catalogs and returns the language now current.
QString SelectCatalogLanguage(const QString& code);
// The language of the catalogs now.
QString CatalogLanguage();
std::string TranslateTextCp1252(std::string_view english);

// A message assembled from pieces, each translatable piece translated on its own.
QString TranslateMessage(const Message& message);

// The warning when a value cannot be stored, in the current language: the value, the
// settings file and the reason. A read-only or full disk is no fault of the program, so
// it is a warning, never an error report.
QString SettingsWriteWarning(const SettingsWriteError& error);

}  // namespace vantrel
