// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogs.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "CatalogsUtf8.h"
#include "Codepage.h"

namespace vantrel::i18n {

namespace {

constexpr std::string_view kDefaultDomain = "default";

std::atomic<TTranslationInstance*> installedInstance{nullptr};

bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

bool IsLocaleName(std::string_view name) {
  return name.size() == 5 && IsLower(name[0]) && IsLower(name[1]) && name[2] == '_' &&
         IsUpper(name[3]) && IsUpper(name[4]);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

std::string LanguageFromWindowsId(std::uint16_t id) {
  struct Row {
    std::uint16_t id;
    const char* code;
  };
  static constexpr Row kTable[] = {
      {1030, "da_DK"}, {1031, "de_DE"}, {1032, "gr_GR"}, {1033, "en_US"}, {1034, "es_ES"},
      {3082, "es_ES"}, {1035, "fi_FI"}, {1036, "fr_FR"}, {1039, "is_IS"}, {1040, "it_IT"},
      {1042, "ko_KO"}, {1043, "nl_NL"}, {1044, "no_NO"}, {1045, "pl_PL"}, {1046, "pt_BR"},
      {1049, "ru_RU"}, {1053, "sv_SE"}, {2057, "en_UK"}, {2060, "fr_BE"}, {2067, "nl_BE"},
      {2068, "nn_NO"}, {2070, "pt_PT"}, {2077, "fi_SE"}, {3084, "fr_CA"}, {4103, "de_LU"}};
  for (const Row& row : kTable) {
    if (row.id == id) {
      return row.code;
    }
  }
  return "C";
}

std::string AutomaticLanguage(const LanguageSources& sources) {
  std::string code = sources.environment ? sources.environment() : std::string();
  if (code.empty() && sources.userLocale) {
    code = sources.userLocale();
    if (!IsLocaleName(code)) {
      code.clear();
    }
  }
  if (code.empty()) {
    const std::optional<std::uint16_t> id =
        sources.windowsLanguageId ? sources.windowsLanguageId() : std::nullopt;
    code = id ? LanguageFromWindowsId(*id) : std::string("C");
  }
  return code.substr(0, code.find('.'));
}

LanguageSources EnvironmentLanguageSources() {
  LanguageSources sources;
  sources.environment = [] {
    const char* lang = std::getenv("LANG");
    return std::string(lang != nullptr ? lang : "");
  };
  return sources;
}

// ----- TDomain -----

TDomain::TDomain(std::string name, std::string directory, std::string language,
                 std::string executablePath, std::string executableFolder,
                 const TCatalogArchive* archive, FileCalls& calls)
    : name_(std::move(name)),
      directory_(std::move(directory)),
      executablePath_(std::move(executablePath)),
      executableFolder_(std::move(executableFolder)),
      archive_(archive),
      language_(std::move(language)),
      file_(calls) {}

TDomain::State TDomain::CurrentState() const {
  std::shared_lock lock(mutex_);
  return state_;
}

std::string TDomain::CatalogPath() const {
  std::shared_lock lock(mutex_);
  return catalogPath_;
}

bool TDomain::FromArchive() const {
  std::shared_lock lock(mutex_);
  return fromArchive_;
}

void TDomain::SetLanguage(std::string language) {
  std::unique_lock lock(mutex_);
  CloseCatalog();
  language_ = std::move(language);
  state_ = State::kClosedMayOpen;
}

void TDomain::CloseCatalog() {
  file_.Close();
  catalog_ = MoCatalog();
  catalogPath_.clear();
  fromArchive_ = false;
}

bool TDomain::Exists(const std::string& path) const {
  if (archive_ != nullptr && path.starts_with(executableFolder_) &&
      archive_->Find(std::string_view(path).substr(executableFolder_.size())) != nullptr) {
    return true;
  }
  std::error_code error;
  return std::filesystem::exists(path, error);
}

void TDomain::OpenCatalog() {
  const std::string tail = "/LC_MESSAGES/" + name_ + ".mo";
  std::string path = directory_ + language_ + tail;
  if (!Exists(path)) {
    path = directory_ + language_.substr(0, 2) + tail;
    if (!Exists(path)) {
      state_ = State::kNoneFound;
      // English needs no catalog; any other language may have lost its own with the
      // program's end. Said once: the domain speaks English from here on.
      if (archive_ != nullptr && archive_->Damaged() && language_.size() >= 2 &&
          !language_.starts_with("en")) {
        throw CatalogError(
            {StatusCode::kMalformed, "The translations carried in " + executablePath_ +
                                         " cannot be read: the file is cut short or damaged"});
      }
      return;
    }
  }
  const TArchivedFileInfo* archived =
      archive_ != nullptr && path.starts_with(executableFolder_)
          ? archive_->Find(std::string_view(path).substr(executableFolder_.size()))
          : nullptr;
  const std::string& file = archived != nullptr ? executablePath_ : path;
  const Status read =
      archived != nullptr ? file_.Open(file, archived->offset, archived->size) : file_.Open(file);
  if (read.Code() == StatusCode::kCannotOpen) {
    throw CatalogError({StatusCode::kCannotOpen, "Cannot open file " + path});
  }
  if (!read.IsOk()) {
    throw CatalogError({StatusCode::kReadFailed,
                        "Cannot map file " + path + " into memory. Reason: " + read.Reason()});
  }
  const std::span<const unsigned char> bytes = file_.Bytes();
  // The executable may have changed since its index was read.
  if (archived != nullptr && bytes.size() != archived->size) {
    file_.Close();
    throw CatalogError(
        {StatusCode::kMalformed, "This file is not a valid GNU gettext mo file: " + path});
  }
  if (!MoCatalog::Read(bytes, catalog_).IsOk()) {
    CloseCatalog();
    throw CatalogError(
        {StatusCode::kMalformed, "This file is not a valid GNU gettext mo file: " + path});
  }
  if (!catalog_.HasUtf8Charset()) {
    CloseCatalog();
    throw CatalogError({StatusCode::kMalformed,
                        "The translation for the language code " + language_ + " (in " + path +
                            ") does not have charset=utf-8 in its Content-Type. Translations "
                            "are turned off."});
  }
  catalogPath_ = path;
  fromArchive_ = archived != nullptr;
  state_ = State::kOpen;
}

TDomain::Found TDomain::FindInto(std::string_view key, std::string& out) const {
  const std::optional<std::string_view> found = catalog_.Find(key);
  if (!found) {
    return Found::kNo;
  }
  if (!IsValidUtf8(*found)) {
    return Found::kNotUtf8;
  }
  AppendWithCarriageReturns(out, *found);
  return Found::kYes;
}

TDomain::Found TDomain::LookupInto(std::string_view key, std::string& out) {
  {
    std::shared_lock lock(mutex_);
    if (state_ == State::kNoneFound) {
      return Found::kNo;
    }
    if (state_ == State::kOpen) {
      return FindInto(key, out);
    }
  }
  std::unique_lock lock(mutex_);
  if (state_ == State::kClosedMayOpen) {
    OpenCatalog();
  }
  return state_ == State::kOpen ? FindInto(key, out) : Found::kNo;
}

// ----- TTranslationInstance -----

TTranslationInstance::TTranslationInstance(TranslationSetup setup)
    : executablePath_(std::move(setup.executablePath)),
      executableFolder_(FolderOf(executablePath_)),
      catalogDirectory_(executableFolder_ + "locale/"),
      sources_(std::move(setup.languageSources)),
      fileCalls_(*setup.fileCalls),
      archive_(TCatalogArchive::Load(executablePath_, setup.archiveIndexOffset, fileCalls_)) {
  language_ = AutomaticLanguage(sources_);
}

TTranslationInstance::~TTranslationInstance() {
  TTranslationInstance* self = this;
  installedInstance.compare_exchange_strong(self, nullptr);
}

TranslationSetup TTranslationInstance::ForThisProgram() {
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  return {std::move(path), ArchiveIndexOffset(), EnvironmentLanguageSources()};
}

TTranslationInstance* TTranslationInstance::Installed() {
  return installedInstance.load();
}

void TTranslationInstance::Install() {
  installedInstance.store(this);
}

void TTranslationInstance::SelectLanguage(std::string_view code) {
  const std::string language = code.empty() ? AutomaticLanguage(sources_) : std::string(code);
  std::function<void(const std::string&)> observer;
  {
    std::unique_lock lock(mutex_);
    language_ = language;
    for (auto& [name, domain] : domains_) {
      domain->SetLanguage(language_);
    }
    observer = languageObserver_;
  }
  if (observer) {
    observer(language);
  }
}

void TTranslationInstance::SetLanguageObserver(std::function<void(const std::string&)> observer) {
  std::unique_lock lock(mutex_);
  languageObserver_ = std::move(observer);
}

std::string TTranslationInstance::CurrentLanguage() const {
  std::shared_lock lock(mutex_);
  return language_;
}

void TTranslationInstance::SetEnabled(bool enabled) {
  std::unique_lock lock(mutex_);
  enabled_ = enabled;
}

bool TTranslationInstance::Enabled() const {
  std::shared_lock lock(mutex_);
  return enabled_;
}

TDomain& TTranslationInstance::Domain(std::string_view name) {
  {
    std::shared_lock lock(mutex_);
    const auto found = domains_.find(name);
    if (found != domains_.end()) {
      return *found->second;
    }
  }
  std::unique_lock lock(mutex_);
  auto& domain = domains_[std::string(name)];
  if (!domain) {
    domain = std::make_unique<TDomain>(std::string(name), catalogDirectory_, language_,
                                       executablePath_, executableFolder_, &archive_, fileCalls_);
  }
  return *domain;
}

std::string TTranslationInstance::TranslateText(std::string_view english) {
  // The empty text's entry is the catalog's header, which is no text to show.
  if (!Enabled() || english.empty()) {
    return std::string(english);
  }
  // Keys hold no carriage returns; most texts have none to remove.
  std::string withoutReturns;
  std::string_view key = english;
  if (english.find('\r') != std::string_view::npos) {
    withoutReturns = WithoutCarriageReturns(english);
    key = withoutReturns;
  }
  std::string result;
  TDomain& domain = Domain(kDefaultDomain);
  switch (domain.LookupInto(key, result)) {
    case TDomain::Found::kYes:
      return result;
    case TDomain::Found::kNotUtf8:
      throw CatalogError({StatusCode::kMalformed,
                          "Error: Could not translate " + std::string(english) +
                              ". Probably because the mo file doesn't contain utf-8 encoded "
                              "translations."});
    case TDomain::Found::kNo:
      break;
  }
  AppendWithCarriageReturns(result, key);
  return result;
}

std::optional<std::string> TTranslationInstance::TranslateResourceText(std::string_view text) {
  if (!Enabled()) {
    return std::nullopt;
  }
  std::vector<std::string> names;
  {
    std::shared_lock lock(resourceMutex_);
    names = resourceDomains_;
  }
  const std::string key = WithoutCarriageReturns(text);
  const std::string unchanged = WithCarriageReturns(key);
  for (const std::string& name : names) {
    std::string found;
    if (Domain(name).LookupInto(key, found) == TDomain::Found::kYes && found != unchanged) {
      return found;
    }
  }
  return std::nullopt;
}

}  // namespace vantrel::i18n
