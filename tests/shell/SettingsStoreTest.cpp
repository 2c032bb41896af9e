// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <csignal>
#include <fstream>
#include <optional>
#include <system_error>

#include "SettingsList.h"
#include "SettingsRead.h"
#include "TestFiles.h"

namespace vantrel {
namespace {

using Mode = SettingsStore::OpenMode;

const QByteArray kHead = "Windows Registry Editor Version 5.00\n\n";
const QByteArray kOwnKey = "[HKEY_CURRENT_USER\\Software\\Vantrel]\n";

// Every write to a regular file past the limit fails with EFBIG, as on a full disk. This
// fails writes for root too, whom folder permissions do not stop.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

class SettingsStoreTest : public testing::Test {
 protected:
  // A folder that does not exist yet, as on a first run.
  QString Folder(const QString& name = QStringLiteral("Vantrel")) const {
    return temp_.path() + QStringLiteral("/config/") + name;
  }
  QString FileIn(const QString& folder) const { return folder + QStringLiteral("/Vantrel.reg"); }

  QTemporaryDir temp_;
};

TEST_F(SettingsStoreTest, TheFileReaderTellsAMissingFileFromOneThatCannotBeUsed) {
  const std::string folder = temp_.path().toStdString();
  const std::string file = folder + "/file.reg";
  std::ofstream(file) << "bytes";
  ASSERT_EQ(::symlink((folder + "/none").c_str(), (folder + "/dangling").c_str()), 0);
  ASSERT_EQ(::symlink(file.c_str(), (folder + "/link").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder + "/pipe").c_str(), 0600), 0);
  std::ofstream(folder + "/large") << std::string(regfile::kMaxFileSize + 10, 'x');
  const struct {
    const char* name;
    std::string path;
    Status expected;
    std::size_t size;
  } rows[] = {
      {"a file", file, Status(), 5},
      {"a link to a file", folder + "/link", Status(), 5},
      {"too large: one byte more than allowed", folder + "/large", Status(),
       regfile::kMaxFileSize + 1},
      {"nothing", folder + "/none", {StatusCode::kNotFound, "No such file or directory"}, 0},
      {"a link to nothing",
       folder + "/dangling",
       {StatusCode::kNotFound, "No such file or directory"},
       0},
      {"a folder", folder, {StatusCode::kNotAFile, "it is not a regular file"}, 0},
      {"a pipe", folder + "/pipe", {StatusCode::kNotAFile, "it is not a regular file"}, 0},
      {"below a file", file + "/x", {StatusCode::kCannotOpen, "Not a directory"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes = "left over";
    EXPECT_EQ(ReadSettingsFile(row.path, bytes), row.expected);
    EXPECT_EQ(bytes.size(), row.size);
  }
}

TEST_F(SettingsStoreTest, AMissingKeyIsNotAnEmptyKey) {
  SettingsStore store(Folder());
  EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
  EXPECT_FALSE(QDir(Folder()).exists()) << "reading must not create anything";

  WriteBytes(FileIn(Folder()), kHead + "[HKEY_CURRENT_USER\\Software\\Other]\n\"A\"=\"b\"\n");
  EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());

  ASSERT_TRUE(store.OpenKey(Mode::kCreate).has_value());
  const std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, QString());
  EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Top")).status.Code(), StatusCode::kNotFound);
  EXPECT_TRUE(store.TakeFileNotices().empty());
}

TEST_F(SettingsStoreTest, TextsComeBackAsWritten) {
  const struct {
    const char* name;
    QString text;
  } rows[] = {
      {"path with blanks", QStringLiteral("/usr/share/vantrel/Vantrel Dictionary.txt")},
      {"quotes and backslashes", QStringLiteral("C:\\Program Files\\\"Vantrel\"\\")},
      {"non-ASCII",
       QString::fromUtf8("/home/j\xC3\xBCrgen/W\xC3\xB6rter \xE6\x97\xA5 \xF0\x9F\x93\x9E.txt")},
      {"empty", QString()},
      {"line break", QStringLiteral("first\nsecond\r\nthird")},
      {"blanks at both ends", QStringLiteral("  x  ")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SettingsStore(Folder())
        .OpenKey(Mode::kCreate)
        ->WriteText(QStringLiteral("Dictionary"), row.text);
    const std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value, row.text);
  }
}

TEST_F(SettingsStoreTest, IntegersKeepTheirSign) {
  const struct {
    qint32 value;
    const char* inFile;
  } rows[] = {
      {0, "dword:00000000"},     {189, "dword:000000bd"},     {-1, "dword:ffffffff"},
      {-1920, "dword:fffff880"}, {INT_MIN, "dword:80000000"}, {INT_MAX, "dword:7fffffff"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    SettingsStore(Folder())
        .OpenKey(Mode::kCreate)
        ->WriteInteger(QStringLiteral("Form Left"), row.value);
    EXPECT_TRUE(ReadBytes(FileIn(Folder())).contains(QByteArray("\"Form Left\"=") + row.inFile));
    EXPECT_EQ(SettingsStore(Folder())
                  .OpenKey(Mode::kExisting)
                  ->ReadInteger(QStringLiteral("Form Left"))
                  .value,
              row.value);
  }
}

// The line that holds a value of the program's key, as the file has it on disk: read
// apart from the store, so that a value the store never wrote cannot read as written.
QByteArray OwnValueLine(const QByteArray& file, const QByteArray& name) {
  bool inOwnKey = false;
  for (QByteArray line : file.split('\n')) {
    if (line.endsWith('\r')) {
      line.chop(1);
    }
    if (line.startsWith('[')) {
      inOwnKey = line + '\n' == kOwnKey;
    } else if (inOwnKey && line.startsWith('"' + name + "\"=")) {
      return line;
    }
  }
  return {};
}

TEST_F(SettingsStoreTest, SwitchesAreStoredAsOneOrZero) {
  const struct {
    bool on;
    const char* before;  // the opposite, left by an earlier run
    const char* inFile;
  } rows[] = {
      {true, "dword:00000000", "\"Animation On\"=dword:00000001"},
      {false, "dword:00000001", "\"Animation On\"=dword:00000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.on ? "on" : "off");
    WriteBytes(FileIn(Folder()), kHead + kOwnKey + "\"Animation On\"=" + row.before + "\n");
    std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
    ASSERT_TRUE(key.has_value());
    key->WriteSwitch(QStringLiteral("Animation On"), row.on);
    EXPECT_EQ(OwnValueLine(ReadBytes(FileIn(Folder())), "Animation On").toStdString(), row.inFile);
    EXPECT_EQ(SettingsStore(Folder())
                  .OpenKey(Mode::kExisting)
                  ->ReadSwitch(QStringLiteral("Animation On"))
                  .value,
              row.on);
  }
}

TEST_F(SettingsStoreTest, ReadsFollowTheRegistryRules) {
  WriteBytes(FileIn(Folder()), kHead + kOwnKey +
                                   "\"Text\"=\"x\"\n"
                                   "\"Number\"=dword:00000002\n"
                                   "\"Zero\"=dword:00000000\n"
                                   "\"Blob\"=hex:00\n");
  const std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
  ASSERT_TRUE(key.has_value());

  EXPECT_EQ(key->ReadText(QStringLiteral("Missing")).value, QString());
  EXPECT_EQ(key->ReadInteger(QStringLiteral("NUMBER")).value, 2) << "names ignore the case of A-Z";
  EXPECT_TRUE(key->ReadSwitch(QStringLiteral("Number")).value);
  EXPECT_FALSE(key->ReadSwitch(QStringLiteral("Zero")).value);

  const struct {
    const char* what;
    const char* name;
    bool asText;
    StatusCode code;
    const char* message;
  } failures[] = {
      {"missing integer", "Missing", false, StatusCode::kNotFound,
       "The setting \"Missing\" is missing"},
      {"text read as integer", "Text", false, StatusCode::kMalformed,
       "The setting \"Text\" is not of the type asked for"},
      {"integer read as text", "Number", true, StatusCode::kMalformed,
       "The setting \"Number\" is not of the type asked for"},
      {"binary read as integer", "Blob", false, StatusCode::kMalformed,
       "The setting \"Blob\" is not of the type asked for"},
      {"binary read as text", "Blob", true, StatusCode::kMalformed,
       "The setting \"Blob\" is not of the type asked for"},
  };
  for (const auto& row : failures) {
    SCOPED_TRACE(row.what);
    const QString name = QString::fromLatin1(row.name);
    const Status read = row.asText ? key->ReadText(name).status : key->ReadSwitch(name).status;
    EXPECT_EQ(read, Status(row.code, row.message));
  }
}

// The same damage again, in a file written after the first was kept aside, is kept aside
// too and reported again: it is another file, and the user learns where it went.
TEST_F(SettingsStoreTest, TheSameDamageInALaterFileIsReportedAgain) {
  const QString folder = Folder();
  const QString file = FileIn(folder);
  const QByteArray damaged(64, '\0');
  WriteBytes(file, damaged);
  SettingsStore store(folder);
  EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
  const std::vector<SettingsFileNotice> first = store.TakeFileNotices();
  ASSERT_EQ(first.size(), 1u);

  WriteBytes(file, damaged);
  EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
  const std::vector<SettingsFileNotice> second = store.TakeFileNotices();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].reason, first[0].reason);
  EXPECT_NE(second[0].keptAs, first[0].keptAs);
  EXPECT_EQ(ReadBytes(second[0].keptAs), damaged);
  EXPECT_EQ(ReadBytes(first[0].keptAs), damaged);
}

TEST_F(SettingsStoreTest, AnUnreadableFileIsKeptAsideAndReportedOnce) {
  const struct {
    const char* name;
    QByteArray bytes;
    const char* because;
  } rows[] = {
      {"zeros left by a crash", QByteArray(512, '\0'), "control character"},
      {"empty", QByteArray(), "empty"},
      {"UTF-16 export", QByteArray("\xFF\xFEW\0i\0n\0", 8), "UTF-16"},
      {"another program's file", "[General]\ngeometry=@ByteArray(x)\n", "line 1: the first line"},
      {"more bad lines than a settings file has",
       kHead + kOwnKey + QByteArray("\"a\"=dword:z\n").repeated(21), "line 4"},
  };
  int n = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QString folder = Folder(QString::number(++n));
    const QString file = FileIn(folder);
    WriteBytes(file, row.bytes);
    SettingsStore store(folder);

    EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
    const QStringList kept = QDir(folder).entryList({QStringLiteral("Vantrel.reg.corrupt-*")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_FALSE(QFile::exists(file));
    const QString keptPath = folder + QLatin1Char('/') + kept[0];
    EXPECT_EQ(ReadBytes(keptPath), row.bytes);

    const std::vector<SettingsFileNotice> notices = store.TakeFileNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].filePath, file);
    EXPECT_EQ(notices[0].keptAs, keptPath);
    EXPECT_TRUE(notices[0].reason.contains(QLatin1String(row.because)))
        << notices[0].reason.toStdString();

    // Once kept aside, the file is gone: the next opening finds no key and nothing to report,
    // and a write starts a new file without touching the kept one.
    EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
    store.OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("Form Top"), 7);
    EXPECT_TRUE(store.TakeFileNotices().empty());
    EXPECT_EQ(SettingsStore(folder)
                  .OpenKey(Mode::kExisting)
                  ->ReadInteger(QStringLiteral("Form Top"))
                  .value,
              7);
    EXPECT_EQ(ReadBytes(keptPath), row.bytes);
  }
}

