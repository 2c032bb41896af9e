// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block layout of a GIF file, walked without decoding a pixel. Qt's GIF reader shows
// whatever frames a cut-off file still holds, a half frame included, and reports no error;
// walking the blocks first is how a damaged picture is refused when it is loaded. The walk
// also gives each frame's stored delay, which Qt's reader rounds for short delays.
//
// Every length is read from the data and checked against its end before it is used, so
// that any bytes at all, however hostile, give an answer and never a read past the end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"

namespace vantrel {

struct GifLayout {
  // Ok when the layout is whole; otherwise kMalformed with why it is not, in a sentence
  // part that follows the file's name ("ends inside frame 3").
  Status status;
  // The frames found before the end mark (or before the problem).
  int frames = 0;
  int width = 0;
  int height = 0;
  // Per frame, the delay its timing block gives, in hundredths of a second, as stored;
  // 0 for a frame without one.
  std::vector<int> delays;

  bool Whole() const { return status.IsOk(); }
};

// Walks the header, the colour tables, the extension blocks and the frames up to the
// end mark. Bytes after the end mark are ignored.
GifLayout ScanGifLayout(std::string_view data);

}  // namespace vantrel
