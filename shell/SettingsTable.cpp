// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsTable.h"

namespace vantrel {

SettingValue SettingDesignValue(Setting setting) {
  const SettingRow& row = RowOf(setting);
  if (row.type == SettingType::Text) {
    return SettingValue::Text(
        QString::fromLatin1(row.designText.data(), static_cast<qsizetype>(row.designText.size())));
  }
  return SettingValue::Integer(row.design);
}

std::optional<SettingsReadError> ReadSettings(const SettingsKey& key,
                                              std::span<const Setting> order,
                                              const SettingApplier& apply) {
  for (Setting setting : order) {
    const QString name = NameOf(setting);
    SettingValue value;
    try {
      switch (RowOf(setting).type) {
        case SettingType::Text:
          value.text = key.ReadText(name);
          break;
        case SettingType::Integer:
          value.integer = key.ReadInteger(name);
          break;
        case SettingType::Switch:
          value.integer = key.ReadSwitch(name) ? 1 : 0;
          break;
      }
    } catch (const SettingsReadError& error) {
      return error;
    }
    apply(setting, value);
  }
  return std::nullopt;
}

RestoreResult RestoreSettings(SettingsStore& store, std::span<const Setting> order,
                              const SettingApplier& apply) {
  RestoreResult result;
  const std::optional<SettingsKey> key = store.OpenKey(SettingsStore::OpenMode::Existing);
  if (!key) {
    return result;
  }
  result.keyExists = true;
  result.failure = ReadSettings(*key, order, apply);
  return result;
}

void SaveSettings(SettingsStore& store, std::span<const Setting> order,
                  const SettingProvider& provide) {
  SettingsKey::Batch batch;
  for (Setting setting : order) {
    const QString name = NameOf(setting);
    const SettingValue value = provide(setting);
    switch (RowOf(setting).type) {
      case SettingType::Text:
        batch.Text(name, value.text);
        break;
      case SettingType::Integer:
        batch.Integer(name, value.integer);
        break;
      case SettingType::Switch:
        batch.Switch(name, value.IsOn());
        break;
    }
  }
  if (order.empty()) {
    store.OpenKey(SettingsStore::OpenMode::Create);
    return;
  }
  // The key and its values in one replacement of the file: a key created on its own first
  // would be left empty by a failure, or a kill, before the values were written. A failure
  // names the first value, as the registry's would when the key cannot be created.
  store.Write(batch);
}

}  // namespace vantrel
