// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the grid design-data reader. Any bytes must either be refused with
// a DesignDataError or be read; data that was read must write back to bytes that read the
// same again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "DesignData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vantrel::DesignLayers layers;
  try {
    layers = vantrel::ParseDesignData(bytes);
  } catch (const vantrel::DesignDataError&) {
    return 0;
  }
  const std::string written = vantrel::FormatDesignData(layers);
  if (vantrel::FormatDesignData(vantrel::ParseDesignData(written)) != written) {
    std::abort();
  }
  return 0;
}
