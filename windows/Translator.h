// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows' one way into the user's language: texts, messages, the engine's
// Windows-1252 cells and whole windows, and the language switch that every window follows.
// Each window reaches it through its Services; the program's start owns it.

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "Message.h"

namespace vantrel {

namespace i18n {
class TTranslationInstance;
}

class Translator : public QObject {
  Q_OBJECT

 public:
  // Translates through instance; without one, through the program's translation once it
  // is set up (a test sets up its own after the windows' services), and until then the
  // English text is the translation. A catalog that cannot be used is reported and
  // leaves the text English.
  explicit Translator(i18n::TTranslationInstance* instance = nullptr, QObject* parent = nullptr);

  // One English text (UTF-8) in the current language.
  QString Text(std::string_view english) const;
  // A message assembled from pieces, each translatable piece translated on its own.
  QString Message(const vantrel::Message& message) const;
  // One English text for a cell of the engine's tables.
  std::string Cp1252(std::string_view english) const;

  // A window's texts in the current language (see WindowTranslation.h); the first call
  // keeps the English texts for later calls after a change of language.
  void Window(QObject& window) const;
  // The window's texts now, and again after every change of language, each time followed
  // by writtenByHand for what the window writes itself (column titles, a status line),
  // which the window writes at its creation as it always does. Ends with the window.
  void KeepTranslated(QObject& window, std::function<void()> writtenByHand = {});

  // The language of the catalogs now; without any, the one last selected here, else the
  // automatic choice.
  QString Language() const;
  // Makes code (empty: the automatic choice from LANG and the user's locale) the language
  // of the catalogs, tells every window by LanguageChanged and returns the language now
  // current.
  QString SelectLanguage(const QString& code);

 signals:
  // After a switch: every open window puts its texts into language.
  void LanguageChanged(const QString& language);

 private:
  i18n::TTranslationInstance* Instance() const;

  i18n::TTranslationInstance* const instance_;
  // What SelectLanguage chose while there were no catalogs to take it.
  QString selected_;
};

}  // namespace vantrel
