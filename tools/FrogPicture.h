// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window's animated frog, frog.gif.

#include "PixelPictures.h"

namespace vantrel::pictures {

Picture DrawFrogPicture();

}  // namespace vantrel::pictures
