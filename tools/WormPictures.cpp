// SPDX-License-Identifier: GPL-3.0-or-later
// The four worms of the button animation: one worm drawn frame by frame as it peeks out
// from behind a button, looks around, smiles, yawns and falls asleep, for each side of a
// button it can come out of.
#include "WormPictures.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "PixelCanvas.h"

namespace vantrel::pictures {

const std::vector<int> kWormDelays = {0,  0,  0,  0,  0,   0, 0, 30, 25, 25, 25,
                                      40, 50, 50, 50, 300, 0, 0, 0,  0,  0,  1500};

namespace {

// The worm's colours; index 0 is see-through.
enum WormColour : std::uint8_t {
  kClear = 0,
  kEdge,
  kSkin,
  kSkinLight,
  kSkinShade,
  kRing,
  kSaddle,
  kEyeWhite,
  kPupil,
  kCheek,
  kMouth,
  kLid,
  kSnore,
};

const std::vector<Rgb> kWormPalette = {
    {200, 200, 200}, {112, 42, 52},   {236, 142, 140}, {250, 192, 186},
    {206, 108, 112}, {218, 118, 120}, {196, 86, 98},   {255, 255, 255},
    {24, 20, 32},    {244, 92, 112},  {122, 22, 42},   {222, 124, 126},
    {60, 92, 172},   {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
};

enum class Eyes { Open, Blink, Sleepy, Asleep };
enum class Mouth { Line, Smile, Grin, Yawn };

// One moment of the worm: how far its head is out from behind the button, how far the
// neck bends across, where it looks (-1, 0 or 1 on each axis), its eyes and mouth.
struct WormPose {
  int out = 0;
  int bend = 0;
  int lookX = 0;
  int lookY = 0;
  Eyes eyes = Eyes::Open;
  Mouth mouth = Mouth::Line;
  bool cheeks = false;
  bool snore = false;
};

// It peeks out in seven quick steps, looks around, smiles at the user for a while, yawns,
// lies down and falls asleep; the last frame is the one the user sees resting.
const std::array<WormPose, 22> kWormStory = {{
    {8, 0, 0, 0, Eyes::Open, Mouth::Line},    {11, 0, 0, 0, Eyes::Open, Mouth::Line},
    {14, 0, -1, 0, Eyes::Open, Mouth::Line},  {17, 0, -1, 0, Eyes::Open, Mouth::Line},
    {20, 0, -1, 0, Eyes::Open, Mouth::Line},  {23, 0, 0, 0, Eyes::Open, Mouth::Line},
    {25, 0, 0, 0, Eyes::Open, Mouth::Line},   {25, 0, -1, 0, Eyes::Open, Mouth::Line},
    {25, -1, 1, 0, Eyes::Open, Mouth::Line},  {25, -2, 0, -1, Eyes::Open, Mouth::Line},
    {25, 2, 0, 1, Eyes::Open, Mouth::Line},   {25, 0, 0, 0, Eyes::Blink, Mouth::Line},
    {25, 0, 0, 0, Eyes::Open, Mouth::Smile},  {25, -2, 0, 0, Eyes::Open, Mouth::Smile},
    {25, 2, 0, 0, Eyes::Open, Mouth::Smile},  {26, 0, 0, 0, Eyes::Open, Mouth::Grin, true},
    {25, 1, 0, 0, Eyes::Sleepy, Mouth::Line}, {24, 2, 0, 0, Eyes::Asleep, Mouth::Yawn},
    {23, 3, 0, 0, Eyes::Asleep, Mouth::Yawn}, {22, 3, 0, 0, Eyes::Sleepy, Mouth::Line},
    {22, 3, 0, 0, Eyes::Asleep, Mouth::Line}, {22, 3, 0, 0, Eyes::Asleep, Mouth::Line, false, true},
}};

// Where a worm comes from: the point on the picture's edge where its body leaves the
// button, the direction in which it comes out, the direction across its body, and the
// offset of the snore mark from the head.
struct WormSide {
  const char* fileName;
  int width;
  int height;
  Point base;
  Point out;
  Point across;
  int snoreX;
  int snoreY;
};

// Head and body radii in pixels: the head is 13 pixels across, the body 9.
constexpr double kHeadRadius = 6.5;
constexpr double kBodyRadius = 4.6;

// The rows of one eye, four by four: '#' white, corners left to the skin.
void DrawEye(Canvas& canvas, int left, int top, const WormPose& pose) {
  switch (pose.eyes) {
    case Eyes::Open: {
      canvas.Stamp(left, top, {".##.", "####", "####", ".##."}, {{'#', kEyeWhite}});
      const int px = left + 1 + pose.lookX;
      const int py = top + 1 + pose.lookY;
      canvas.FillRect(px, py, 2, 2, kPupil);
      break;
    }
    case Eyes::Blink:
      canvas.Stamp(left, top, {"....", "....", "####", "...."}, {{'#', kEdge}});
      break;
    case Eyes::Sleepy:
      canvas.Stamp(left, top, {".LL.", "LLLL", "#WP#", ".##."},
                   {{'L', kLid}, {'#', kEdge}, {'W', kEyeWhite}, {'P', kPupil}});
      break;
    case Eyes::Asleep:
      canvas.Stamp(left, top, {"....", "#..#", ".##.", "...."}, {{'#', kEdge}});
      break;
  }
}

void DrawFace(Canvas& canvas, int hx, int hy, const WormPose& pose) {
  DrawEye(canvas, hx - 4, hy - 4, pose);
  DrawEye(canvas, hx + 1, hy - 4, pose);
  switch (pose.mouth) {
    case Mouth::Line:
      canvas.FillRect(hx - 1, hy + 2, 3, 1, kEdge);
      break;
    case Mouth::Smile:
      canvas.Stamp(hx - 2, hy + 1, {"#...#", ".###."}, {{'#', kEdge}});
      break;
    case Mouth::Grin:
      canvas.Stamp(hx - 2, hy + 1, {"#####", ".MMM.", "..#.."}, {{'#', kEdge}, {'M', kMouth}});
      break;
    case Mouth::Yawn:
      canvas.Stamp(hx - 2, hy + 1, {".###.", "#MMM#", "#MMM#", ".###."},
                   {{'#', kEdge}, {'M', kMouth}});
      break;
  }
  if (pose.cheeks) {
    canvas.Set(hx - 5, hy + 1, kCheek);
    canvas.Set(hx + 5, hy + 1, kCheek);
  }
}

std::vector<std::uint8_t> DrawWorm(const WormSide& side, const WormPose& pose) {
  // The middle line of the body, from well behind the edge to the head.
  constexpr int kSteps = 48;
  std::vector<Point> line;
  line.push_back(side.base - side.out * 8.0);
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    // Only the neck bends: the body stays straight for its first half.
    const double neck = std::clamp((t - 0.5) / 0.5, 0.0, 1.0);
    const double bend = neck * neck * (3 - 2 * neck);
    line.push_back(side.base + side.out * (t * pose.out) + side.across * (pose.bend * bend));
  }
  const Point head = line.back();

  // Arc length from the head back to each point, for the rings and the saddle.
  std::vector<double> fromHead(line.size(), 0.0);
  for (std::size_t i = line.size() - 1; i-- > 0;) {
    const Point d = line[i + 1] - line[i];
    fromHead[i] = fromHead[i + 1] + std::sqrt(Dot(d, d));
  }

  Canvas canvas(side.width, side.height);
  // Which pixels the worm covers, and how far each lies along the body from the head.
  std::vector<double> along(static_cast<std::size_t>(side.width * side.height), -1.0);
  auto covered = [&](int x, int y) {
    if (!canvas.Inside(x, y)) {
      return false;
    }
    return along[static_cast<std::size_t>(y * side.width + x)] >= 0;
  };
  for (int y = 0; y < side.height; ++y) {
    for (int x = 0; x < side.width; ++x) {
      const Point p{x + 0.5, y + 0.5};
      const Point toHead = p - head;
      double best = 1e9;
      double bestAlong = 0;
      for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const Point d = line[i + 1] - line[i];
        const double length2 = std::max(Dot(d, d), 1e-9);
        const double t = std::clamp(Dot(p - line[i], d) / length2, 0.0, 1.0);
        const Point q = line[i] + d * t - p;
        const double dist = std::sqrt(Dot(q, q));
        if (dist < best) {
          best = dist;
          bestAlong = fromHead[i] + (fromHead[i + 1] - fromHead[i]) * t;
        }
      }
      if (std::sqrt(Dot(toHead, toHead)) < kHeadRadius) {
        along[static_cast<std::size_t>(y * side.width + x)] = 0;
      } else if (best < kBodyRadius) {
        along[static_cast<std::size_t>(y * side.width + x)] = bestAlong;
      }
    }
  }

