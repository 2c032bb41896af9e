// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings of the current user, kept with the registry's rules in one text file,
// $XDG_CONFIG_HOME/Vantrel/Vantrel.reg (by default ~/.config/Vantrel/Vantrel.reg), in the
// registry-export format described in RegFile.h. The file is UTF-8.
//
// The rules the windows rely on:
// - A key is opened with or without creating it; without creating, a missing key is a
//   result of its own (std::nullopt), not an empty key.
// - Texts and integers keep their types. A missing text reads as empty. A missing
//   integer, or a value of another type than the one asked for, is a failed read: its
//   status is kNotFound or kMalformed, with the message as its reason. A switch is read as an
//   integer and is on when it is not 0.
// - Integers are stored as unsigned 32-bit dwords and read back as signed 32-bit
//   integers, so a window left of the primary screen keeps its negative position.
// - Every write rewrites the whole file through a temporary file in the same folder that
//   is renamed into place, so a crash never leaves half a file behind. The file is read
//   again before each write, so values written meanwhile by another run are kept, and so
//   are values and keys that this program does not know.
// - A write that fails raises SettingsWriteError; the file keeps what it held before.
// - A file that cannot be parsed is renamed to Vantrel.reg.corrupt-<date>-<time> and
//   reported once (TakeFileNotices); reading then goes on as if the key did not exist.
//   A file with a few bad lines is kept aside in the same way, but what parsed is read and
//   written back in its place, every integer it lacks at its design value, so that this
//   start and the later ones read the settings it still holds.
//   A file that cannot be read at all, or a bad one that cannot be moved aside, is left
//   alone and every write fails, so nothing the user might still need is overwritten.

#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "FileCalls.h"
#include "Message.h"
#include "RegFile.h"
#include "Status.h"

namespace vantrel {

// The value at which the reading of a window's settings ended, and why.
struct SettingsReadFailure {
  QString valueName;
  Status status;
};

// The reason a system call gave ("Read-only file system") as a message piece: one the
// catalogs translate when it is one of the refusals a settings write meets, else as it is.
TextPiece SystemReasonPiece(std::string_view reason);

// A value that could not be stored. ValueName is empty when the key itself could not be
// created. An exception, because a write fails deep inside a window's event handler and
// must leave it; the window that closes tells the user with Explanation(), Failure() says
// why for the program and the log.
class SettingsWriteError : public StatusError {
 public:
  // The explanation is the failure's reason, translated where it is a known refusal.
  SettingsWriteError(QString valueName, QString filePath, Status failure);
  SettingsWriteError(QString valueName, QString filePath, Status failure, Message explanation);

  const QString& ValueName() const { return valueName_; }
  const QString& FilePath() const { return filePath_; }
  // The failure's reason, as the window puts it into its own message.
  QString Reason() const { return QString::fromStdString(Failure().Reason()); }
  // The same reason in pieces, the store's own words translatable.
  const Message& Explanation() const { return explanation_; }

 private:
  QString valueName_;
  QString filePath_;
  Message explanation_;
};

// A settings file that could not be used. The window tells the user about it once.
struct SettingsFileNotice {
  QString filePath;  // the settings file
  QString keptAs;    // where the unreadable file was kept; empty when it stays in place
  QString reason;    // why it could not be used (English, with the line where it applies)
  // The lines that were left out while the rest of the file was read, in file order;
  // empty when the file as a whole could not be used.
  std::vector<std::size_t> badLines;
};

class SettingsFiles;

// An open key. Reads come from the file as it was when the key was opened (and as this key
// last wrote it); each write goes to the file at once. A key may outlive the store it came
// from.
class SettingsKey {
 public:
  Result<QString> ReadText(const QString& name) const;
  Result<qint32> ReadInteger(const QString& name) const;
  Result<bool> ReadSwitch(const QString& name) const;

  void WriteText(const QString& name, const QString& text);
  void WriteInteger(const QString& name, qint32 value);
  // Stored as 1 or 0.
  void WriteSwitch(const QString& name, bool on);

  // Several values stored by one rewrite of the file: all of them, or none when the write
  // fails, and the error then names the first. A close writes all its values this way,
  // so a failure never leaves half of them from one run and half from the one before.
  class Batch {
   public:
    void Text(const QString& name, const QString& text);
    void Integer(const QString& name, qint32 value);
    void Switch(const QString& name, bool on);

   private:
    friend class SettingsKey;
    std::vector<std::pair<QString, regfile::Value>> values_;
  };
  void Write(const Batch& batch);

 private:
  friend class SettingsStore;
  SettingsKey(std::shared_ptr<SettingsFiles> files, regfile::Key key)
      : files_(std::move(files)), key_(std::move(key)) {}

  void Write(const std::vector<std::pair<QString, regfile::Value>>& values);

  std::shared_ptr<SettingsFiles> files_;
  regfile::Key key_;
};

class SettingsStore {
 public:
  static constexpr const char* kKeyPath = "HKEY_CURRENT_USER\\Software\\Vantrel";
  static constexpr const char* kFileName = "Vantrel.reg";

  // $XDG_CONFIG_HOME/Vantrel, or ~/.config/Vantrel when XDG_CONFIG_HOME is unset, empty or
  // relative (a relative one is to be ignored).
  static QString DefaultFolder();
  static QString FolderFor(const QString& xdgConfigHome, const QString& home);

  // The folder is created when the first value is written, the file replaced through
  // calls.
  explicit SettingsStore(QString folder = DefaultFolder(), FileCalls& calls = FileCalls::Real());

  const QString& Folder() const;
  QString FilePath() const;

  enum class OpenMode { kExisting, kCreate };

  // Existing: std::nullopt when the key does not exist (no file, a file that could not be
  // used, or a file without the key). Create: the key is created, and the file written,
  // when it is missing; throws SettingsWriteError when that fails.
  std::optional<SettingsKey> OpenKey(OpenMode mode);

  // Stores the values in the key, creating the key when it is missing, by one replacement
  // of the file: a first save never leaves a key without its values behind. Fails as
  // SettingsKey::Write does.
  void Write(const SettingsKey::Batch& batch);

  // The files found unusable since the last call, each reported once.
  std::vector<SettingsFileNotice> TakeFileNotices();

 private:
  std::shared_ptr<SettingsFiles> files_;
};

}  // namespace vantrel
