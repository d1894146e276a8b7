#include "grid/gridline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "common/constants.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

enum Walker { kGridline5, kSegment, kGridline };

// Cells as j, i pairs, then jFirst, iFirst, jLast, iLast; -7 where nothing was written.
struct Walk {
  std::vector<int> cells, ends;
  int n = -7;
};

Walk walk(Walker w, float x1, float y1, float x2, float y2, bool pointOnly = false, int maxCells = 100,
          int jOffset = 0, int iOffset = 0, float dx = 10, float dy = 10) {
  std::vector<int> J(std::size_t(maxCells), -7), I(J);
  int jF = -7, jL = -7, iF = -7, iL = -7, n = -7;
  CellIndices vJ(J.data(), J.size()), vI(I.data(), I.size());
  if (w == kGridline)
    gridline(x1, y1, x2, y2, dx, dy, jF, jL, iF, iL, n, vJ, vI, maxCells);
  else
    (w == kGridline5 ? gridline_5 : gridlineSegment)(x1, y1, x2, y2, pointOnly, dx, dy, jF, jL, iF, iL, n, vJ, vI,
                                                     maxCells, jOffset, iOffset);
  Walk r{{}, {jF, iF, jL, iL}, n};
  for (int k = 0; k < std::min(std::max(n, 1), maxCells); ++k) r.cells.insert(r.cells.end(), {J[k], I[k]});
  return r;
}

