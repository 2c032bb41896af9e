// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the GIF layout walk that guards every picture load. Any bytes must
// give an answer without reading past their end; a whole layout has a frame, a size and a
// delay for every frame, and its answer does not change when bytes follow its end mark.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../widgets/GifLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vantrel::GifLayout layout = vantrel::ScanGifLayout(bytes);
  if (static_cast<std::size_t>(layout.frames) != layout.delays.size()) {
    std::abort();
  }
  if (layout.Whole()) {
    if (layout.frames == 0 || layout.width == 0 || layout.height == 0) {
      std::abort();
    }
    const vantrel::GifLayout longer = vantrel::ScanGifLayout(std::string(bytes) + "\x21\x01");
    if (!longer.Whole() || longer.frames != layout.frames) {
      std::abort();
    }
  }
  return 0;
}
