// SPDX-License-Identifier: GPL-3.0-or-later
#include "Texts.h"

#include "Translator.h"

namespace vantrel {

namespace {

// The windows' translator as it is without an instance of its own: it follows the
// program's translation, so these texts speak the language the windows speak.
const Translator& ProgramTexts() {
  static const Translator translator;
  return translator;
}

}  // namespace

QString TranslateText(std::string_view english) {
  return ProgramTexts().Text(english);
}

QString TranslateMessage(const Message& message) {
  return ProgramTexts().Message(message);
}

QString SettingsWriteWarning(const SettingsWriteError& error) {
  QString text;
  if (!error.ValueName().isEmpty()) {
    text = TranslateText("Failed to set data for '") + error.ValueName() + QStringLiteral("'\n");
  }
  return text + TranslateText("The settings file ") + error.FilePath() +
         TranslateText(" could not be written: ") + TranslateMessage(error.Explanation());
}

}  // namespace vantrel
