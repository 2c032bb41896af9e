// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas's shapes and the pixel font.
#include "PixelCanvas.h"

#include <algorithm>
#include <cmath>

namespace vantrel::pictures {

void Canvas::FillRect(int x, int y, int w, int h, std::uint8_t colour) {
  for (int row = y; row < y + h; ++row) {
    for (int col = x; col < x + w; ++col) {
      Set(col, row, colour);
    }
  }
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, std::uint8_t colour) {
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

void Canvas::ThickLine(Point a, Point b, double thickness, std::uint8_t colour) {
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

void Canvas::Outline(std::uint8_t colour, bool edgesFilled) {
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

void Canvas::Stamp(int x, int y, const std::vector<std::string>& rows,
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

namespace {

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

}  // namespace

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

}  // namespace vantrel::pictures
