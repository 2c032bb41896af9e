// SPDX-License-Identifier: GPL-3.0-or-later
// The picture tool's shapes cover the pixels whose centres they hold, up to every edge of
// the canvas and no further.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelCanvas.h"

namespace vantrel::pictures {
namespace {

// The canvas as rows of '#' (drawn) and '.' (empty).
std::vector<std::string> Rows(const Canvas& canvas) {
  std::vector<std::string> rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x) {
      row += canvas.Get(x, y) != 0 ? '#' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(PixelCanvas, ShapesCoverThePixelsWhoseCentresTheyHoldUpToTheEdges) {
  struct Case {
    const char* name;
    void (*draw)(Canvas&);
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"a rectangle cut off at the top left",
       [](Canvas& c) { c.FillRect(-1, -1, 3, 2, 1); },
       {"##...", ".....", ".....", "....."}},
      {"a line along the top row",
       [](Canvas& c) {
         c.ThickLine({0, 0.5}, {5, 0.5}, 1, 1);
       },
       {"#####", ".....", ".....", "....."}},
      {"a line down the left column",
       [](Canvas& c) {
         c.ThickLine({0.5, 0}, {0.5, 4}, 1, 1);
       },
       {"#....", "#....", "#....", "#...."}},
      {"a diagonal line",
       [](Canvas& c) {
         c.ThickLine({0, 0}, {4, 4}, 0.8, 1);
       },
       {"#....", ".#...", "..#..", "...#."}},
      {"a disc touching the top row",
       [](Canvas& c) { c.FillDisc(2.5, 1.5, 1.2, 1); },
       {"..#..", ".###.", "..#..", "....."}},
      {"an ellipse across the bottom right",
       [](Canvas& c) { c.FillEllipse(5, 4, 2, 1.2, 1); },
       {".....", ".....", ".....", "...##"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(5, 4);
    c.draw(canvas);
    EXPECT_EQ(Rows(canvas), c.rows);
  }
}

TEST(PixelCanvas, AnOutlineEdgesEveryShapeAndTheCanvasEdgeCountsAsDrawnWhenAsked) {
  for (const bool edgesFilled : {false, true}) {
    SCOPED_TRACE(edgesFilled);
    Canvas canvas(4, 3);
    canvas.FillRect(0, 0, 3, 3, 1);
    canvas.Outline(2, edgesFilled);
    std::vector<std::string> edges;
    for (int y = 0; y < canvas.Height(); ++y) {
      std::string row;
      for (int x = 0; x < canvas.Width(); ++x) {
        row += static_cast<char>('0' + canvas.Get(x, y));
      }
      edges.push_back(row);
    }
    const std::vector<std::string> expected =
        edgesFilled ? std::vector<std::string>{"1120", "1120", "1120"}
                    : std::vector<std::string>{"2220", "2120", "2220"};
    EXPECT_EQ(edges, expected);
  }
}

}  // namespace
}  // namespace vantrel::pictures
