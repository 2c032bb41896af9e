// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures, drawn pixel by pixel: the four worms of the button animation,
// the About window's keypad and frog, the test window's banner and the caution sign.
// vantrel-drawgifs writes them as GIF files into assets/pictures/, where they are kept;
// drawing is deterministic, so the same tool always writes the same bytes.
//
// The drawings live in WormPictures, FrogPicture and StillPictures, all drawn on the
// canvas of PixelCanvas; GifWriter writes them out.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Status.h"

namespace vantrel::pictures {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

struct PictureFrame {
  // Palette indices, row by row.
  std::vector<std::uint8_t> pixels;
  // In hundredths of a second, as stored in the file.
  int delay = 0;
};

struct Picture {
  std::string fileName;
  int width = 0;
  int height = 0;
  // 2, 4, 8, 16, 32, 64, 128 or 256 colours; when transparent, index 0 is see-through.
  std::vector<Rgb> palette;
  bool transparent = false;
  // How often the animation repeats after its first run; 0 means for ever. Without a
  // value the file holds no loop block and the animation plays once.
  std::optional<int> loops;
  std::vector<PictureFrame> frames;
};

// The stored delays of the 22 frames of every worm, in hundredths of a second.
extern const std::vector<int> kWormDelays;

std::vector<Picture> DrawAllPictures();

// Writes a GIF89a file. A failure is kMalformed (a picture that no GIF can hold) or
// kWriteFailed (the file cannot be written), with a reason that names the path; what was
// written of the file is left for the caller to remove.
Status WriteGif(const Picture& picture, const std::string& path);

}  // namespace vantrel::pictures
