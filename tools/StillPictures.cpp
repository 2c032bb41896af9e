// SPDX-License-Identifier: GPL-3.0-or-later
// The still pictures, which share one palette: the About window's telephone, the test
// window's banner with its small keypad, and the caution sign.
#include "StillPictures.h"

#include <algorithm>
#include <string>

#include "PixelCanvas.h"

namespace vantrel::pictures {
namespace {

enum StillColour : std::uint8_t {
  kStillClear = 0,
  kCase,
  kCaseEdge,
  kKey,
  kKeyEdge,
  kKeyText,
  kScreen,
  kScreenText,
  kBannerBlue,
  kBannerLight,
  kWhite,
  kYellow,
  kSignYellow,
  kSignEdge,
  kBlack,
  kSignShade,
};

const std::vector<Rgb> kStillPalette = {
    {200, 200, 200}, {64, 96, 168}, {30, 48, 96},  {236, 240, 250}, {150, 164, 196}, {30, 40, 70},
    {176, 214, 160}, {24, 64, 32},  {40, 80, 160}, {96, 140, 214},  {255, 255, 255}, {255, 214, 64},
    {255, 200, 20},  {120, 80, 0},  {16, 16, 16},  {232, 168, 0},
};

struct Telephone {
  bool withScreen = false;
  int keyW = 0;
  int keyH = 0;
  int gap = 0;
  bool digits = false;

  static constexpr int kScreenHeight = 13;
  int Width() const { return 3 * keyW + 4 * gap; }
  int Height() const { return 4 * keyH + 5 * gap + (withScreen ? kScreenHeight + gap : 0); }
};

// A telephone with its display showing the program's name and its twelve keys.
void DrawTelephone(Canvas& canvas, int x, int y, const Telephone& phone) {
  const int width = phone.Width();
  const int height = phone.Height();
  const int keyW = phone.keyW;
  const int keyH = phone.keyH;
  const int gap = phone.gap;
  const int screenH = Telephone::kScreenHeight;
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      // Rounded corners: cut where the corner's distance says so.
      const int cx = std::min(col, width - 1 - col);
      const int cy = std::min(row, height - 1 - row);
      if (cx + cy < 2) {
        continue;
      }
      canvas.Set(x + col, y + row, kCase);
    }
  }
  canvas.Outline(kCaseEdge, false);
  int top = y + gap;
  if (phone.withScreen) {
    canvas.FillRect(x + gap, top, width - 2 * gap, screenH, kScreen);
    const std::string name = "VANTREL";
    DrawText(canvas, x + (width - TextWidth(name, 1)) / 2, top + 4, name, 1, kScreenText);
    top += screenH + gap;
  }
  const char* labels = "123456789*0#";
  for (int key = 0; key < 12; ++key) {
    const int kx = x + gap + (key % 3) * (keyW + gap);
    const int ky = top + (key / 3) * (keyH + gap);
    canvas.FillRect(kx, ky, keyW, keyH, kKey);
    canvas.FillRect(kx, ky + keyH - 1, keyW, 1, kKeyEdge);
    canvas.FillRect(kx + keyW - 1, ky, 1, keyH, kKeyEdge);
    if (phone.digits) {
      DrawText(canvas, kx + (keyW - 3) / 2, ky + (keyH - 5) / 2, std::string(1, labels[key]), 1,
               kKeyText);
    }
  }
}

Picture StillPicture(const char* fileName, const Canvas& canvas) {
  Picture picture;
  picture.fileName = fileName;
  picture.width = canvas.Width();
  picture.height = canvas.Height();
  picture.palette = kStillPalette;
  picture.transparent = true;
  picture.frames.push_back({canvas.Pixels(), 0});
  return picture;
}

}  // namespace

Picture DrawAboutPicture() {
  const Telephone phone{.withScreen = true, .keyW = 11, .keyH = 9, .gap = 4, .digits = true};
  Canvas canvas(phone.Width(), phone.Height());
  DrawTelephone(canvas, 0, 0, phone);
  return StillPicture("about.gif", canvas);
}

Picture DrawBanner() {
  Canvas canvas(112, 34);
  // A blue ribbon with a lighter stripe along its top and a small keypad at its left.
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const int cx = std::min(x, canvas.Width() - 1 - x);
      const int cy = std::min(y, canvas.Height() - 1 - y);
      if (cx + cy >= 3) {
        canvas.Set(x, y, y < 4 ? kBannerLight : kBannerBlue);
      }
    }
  }
  canvas.Outline(kCaseEdge, false);
  const Telephone phone{.withScreen = false, .keyW = 4, .keyH = 4, .gap = 2, .digits = false};
  Canvas keypad(phone.Width(), phone.Height());
  DrawTelephone(keypad, 0, 0, phone);
  for (int y = 0; y < keypad.Height(); ++y) {
    for (int x = 0; x < keypad.Width(); ++x) {
      if (keypad.Get(x, y) != 0) {
        canvas.Set(6 + x, 4 + y,
                   keypad.Get(x, y) == kKey ? std::uint8_t{kYellow} : keypad.Get(x, y));
      }
    }
  }
  DrawText(canvas, 34, 6, "VANTREL", 2, kWhite);
  DrawText(canvas, 34, 22, "TESTER", 1, kYellow);
  return StillPicture("banner.gif", canvas);
}

Picture DrawCaution() {
  Canvas canvas(32, 32);
  // A warning triangle: the apex at the top middle, the base along the bottom.
  const Point apex{16, 1.5};
  const Point left{1.5, 29.5};
  const Point right{30.5, 29.5};
  auto side = [](Point a, Point b, Point p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
  };
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const Point p{x + 0.5, y + 0.5};
      if (side(apex, right, p) >= 0 && side(right, left, p) >= 0 && side(left, apex, p) >= 0) {
        canvas.Set(x, y, kSignYellow);
      }
    }
  }
  canvas.Outline(kSignEdge, false);
  // A shade along the right side and the base.
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Get(x, y) == kSignYellow &&
          (canvas.Get(x + 1, y) == kSignEdge || canvas.Get(x, y + 1) == kSignEdge)) {
        canvas.Set(x, y, kSignShade);
      }
    }
  }
  // The exclamation mark: a bar narrowing towards its foot, and a round dot.
  canvas.FillRect(14, 10, 4, 8, kBlack);
  canvas.FillRect(15, 18, 2, 3, kBlack);
  canvas.Stamp(14, 23, {".##.", "####", ".##."}, {{'#', kBlack}});
  return StillPicture("caution.gif", canvas);
}

}  // namespace vantrel::pictures
