// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translation layer: the message catalogs of the text domain "default", the choice of
// language and the lookup of one English text. No Qt here, so that every program of the
// project can translate.
//
// Catalogs are looked for first in the catalog archive carried inside the executable, then
// in the folder "locale" beside it: locale/<code>/LC_MESSAGES/default.mo, and when there is
// none, locale/<first two letters of the code>/LC_MESSAGES/default.mo. The archive wins over
// a file of the same name on disk. A catalog is opened at the first lookup after a change
// of language; a language without a catalog is probed once and its texts stay English
// without a word. English needs no catalog: the English texts are the keys.
//
// A catalog that cannot be used raises a CatalogError at the lookup that wanted it, and is
// tried again at the next lookup.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "CatalogArchive.h"
#include "CatalogFileBytes.h"
#include "MoCatalog.h"
#include "Status.h"

namespace vantrel::i18n {

// A catalog that cannot be used. It travels as an exception because it leaves a text
// lookup deep inside a window's event handler and must reach the program's error report;
// what went wrong is a Status whose reason is the whole message:
//   kCannotOpen   "Cannot open file <path>"
//   kReadFailed   "Cannot map file <path> into memory. Reason: <why>"
//   kMalformed    "This file is not a valid GNU gettext mo file: <path>", a header that
//                 names another character set (translations are off), a translation that
//                 is not valid UTF-8, or a second file of one name in the archive (the
//                 first is used)
class CatalogError : public StatusError {
 public:
  using StatusError::StatusError;
};

// Where the automatic choice of language looks, in this order. Each source may be empty.
struct LanguageSources {
  // The environment variable LANG.
  std::function<std::string()> environment;
  // The user's locale as "ll_CC" (two lower-case letters, '_', two upper-case letters);
  // anything else counts as not available.
  std::function<std::string()> userLocale;
  // The Windows language identifier of the thread, where there is one.
  std::function<std::optional<std::uint16_t>()> windowsLanguageId;
};

// The code of a Windows language identifier: 1031 "de_DE", 3084 "fr_CA", any unknown "C".
std::string LanguageFromWindowsId(std::uint16_t id);

// LANG, else the user's locale, else the Windows language identifier, else "C"; cut before
// its first '.' (de_DE.UTF-8 becomes de_DE).
std::string AutomaticLanguage(const LanguageSources& sources);

// LANG of this process and no further sources; the Qt layer adds the user's locale.
LanguageSources EnvironmentLanguageSources();

// One catalog of one text domain: closed and may open, open, or none found.
class TDomain {
 public:
  enum class State { kClosedMayOpen, kOpen, kNoneFound };

  // directory is the catalog directory with its trailing '/'; executableFolder (with its
  // trailing '/') is what a catalog path loses to become an archive name.
  TDomain(std::string name, std::string directory, std::string language, std::string executablePath,
          std::string executableFolder, const TCatalogArchive* archive,
          FileCalls& calls = FileCalls::Real());

  enum class Found { kNo, kYes, kNotUtf8 };
  // The translation of key (without carriage returns) with its line ends made CR LF,
  // appended to out, the only copy a lookup makes; out is left alone unless kYes. kNo
  // when the catalog does not hold key or there is no catalog. Opens the catalog first
  // when it is closed.
  Found LookupInto(std::string_view key, std::string& out);

  // Closes the catalog; the next lookup opens the one of language.
  void SetLanguage(std::string language);

  State CurrentState() const;
  // The file the open catalog was read from ("" while none is open), and whether it came
  // from the archive inside the executable.
  std::string CatalogPath() const;
  bool FromArchive() const;

 private:
  Found FindInto(std::string_view key, std::string& out) const;  // under a lock
  void OpenCatalog();                                            // under the write lock
  void CloseCatalog();
  bool Exists(const std::string& path) const;

  const std::string name_;
  const std::string directory_;
  const std::string executablePath_;
  const std::string executableFolder_;
  const TCatalogArchive* const archive_;
  std::string language_;

  mutable std::shared_mutex mutex_;
  State state_ = State::kClosedMayOpen;
  CatalogFileBytes file_;
  MoCatalog catalog_;
  std::string catalogPath_;
  bool fromArchive_ = false;
};

struct TranslationSetup {
  std::string executablePath;        // the program's file; its folder holds "locale"
  std::uint64_t archiveIndexOffset;  // where the archive's index starts in it; 0 = none
  LanguageSources languageSources;
  // The calls through which the archive's index and the catalogs are read.
  FileCalls* fileCalls = &FileCalls::Real();
};

// The translation layer of one run, created before any window.
class TTranslationInstance {
 public:
  explicit TTranslationInstance(TranslationSetup setup);
  TTranslationInstance(const TTranslationInstance&) = delete;
  TTranslationInstance& operator=(const TTranslationInstance&) = delete;
  ~TTranslationInstance();

  // The setup of the running program: its own file, the archive it carries, LANG.
  static TranslationSetup ForThisProgram();

  // Makes code the current language of every domain; an empty code chooses automatically.
  // A code given here is used as it is.
  void SelectLanguage(std::string_view code);
  std::string CurrentLanguage() const;

  // One English text (UTF-8) of the domain "default" in the current language, with CR LF
  // line ends. Raises CatalogError.
  std::string TranslateText(std::string_view english);

  // A text of Qt's own through the resource-text domains: the first translation that
  // differs from the text, or nullopt. Raises CatalogError.
  std::optional<std::string> TranslateResourceText(std::string_view text);

  // Told of the new current language after every SelectLanguage, outside the instance's
  // lock: Qt's own catalogs and the default locale follow the program's language by it.
  void SetLanguageObserver(std::function<void(const std::string&)> observer);

  // When disabled, every lookup returns its text unchanged.
  void SetEnabled(bool enabled);
  bool Enabled() const;

  const TCatalogArchive& Archive() const { return archive_; }
  TDomain& Domain(std::string_view name);

  // The program's instance, which the windows' translation follows (Translator.h,
  // WindowTranslation.h); nullptr while none is installed. An installed instance stays
  // until it is destroyed or another is installed.
  static TTranslationInstance* Installed();
  void Install();

 private:
  const std::string executablePath_;
  const std::string executableFolder_;
  const std::string catalogDirectory_;
  const LanguageSources sources_;
  FileCalls& fileCalls_;
  const TCatalogArchive archive_;

  mutable std::shared_mutex mutex_;
  std::string language_;
  bool enabled_ = true;
  std::map<std::string, std::unique_ptr<TDomain>, std::less<>> domains_;
  std::function<void(const std::string&)> languageObserver_;

  mutable std::shared_mutex resourceMutex_;
  std::vector<std::string> resourceDomains_{"default"};
};

}  // namespace vantrel::i18n
