// SPDX-License-Identifier: GPL-3.0-or-later
#include "Texts.h"

#include "QtCatalogs.h"
#include "WindowTranslation.h"

namespace vantrel {

QString TranslateText(std::string_view english) {
  return i18n::TranslateQText(english);
}

void TranslateWindow(QObject& window) {
  i18n::TranslateWindow(window);
}

QString SelectCatalogLanguage(const QString& code) {
  i18n::TTranslationInstance* instance = i18n::TTranslationInstance::Installed();
  if (instance == nullptr) {
    return code.isEmpty()
               ? QString::fromStdString(i18n::AutomaticLanguage(i18n::QtLanguageSources()))
               : code;
  }
  instance->SelectLanguage(code.toStdString());
  return QString::fromStdString(instance->CurrentLanguage());
}

QString CatalogLanguage() {
  i18n::TTranslationInstance* instance = i18n::TTranslationInstance::Installed();
  return instance != nullptr
             ? QString::fromStdString(instance->CurrentLanguage())
             : QString::fromStdString(i18n::AutomaticLanguage(i18n::QtLanguageSources()));
}

std::string TranslateTextCp1252(std::string_view english) {
  return ToCp1252(TranslateText(english));
}

QString TranslateMessage(const Message& message) {
  QString out;
  for (const TextPiece& piece : message) {
    // Names and numbers are UTF-8 already; dictionary texts were converted before.
    out += piece.translate ? TranslateText(piece.text) : QString::fromStdString(piece.text);
  }
  return out;
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