TEST(Walkers, ListTheCellsOfKnownSegments) {
  struct Case {
    Walker w;
    float x1, y1, x2, y2;
    std::vector<int> cells;
  };
  const Case cases[] = {
      // Starting on a centre line lists no start cell; ending on one lists the end cell.
      {kGridline5, 5, 5, 35, 5, {1, 2, 1, 3, 1, 4}},
      {kGridline5, 35, 5, 5, 5, {1, 3, 1, 2, 1, 1}},
      {kGridline5, 0, 10, 30, 10, {2, 1, 2, 2, 2, 3}},
      {kGridline5, 0, 0, 30, 30, {1, 1, 2, 2, 3, 3}},  // no cell beside the diagonal
      {kGridline5, -25, 5, 5, 5, {1, 0, 1, 1, 1, 1}},  // INT, not floor: -5 lies in column 1
      {kGridline5, 4, 6, 6, 9, {1, 1}},
      {kSegment, 4, 6, 6, 9, {1, 1}},
      {kSegment, 8, 2, 36, 9, {1, 3, 1, 2, 1, 3, 1, 4}},  // end cell from the whole end row's line
      {kGridline, 5, 5, 35, 5, {1, 1, 1, 2, 1, 3, 1, 4}},
      {kGridline, 2, 38, 8, 2, {4, 1, 3, 1, 2, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    const Walk r = walk(c.w, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(r.cells, c.cells) << c.w << " from " << c.x1 << "," << c.y1;
    EXPECT_EQ(r.ends, (std::vector{c.cells[0], c.cells[1], c.cells.end()[-2], c.cells.end()[-1]}));
  }
}

TEST(Walkers, OffsetsPointsAndSegmentsWithoutLength) {
  for (Walker w : {kGridline5, kSegment}) {
    EXPECT_EQ(walk(w, 5, 5, 35, 5, false, 100, 100, 200).cells, (std::vector{101, 202, 101, 203, 101, 204}));
    Walk r = walk(w, 5, 5, 35, 5, true, 100, 100, 200);  // pointOnly: no offsets
    EXPECT_EQ(r.n, 1);
    EXPECT_EQ(r.cells, (std::vector{1, 1}));
    EXPECT_EQ(r.ends, (std::vector{1, 1, 1, 4}));
    r = walk(w, 5, 5, 5, 5.00001f, false, 100, 100, 200);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.cells, (std::vector{1, 1}));
    EXPECT_EQ(walk(w, 6, 6, 8, 7).ends, (std::vector{-7, -7, -7, -7}));  // crosses no centre line
    // Lists without room take nothing (a write would leave their bounds).
    EXPECT_EQ(walk(w, 5, 5, 5, 5.00001f, false, 0).n, 0);
    EXPECT_EQ(walk(w, 5, 5, 35, 5, true, 0).n, 1);
  }
  EXPECT_EQ(walk(kGridline, 5, 5, 5, 5.00001f).n, 1);
  EXPECT_EQ(walk(kGridline, 5, 5, 5, 5.00001f, false, 0).n, 1);
  const Walk r = walk(kGridline, 6, 6, 8, 7);
  EXPECT_EQ(r.n, 0);
  EXPECT_EQ(r.ends, (std::vector{0, 0, 0, 0}));
}

TEST(Walkers, RandomSegmentsListCellsTheyMeetOneStepApart) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> whole(0, 19);
  std::uniform_real_distribution<double> part(0.5, 4.5);  // clear of grid and centre lines
  auto coordinate = [&] { return static_cast<float>(5 * whole(rng) + part(rng)); };
  for (int s = 0; s < 2000; ++s) {
    const float x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
    const int along = std::fabs(y2 - y1) > std::fabs(x2 - x1) ? 0 : 1;
    for (Walker w : {kGridline5, kSegment}) {
      const Walk r = walk(w, x1, y1, x2, y2);
      const std::vector<int>& c = r.cells;
      for (std::size_t k = 0; k < 2 * std::size_t(r.n); k += 2) {
        // The segment meets the closed cell: clip it to the cell, widened by 1e-3.
        double t0 = 0, t1 = 1;
        auto clip = [&](double p, double q) {  // p t <= q
          if (p < 0) t0 = std::max(t0, q / p);
          else if (p > 0) t1 = std::min(t1, q / p);
          else if (q < 0) t0 = 2;
        };
        const double xlo = (c[k + 1] - 1) * 10 - 1e-3, ylo = (c[k] - 1) * 10 - 1e-3;
        clip(x1 - x2, x1 - xlo);
        clip(x2 - x1, xlo + 10.002 - x1);
        clip(y1 - y2, y1 - ylo);
        clip(y2 - y1, ylo + 10.002 - y1);
        EXPECT_LE(t0, t1) << w << ": (" << x1 << "," << y1 << ")->(" << x2 << "," << y2 << ") cell " << k / 2;
        if (w == kGridline5 && k > 0) {
          EXPECT_EQ(std::abs(c[k + along] - c[k - 2 + along]), 1);
        }
      }
    }
  }
}

TEST(Walkers, StepsShareTheLengthsOutOverTheLargerIndexDifference) {
  int n = 0;
  float a = -1, b = -1;
  gridlineSteps(1, 1, 4, 2, n, a, b, 15, 30);
  EXPECT_EQ((std::vector{float(n), a, b}), (std::vector{4.0f, 10.0f, 5.0f}));
  gridlineSteps(3, 3, 3, 3, n, a, b, 15, 30);
  EXPECT_EQ((std::vector{float(n), a, b}), (std::vector{1.0f, 0.0f, 0.0f}));
}

// Too many cells, and a cell size that is not above zero or not finite
// (which would otherwise walk some 2^31 empty steps), even for a point.
TEST(Walkers, TooManyCellsOrABadCellSizeEndsTheRun) {
  INITUNITS(1000);
  test::StopGuard stop;
  const float inf = INFINITY, nan = NAN;
  const std::string tooMany = "SORRY - Exceeded limit of        2 HX cells per HX polyline segment.  Contact ";
  const struct {
    Walker w;
    float dx, dy;
    bool pointOnly;
    std::string text;
  } rows[] = {
      {kGridline5, 10, 10, false, tooMany},
      {kSegment, 10, 10, false, tooMany},
      {kGridline, 10, 10, false, tooMany},
      {kGridline5, 0, 0, false, "should not be here - gridline_5 - cell size - contact "},
      {kGridline5, 10, -10, true, "should not be here - gridline_5 - cell size - contact "},
      {kSegment, nan, 10, false, "should not be here - gridline - cell size - contact "},
      {kGridline, 10, inf, false, "should not be here - gridline - cell size - contact "},
      {kGridline, 0, 10, false, "should not be here - gridline - cell size - contact "},
  };
  for (const auto& r : rows) {
    test::ConsoleCapture con("\n");
    EXPECT_THROW(walk(r.w, 5, 5, 35, 5, r.pointOnly, 2, 0, 0, r.dx, r.dy), test::StopCalled);
    const std::vector<std::string> lines = test::splitLines(con.text());
    ASSERT_FALSE(lines.empty()) << r.w << " " << r.dx << ": nothing on the console";
    EXPECT_EQ(lines.front(), r.text + std::string(kSupportAddress)) << r.w << " " << r.dx;
  }
}

}  // namespace
}  // namespace quenzel
