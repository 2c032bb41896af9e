// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelPictures.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace vantrel::pictures {

const std::vector<int> kWormDelays = {0,  0,  0,  0,  0,   0, 0, 30, 25, 25, 25,
                                      40, 50, 50, 50, 300, 0, 0, 0,  0,  0,  1500};

namespace {

// ----- a canvas of palette indices -----

struct Point {
  double x = 0;
  double y = 0;
};

Point operator+(Point a, Point b) {
  return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
  return {a.x - b.x, a.y - b.y};
}
Point operator*(Point a, double k) {
  return {a.x * k, a.y * k};
}

double Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y;
}

class Canvas {
 public:
  Canvas(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), 0) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  std::uint8_t Get(int x, int y) const { return Inside(x, y) ? pixels_[Index(x, y)] : 0; }
  void Set(int x, int y, std::uint8_t colour) {
    if (Inside(x, y)) {
      pixels_[Index(x, y)] = colour;
    }
  }

  void FillRect(int x, int y, int w, int h, std::uint8_t colour) {
    for (int row = y; row < y + h; ++row) {
      for (int col = x; col < x + w; ++col) {
        Set(col, row, colour);
      }
    }
  }

  // Every pixel whose centre lies inside the ellipse.
  void FillEllipse(double cx, double cy, double rx, double ry, std::uint8_t colour) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const double dx = (x + 0.5 - cx) / rx;
        const double dy = (y + 0.5 - cy) / ry;
        if (dx * dx + dy * dy < 1.0) {
          Set(x, y, colour);
        }
      }
    }
  }

  void FillDisc(double cx, double cy, double r, std::uint8_t colour) {
    FillEllipse(cx, cy, r, r, colour);
  }

  // A line of the given thickness between two points.
  void ThickLine(Point a, Point b, double thickness, std::uint8_t colour) {
    const Point d = b - a;
    const double length2 = std::max(Dot(d, d), 1e-9);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const Point p{x + 0.5, y + 0.5};
        const double t = std::clamp(Dot(p - a, d) / length2, 0.0, 1.0);
        const Point q = a + d * t - p;
        if (std::sqrt(Dot(q, q)) < thickness / 2) {
          Set(x, y, colour);
        }
      }
    }
  }

  // Draws a dark edge around every drawn shape: a drawn pixel next to an empty one (or,
  // with edgesFilled, next to the picture's edge counted as drawn) becomes the edge.
  void Outline(std::uint8_t colour, bool edgesFilled) {
    std::vector<std::uint8_t> result = pixels_;
    auto empty = [&](int x, int y) { return Inside(x, y) ? Get(x, y) == 0 : !edgesFilled; };
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (Get(x, y) != 0 &&
            (empty(x - 1, y) || empty(x + 1, y) || empty(x, y - 1) || empty(x, y + 1))) {
          result[Index(x, y)] = colour;
        }
      }
    }
    pixels_ = std::move(result);
  }

  // Pixels written from rows of text: '.' or ' ' leaves the pixel, any other character
  // is looked up in the key.
  void Stamp(int x, int y, const std::vector<std::string>& rows,
             const std::map<char, std::uint8_t>& key) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (std::size_t col = 0; col < rows[row].size(); ++col) {
        const auto found = key.find(rows[row][col]);
        if (found != key.end()) {
          Set(x + static_cast<int>(col), y + static_cast<int>(row), found->second);
        }
      }
    }
  }

  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// ----- a small pixel font, five rows high and mostly three columns wide -----

