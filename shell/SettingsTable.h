#pragma once
// Every value that any window keeps between runs, in the order in which the main window
// writes them when it closes. The windows read and write through this table, so a name, a
// type or a design value lives in one place.

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "SettingsStore.h"

namespace vantrel {

enum class Setting {
  Dictionary,
  FormTop,
  FormLeft,
  FormWidth,
  FormHeight,
  SelectedPanelHeight,
  WordWidth,
  NumberWidth,
  LookupTop,
  LookupLeft,
  AffixTop,
  AffixLeft,
  AffixWidth,
  AffixWordWidth,
  AffixNumberWidth,
  AnimationOn,
  Language,
  NotifyCount,
};

// A switch is stored as an integer, 0 or 1, and read as on when it is not 0.
enum class SettingType { Text, Integer, Switch };

// Who reads the value. Only the main window writes, at its close, except NotifyCount, which
// the new-release countdown reads and writes after the others have been written.
enum class SettingReader { MainWindow, LookupWindow, AffixWindow, NotifyCountdown };

struct SettingRow {
  Setting setting;
  std::string_view name;
  SettingType type;
  SettingReader reader;
  // The value a window has when the setting is not read: integers and the switch use
  // design; texts use designText, which is empty for both: no dictionary in use (the
  // window shows the translated "No Dictionary Open", which is never stored), and the
  // language chosen automatically.
  qint32 design;
  std::string_view designText;
};

inline constexpr std::array<SettingRow, 18> kSettingsTable{{
    {Setting::Dictionary, "Dictionary", SettingType::Text, SettingReader::MainWindow, 0, ""},
    {Setting::FormTop, "Form Top", SettingType::Integer, SettingReader::MainWindow, 189, ""},
    {Setting::FormLeft, "Form Left", SettingType::Integer, SettingReader::MainWindow, 474, ""},
    {Setting::FormWidth, "Form Width", SettingType::Integer, SettingReader::MainWindow, 485, ""},
    {Setting::FormHeight, "Form Height", SettingType::Integer, SettingReader::MainWindow, 498, ""},
    {Setting::SelectedPanelHeight, "Selected Panel Height", SettingType::Integer,
     SettingReader::MainWindow, 106, ""},
    {Setting::WordWidth, "Word Width", SettingType::Integer, SettingReader::MainWindow, 151, ""},
    {Setting::NumberWidth, "Number Width", SettingType::Integer, SettingReader::MainWindow, 115,
     ""},
    {Setting::LookupTop, "Lookup Top", SettingType::Integer, SettingReader::LookupWindow, 190, ""},
    {Setting::LookupLeft, "Lookup Left", SettingType::Integer, SettingReader::LookupWindow, 302,
     ""},
    {Setting::AffixTop, "Affix Top", SettingType::Integer, SettingReader::AffixWindow, 221, ""},
    {Setting::AffixLeft, "Affix Left", SettingType::Integer, SettingReader::AffixWindow, 347, ""},
    {Setting::AffixWidth, "Affix Width", SettingType::Integer, SettingReader::AffixWindow, 466, ""},
    {Setting::AffixWordWidth, "Affix Word Width", SettingType::Integer, SettingReader::AffixWindow,
     175, ""},
    {Setting::AffixNumberWidth, "Affix Number Width", SettingType::Integer,
     SettingReader::AffixWindow, 135, ""},
    {Setting::AnimationOn, "Animation On", SettingType::Switch, SettingReader::MainWindow, 0, ""},
    {Setting::Language, "Language", SettingType::Text, SettingReader::MainWindow, 0, ""},
    // The countdown starts again from 5 when its value cannot be read.
    {Setting::NotifyCount, "NotifyCount", SettingType::Integer, SettingReader::NotifyCountdown, 5,
     ""},
}};

constexpr const SettingRow& RowOf(Setting setting) {
  return kSettingsTable[static_cast<std::size_t>(setting)];
}

// The table is indexed by Setting.
static_assert([] {
  for (std::size_t i = 0; i < kSettingsTable.size(); ++i) {
    if (kSettingsTable[i].setting != static_cast<Setting>(i)) {
      return false;
    }
  }
  return true;
}());

inline QString NameOf(Setting setting) {
  const std::string_view name = RowOf(setting).name;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The main window reads the language first, so that the dictionary placeholder and any
// message come out in the stored language, then the dictionary and its own geometry.
inline constexpr std::array<Setting, 10> kMainWindowReadOrder{
    Setting::Language,
    Setting::Dictionary,
    Setting::FormTop,
    Setting::FormLeft,
    Setting::FormWidth,
    Setting::FormHeight,
    Setting::SelectedPanelHeight,
    Setting::WordWidth,
    Setting::NumberWidth,
    Setting::AnimationOn,
};

// Everything but NotifyCount, in table order, at every close, whether or not the lookup
// and affix windows were shown.
inline constexpr std::array<Setting, 17> kMainWindowWriteOrder{
    Setting::Dictionary,  Setting::FormTop,        Setting::FormLeft,
    Setting::FormWidth,   Setting::FormHeight,     Setting::SelectedPanelHeight,
    Setting::WordWidth,   Setting::NumberWidth,    Setting::LookupTop,
    Setting::LookupLeft,  Setting::AffixTop,       Setting::AffixLeft,
    Setting::AffixWidth,  Setting::AffixWordWidth, Setting::AffixNumberWidth,
    Setting::AnimationOn, Setting::Language,
};

inline constexpr std::array<Setting, 2> kLookupWindowReadOrder{Setting::LookupTop,
                                                               Setting::LookupLeft};

inline constexpr std::array<Setting, 5> kAffixWindowReadOrder{
    Setting::AffixTop, Setting::AffixLeft, Setting::AffixWidth, Setting::AffixWordWidth,
    Setting::AffixNumberWidth};

// Each window reads exactly the values that the table gives it.
template <std::size_t N>
constexpr bool ReadsAllOf(const std::array<Setting, N>& order, SettingReader reader) {
  std::size_t owned = 0;
  for (const SettingRow& row : kSettingsTable) {
    owned += row.reader == reader ? 1 : 0;
  }
  for (std::size_t i = 0; i < N; ++i) {
    if (RowOf(order[i]).reader != reader) {
      return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (order[j] == order[i]) {
        return false;
      }
    }
  }
  return owned == N;
}
static_assert(ReadsAllOf(kMainWindowReadOrder, SettingReader::MainWindow));
static_assert(ReadsAllOf(kLookupWindowReadOrder, SettingReader::LookupWindow));
static_assert(ReadsAllOf(kAffixWindowReadOrder, SettingReader::AffixWindow));
static_assert([] {
  for (std::size_t i = 0; i < kMainWindowWriteOrder.size(); ++i) {
    if (kMainWindowWriteOrder[i] != static_cast<Setting>(i)) {
      return false;
    }
  }
  return kMainWindowWriteOrder.size() + 1 == kSettingsTable.size();
}());

// One value on its way in or out. A text fills text; an integer or a switch fills integer.
struct SettingValue {
  QString text;
  qint32 integer = 0;

  bool IsOn() const { return integer != 0; }

  static SettingValue Text(QString text) { return {std::move(text), 0}; }
  static SettingValue Integer(qint32 value) { return {QString(), value}; }
  static SettingValue Switch(bool on) { return {QString(), on ? 1 : 0}; }
};

// The design value of a setting; the Dictionary text still needs translating.
SettingValue SettingDesignValue(Setting setting);

using SettingApplier = std::function<void(Setting, const SettingValue&)>;
using SettingProvider = std::function<SettingValue(Setting)>;

// Reads the settings in the given order and hands each to apply as soon as it is read, so a
// window restores itself value by value. The first value that cannot be read ends the
// reading; what was applied before it stays. Returns that read's error, or nothing when
// every value was read. Errors thrown by apply itself pass through untouched.
std::optional<SettingsReadError> ReadSettings(const SettingsKey& key,
                                              std::span<const Setting> order,
                                              const SettingApplier& apply);

struct RestoreResult {
  bool keyExists = false;
  std::optional<SettingsReadError> failure;

  bool Complete() const { return keyExists && !failure; }
};

// Opens the key without creating it and reads as ReadSettings does; the key is released
// again in every case. A missing key reads nothing and is no failure.
RestoreResult RestoreSettings(SettingsStore& store, std::span<const Setting> order,
                              const SettingApplier& apply);

// Opens the key, creating it when missing, and writes the values that provide gives, in
// the given order, each with its table type, by one rewrite of the file. When that fails
// it throws SettingsWriteError naming the first value, and none of them is written.
void SaveSettings(SettingsStore& store, std::span<const Setting> order,
                  const SettingProvider& provide);

}  // namespace vantrel
