// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include "ReplaceFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include "FileOpen.h"
#include "SettingsList.h"
#include "SettingsRead.h"

namespace vantrel {

namespace {

std::string Utf8(const QString& s) {
  return s.toStdString();
}

QString WriteErrorText(const QString& name, const QString& path, const QString& reason) {
  return name.isEmpty()
             ? QStringLiteral("The settings key cannot be created in %1: %2").arg(path, reason)
             : QStringLiteral("The setting \"%1\" cannot be written to %2: %3")
                   .arg(name, path, reason);
}

QString Describe(std::size_t line, const Status& failure) {
  const QString reason = QString::fromStdString(failure.Reason());
  return line == 0 ? reason : QStringLiteral("line %1: %2").arg(line).arg(reason);
}

// Every integer or switch of the program's that the file lacks once its bad lines are left
// out takes its design value: a bad line may have held any of them, named or not, and a
// missing integer would end the reading of the values after it, at this start and at every
// later one, as if there were no settings. Texts read as empty when missing anyway.
void GiveDesignValues(regfile::Document& document) {
  regfile::Key* own = nullptr;
  for (regfile::Key& key : document.keys) {
    if (regfile::SameName(key.path, SettingsStore::kKeyPath)) {
      own = &key;
    }
  }
  if (own == nullptr) {
    return;
  }
  for (const SettingRow& row : kSettingsTable) {
    if (row.type != SettingType::kText && own->Find(row.name) == nullptr) {
      own->Set(
          regfile::Value::MakeDword(std::string(row.name), static_cast<std::uint32_t>(row.design)));
    }
  }
}

// The bad lines named in a notice: a handful, then how many more.
constexpr std::size_t kNamedBadLines = 5;

QString DescribeAll(const std::vector<regfile::BadLine>& skipped) {
  QStringList parts;
  for (std::size_t i = 0; i < skipped.size() && i < kNamedBadLines; ++i) {
    parts << Describe(skipped[i].line, skipped[i].status);
  }
  if (skipped.size() > kNamedBadLines) {
    parts << QStringLiteral("%1 more").arg(skipped.size() - kNamedBadLines);
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace

// The store's file and what it has to report, shared by the store and its open keys.
class SettingsFiles {
 public:
  SettingsFiles(QString folder, FileCalls& calls) : folder_(std::move(folder)), calls_(calls) {}

  const QString& Folder() const { return folder_; }
  QString FilePath() const {
    return QDir(folder_).filePath(QString::fromLatin1(SettingsStore::kFileName));
  }

  struct Loaded {
    regfile::Document document;  // what could be read; empty when there is no file
    Status unusable;             // why writing must not replace the file, if it must not
  };

  Loaded Load();
  // Reads the file again, sets the values in the program's key and writes it all back.
  // valueName names the write in an error.
  regfile::Key Update(const QString& valueName, const std::vector<regfile::Value>& values);
  std::vector<SettingsFileNotice> TakeNotices() { return std::exchange(notices_, {}); }

 private:
  // Renames the file at path to a free name beside it, which keptAs receives.
  Status KeepAside(const QString& path, QString& keptAs);
  void Note(SettingsFileNotice notice);
  void Save(const regfile::Document& document, const QString& valueName);

  QString folder_;
  FileCalls& calls_;
  std::vector<SettingsFileNotice> notices_;
  std::optional<SettingsFileNotice> lastNotice_;
};

TextPiece SystemReasonPiece(std::string_view reason) {
  // What a write of the settings file meets: a folder or file without the right to write,
  // a read-only or full disk, a quota or a size limit, a path that is no folder. The texts
  // are the system's own, so that a reason in the user's language already stays as it is.
  static const int kKnown[] = {EACCES, EPERM,  EROFS,   ENOSPC, EDQUOT,       EFBIG,
                               EIO,    ENOENT, ENOTDIR, EISDIR, ENAMETOOLONG, ELOOP};
  for (const int error : kKnown) {
    if (reason == std::generic_category().message(error)) {
      return {std::string(reason), true};
    }
  }
  return Lit(reason);
}

SettingsWriteError::SettingsWriteError(QString valueName, QString filePath, Status failure)
    : SettingsWriteError(std::move(valueName), std::move(filePath), failure,
                         {SystemReasonPiece(failure.Reason())}) {}

SettingsWriteError::SettingsWriteError(QString valueName, QString filePath, Status failure,
                                       Message explanation)
    : StatusError(failure, Utf8(WriteErrorText(valueName, filePath,
                                               QString::fromStdString(failure.Reason())))),
      valueName_(std::move(valueName)),
      filePath_(std::move(filePath)),
      explanation_(std::move(explanation)) {}

Result<QString> SettingsKey::ReadText(const QString& name) const {
  TypedValue value;
  Status read = ReadTyped(key_, Utf8(name), SettingType::kText, value);
  if (!read.IsOk()) {
    return {QString(), std::move(read)};
  }
  return {QString::fromStdString(value.text), Status()};
}

Result<qint32> SettingsKey::ReadInteger(const QString& name) const {
  TypedValue value;
  Status read = ReadTyped(key_, Utf8(name), SettingType::kInteger, value);
  if (!read.IsOk()) {
    return {0, std::move(read)};
  }
  return {value.integer, Status()};
}

Result<bool> SettingsKey::ReadSwitch(const QString& name) const {
  Result<qint32> integer = ReadInteger(name);
  return {integer.value != 0, std::move(integer.status)};
}

void SettingsKey::WriteText(const QString& name, const QString& text) {
  Batch batch;
  batch.Text(name, text);
  Write(batch);
}

void SettingsKey::WriteInteger(const QString& name, qint32 value) {
  Batch batch;
  batch.Integer(name, value);
  Write(batch);
}

void SettingsKey::WriteSwitch(const QString& name, bool on) {
  Batch batch;
  batch.Switch(name, on);
  Write(batch);
}

void SettingsKey::Batch::Text(const QString& name, const QString& text) {
  values_.emplace_back(name, regfile::Value::MakeText(Utf8(name), Utf8(text)));
}

void SettingsKey::Batch::Integer(const QString& name, qint32 value) {
  values_.emplace_back(name,
                       regfile::Value::MakeDword(Utf8(name), static_cast<std::uint32_t>(value)));
}

void SettingsKey::Batch::Switch(const QString& name, bool on) {
  Integer(name, on ? 1 : 0);
}

void SettingsKey::Write(const Batch& batch) {
  Write(batch.values_);
}

void SettingsKey::Write(const std::vector<std::pair<QString, regfile::Value>>& values) {
  if (values.empty()) {
    return;
  }
  std::vector<regfile::Value> plain;
  for (const auto& [name, value] : values) {
    if (!regfile::CanWriteName(value.name)) {
      throw SettingsWriteError(
          name, files_->FilePath(),
          {StatusCode::kMalformed, "a value name cannot hold control characters"});
    }
    plain.push_back(value);
  }
  key_ = files_->Update(values.front().first, plain);
}

QString SettingsStore::DefaultFolder() {
  return FolderFor(qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME"));
}

QString SettingsStore::FolderFor(const QString& xdgConfigHome, const QString& home) {
  const QString base = home.isEmpty() ? QDir::homePath() : home;
  const std::string folder = XdgBaseFolder(QFile::encodeName(xdgConfigHome).toStdString(),
                                           QFile::encodeName(base).toStdString(), ".config");
  // A relative home still names the folder under it.
  return QDir::cleanPath((folder.empty() ? base + QStringLiteral("/.config")
                                         : QFile::decodeName(QByteArray::fromStdString(folder))) +
                         QStringLiteral("/Vantrel"));
}

SettingsStore::SettingsStore(QString folder, FileCalls& calls)
    : files_(std::make_shared<SettingsFiles>(std::move(folder), calls)) {}

const QString& SettingsStore::Folder() const {
  return files_->Folder();
}

QString SettingsStore::FilePath() const {
  return files_->FilePath();
}

std::optional<SettingsKey> SettingsStore::OpenKey(OpenMode mode) {
  SettingsFiles::Loaded loaded = files_->Load();
  // Also from a file that cannot be written: the values that read well are read.
  if (const regfile::Key* key = loaded.document.Find(kKeyPath)) {
    return SettingsKey(files_, *key);
  }
  if (mode == OpenMode::kExisting) {
    return std::nullopt;
  }
  return SettingsKey(files_, files_->Update(QString(), {}));
}

void SettingsStore::Write(const SettingsKey::Batch& batch) {
  SettingsKey(files_, regfile::Key{}).Write(batch);
}

std::vector<SettingsFileNotice> SettingsStore::TakeFileNotices() {
  return files_->TakeNotices();
}

SettingsFiles::Loaded SettingsFiles::Load() {
  Loaded loaded;
  const QString path = FilePath();
  if (!QFileInfo::exists(path)) {
    return loaded;
  }
  auto unusable = [&](Status problem, const QString& keptAs) {
    Note({path, keptAs, QString::fromStdString(problem.Reason()), {}});
    loaded.unusable = std::move(problem);
    return loaded;
  };
  std::string bytes;
  const Status read = ReadSettingsFile(QFile::encodeName(path).toStdString(), bytes);
  if (read.Code() == StatusCode::kNotFound) {
    return loaded;
  }
  if (!read.IsOk()) {
    return unusable(read, QString());
  }

  std::vector<regfile::BadLine> skipped;
  regfile::ParseResult parsed = regfile::ParseSkippingBadLines(bytes, skipped);
  if (parsed.IsOk() && skipped.empty()) {
    loaded.document = std::move(parsed.document);
    return loaded;
  }
  // Never replaced without a copy: a file that cannot be kept aside is read, but not
  // written.
  auto notKeptAside = [](const QString& reason, const Status& failure) {
    return Status(StatusCode::kMalformed,
                  Utf8(QStringLiteral("%1; it could not be kept aside: %2")
                           .arg(reason, QString::fromStdString(failure.Reason()))));
  };
  if (parsed.IsOk()) {
    // A line or two that cannot be read costs only their values: the rest are read, the
    // file as it was is kept aside, and the values that read well are written back in its
    // place, so that every later reading of this run and of the next ones finds them.
    std::vector<std::size_t> badLines;
    for (const regfile::BadLine& bad : skipped) {
      badLines.push_back(bad.line);
    }
    const QString reason = DescribeAll(skipped);
    QString keptAs;
    const Status kept = KeepAside(path, keptAs);
    loaded.document = std::move(parsed.document);
    GiveDesignValues(loaded.document);
    if (!kept.IsOk()) {
      loaded.unusable = notKeptAside(reason, kept);
      Note({path, QString(), QString::fromStdString(loaded.unusable.Reason()), badLines});
      return loaded;
    }
    Note({path, keptAs, reason, badLines});
    try {
      Save(loaded.document, QString());
    } catch (const SettingsWriteError&) {
      // The values are still read from what was kept; the close reports the write.
    }
    return loaded;
  }
  const QString reason = Describe(parsed.line, parsed.status);
  QString keptAs;
  const Status kept = KeepAside(path, keptAs);
  if (!kept.IsOk()) {
    return unusable(notKeptAside(reason, kept), QString());
  }
  Note({path, keptAs, reason, {}});
  return loaded;
}

Status SettingsFiles::KeepAside(const QString& path, QString& keptAs) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  for (int n = 1; n <= 100; ++n) {
    QString aside = path + QStringLiteral(".corrupt-") + stamp;
    if (n > 1) {
      aside += QLatin1Char('-') + QString::number(n);
    }
    if (QFileInfo::exists(aside)) {
      continue;
    }
    QFile file(path);
    if (!file.rename(aside)) {
      return {StatusCode::kWriteFailed, Utf8(file.errorString())};
    }
    keptAs = aside;
    return {};
  }
  return {StatusCode::kWriteFailed, "too many kept files with the same time"};
}

void SettingsFiles::Note(SettingsFileNotice notice) {
  // A file that stays unusable would otherwise be reported at every opening.
  if (lastNotice_ && lastNotice_->filePath == notice.filePath &&
      lastNotice_->keptAs == notice.keptAs && lastNotice_->reason == notice.reason) {
    return;
  }
  lastNotice_ = notice;
  notices_.push_back(std::move(notice));
}

regfile::Key SettingsFiles::Update(const QString& valueName,
                                   const std::vector<regfile::Value>& values) {
  Loaded loaded = Load();
  if (!loaded.unusable.IsOk()) {
    throw SettingsWriteError(
        valueName, FilePath(),
        {loaded.unusable.Code(), "the settings file is left as it is: " + loaded.unusable.Reason()},
        {Tr("the settings file is left as it is: "), SystemReasonPiece(loaded.unusable.Reason())});
  }
  regfile::Document document = std::move(loaded.document);
  regfile::Key& key = document.FindOrAdd(SettingsStore::kKeyPath);
  for (const regfile::Value& value : values) {
    key.Set(value);
  }
  regfile::Key written = key;
  Save(document, valueName);
  return written;
}

void SettingsFiles::Save(const regfile::Document& document, const QString& valueName) {
  const QString path = FilePath();
  if (!QDir().mkpath(folder_)) {
    throw SettingsWriteError(valueName, path,
                             {StatusCode::kNoFolder,
                              Utf8(QStringLiteral("the folder %1 cannot be created").arg(folder_))},
                             {Tr("the folder "), Lit(Utf8(folder_)), Tr(" cannot be created")});
  }
  const std::string bytes = regfile::Serialize(document);
  // What is written must read back; a file past the limit would be kept aside next time.
  if (bytes.size() > regfile::kMaxFileSize) {
    throw SettingsWriteError(
        valueName, path,
        {StatusCode::kWriteFailed, "the settings would grow larger than a settings file may be"},
        {Tr("the settings would grow larger than a settings file may be")});
  }
  Status written = ReplaceFile(QFile::encodeName(path).toStdString(), bytes, calls_);
  if (!written.IsOk()) {
    throw SettingsWriteError(valueName, path, std::move(written));
  }
}

}  // namespace vantrel
