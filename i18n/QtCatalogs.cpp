#include "QtCatalogs.h"

#include <QCoreApplication>
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

TQtTextTranslator::TQtTextTranslator(TTranslationInstance& instance, QObject* parent)
    : QTranslator(parent), instance_(instance) {}

QString TQtTextTranslator::translate(const char* /*context*/, const char* sourceText,
                                     const char* /*disambiguation*/, int /*n*/) const {
  if (sourceText == nullptr || *sourceText == '\0') {
    return {};
  }
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
  TTranslationInstance* instance = TTranslationInstance::Installed();
  try {
    if (instance != nullptr) {
      return QString::fromStdString(instance->TranslateText(english));
    }
  } catch (const CatalogError& error) {
    ReportCatalogError(error);
  }
  return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
}

TProgramTranslation::TProgramTranslation()
    : TProgramTranslation([] {
        TTranslationSetup setup = TTranslationInstance::ForThisProgram();
        setup.languageSources = QtLanguageSources();
        return setup;
      }()) {}

TProgramTranslation::TProgramTranslation(TTranslationSetup setup)
    : instance_(std::make_unique<TTranslationInstance>(std::move(setup))),
      translator_(std::make_unique<TQtTextTranslator>(*instance_)) {
  instance_->Install();
  windows_.Install();
  for (const std::string& name : instance_->Archive().Duplicates()) {
    ReportCatalogError(CatalogError(
        CatalogError::Reason::DuplicateInArchive,
        "The catalog archive holds more than one file named " + name + "; the first one is used"));
  }
  QCoreApplication::installTranslator(translator_.get());
}

TProgramTranslation::~TProgramTranslation() {
  QCoreApplication::removeTranslator(translator_.get());
}

}  // namespace vantrel::i18n
