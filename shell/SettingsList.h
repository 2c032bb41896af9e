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
  kDictionary,
  kFormTop,
  kFormLeft,
  kFormWidth,
  kFormHeight,
  kSelectedPanelHeight,
  kWordWidth,
  kNumberWidth,
  kLookupTop,
  kLookupLeft,
  kAffixTop,
  kAffixLeft,
  kAffixWidth,
  kAffixWordWidth,
  kAffixNumberWidth,
  kSuggestTop,
  kSuggestLeft,
  kSuggestWidth,
  kSuggestHeight,
  kSuggestPhraseWidth,
  kSuggestVanityWidth,
  kHelpTop,
  kHelpLeft,
  kHelpWidth,
  kHelpHeight,
  kAnimationOn,
  kLanguage,
  kNotifyCount,
};

// A switch is stored as an integer, 0 or 1, and read as on when it is not 0.
enum class SettingType { kText, kInteger, kSwitch };

// Who reads the value. Only the main window writes, at its close, except NotifyCount, which
// the new-release countdown reads and writes after the others have been written.
enum class SettingReader {
  kMainWindow,
  kLookupWindow,
  kAffixWindow,
  kSuggestWindow,
  kHelpWindow,
  kNotifyCountdown
};

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

inline constexpr std::array<SettingRow, 28> kSettingsTable{{
    {Setting::kDictionary, "Dictionary", SettingType::kText, SettingReader::kMainWindow, 0, ""},
    {Setting::kFormTop, "Form Top", SettingType::kInteger, SettingReader::kMainWindow, 189, ""},
    {Setting::kFormLeft, "Form Left", SettingType::kInteger, SettingReader::kMainWindow, 474, ""},
    {Setting::kFormWidth, "Form Width", SettingType::kInteger, SettingReader::kMainWindow, 485, ""},
    {Setting::kFormHeight, "Form Height", SettingType::kInteger, SettingReader::kMainWindow, 498,
     ""},
    {Setting::kSelectedPanelHeight, "Selected Panel Height", SettingType::kInteger,
     SettingReader::kMainWindow, 106, ""},
    {Setting::kWordWidth, "Word Width", SettingType::kInteger, SettingReader::kMainWindow, 151, ""},
    {Setting::kNumberWidth, "Number Width", SettingType::kInteger, SettingReader::kMainWindow, 115,
     ""},
    {Setting::kLookupTop, "Lookup Top", SettingType::kInteger, SettingReader::kLookupWindow, 190,
     ""},
    {Setting::kLookupLeft, "Lookup Left", SettingType::kInteger, SettingReader::kLookupWindow, 302,
     ""},
    {Setting::kAffixTop, "Affix Top", SettingType::kInteger, SettingReader::kAffixWindow, 221, ""},
    {Setting::kAffixLeft, "Affix Left", SettingType::kInteger, SettingReader::kAffixWindow, 347,
     ""},
    {Setting::kAffixWidth, "Affix Width", SettingType::kInteger, SettingReader::kAffixWindow, 466,
     ""},
    {Setting::kAffixWordWidth, "Affix Word Width", SettingType::kInteger,
     SettingReader::kAffixWindow, 175, ""},
    {Setting::kAffixNumberWidth, "Affix Number Width", SettingType::kInteger,
     SettingReader::kAffixWindow, 135, ""},
    // The suggestions' window: by design centred over the main window at its design place.
    {Setting::kSuggestTop, "Suggest Top", SettingType::kInteger, SettingReader::kSuggestWindow, 238,
     ""},
    {Setting::kSuggestLeft, "Suggest Left", SettingType::kInteger, SettingReader::kSuggestWindow,
     266, ""},
    {Setting::kSuggestWidth, "Suggest Width", SettingType::kInteger, SettingReader::kSuggestWindow,
     900, ""},
    {Setting::kSuggestHeight, "Suggest Height", SettingType::kInteger,
     SettingReader::kSuggestWindow, 400, ""},
    {Setting::kSuggestPhraseWidth, "Suggest Phrase Width", SettingType::kInteger,
     SettingReader::kSuggestWindow, 170, ""},
    {Setting::kSuggestVanityWidth, "Suggest Vanity Width", SettingType::kInteger,
     SettingReader::kSuggestWindow, 150, ""},
    // The help window: by design centred over the main window at its design place.
    {Setting::kHelpTop, "Help Top", SettingType::kInteger, SettingReader::kHelpWindow, 158, ""},
    {Setting::kHelpLeft, "Help Left", SettingType::kInteger, SettingReader::kHelpWindow, 376, ""},
    {Setting::kHelpWidth, "Help Width", SettingType::kInteger, SettingReader::kHelpWindow, 680, ""},
    {Setting::kHelpHeight, "Help Height", SettingType::kInteger, SettingReader::kHelpWindow, 560,
     ""},
    {Setting::kAnimationOn, "Animation On", SettingType::kSwitch, SettingReader::kMainWindow, 0,
     ""},
    {Setting::kLanguage, "Language", SettingType::kText, SettingReader::kMainWindow, 0, ""},
    // The countdown starts again from 5 when its value cannot be read.
    {Setting::kNotifyCount, "NotifyCount", SettingType::kInteger, SettingReader::kNotifyCountdown,
     5, ""},
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
