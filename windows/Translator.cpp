// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translator.h"

#include "Catalogs.h"
#include "CellText.h"
#include "QtCatalogs.h"
#include "WindowTranslation.h"

namespace vantrel {

Translator::Translator(i18n::TTranslationInstance* instance, QObject* parent)
    : QObject(parent), instance_(instance) {}

i18n::TTranslationInstance* Translator::Instance() const {
  return instance_ != nullptr ? instance_ : i18n::TTranslationInstance::Installed();
}

QString Translator::Text(std::string_view english) const {
  return i18n::TranslateQText(Instance(), english);
}

QString Translator::Message(const vantrel::Message& message) const {
  QString out;
  for (const TextPiece& piece : message) {
    // Names and numbers are UTF-8 already; dictionary texts were converted before.
    out += piece.translate ? Text(piece.text) : QString::fromStdString(piece.text);
  }
  return out;
}

std::string Translator::Cp1252(std::string_view english) const {
  return ToCp1252(Text(english));
}

void Translator::Window(QObject& window) const {
  i18n::WindowTranslator::Current().TranslateWindow(window, Instance());
}

void Translator::KeepTranslated(QObject& window, std::function<void()> writtenByHand) {
  Window(window);
  // The window is the receiver: the connection goes with it.
  connect(this, &Translator::LanguageChanged, &window,
          [this, &window, writtenByHand = std::move(writtenByHand)] {
            Window(window);
            if (writtenByHand) {
              writtenByHand();
            }
          });
}

QString Translator::Language() const {
  const i18n::TTranslationInstance* instance = Instance();
  if (instance != nullptr) {
    return QString::fromStdString(instance->CurrentLanguage());
  }
  return !selected_.isEmpty()
             ? selected_
             : QString::fromStdString(i18n::AutomaticLanguage(i18n::QtLanguageSources()));
}

QString Translator::SelectLanguage(const QString& code) {
  i18n::TTranslationInstance* instance = Instance();
  QString language;
  if (instance == nullptr) {
    selected_ = code;
    language = Language();
  } else {
    instance->SelectLanguage(code.toStdString());
    language = QString::fromStdString(instance->CurrentLanguage());
  }
  emit LanguageChanged(language);
  return language;
}

}  // namespace vantrel
