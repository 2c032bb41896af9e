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

QString SettingsWriteWarning(const Translator& translator, const SettingsWriteError& error) {
  QString text;
  if (!error.ValueName().isEmpty()) {
    text = translator.Text("Failed to set data for '") + error.ValueName() + QStringLiteral("'\n");
  }
  return text + translator.Text("The settings file ") + error.FilePath() +
         translator.Text(" could not be written: ") + translator.Message(error.Explanation());
}

}  // namespace vantrel
