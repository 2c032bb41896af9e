// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "SettingsList.h"
#include "SettingsStore.h"

namespace vantrel {

inline QString NameOf(Setting setting) {
  const std::string_view name = RowOf(setting).name;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The main window reads the language first, so that the dictionary placeholder and any
// message come out in the stored language, then the dictionary and its own geometry.
inline constexpr std::array<Setting, 10> kMainWindowReadOrder{
    Setting::kLanguage,
    Setting::kDictionary,
    Setting::kFormTop,
    Setting::kFormLeft,
    Setting::kFormWidth,
    Setting::kFormHeight,
    Setting::kSelectedPanelHeight,
    Setting::kWordWidth,
    Setting::kNumberWidth,
    Setting::kAnimationOn,
};

// Everything but NotifyCount, in table order, at every close, whether or not the lookup,
// affix, suggestions and help windows were shown.
inline constexpr std::array<Setting, 27> kMainWindowWriteOrder{
    Setting::kDictionary,         Setting::kFormTop,
    Setting::kFormLeft,           Setting::kFormWidth,
    Setting::kFormHeight,         Setting::kSelectedPanelHeight,
    Setting::kWordWidth,          Setting::kNumberWidth,
    Setting::kLookupTop,          Setting::kLookupLeft,
    Setting::kAffixTop,           Setting::kAffixLeft,
    Setting::kAffixWidth,         Setting::kAffixWordWidth,
    Setting::kAffixNumberWidth,   Setting::kSuggestTop,
    Setting::kSuggestLeft,        Setting::kSuggestWidth,
    Setting::kSuggestHeight,      Setting::kSuggestPhraseWidth,
    Setting::kSuggestVanityWidth, Setting::kHelpTop,
    Setting::kHelpLeft,           Setting::kHelpWidth,
    Setting::kHelpHeight,         Setting::kAnimationOn,
    Setting::kLanguage,
};

inline constexpr std::array<Setting, 2> kLookupWindowReadOrder{Setting::kLookupTop,
                                                               Setting::kLookupLeft};

inline constexpr std::array<Setting, 5> kAffixWindowReadOrder{
    Setting::kAffixTop, Setting::kAffixLeft, Setting::kAffixWidth, Setting::kAffixWordWidth,
    Setting::kAffixNumberWidth};

inline constexpr std::array<Setting, 6> kSuggestWindowReadOrder{
    Setting::kSuggestTop,    Setting::kSuggestLeft,        Setting::kSuggestWidth,
    Setting::kSuggestHeight, Setting::kSuggestPhraseWidth, Setting::kSuggestVanityWidth};

inline constexpr std::array<Setting, 4> kHelpWindowReadOrder{
    Setting::kHelpTop, Setting::kHelpLeft, Setting::kHelpWidth, Setting::kHelpHeight};

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
static_assert(ReadsAllOf(kMainWindowReadOrder, SettingReader::kMainWindow));
static_assert(ReadsAllOf(kLookupWindowReadOrder, SettingReader::kLookupWindow));
static_assert(ReadsAllOf(kAffixWindowReadOrder, SettingReader::kAffixWindow));
static_assert(ReadsAllOf(kSuggestWindowReadOrder, SettingReader::kSuggestWindow));
static_assert(ReadsAllOf(kHelpWindowReadOrder, SettingReader::kHelpWindow));
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
// reading; what was applied before it stays. Returns the value it failed at and why, or
// nothing when every value was read. Errors thrown by apply itself pass through untouched.
std::optional<SettingsReadFailure> ReadSettings(const SettingsKey& key,
                                                std::span<const Setting> order,
                                                const SettingApplier& apply);

struct RestoreResult {
  bool keyExists = false;
  std::optional<SettingsReadFailure> failure;

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
