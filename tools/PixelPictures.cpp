// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelPictures.h"

#include "FrogPicture.h"
#include "StillPictures.h"
#include "WormPictures.h"

namespace vantrel::pictures {

std::vector<Picture> DrawAllPictures() {
  std::vector<Picture> pictures = DrawWormPictures();
  pictures.push_back(DrawAboutPicture());
  pictures.push_back(DrawFrogPicture());
  pictures.push_back(DrawBanner());
  pictures.push_back(DrawCaution());
  return pictures;
}

}  // namespace vantrel::pictures