  // Skin lit from the top left: a light band where the shape ends two pixels up or left,
  // a shaded one where it ends two pixels down or right. Rings every four pixels and a
  // darker saddle behind the head.
  for (int y = 0; y < side.height; ++y) {
    for (int x = 0; x < side.width; ++x) {
      if (!covered(x, y)) {
        continue;
      }
      const double s = along[static_cast<std::size_t>(y * side.width + x)];
      std::uint8_t colour = kSkin;
      if (s >= 8 && s < 11) {
        colour = kSaddle;
      } else if (s >= 13 && std::fmod(s - 13, 4.0) < 1.0) {
        colour = kRing;
      }
      // Off the picture, the body goes on behind the button: no light or shade there.
      auto open = [&](int nx, int ny) { return canvas.Inside(nx, ny) && !covered(nx, ny); };
      const bool lit = open(x, y - 2) || open(x - 2, y);
      const bool shaded = open(x, y + 2) || open(x + 2, y);
      if (lit && !shaded) {
        colour = colour == kSkin ? std::uint8_t{kSkinLight} : colour;
      } else if (shaded && !lit) {
        colour = kSkinShade;
      }
      canvas.Set(x, y, colour);
    }
  }
  canvas.Outline(kEdge, true);

  const int hx = static_cast<int>(std::floor(head.x));
  const int hy = static_cast<int>(std::floor(head.y));
  DrawFace(canvas, hx, hy, pose);
  if (pose.snore) {
    canvas.Stamp(hx + side.snoreX, hy + side.snoreY, {"####", "..#.", ".#..", "####"},
                 {{'#', kSnore}});
  }
  return canvas.Pixels();
}

Picture DrawWormPicture(const WormSide& side, std::optional<int> loops) {
  Picture picture;
  picture.fileName = side.fileName;
  picture.width = side.width;
  picture.height = side.height;
  picture.palette = kWormPalette;
  picture.transparent = true;
  picture.loops = loops;
  for (std::size_t i = 0; i < kWormStory.size(); ++i) {
    picture.frames.push_back({DrawWorm(side, kWormStory[i]), kWormDelays[i]});
  }
  return picture;
}

}  // namespace

std::vector<Picture> DrawWormPictures() {
  // The left worm comes out to the left of its button, the right worm to the right, the
  // top worm up from behind the Convert button, the bottom worm down below Lookup. The
  // base lies half a pixel past the edge so that the head sits on a pixel's centre.
  const WormSide left{"worm-left.gif", 33, 23, {33.5, 11.5}, {-1, 0}, {0, 1}, -2, -10};
  const WormSide right{"worm-right.gif", 33, 23, {-0.5, 11.5}, {1, 0}, {0, 1}, 0, -10};
  const WormSide top{"worm-top.gif", 23, 33, {11.5, 33.5}, {0, -1}, {1, 0}, 4, -11};
  const WormSide bottom{"worm-bottom.gif", 23, 33, {11.5, -0.5}, {0, 1}, {1, 0}, 5, 6};
  return {
      DrawWormPicture(left, 0),
      DrawWormPicture(right, 0),
      // The top worm plays once.
      DrawWormPicture(top, std::nullopt),
      DrawWormPicture(bottom, 0),
  };
}

}  // namespace vantrel::pictures
