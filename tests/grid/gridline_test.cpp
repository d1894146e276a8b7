#include "grid/gridline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/constants.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

using Cells = std::vector<std::pair<std::int32_t, std::int32_t>>;
enum Walker { kGridline5, kSegment, kGridline };

struct Walk {
  Cells cells;
  std::int32_t jFirst = -7, jLast = -7, iFirst = -7, iLast = -7, n = -7;
  std::vector<std::int32_t> J, I;
};

Walk walk(Walker w, float x1, float y1, float x2, float y2, bool pointOnly = false, std::int32_t maxCells = 100,
          std::int32_t jOffset = 0, std::int32_t iOffset = 0, float d = 10) {
  Walk r;
  r.J.assign(static_cast<std::size_t>(maxCells), -7);
  r.I.assign(static_cast<std::size_t>(maxCells), -7);
  CellIndices J(r.J.data(), r.J.size()), I(r.I.data(), r.I.size());
  if (w == kGridline5)
    gridline_5(x1, y1, x2, y2, pointOnly, d, d, r.jFirst, r.jLast, r.iFirst, r.iLast, r.n, J, I, maxCells, jOffset,
               iOffset);
  else if (w == kSegment)
    gridlineSegment(x1, y1, x2, y2, pointOnly, d, d, r.jFirst, r.jLast, r.iFirst, r.iLast, r.n, J, I, maxCells,
                    jOffset, iOffset);
  else
    gridline(x1, y1, x2, y2, d, d, r.jFirst, r.jLast, r.iFirst, r.iLast, r.n, J, I, maxCells);
  for (std::int32_t k = 0; k < std::min(r.n, maxCells); ++k) r.cells.emplace_back(r.J[k], r.I[k]);
  return r;
}

