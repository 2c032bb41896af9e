// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the grid design-data reader. Any bytes must either be refused with
// a Status or be read; data that was read must write back to bytes that read the same
// again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "DesignData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vantrel::Result<vantrel::DesignLayers> layers = vantrel::ParseDesignData(bytes);
  if (!layers.IsOk()) {
    if (layers.status.Reason().empty()) {
      std::abort();  // a refusal must say why
    }
    return 0;
  }
  const vantrel::Result<std::string> written = vantrel::FormatDesignData(layers.value);
  if (!written.IsOk()) {
    return 0;  // a text too long for the stored form is refused, not cut
  }
  const vantrel::Result<vantrel::DesignLayers> again = vantrel::ParseDesignData(written.value);
  if (!again.IsOk() || vantrel::FormatDesignData(again.value).value != written.value) {
    std::abort();
  }
  return 0;
}