TEST_F(SettingsStoreTest, ABadLineLosesOnlyItsOwnValueAndIsNamed) {
  const QString folder = Folder();
  const QString file = FileIn(folder);
  const QByteArray bytes = kHead + kOwnKey +
                           "\"Dictionary\"=\"/home/ann/words.txt\"\n"
                           "\"Form Top\"=dword:100000000\n"  // line 5: nine digits
                           "\"Form Left\"=dword:0000000a\n"
                           "\"Word Width\"=dwrd:1\n"  // line 7
                           "\"Language\"=\"fr_FR\"\n";
  WriteBytes(file, bytes);
  for (int start = 0; start < 2; ++start) {
    SCOPED_TRACE(start);
    SettingsStore store(folder);
    std::optional<SettingsKey> key = store.OpenKey(Mode::kExisting);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value,
              QStringLiteral("/home/ann/words.txt"));
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Left")).value, 10);
    EXPECT_EQ(key->ReadText(QStringLiteral("Language")).value, QStringLiteral("fr_FR"));
    // The values of the lines left out take their design values, so that the reading of
    // the values after them goes on.
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Top")).value, 189);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("Word Width")).value, 151);

    const QStringList kept = QDir(folder).entryList({QStringLiteral("Vantrel.reg.corrupt-*")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(ReadBytes(folder + QLatin1Char('/') + kept[0]), bytes);
    const std::vector<SettingsFileNotice> notices = store.TakeFileNotices();
    if (start == 0) {
      // Told once, with the first bad line; the file in place holds what read well.
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_EQ(notices[0].badLines, (std::vector<std::size_t>{5, 7}));
      EXPECT_EQ(notices[0].keptAs, folder + QLatin1Char('/') + kept[0]);
      EXPECT_TRUE(notices[0].reason.contains(QLatin1String("line 5")))
          << notices[0].reason.toStdString();
      EXPECT_TRUE(notices[0].reason.contains(QLatin1String("line 7")))
          << notices[0].reason.toStdString();
    } else {
      EXPECT_TRUE(notices.empty());
    }
  }
}

// Whatever a bad line looked like, the integers it may have held read as their design
// values, at this start and at the later ones: a missing integer would end the reading of
// every value after it. Every bad line is named, a handful in the reason.
TEST_F(SettingsStoreTest, BadLinesOfAnyFormCostNoLaterValueAndAreAllNamed) {
  const struct {
    const char* name;
    QByteArray badLines;
    std::vector<std::size_t> lines;
    const char* reasonHas;
  } rows[] = {
      {"names without quotes", "Form Top=dword:1\nWord Width=dword:2\n", {5, 6}, "line 6: "},
      {"a name in single quotes", "'Form Top'=dword:1\n\"Word Width\"=x\n", {5, 6}, "line 6: "},
      {"more than a handful", QByteArray("x\n").repeated(8), {5, 6, 7, 8, 9, 10, 11, 12}, "3 more"},
  };
  int n = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QString folder = Folder(QString::number(++n));
    WriteBytes(FileIn(folder), kHead + kOwnKey + "\"Dictionary\"=\"/home/ann/words.txt\"\n" +
                                   row.badLines + "\"Form Left\"=dword:0000000a\n");
    for (int start = 0; start < 2; ++start) {
      SCOPED_TRACE(start);
      SettingsStore store(folder);
      std::optional<SettingsKey> key = store.OpenKey(Mode::kExisting);
      ASSERT_TRUE(key.has_value());
      EXPECT_EQ(key->ReadText(QStringLiteral("Dictionary")).value,
                QStringLiteral("/home/ann/words.txt"));
      EXPECT_EQ(key->ReadInteger(QStringLiteral("Form Left")).value, 10);
      for (const SettingRow& setting : kSettingsTable) {
        if (setting.type != SettingType::kText && setting.setting != Setting::kFormLeft) {
          EXPECT_EQ(
              key->ReadInteger(QString::fromLatin1(setting.name.data(),
                                                   static_cast<qsizetype>(setting.name.size())))
                  .value,
              setting.design)
              << setting.name;
        }
      }
      const std::vector<SettingsFileNotice> notices = store.TakeFileNotices();
      if (start == 0) {
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].badLines, row.lines);
        EXPECT_TRUE(notices[0].reason.startsWith(QLatin1String("line 5")))
            << notices[0].reason.toStdString();
        EXPECT_TRUE(notices[0].reason.contains(QLatin1String(row.reasonHas)))
            << notices[0].reason.toStdString();
      } else {
        EXPECT_TRUE(notices.empty());
      }
    }
  }
}

