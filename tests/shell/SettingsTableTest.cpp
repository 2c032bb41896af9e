// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsTable.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <vector>

#include "TestFiles.h"

namespace vantrel {
namespace {

const QByteArray kHead = "Windows Registry Editor Version 5.00\n\n";
const QByteArray kOwnKey = "[HKEY_CURRENT_USER\\Software\\Vantrel]\n";

// What a window was handed, in order.
struct Applied {
  std::vector<Setting> order;
  std::map<Setting, SettingValue> values;

  SettingApplier Applier() {
    return [this](Setting setting, const SettingValue& value) {
      order.push_back(setting);
      values[setting] = value;
    };
  }
};

class SettingsTableTest : public testing::Test {
 protected:
  QString Folder() const { return temp_.path() + QStringLiteral("/Vantrel"); }
  QString File() const { return Folder() + QStringLiteral("/Vantrel.reg"); }

  QTemporaryDir temp_;
};

// The file of a first run that closes at once. Users' files of earlier runs hold exactly
// these names and types, so a change here breaks what they have stored.
TEST_F(SettingsTableTest, AFirstCloseWritesEveryValueInTableOrder) {
  SettingsStore store(Folder());
  SaveSettings(store, kMainWindowWriteOrder, SettingDesignValue);
  const Setting countdown[] = {Setting::kNotifyCount};
  SaveSettings(store, countdown, SettingDesignValue);
  EXPECT_EQ(ReadBytes(File()), kHead + kOwnKey +
                                   "\"Dictionary\"=\"\"\n"
                                   "\"Form Top\"=dword:000000bd\n"
                                   "\"Form Left\"=dword:000001da\n"
                                   "\"Form Width\"=dword:000001e5\n"
                                   "\"Form Height\"=dword:000001f2\n"
                                   "\"Selected Panel Height\"=dword:0000006a\n"
                                   "\"Word Width\"=dword:00000097\n"
                                   "\"Number Width\"=dword:00000073\n"
                                   "\"Lookup Top\"=dword:000000be\n"
                                   "\"Lookup Left\"=dword:0000012e\n"
                                   "\"Affix Top\"=dword:000000dd\n"
                                   "\"Affix Left\"=dword:0000015b\n"
                                   "\"Affix Width\"=dword:000001d2\n"
                                   "\"Affix Word Width\"=dword:000000af\n"
                                   "\"Affix Number Width\"=dword:00000087\n"
                                   "\"Suggest Top\"=dword:000000ee\n"
                                   "\"Suggest Left\"=dword:0000010a\n"
                                   "\"Suggest Width\"=dword:00000384\n"
                                   "\"Suggest Height\"=dword:00000190\n"
                                   "\"Suggest Phrase Width\"=dword:000000aa\n"
                                   "\"Suggest Vanity Width\"=dword:00000096\n"
                                   "\"Help Top\"=dword:0000009e\n"
                                   "\"Help Left\"=dword:00000178\n"
                                   "\"Help Width\"=dword:000002a8\n"
                                   "\"Help Height\"=dword:00000230\n"
                                   "\"Animation On\"=dword:00000000\n"
                                   "\"Language\"=\"\"\n"
                                   "\"NotifyCount\"=dword:00000005\n");
}

TEST_F(SettingsTableTest, EveryWindowGetsBackWhatTheCloseWrote) {
  const std::map<Setting, SettingValue> stored = {
      {Setting::kDictionary, SettingValue::Text(QStringLiteral("/home/u/\"my\" words.txt"))},
      {Setting::kFormTop, SettingValue::Integer(-12)},
      {Setting::kFormLeft, SettingValue::Integer(-1700)},
      {Setting::kFormWidth, SettingValue::Integer(800)},
      {Setting::kFormHeight, SettingValue::Integer(600)},
      {Setting::kSelectedPanelHeight, SettingValue::Integer(150)},
      {Setting::kWordWidth, SettingValue::Integer(200)},
      {Setting::kNumberWidth, SettingValue::Integer(90)},
      {Setting::kLookupTop, SettingValue::Integer(-5)},
      {Setting::kLookupLeft, SettingValue::Integer(2600)},
      {Setting::kAffixTop, SettingValue::Integer(10)},
      {Setting::kAffixLeft, SettingValue::Integer(20)},
      {Setting::kAffixWidth, SettingValue::Integer(500)},
      {Setting::kAffixWordWidth, SettingValue::Integer(180)},
      {Setting::kAffixNumberWidth, SettingValue::Integer(140)},
      {Setting::kSuggestTop, SettingValue::Integer(-30)},
      {Setting::kSuggestLeft, SettingValue::Integer(1900)},
      {Setting::kSuggestWidth, SettingValue::Integer(700)},
      {Setting::kSuggestHeight, SettingValue::Integer(350)},
      {Setting::kSuggestPhraseWidth, SettingValue::Integer(160)},
      {Setting::kSuggestVanityWidth, SettingValue::Integer(130)},
      {Setting::kHelpTop, SettingValue::Integer(40)},
      {Setting::kHelpLeft, SettingValue::Integer(-600)},
      {Setting::kHelpWidth, SettingValue::Integer(720)},
      {Setting::kHelpHeight, SettingValue::Integer(480)},
      {Setting::kAnimationOn, SettingValue::Switch(true)},
      {Setting::kLanguage, SettingValue::Text(QStringLiteral("de_DE"))},
  };
  SettingsStore store(Folder());
  SaveSettings(store, kMainWindowWriteOrder, [&](Setting s) { return stored.at(s); });

  const struct {
    const char* window;
    std::span<const Setting> order;
  } windows[] = {
      {"main", kMainWindowReadOrder},   {"lookup", kLookupWindowReadOrder},
      {"affix", kAffixWindowReadOrder}, {"suggestions", kSuggestWindowReadOrder},
      {"help", kHelpWindowReadOrder},
  };
  for (const auto& window : windows) {
    SCOPED_TRACE(window.window);
    Applied applied;
    const RestoreResult result = RestoreSettings(store, window.order, applied.Applier());
    EXPECT_TRUE(result.Complete());
    ASSERT_EQ(applied.order, std::vector<Setting>(window.order.begin(), window.order.end()));
    for (Setting s : window.order) {
      EXPECT_EQ(applied.values[s].text, stored.at(s).text) << NameOf(s).toStdString();
      EXPECT_EQ(applied.values[s].IsOn(), stored.at(s).IsOn()) << NameOf(s).toStdString();
      if (RowOf(s).type == SettingType::kInteger) {
        EXPECT_EQ(applied.values[s].integer, stored.at(s).integer) << NameOf(s).toStdString();
      }
    }
  }
}

TEST_F(SettingsTableTest, ReadingStopsAtTheFirstValueThatCannotBeRead) {
  const struct {
    const char* name;
    QByteArray values;
    std::span<const Setting> order;
    std::vector<Setting> applied;
    const char* failedAt;
    StatusCode reason;
  } rows[] = {
      {"main window: geometry missing",
       "\"Language\"=\"de_DE\"\n\"Dictionary\"=\"d.txt\"\n\"Form Left\"=dword:00000001\n",
       kMainWindowReadOrder,
       {Setting::kLanguage, Setting::kDictionary},
       "Form Top",
       StatusCode::kNotFound},
      {"main window: texts missing read as empty",
       "",
       kMainWindowReadOrder,
       {Setting::kLanguage, Setting::kDictionary},
       "Form Top",
       StatusCode::kNotFound},
      {"main window: switch stored as text",
       "\"Form Top\"=dword:1\n\"Form Left\"=dword:1\n\"Form Width\"=dword:1\n"
       "\"Form Height\"=dword:1\n\"Selected Panel Height\"=dword:1\n\"Word Width\"=dword:1\n"
       "\"Number Width\"=dword:1\n\"Animation On\"=\"1\"\n",
       kMainWindowReadOrder,
       {Setting::kLanguage, Setting::kDictionary, Setting::kFormTop, Setting::kFormLeft,
        Setting::kFormWidth, Setting::kFormHeight, Setting::kSelectedPanelHeight,
        Setting::kWordWidth, Setting::kNumberWidth},
       "Animation On",
       StatusCode::kMalformed},
      {"main window: language stored as integer",
       "\"Language\"=dword:00000007\n",
       kMainWindowReadOrder,
       {},
       "Language",
       StatusCode::kMalformed},
      {"lookup window: left missing",
       "\"Lookup Top\"=dword:00000064\n",
       kLookupWindowReadOrder,
       {Setting::kLookupTop},
       "Lookup Left",
       StatusCode::kNotFound},
      {"affix window: width of another type",
       "\"Affix Top\"=dword:1\n\"Affix Left\"=dword:2\n\"Affix Width\"=hex:01\n"
       "\"Affix Word Width\"=dword:3\n",
       kAffixWindowReadOrder,
       {Setting::kAffixTop, Setting::kAffixLeft},
       "Affix Width",
       StatusCode::kMalformed},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WriteBytes(File(), kHead + kOwnKey + row.values);
    SettingsStore store(Folder());
    Applied applied;
    const RestoreResult result = RestoreSettings(store, row.order, applied.Applier());
    EXPECT_TRUE(result.keyExists);
    ASSERT_TRUE(result.failure.has_value());
    EXPECT_EQ(result.failure->valueName, QString::fromLatin1(row.failedAt));
    EXPECT_EQ(result.failure->status.Code(), row.reason);
    EXPECT_EQ(applied.order, row.applied);
  }
}

TEST_F(SettingsTableTest, WithoutTheKeyNothingIsReadAndNothingFails) {
  SettingsStore store(Folder());
  Applied applied;
  const RestoreResult result = RestoreSettings(store, kMainWindowReadOrder, applied.Applier());
  EXPECT_FALSE(result.keyExists);
  EXPECT_FALSE(result.failure.has_value());
  EXPECT_TRUE(applied.order.empty());
}

TEST_F(SettingsTableTest, AFailureOfTheWindowItselfEndsTheReading) {
  WriteBytes(File(), kHead + kOwnKey + "\"Language\"=\"xx\"\n");
  SettingsStore store(Folder());
  int calls = 0;
  EXPECT_THROW(RestoreSettings(store, kMainWindowReadOrder,
                               [&](Setting, const SettingValue&) {
                                 ++calls;
                                 throw std::runtime_error("no such language");
                               }),
               std::runtime_error);
  EXPECT_EQ(calls, 1);
}

TEST_F(SettingsTableTest, AFailedCloseNamesTheFirstValueAndWritesNothing) {
  // The file's place is taken by a folder: the key can be neither read nor created.
  ASSERT_TRUE(QDir().mkpath(File()));
  SettingsStore store(Folder());
  try {
    SaveSettings(store, kMainWindowWriteOrder, SettingDesignValue);
    ADD_FAILURE() << "the save did not fail";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(error.ValueName(), QStringLiteral("Dictionary"));
    EXPECT_EQ(error.FilePath(), File());
    EXPECT_EQ(error.Failure(), Status(StatusCode::kNotAFile,
                                      "the settings file is left as it is: "
                                      "it is not a regular file"));
  }
  EXPECT_TRUE(QFileInfo(File()).isDir());
}

}  // namespace
}  // namespace vantrel
