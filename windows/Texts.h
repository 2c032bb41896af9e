// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts for code that has no window at hand (the error report's page, the file dialog's
// labels, the suggestions' reasons), and the settings warning of the windows. A window
// translates through the Translator of its Services (Translator.h).

#include <QString>
#include <string>
#include <string_view>

#include "CellText.h"
#include "Message.h"
#include "SettingsStore.h"

namespace vantrel {

class Translator;

// One English text through the catalog of the program's translation. Until that is set up
// (and where there is no catalog) the English text is the translation; a catalog that
// cannot be used is reported and leaves the text English.
QString TranslateText(std::string_view english);

// An English text that a window is built with. It stays English here: the window's
// translation (Translator::Window) puts it into the user's language and keeps the
// English, so that a change of language translates it again. The catalogs hold it as
// they hold every text of TranslateText.
inline QString SourceText(std::string_view english) {
  return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
}

// A message assembled from pieces, each translatable piece translated on its own.
QString TranslateMessage(const Message& message);

// The warning when a value cannot be stored, in the current language: the value, the
// settings file and the reason. A read-only or full disk is no fault of the program, so
// it is a warning, never an error report.
QString SettingsWriteWarning(const Translator& translator, const SettingsWriteError& error);

}  // namespace vantrel
