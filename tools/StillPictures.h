// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The still pictures: about.gif (a telephone with the program's name on its display),
// banner.gif (the test window's ribbon) and caution.gif (a warning triangle).

#include "PixelPictures.h"

namespace vantrel::pictures {

Picture DrawAboutPicture();
Picture DrawBanner();
Picture DrawCaution();

}  // namespace vantrel::pictures
