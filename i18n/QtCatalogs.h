// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translation layer as Qt sees it: the program's translation set up before any window,
// Qt's own texts (message-box buttons, file-dialog captions) routed through the catalog,
// and the user's locale as the second source of the automatic choice.
//
// Window translation and live switching build on this: TranslateQText is what a walk over
// a window's properties calls for each text, and SelectLanguage followed by the retranslation
// of the windows is a language switch. Qt asks its translator again whenever it builds a
// dialog, so message boxes and file dialogs follow a switch by themselves.

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Catalogs.h"
#include "WindowTranslation.h"

namespace vantrel::i18n {

// LANG, then QLocale::system() as "ll_CC".
LanguageSources QtLanguageSources();

// The folder of Qt's own translations (qtbase_de.qm, qtbase_fr.qm), where Debian's
// qt6-translations-l10n puts them.
QString QtTranslationsFolder();

// The locale of a language code: dates, sizes and file types in the file dialog speak the
// program's language, not LANG's. Codes without a catalog of ours get American English,
// the language their texts stay in.
QLocale LocaleOfLanguage(const std::string& code);

// Qt's texts (file dialog, message boxes, context menus of entry fields) in the program's
// language. Qt's own catalog of the language, qtbase_<ll>.qm, answers first; the program's
// catalog answers only what Qt's lacks. The message-box buttons are the exception: their
// texts are the program's ("&Ja"/"&Nein", "Oui"/"Non"), so the program's catalog answers
// those first. Without Qt's catalogs (the package is missing) Qt's texts stay English
// except for what the program's catalog carries.
class QtTextTranslator : public QTranslator {
 public:
  QtTextTranslator(TTranslationInstance& instance, QString qtFolder, QObject* parent = nullptr);

  // Loads Qt's catalog for the language's first two letters when the program speaks it
  // (German, French); English and every other language load none.
  void FollowLanguage(const std::string& code);
  bool HasQtCatalog() const { return qtLoaded_; }

  QString translate(const char* context, const char* sourceText,
                    const char* disambiguation = nullptr, int n = -1) const override;
  bool isEmpty() const override { return false; }

 private:
  QString ProgramText(const char* sourceText) const;

  TTranslationInstance& instance_;
  const QString qtFolder_;
  QTranslator qt_;
  bool qtLoaded_ = false;
};

// Where a catalog that cannot be used is told. By default a warning on the console; the
// error report takes it over once there is one. Each distinct message is told once.
void SetCatalogErrorHandler(std::function<void(const CatalogError&)> handler);
void ReportCatalogError(const CatalogError& error);

// One English text (UTF-8) through the installed instance. Without an instance the English
// text comes back; a catalog that cannot be used is reported and leaves the text English.
QString TranslateQText(std::string_view english);
// The same through instance; without one the English text comes back.
QString TranslateQText(TTranslationInstance* instance, std::string_view english);

// The program's translation, created at start before any window and living for the run:
// the instance for this executable (installed for TranslateQText), Qt's translator and
// the rules of the window translation (installed for TranslateWindow).
class ProgramTranslation {
 public:
  ProgramTranslation();
  // For tests: an instance of another setup, and Qt's catalogs from another folder (an
  // empty one is a system without them).
  explicit ProgramTranslation(TranslationSetup setup, QString qtFolder = QtTranslationsFolder());
  ~ProgramTranslation();

  TTranslationInstance& Instance() { return *instance_; }
  WindowTranslator& Windows() { return windows_; }
  const QtTextTranslator& QtTexts() const { return *translator_; }

 private:
  std::unique_ptr<TTranslationInstance> instance_;
  WindowTranslator windows_;
  std::unique_ptr<QtTextTranslator> translator_;
};

}  // namespace vantrel::i18n
