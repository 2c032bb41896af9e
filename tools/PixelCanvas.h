// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface of vantrel-drawgifs: a canvas of palette indices with the few shapes
// the pictures are made of, and a small pixel font for the names and keys they show. Every
// shape covers the pixels whose centres it holds, so a drawing is the same on every machine.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantrel::pictures {

struct Point {
  double x = 0;
  double y = 0;
};

inline Point operator+(Point a, Point b) {
  return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
  return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double k) {
  return {a.x * k, a.y * k};
}

inline double Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y;
}

// Palette indices, row by row; index 0 is the empty (see-through) pixel. Drawing outside
// the canvas is cut off.
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

  void FillRect(int x, int y, int w, int h, std::uint8_t colour);
  // Every pixel whose centre lies inside the ellipse.
  void FillEllipse(double cx, double cy, double rx, double ry, std::uint8_t colour);
  void FillDisc(double cx, double cy, double r, std::uint8_t colour) {
    FillEllipse(cx, cy, r, r, colour);
  }
  // A line of the given thickness between two points.
  void ThickLine(Point a, Point b, double thickness, std::uint8_t colour);
  // Draws a dark edge around every drawn shape: a drawn pixel next to an empty one (or,
  // with edgesFilled, next to the picture's edge counted as drawn) becomes the edge.
  void Outline(std::uint8_t colour, bool edgesFilled);
  // Pixels written from rows of text: '.' or ' ' leaves the pixel, any other character
  // is looked up in the key.
  void Stamp(int x, int y, const std::vector<std::string>& rows,
             const std::map<char, std::uint8_t>& key);

  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// The pixel font is five rows high and mostly three columns wide; it knows the digits, the
// keypad's '*' and '#', a space and the capitals of VANTREL and TESTER.

// Writes text with its top left corner at (x, y); each font pixel becomes scale by scale.
// Returns the x just after the text.
int DrawText(Canvas& canvas, int x, int y, const std::string& text, int scale, std::uint8_t colour);
int TextWidth(const std::string& text, int scale);

}  // namespace vantrel::pictures