TEST(Walkers, ListTheCellsOfKnownSegments) {
  struct Case {
    Walker w;
    float x1, y1, x2, y2;
    Cells cells;
  };
  const Case cases[] = {
      // Starting on a centre line lists no start cell; ending on one lists the end cell.
      {kGridline5, 5, 5, 35, 5, {{1, 2}, {1, 3}, {1, 4}}},
      {kGridline5, 35, 5, 5, 5, {{1, 3}, {1, 2}, {1, 1}}},
      {kGridline5, 0, 10, 30, 10, {{2, 1}, {2, 2}, {2, 3}}},
      // Through the corners: no cell beside the diagonal.
      {kGridline5, 0, 0, 30, 30, {{1, 1}, {2, 2}, {3, 3}}},
      // INT cuts toward zero: -5 lies in column 1 (floor would give 0).
      {kGridline5, -25, 5, 5, 5, {{1, 0}, {1, 1}, {1, 1}}},
      {kGridline5, 4, 6, 6, 9, {{1, 1}}},
      {kSegment, 4, 6, 6, 9, {{1, 1}}},
      // The end test on the whole end row's centre line finds (1,3) first.
      {kSegment, 8, 2, 36, 9, {{1, 3}, {1, 2}, {1, 3}, {1, 4}}},
      {kSegment, 5, 5, 35, 5, {{1, 2}, {1, 3}, {1, 4}}},
      {kGridline, 5, 5, 35, 5, {{1, 1}, {1, 2}, {1, 3}, {1, 4}}},
      {kGridline, 0, 0, 30, 30, {{1, 1}, {2, 2}, {3, 3}}},
      {kGridline, 2, 38, 8, 2, {{4, 1}, {3, 1}, {2, 1}, {1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "walker " << c.w << " (" << c.x1 << "," << c.y1 << ")->(" << c.x2 << ","
                                    << c.y2 << ")");
    const Walk r = walk(c.w, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(r.cells, c.cells);
    EXPECT_EQ(std::pair(r.jFirst, r.iFirst), c.cells.front());
    EXPECT_EQ(std::pair(r.jLast, r.iLast), c.cells.back());
  }
}

TEST(Walkers, OffsetsPointsAndSegmentsWithoutLength) {
  for (Walker w : {kGridline5, kSegment}) {
    Walk r = walk(w, 5, 5, 35, 5, false, 100, 100, 200);
    EXPECT_EQ(r.cells, (Cells{{101, 202}, {101, 203}, {101, 204}}));
    EXPECT_EQ(std::vector({r.jFirst, r.iFirst, r.jLast, r.iLast}), std::vector({101, 202, 101, 204}));
    // pointOnly: the first end's cell, offsets not applied.
    r = walk(w, 5, 5, 35, 5, true, 100, 100, 200);
    EXPECT_EQ(r.cells, (Cells{{1, 1}}));
    EXPECT_EQ(std::vector({r.jFirst, r.iFirst, r.jLast, r.iLast}), std::vector({1, 1, 1, 4}));
    r = walk(w, 5, 5, 5, 5.00001f, false, 100, 100, 200);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(std::vector({r.J[0], r.I[0], r.jFirst, r.iFirst, r.jLast, r.iLast}), std::vector({1, 1, 1, 1, 1, 1}));
    // No room: nothing is stored (the lists have no element to take it).
    r = walk(w, 5, 5, 5, 5.00001f, false, 0);
    EXPECT_EQ(r.n, 0);
    r = walk(w, 5, 5, 35, 5, true, 0);
    EXPECT_EQ(r.n, 1);
    // Inside one cell, crossing nothing: the first/last indices are not touched.
    r = walk(w, 6, 6, 8, 7);
    EXPECT_EQ(std::vector({r.n, r.jFirst, r.jLast}), std::vector({0, -7, -7}));
  }
  Walk r = walk(kGridline, 5, 5, 5, 5.00001f);
  EXPECT_EQ(r.cells, (Cells{{1, 1}}));
  r = walk(kGridline, 6, 6, 8, 7);
  EXPECT_EQ(std::vector({r.n, r.jFirst, r.jLast, r.iFirst, r.iLast}), std::vector({0, 0, 0, 0, 0}));
  r = walk(kGridline, 5, 5, 5, 5.00001f, false, 0);
  EXPECT_EQ(r.n, 1);
}

// The segment meets the closed cell (j, i) of size d, by clipping in double.
bool meetsCell(double x1, double y1, double x2, double y2, std::int32_t j, std::int32_t i, double d) {
  const double tol = 1e-3;
  double t0 = 0, t1 = 1;
  auto clip = [&](double p, double q) {  // p*t <= q
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    return t0 <= t1;
  };
  return clip(-(x2 - x1), x1 - ((i - 1) * d - tol)) && clip(x2 - x1, (i * d + tol) - x1) &&
         clip(-(y2 - y1), y1 - ((j - 1) * d - tol)) && clip(y2 - y1, (j * d + tol) - y1);
}

TEST(Walkers, RandomSegmentsListCellsTheyMeetOneStepApart) {
  std::mt19937 rng(17);
  // Coordinates kept clear of the grid and centre lines (multiples of 5).
  std::uniform_int_distribution<int> whole(0, 19);
  std::uniform_real_distribution<double> part(0.5, 4.5);
  auto coordinate = [&] { return static_cast<float>(5 * whole(rng) + part(rng)); };
  for (int s = 0; s < 2000; ++s) {
    const float x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
    const bool alongRows = std::fabs(y2 - y1) > std::fabs(x2 - x1);
    for (Walker w : {kGridline5, kSegment}) {
      const Walk r = walk(w, x1, y1, x2, y2);
      SCOPED_TRACE(testing::Message() << "walker " << w << " (" << x1 << "," << y1 << ")->(" << x2 << "," << y2
                                      << ")");
      for (std::size_t k = 0; k < r.cells.size(); ++k) {
        const auto [j, i] = r.cells[k];
        EXPECT_TRUE(meetsCell(x1, y1, x2, y2, j, i, 10)) << "cell " << j << "," << i;
        if (w == kGridline5 && k > 0) {
          const std::int32_t step = alongRows ? j - r.cells[k - 1].first : i - r.cells[k - 1].second;
          EXPECT_EQ(std::abs(step), 1) << "after cell " << k;
        }
      }
    }
  }
}

TEST(Walkers, StepsShareTheLengthsOutOverTheLargerIndexDifference) {
  std::int32_t n = 0;
  float a = -1, b = -1;
  gridlineSteps(1, 1, 4, 2, n, a, b, 15, 30);
  EXPECT_EQ(std::vector({float(n), a, b}), std::vector({4.0f, 10.0f, 5.0f}));
  gridlineSteps(3, 3, 3, 3, n, a, b, 15, 30);
  EXPECT_EQ(std::vector({float(n), a, b}), std::vector({1.0f, 0.0f, 0.0f}));
}

TEST(Walkers, TooManyCellsEndsTheRun) {
  INITUNITS(1000);
  test::StopGuard stop;
  for (Walker w : {kGridline5, kSegment, kGridline}) {
    test::ConsoleCapture con("\n");
    EXPECT_THROW(walk(w, 5, 5, 35, 5, false, 2), test::StopCalled);
    EXPECT_EQ(test::splitLines(con.text()).front(),
              "SORRY - Exceeded limit of        2 HX cells per HX polyline segment.  Contact " +
                  std::string(kSupportAddress));
  }
}

}  // namespace
}  // namespace quenzel
