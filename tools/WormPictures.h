// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worms of the button animation: worm-left, worm-right, worm-top and worm-bottom, 22
// frames each (their delays are kWormDelays).

#include <vector>

#include "PixelPictures.h"

namespace vantrel::pictures {

// In the order left, right, top, bottom.
std::vector<Picture> DrawWormPictures();

}  // namespace vantrel::pictures
