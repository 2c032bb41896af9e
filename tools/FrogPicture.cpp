// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's frog: it sits, looks about, blinks, croaks and catches a fly.
#include "FrogPicture.h"

#include "PixelCanvas.h"

namespace vantrel::pictures {
namespace {

enum FrogColour : std::uint8_t {
  kFrogClear = 0,
  kFrogEdge,
  kFrogSkin,
  kFrogDark,
  kFrogBelly,
  kFrogWhite,
  kFrogPupil,
  kFrogThroat,
  kFrogTongue,
  kFlyBody,
  kFlyWing,
  kFrogSpot,
};

const std::vector<Rgb> kFrogPalette = {
    {200, 200, 200}, {24, 70, 28},    {92, 176, 64},   {60, 136, 48},
    {214, 226, 140}, {255, 255, 255}, {16, 16, 16},    {236, 232, 170},
    {232, 96, 120},  {40, 40, 48},    {180, 210, 236}, {70, 150, 52},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
};

struct FrogPose {
  int lookX = 0;
  int lookY = 0;
  bool blink = false;
  int throat = 0;  // 0 none, 1 small, 2 full
  bool flyVisible = false;
  Point fly{};
  bool tongue = false;
  bool happy = false;
  int delay = 0;
};

std::vector<std::uint8_t> DrawFrog(const FrogPose& pose) {
  Canvas canvas(48, 40);
  // Haunches, body, head and the two eye bumps, outlined together as one shape.
  canvas.FillEllipse(10, 31, 9, 7, kFrogDark);
  canvas.FillEllipse(38, 31, 9, 7, kFrogDark);
  canvas.FillEllipse(24, 27, 15, 11, kFrogSkin);
  canvas.FillEllipse(24, 18, 15, 9, kFrogSkin);
  canvas.FillDisc(15, 10, 6, kFrogSkin);
  canvas.FillDisc(33, 10, 6, kFrogSkin);
  canvas.FillEllipse(24, 31, 9, 6, kFrogBelly);
  canvas.FillEllipse(14, 37, 5, 2.6, kFrogSkin);
  canvas.FillEllipse(34, 37, 5, 2.6, kFrogSkin);
  canvas.Outline(kFrogEdge, false);
  // Spots on the back, toes on the front feet.
  for (const Point spot : {Point{11, 26}, Point{37, 27}, Point{8, 33}, Point{40, 32}}) {
    canvas.FillDisc(spot.x, spot.y, 1.5, kFrogSpot);
  }
  for (const int toe : {10, 13, 16, 32, 35, 38}) {
    canvas.Set(toe, 38, kFrogEdge);
  }

  for (const int cx : {15, 33}) {
    if (pose.blink) {
      canvas.Stamp(cx - 2, 10, {"#####"}, {{'#', kFrogEdge}});
    } else if (pose.happy) {
      canvas.Stamp(cx - 2, 9, {".###.", "#...#"}, {{'#', kFrogEdge}});
    } else {
      canvas.FillDisc(cx + 0.5, 10.5, 3.6, kFrogWhite);
      canvas.FillRect(cx + pose.lookX, 9 + pose.lookY, 2, 3, kFrogPupil);
    }
  }
  // Nostrils and the wide mouth, which turns up at its ends.
  canvas.Set(22, 16, kFrogEdge);
  canvas.Set(26, 16, kFrogEdge);
  if (pose.tongue) {
    canvas.Stamp(19, 20, {"##########", ".########."}, {{'#', kFrogEdge}});
    canvas.Stamp(20, 21, {"MMMMMMMM"}, {{'M', kFrogTongue}});
    canvas.ThickLine({24.5, 21.5}, pose.fly, 2.2, kFrogTongue);
  } else {
    canvas.Stamp(12, 19,
                 {"#.....................#", ".##.................##.", "...#################..."},
                 {{'#', kFrogEdge}});
  }
  if (pose.throat > 0) {
    const double r = pose.throat == 1 ? 3.5 : 5.5;
    canvas.FillEllipse(24.5, 23.5 + r * 0.5, r + 1, r, kFrogEdge);
    canvas.FillEllipse(24.5, 23.5 + r * 0.5, r, r - 1, kFrogThroat);
  }
  if (pose.flyVisible) {
    const int fx = static_cast<int>(pose.fly.x);
    const int fy = static_cast<int>(pose.fly.y);
    canvas.Stamp(fx - 1, fy - 2, {"W.W", "WBW", ".B."}, {{'W', kFlyWing}, {'B', kFlyBody}});
  }
  return canvas.Pixels();
}

}  // namespace

Picture DrawFrogPicture() {
  Picture picture;
  picture.fileName = "frog.gif";
  picture.width = 48;
  picture.height = 40;
  picture.palette = kFrogPalette;
  picture.transparent = true;
  picture.loops = 0;
  const Point flyFar{44, 5};
  const Point flyNear{40, 3};
  // It sits, looks about, blinks, croaks twice, spots a fly and catches it.
  const std::vector<FrogPose> story = {
      {.delay = 120},
      {.lookX = -1, .delay = 50},
      {.lookX = 1, .delay = 50},
      {.delay = 40},
      {.blink = true, .delay = 12},
      {.delay = 60},
      {.throat = 1, .delay = 10},
      {.throat = 2, .delay = 25},
      {.throat = 1, .delay = 10},
      {.throat = 2, .delay = 25},
      {.delay = 50},
      {.flyVisible = true, .fly = flyFar, .delay = 25},
      {.lookX = 1, .lookY = -1, .flyVisible = true, .fly = flyNear, .delay = 25},
      {.lookX = 1, .lookY = -1, .flyVisible = true, .fly = flyNear, .tongue = true, .delay = 8},
      {.happy = true, .delay = 80},
  };
  for (const FrogPose& pose : story) {
    picture.frames.push_back({DrawFrog(pose), pose.delay});
  }
  return picture;
}

}  // namespace vantrel::pictures