const std::map<char, std::vector<std::string>>& Glyphs() {
  static const std::map<char, std::vector<std::string>> glyphs = {
      {'0', {"###", "#.#", "#.#", "#.#", "###"}},      {'1', {".#.", "##.", ".#.", ".#.", "###"}},
      {'2', {"###", "..#", "###", "#..", "###"}},      {'3', {"###", "..#", "###", "..#", "###"}},
      {'4', {"#.#", "#.#", "###", "..#", "..#"}},      {'5', {"###", "#..", "###", "..#", "###"}},
      {'6', {"###", "#..", "###", "#.#", "###"}},      {'7', {"###", "..#", ".#.", ".#.", ".#."}},
      {'8', {"###", "#.#", "###", "#.#", "###"}},      {'9', {"###", "#.#", "###", "..#", "###"}},
      {'*', {"...", "#.#", ".#.", "#.#", "..."}},      {'#', {"#.#", "###", "#.#", "###", "#.#"}},
      {'A', {".#.", "#.#", "###", "#.#", "#.#"}},      {'E', {"###", "#..", "##.", "#..", "###"}},
      {'L', {"#..", "#..", "#..", "#..", "###"}},      {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
      {'S', {".##", "#..", ".#.", "..#", "##."}},      {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
      {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},      {' ', {"..", "..", "..", "..", ".."}},
      {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
  };
  return glyphs;
}

// Writes text with its top left corner at (x, y); each font pixel becomes scale by scale.
// Returns the x just after the text.
int DrawText(Canvas& canvas, int x, int y, const std::string& text, int scale,
             std::uint8_t colour) {
  for (const char ch : text) {
    const std::vector<std::string>& glyph = Glyphs().at(ch);
    for (std::size_t row = 0; row < glyph.size(); ++row) {
      for (std::size_t col = 0; col < glyph[row].size(); ++col) {
        if (glyph[row][col] == '#') {
          canvas.FillRect(x + static_cast<int>(col) * scale, y + static_cast<int>(row) * scale,
                          scale, scale, colour);
        }
      }
    }
    x += (static_cast<int>(glyph[0].size()) + 1) * scale;
  }
  return x;
}

int TextWidth(const std::string& text, int scale) {
  int width = 0;
  for (const char ch : text) {
    width += (static_cast<int>(Glyphs().at(ch)[0].size()) + 1) * scale;
  }
  return width - scale;
}

// ----- the worms -----

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

// ----- the frog of the About window -----

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

// ----- still pictures -----

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

// ----- GIF writing -----

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

struct MapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

std::vector<Picture> DrawAllPictures() {
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
      DrawAboutPicture(),
      DrawFrogPicture(),
      DrawBanner(),
      DrawCaution(),
  };
}

Status WriteGif(const Picture& picture, const std::string& path) {
  const int colours = static_cast<int>(picture.palette.size());
  std::vector<GifColorType> entries;
  for (const Rgb& rgb : picture.palette) {
    entries.push_back({rgb.r, rgb.g, rgb.b});
  }
  const std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(colours, entries.data()));
  if (!map) {
    return {StatusCode::kMalformed,
            path + ": the palette must hold a power of two colours up to 256"};
  }
  for (const PictureFrame& frame : picture.frames) {
    if (frame.pixels.size() != static_cast<std::size_t>(picture.width * picture.height)) {
      return {StatusCode::kMalformed, path + ": a frame does not match the picture's size"};
    }
    for (const std::uint8_t index : frame.pixels) {
      if (index >= colours) {
        return {StatusCode::kMalformed, path + ": a pixel uses a colour outside the palette"};
      }
    }
  }

  int error = 0;
  auto failure = [&path](const char* what, int code) {
    const char* reason = GifErrorString(code);
    return Status(StatusCode::kWriteFailed,
                  path + ": " + what + (reason != nullptr ? reason : "unknown"));
  };
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(path.c_str(), false, &error));
  if (!gif) {
    return failure("cannot be written: ", error);
  }
  // Each of giflib's steps runs only while the ones before it went well; the first that
  // fails is the one told.
  Status failed;
  auto step = [&](int result, const char* what) {
    if (result != GIF_OK) {
      failed = failure((std::string(what) + " failed: ").c_str(), gif->Error);
    }
    return result == GIF_OK;
  };
  EGifSetGifVersion(gif.get(), true);
  bool ok = step(EGifPutScreenDesc(gif.get(), picture.width, picture.height, 8, 0, map.get()),
                 "the screen descriptor");
  if (ok && picture.loops) {
    // The loop block belongs before the first frame.
    static const char kNetscape[] = "NETSCAPE2.0";
    const GifByteType loops[3] = {1, static_cast<GifByteType>(*picture.loops & 0xff),
                                  static_cast<GifByteType>((*picture.loops >> 8) & 0xff)};
    ok = step(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE), "the loop block") &&
         step(EGifPutExtensionBlock(gif.get(), 11, kNetscape), "the loop block") &&
         step(EGifPutExtensionBlock(gif.get(), 3, loops), "the loop block") &&
         step(EGifPutExtensionTrailer(gif.get()), "the loop block");
  }
  for (auto frame = picture.frames.begin(); ok && frame != picture.frames.end(); ++frame) {
    GraphicsControlBlock control{};
    // Each frame is whole: clear the last one away, so its pixels never show through the
    // see-through parts of the next.
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.UserInputFlag = false;
    control.DelayTime = frame->delay;
    control.TransparentColor = picture.transparent ? 0 : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    ok = step(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                               extension),
              "a frame's timing block") &&
         step(EGifPutImageDesc(gif.get(), 0, 0, picture.width, picture.height, false, nullptr),
              "a frame's descriptor");
    std::vector<GifPixelType> row(static_cast<std::size_t>(picture.width));
    for (int y = 0; ok && y < picture.height; ++y) {
      std::copy_n(frame->pixels.begin() + static_cast<std::ptrdiff_t>(y * picture.width),
                  picture.width, row.begin());
      ok = step(EGifPutLine(gif.get(), row.data(), picture.width), "a frame's pixels");
    }
  }
  if (!ok) {
    return failed;
  }
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) != GIF_OK) {
    return failure("cannot be finished: ", error);
  }
  return {};
}

}  // namespace vantrel::pictures
