#pragma once
// The translation layer as Qt sees it: the program's translation set up before any window,
// Qt's own texts (message-box buttons, file-dialog captions) routed through the catalog,
// and the user's locale as the second source of the automatic choice.
//
// Window translation and live switching build on this: TranslateQText is what a walk over
// a window's properties calls for each text, and SelectLanguage followed by the retranslation
// of the windows is a language switch. Qt asks its translator again whenever it builds a
// dialog, so message boxes and file dialogs follow a switch by themselves.

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

// Translates every text Qt asks for by its source text, whatever the context: the catalog's
// translation when there is one that differs, else nothing (Qt keeps its English).
class TQtTextTranslator : public QTranslator {
 public:
  explicit TQtTextTranslator(TTranslationInstance& instance, QObject* parent = nullptr);

  QString translate(const char* context, const char* sourceText,
                    const char* disambiguation = nullptr, int n = -1) const override;
  bool isEmpty() const override { return false; }

 private:
  TTranslationInstance& instance_;
};

// Where a catalog that cannot be used is told. By default a warning on the console; the
// error report takes it over once there is one. Each distinct message is told once.
void SetCatalogErrorHandler(std::function<void(const CatalogError&)> handler);
void ReportCatalogError(const CatalogError& error);

// One English text (UTF-8) through the installed instance. Without an instance the English
// text comes back; a catalog that cannot be used is reported and leaves the text English.
QString TranslateQText(std::string_view english);

// The program's translation, created at start before any window and living for the run:
// the instance for this executable (installed for TranslateQText), Qt's translator and
// the rules of the window translation (installed for TranslateWindow).
class TProgramTranslation {
 public:
  TProgramTranslation();
  // For tests: an instance of another setup.
  explicit TProgramTranslation(TTranslationSetup setup);
  ~TProgramTranslation();

  TTranslationInstance& Instance() { return *instance_; }
  TWindowTranslator& Windows() { return windows_; }

 private:
  std::unique_ptr<TTranslationInstance> instance_;
  TWindowTranslator windows_;
  std::unique_ptr<TQtTextTranslator> translator_;
};

}  // namespace vantrel::i18n
