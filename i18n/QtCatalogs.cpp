// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtCatalogs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <mutex>
#include <set>
#include <vector>

namespace vantrel::i18n {

namespace {

struct ErrorReporting {
  std::mutex mutex;
  std::function<void(const CatalogError&)> handler;
  std::set<std::string> told;
};

ErrorReporting& Reporting() {
  static ErrorReporting reporting;
  return reporting;
}

}  // namespace

LanguageSources QtLanguageSources() {
  LanguageSources sources = EnvironmentLanguageSources();
  sources.userLocale = [] { return QLocale::system().name().toStdString(); };
  return sources;
}

QString QtTranslationsFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QLocale LocaleOfLanguage(const std::string& code) {
  const std::string language = code.substr(0, 2);
  if (language == "de" || language == "fr") {
    const QLocale locale(QString::fromStdString(code));
    // "de" alone or an unknown territory still gives the language's main locale.
    return locale.language() != QLocale::C ? locale : QLocale(QString::fromStdString(language));
  }
  if (language == "en") {
    const QLocale locale(QString::fromStdString(code));
    if (locale.language() == QLocale::English) {
      return locale;
    }
  }
  return QLocale(QLocale::English, QLocale::UnitedStates);
}

QtTextTranslator::QtTextTranslator(TTranslationInstance& instance, QString qtFolder,
                                   QObject* parent)
    : QTranslator(parent), instance_(instance), qtFolder_(std::move(qtFolder)) {}

void QtTextTranslator::FollowLanguage(const std::string& code) {
  // Only the languages the program speaks: under any other code (es_ES, C) every text stays
  // English, Qt's as well. While none is loaded, whatever an earlier language left in qt_
  // is never asked.
  const std::string language = code.substr(0, 2);
  qtLoaded_ = (language == "de" || language == "fr") && !qtFolder_.isEmpty() &&
              qt_.load(QStringLiteral("qtbase_") + QString::fromStdString(language), qtFolder_);
}

QString QtTextTranslator::translate(const char* context, const char* sourceText,
                                    const char* disambiguation, int n) const {
  if (sourceText == nullptr || *sourceText == '\0') {
    return {};
  }
  const bool buttons = context != nullptr && std::string_view(context) == "QPlatformTheme";
  if (buttons) {
    if (QString text = ProgramText(sourceText); !text.isEmpty()) {
      return text;
    }
  }
  if (qtLoaded_) {
    if (QString text = qt_.translate(context, sourceText, disambiguation, n); !text.isEmpty()) {
      return text;
    }
  }
  return buttons ? QString() : ProgramText(sourceText);
}

QString QtTextTranslator::ProgramText(const char* sourceText) const {
  try {
    const std::optional<std::string> found = instance_.TranslateResourceText(sourceText);
    return found ? QString::fromStdString(*found) : QString();
  } catch (const CatalogError& error) {
    // Qt cannot take an error here; its English text stays.
    ReportCatalogError(error);
    return {};
  }
}

void SetCatalogErrorHandler(std::function<void(const CatalogError&)> handler) {
  ErrorReporting& reporting = Reporting();
  std::lock_guard lock(reporting.mutex);
  reporting.handler = std::move(handler);
}

void ReportCatalogError(const CatalogError& error) {
  std::function<void(const CatalogError&)> handler;
  {
    ErrorReporting& reporting = Reporting();
    std::lock_guard lock(reporting.mutex);
    // A broken catalog fails at every text of a window; once is enough to tell.
    if (!reporting.told.insert(error.what()).second) {
      return;
    }
    handler = reporting.handler;
  }
  if (handler) {
    handler(error);
  } else {
    qWarning("%s", error.what());
  }
}

QString TranslateQText(std::string_view english) {
  return TranslateQText(TTranslationInstance::Installed(), english);
}

QString TranslateQText(TTranslationInstance* instance, std::string_view english) {
  try {
    if (instance != nullptr) {
      return QString::fromStdString(instance->TranslateText(english));
    }
  } catch (const CatalogError& error) {
    ReportCatalogError(error);
  }
  return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
}

ProgramTranslation::ProgramTranslation()
    : ProgramTranslation([] {
        TranslationSetup setup = TTranslationInstance::ForThisProgram();
        setup.languageSources = QtLanguageSources();
        return setup;
      }()) {}

ProgramTranslation::ProgramTranslation(TranslationSetup setup, QString qtFolder)
    : instance_(std::make_unique<TTranslationInstance>(std::move(setup))),
      translator_(std::make_unique<QtTextTranslator>(*instance_, std::move(qtFolder))) {
  instance_->Install();
  windows_.Install();
  translator_->FollowLanguage(instance_->CurrentLanguage());
  QLocale::setDefault(LocaleOfLanguage(instance_->CurrentLanguage()));
  instance_->SetLanguageObserver([this](const std::string& code) {
    translator_->FollowLanguage(code);
    QLocale::setDefault(LocaleOfLanguage(code));
    // Qt's way of telling every widget that the language changed: Qt's own dialogs and
    // the help window translate their texts again. (Installing the translator does it
    // once at start.)
    if (QCoreApplication* application = QCoreApplication::instance()) {
      QEvent change(QEvent::LanguageChange);
      QCoreApplication::sendEvent(application, &change);
    }
  });
  for (const std::string& name : instance_->Archive().Duplicates()) {
    ReportCatalogError(CatalogError(
        {StatusCode::kMalformed, "The catalog archive holds more than one file named " + name +
                                     "; the first one is used"}));
  }
  QCoreApplication::installTranslator(translator_.get());
}

ProgramTranslation::~ProgramTranslation() {
  instance_->SetLanguageObserver({});
  QCoreApplication::removeTranslator(translator_.get());
}

}  // namespace vantrel::i18n
