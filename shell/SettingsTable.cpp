// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsTable.h"

namespace vantrel {

SettingValue SettingDesignValue(Setting setting) {
  const SettingRow& row = RowOf(setting);
  if (row.type == SettingType::kText) {
    return SettingValue::Text(
        QString::fromLatin1(row.designText.data(), static_cast<qsizetype>(row.designText.size())));
  }
  return SettingValue::Integer(row.design);
}

std::optional<SettingsReadFailure> ReadSettings(const SettingsKey& key,
                                                std::span<const Setting> order,
                                                const SettingApplier& apply) {
  for (Setting setting : order) {
    const QString name = NameOf(setting);
    SettingValue value;
    Status read;
    switch (RowOf(setting).type) {
      case SettingType::kText: {
        Result<QString> text = key.ReadText(name);
        value.text = std::move(text.value);
        read = std::move(text.status);
        break;
      }
      case SettingType::kInteger: {
        Result<qint32> integer = key.ReadInteger(name);
        value.integer = integer.value;
        read = std::move(integer.status);
        break;
      }
      case SettingType::kSwitch: {
        Result<bool> on = key.ReadSwitch(name);
        value.integer = on.value ? 1 : 0;
        read = std::move(on.status);
        break;
      }
    }
    if (!read.IsOk()) {
      return SettingsReadFailure{name, std::move(read)};
    }
    apply(setting, value);
  }
  return std::nullopt;
}

RestoreResult RestoreSettings(SettingsStore& store, std::span<const Setting> order,
                              const SettingApplier& apply) {
  RestoreResult result;
  const std::optional<SettingsKey> key = store.OpenKey(SettingsStore::OpenMode::kExisting);
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
      case SettingType::kText:
        batch.Text(name, value.text);
        break;
      case SettingType::kInteger:
        batch.Integer(name, value.integer);
        break;
      case SettingType::kSwitch:
        batch.Switch(name, value.IsOn());
        break;
    }
  }
  if (order.empty()) {
    store.OpenKey(SettingsStore::OpenMode::kCreate);
    return;
  }
  // The key and its values in one replacement of the file: a key created on its own first
  // would be left empty by a failure, or a kill, before the values were written. A failure
  // names the first value, as the registry's would when the key cannot be created.
  store.Write(batch);
}

}  // namespace vantrel
