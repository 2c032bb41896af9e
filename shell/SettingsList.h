// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every value that any window keeps between runs: its name, type, reader and design value,
// in the order in which the main window writes them when it closes. Plain C++, so that the
// reading of the settings file can be fuzzed without Qt; SettingsTable.h adds the windows'
// side.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

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
  std::int32_t design;
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

}  // namespace vantrel