TEST_F(SettingsStoreTest, FilesKeptAsideInTheSameSecondGetTheirOwnNames) {
  const QString folder = Folder();
  const QString file = FileIn(folder);
  QStringList kept;
  for (int i = 0; i < 3; ++i) {
    WriteBytes(file, "not a settings file " + QByteArray::number(i));
    SettingsStore(folder).OpenKey(Mode::kExisting);
    kept =
        QDir(folder).entryList({QStringLiteral("Vantrel.reg.corrupt-*")}, QDir::Files, QDir::Name);
    if (kept.size() == 3 && kept[0].size() == kept[2].size()) {
      break;  // a second went by between two of them: not this test's case
    }
  }
  ASSERT_EQ(kept.size(), 3);
  // The first keeps the bare time stamp; the others of the same second count on from 2.
  const QString first = kept[0];
  if (kept[1].startsWith(first)) {
    EXPECT_EQ(kept[1], first + QStringLiteral("-2"));
    EXPECT_EQ(kept[2], first + QStringLiteral("-3"));
  }
  for (const QString& name : kept) {
    EXPECT_FALSE(name.endsWith(QStringLiteral("-1"))) << name.toStdString();
  }
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeverReplaced) {
  // Neither can be read, not even by root; opening the pipe would wait for ever.
  const struct {
    const char* name;
    bool pipe;
  } rows[] = {{"a folder", false}, {"a pipe", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QString folder = Folder(QString::fromLatin1(row.name));
    const QString file = FileIn(folder);
    ASSERT_TRUE(QDir().mkpath(row.pipe ? folder : file));
    if (row.pipe) {
      ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    }
    SettingsStore store(folder);

    EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
    EXPECT_THROW(store.OpenKey(Mode::kCreate), SettingsWriteError);
    EXPECT_FALSE(store.OpenKey(Mode::kExisting).has_value());
    const std::vector<SettingsFileNotice> notices = store.TakeFileNotices();
    ASSERT_EQ(notices.size(), 1u) << "the same problem is reported once";
    EXPECT_EQ(notices[0].filePath, file);
    EXPECT_TRUE(notices[0].keptAs.isEmpty());
    EXPECT_EQ(QFileInfo(file).isDir(), !row.pipe);
    EXPECT_FALSE(QFileInfo(file).isFile());
  }
}

TEST_F(SettingsStoreTest, ALinkedSettingsFileStaysLinked) {
  const QString real = temp_.path() + QStringLiteral("/dotfiles/Vantrel.reg");
  WriteBytes(real, kHead + kOwnKey);
  ASSERT_TRUE(QDir().mkpath(Folder()));
  ASSERT_TRUE(QFile::link(real, FileIn(Folder())));

  SettingsStore(Folder()).OpenKey(Mode::kExisting)->WriteInteger(QStringLiteral("Form Top"), 5);
  EXPECT_TRUE(QFileInfo(FileIn(Folder())).isSymLink());
  EXPECT_TRUE(ReadBytes(real).contains("\"Form Top\"=dword:00000005"));
}

TEST_F(SettingsStoreTest, AWriteKeepsWhatItDoesNotKnow) {
  WriteBytes(FileIn(Folder()), kHead +
                                   "[HKEY_CURRENT_USER\\Software\\Vantrel\\Sub]\n"
                                   "\"Other\"=\"kept\"\n"
                                   "\r\n"
                                   "; a comment is not kept\n"
                                   "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
                                   "@=\"default\"\n"
                                   "\"Form Top\"=dword:00000001\n"
                                   "\"Future\"=hex(b):01,00,00,00,00,00,00,00\n"
                                   "\"Dictionary\"=\"old.txt\"\n");
  std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
  ASSERT_TRUE(key.has_value());
  key->WriteInteger(QStringLiteral("form top"), 189);
  key->WriteText(QStringLiteral("Language"), QStringLiteral("de_DE"));
  EXPECT_EQ(ReadBytes(FileIn(Folder())), kHead +
                                             "[HKEY_CURRENT_USER\\Software\\Vantrel\\Sub]\n"
                                             "\"Other\"=\"kept\"\n"
                                             "\n"
                                             "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
                                             "@=\"default\"\n"
                                             "\"Form Top\"=dword:000000bd\n"
                                             "\"Future\"=hex(b):01,00,00,00,00,00,00,00\n"
                                             "\"Dictionary\"=\"old.txt\"\n"
                                             "\"Language\"=\"de_DE\"\n");
}

TEST_F(SettingsStoreTest, AWriteKeepsValuesWrittenMeanwhile) {
  SettingsStore first(Folder());
  std::optional<SettingsKey> key = first.OpenKey(Mode::kCreate);
  SettingsStore(Folder()).OpenKey(Mode::kCreate)->WriteInteger(QStringLiteral("NotifyCount"), 4);
  key->WriteInteger(QStringLiteral("Form Top"), 1);
  const std::optional<SettingsKey> again = SettingsStore(Folder()).OpenKey(Mode::kExisting);
  EXPECT_EQ(again->ReadInteger(QStringLiteral("NotifyCount")).value, 4);
  EXPECT_EQ(again->ReadInteger(QStringLiteral("Form Top")).value, 1);
}

// A write that fails raises the error and leaves the old file exactly as it was, with no
// temporary file beside it.
void ExpectWriteFailsAndKeepsOldFile(SettingsKey& key, const QString& folder,
                                     const QByteArray& before) {
  const QString file = folder + QStringLiteral("/Vantrel.reg");
  try {
    key.WriteInteger(QStringLiteral("Form Top"), 2);
    ADD_FAILURE() << "the write did not fail";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(error.ValueName(), QStringLiteral("Form Top"));
    EXPECT_EQ(error.FilePath(), file);
    EXPECT_FALSE(error.Reason().isEmpty());
  }
  SettingsKey::Batch batch;
  batch.Text(QStringLiteral("Dictionary"), QStringLiteral("new.txt"));
  batch.Integer(QStringLiteral("Form Left"), 3);
  EXPECT_THROW(key.Write(batch), SettingsWriteError);
  EXPECT_EQ(ReadBytes(file), before);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Vantrel.reg"});
  EXPECT_EQ(key.ReadInteger(QStringLiteral("Form Top")).value, 1)
      << "a failed write stored nothing";
}

TEST_F(SettingsStoreTest, AWriteOnAFullDiskFails) {
  SettingsStore store(Folder());
  std::optional<SettingsKey> key = store.OpenKey(Mode::kCreate);
  key->WriteInteger(QStringLiteral("Form Top"), 1);
  const QByteArray before = ReadBytes(FileIn(Folder()));

  const FileSizeLimit full(16);
  ExpectWriteFailsAndKeepsOldFile(*key, Folder(), before);
}

TEST_F(SettingsStoreTest, AWriteIntoAFolderWithoutWritePermissionFails) {
  SettingsStore store(Folder());
  std::optional<SettingsKey> key = store.OpenKey(Mode::kCreate);
  key->WriteInteger(QStringLiteral("Form Top"), 1);
  const QByteArray before = ReadBytes(FileIn(Folder()));

  ASSERT_EQ(chmod(QFile::encodeName(Folder()).constData(), 0555), 0);
  QFile probe(Folder() + QStringLiteral("/probe"));
  if (probe.open(QIODevice::WriteOnly)) {
    probe.remove();
    chmod(QFile::encodeName(Folder()).constData(), 0755);
    GTEST_SKIP() << "folder permissions do not bind this user (root); the full-disk test "
                    "covers the failed write";
  }
  ExpectWriteFailsAndKeepsOldFile(*key, Folder(), before);
  chmod(QFile::encodeName(Folder()).constData(), 0755);
}

// The user is told why in pieces: the store's own words and the system's usual refusals
// go through the catalogs, paths and unknown texts stay as they are.
TEST_F(SettingsStoreTest, AFailedWriteExplainsItselfInTranslatablePieces) {
  const QString blocked = Folder(QStringLiteral("blocked"));
  const QString full = Folder(QStringLiteral("full"));
  const QString unusable = Folder(QStringLiteral("unusable"));
  ASSERT_TRUE(QDir().mkpath(Folder(QString())));
  WriteBytes(blocked, "a file where the folder should be");
  ASSERT_TRUE(QDir().mkpath(FileIn(unusable)));  // a folder where the file should be
  const struct {
    const char* name;
    QString folder;
    rlim_t sizeLimit;  // 0: none
    Message explanation;
  } rows[] = {
      {"no folder",
       blocked,
       0,
       {Tr("the folder "), Lit(blocked.toStdString()), Tr(" cannot be created")}},
      {"a full disk", full, 16, {Tr(std::generic_category().message(EFBIG))}},
      {"a file that cannot be read",
       unusable,
       0,
       {Tr("the settings file is left as it is: "), Lit("it is not a regular file")}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SettingsStore store(row.folder);
    std::optional<FileSizeLimit> limit;
    if (row.sizeLimit > 0) {
      limit.emplace(row.sizeLimit);
    }
    SettingsKey::Batch batch;
    batch.Text(QStringLiteral("Dictionary"), QStringLiteral("words.txt"));
    try {
      store.Write(batch);
      ADD_FAILURE() << "the write did not fail";
    } catch (const SettingsWriteError& error) {
      ASSERT_EQ(error.Explanation().size(), row.explanation.size());
      for (std::size_t i = 0; i < row.explanation.size(); ++i) {
        EXPECT_EQ(error.Explanation()[i].text, row.explanation[i].text) << i;
        EXPECT_EQ(error.Explanation()[i].translate, row.explanation[i].translate) << i;
      }
    }
  }
}

TEST(SettingsWriteReason, TheSystemsUsualRefusalsAreTranslatedAndOtherTextsKept) {
  const struct {
    std::string reason;
    bool translate;
  } rows[] = {
      {std::generic_category().message(EROFS), true},
      {std::generic_category().message(EACCES), true},
      {std::generic_category().message(ENOSPC), true},
      {std::generic_category().message(EDQUOT), true},
      {std::generic_category().message(ENOTDIR), true},
      {std::generic_category().message(EAGAIN), false},
      {"too many kept files with the same time", false},
      {"", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reason);
    const TextPiece piece = SystemReasonPiece(row.reason);
    EXPECT_EQ(piece.text, row.reason);
    EXPECT_EQ(piece.translate, row.translate);
  }
}

TEST_F(SettingsStoreTest, AFileOfExactlyTheLimitIsReadAndOneByteMoreIsNot) {
  for (const std::size_t size : {regfile::kMaxFileSize, regfile::kMaxFileSize + 1}) {
    SCOPED_TRACE(size);
    const QString folder = Folder(QString::number(size));
    const QByteArray start = kHead + kOwnKey + "\"Note\"=\"";
    const QByteArray bytes = start + QByteArray(qsizetype(size) - start.size() - 2, 'x') + "\"\n";
    ASSERT_EQ(std::size_t(bytes.size()), size);
    WriteBytes(FileIn(folder), bytes);
    SettingsStore store(folder);
    const std::optional<SettingsKey> key = store.OpenKey(Mode::kExisting);
    const bool fits = size == regfile::kMaxFileSize;
    EXPECT_EQ(key.has_value(), fits);
    if (key) {
      EXPECT_EQ(key->ReadText(QStringLiteral("Note")).value.size(),
                bytes.size() - start.size() - 2);
    }
    EXPECT_EQ(store.TakeFileNotices().size(), fits ? 0u : 1u);
  }
}

TEST_F(SettingsStoreTest, AWriteThatWouldOutgrowTheReadLimitFails) {
  // Rewritten, this file would be too large to be read back at the next start.
  const QByteArray before =
      kHead + kOwnKey + "\"Note\"=\"" + QByteArray(regfile::kMaxFileSize - 200, 'x') + "\"\n";
  WriteBytes(FileIn(Folder()), before);
  std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kExisting);
  ASSERT_TRUE(key.has_value());
  EXPECT_THROW(key->WriteText(QStringLiteral("Dictionary"), QString(300, QLatin1Char('d'))),
               SettingsWriteError);
  EXPECT_EQ(ReadBytes(FileIn(Folder())), before);
}

TEST_F(SettingsStoreTest, ANameThatCannotBeWrittenFailsBeforeTouchingTheFile) {
  std::optional<SettingsKey> key = SettingsStore(Folder()).OpenKey(Mode::kCreate);
  const QByteArray before = ReadBytes(FileIn(Folder()));
  EXPECT_THROW(key->WriteText(QStringLiteral("two\nlines"), QStringLiteral("x")),
               SettingsWriteError);
  EXPECT_EQ(ReadBytes(FileIn(Folder())), before);
}

TEST(SettingsFolder, FollowsXdgConfigHome) {
  const struct {
    const char* xdg;
    const char* home;
    const char* folder;
  } rows[] = {
      {"/xdg", "/home/u", "/xdg/Vantrel"},
      {"/xdg/", "/home/u", "/xdg/Vantrel"},
      {"", "/home/u", "/home/u/.config/Vantrel"},
      {"relative/path", "/home/u", "/home/u/.config/Vantrel"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.xdg);
    EXPECT_EQ(SettingsStore::FolderFor(QString::fromLatin1(row.xdg), QString::fromLatin1(row.home)),
              QString::fromLatin1(row.folder));
  }
}

}  // namespace
}  // namespace vantrel
