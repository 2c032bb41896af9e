// SPDX-License-Identifier: GPL-3.0-or-later
// The catalog lookup: every message of the German catalog, read from the archive this
// benchmark carries as vantrel does, against the same texts passed through with
// translation switched off (the copy and line-end handling every lookup pays anyway);
// and a change of language followed by its first lookup, which maps the catalog.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Catalogs.h"

namespace {

using vantrel::i18n::TDomain;
using vantrel::i18n::TTranslationInstance;

TTranslationInstance& Instance() {
  static TTranslationInstance instance([] {
    auto setup = TTranslationInstance::ForThisProgram();
    setup.languageSources = {};
    return setup;
  }());
  return instance;
}

// The English texts of the German catalog, header left out.
std::vector<std::string> CatalogKeys() {
  TTranslationInstance& instance = Instance();
  instance.SelectLanguage("de_DE");
  instance.TranslateText("Cancel");
  std::vector<std::string> keys;
  const auto* info = instance.Archive().Find("locale/de/LC_MESSAGES/default.mo");
  if (info == nullptr) {
    return keys;
  }
  vantrel::i18n::CatalogFileBytes file;
  file.Open(std::filesystem::read_symlink("/proc/self/exe").string(), info->offset, info->size);
  vantrel::i18n::MoCatalog catalog;
  vantrel::i18n::MoCatalog::Read(file.Bytes(), catalog);
  for (std::uint32_t i = 1; i < catalog.Count(); ++i) {
    keys.emplace_back(catalog.SourceAt(i));
  }
  return keys;
}

void Lookups(benchmark::State& state, bool enabled) {
  static const std::vector<std::string> keys = CatalogKeys();
  if (keys.empty()) {
    state.SkipWithError("this benchmark carries no German catalog");
    return;
  }
  TTranslationInstance& instance = Instance();
  instance.SelectLanguage("de_DE");
  instance.SetEnabled(enabled);
  for (auto _ : state) {
    for (const std::string& key : keys) {
      benchmark::DoNotOptimize(instance.TranslateText(key));
    }
  }
  instance.SetEnabled(true);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(keys.size()));
}

void BM_LookupEveryGermanMessage(benchmark::State& state) {
  Lookups(state, true);
}
BENCHMARK(BM_LookupEveryGermanMessage);

void BM_PassEveryMessageThroughUntranslated(benchmark::State& state) {
  Lookups(state, false);
}
BENCHMARK(BM_PassEveryMessageThroughUntranslated);

void BM_SelectLanguageAndFirstLookup(benchmark::State& state) {
  TTranslationInstance& instance = Instance();
  bool german = false;
  for (auto _ : state) {
    german = !german;
    instance.SelectLanguage(german ? "de_DE" : "fr_FR");
    benchmark::DoNotOptimize(instance.TranslateText("Candidate Word"));
  }
}
BENCHMARK(BM_SelectLanguageAndFirstLookup);

}  // namespace

BENCHMARK_MAIN();
