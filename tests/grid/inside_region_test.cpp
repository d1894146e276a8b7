#include "grid/inside_region.h"

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

using Ring = std::vector<std::pair<double, double>>;
using Rings = std::vector<Ring>;

// A region in the stored layout: every ring closed and followed by a copy of
// its second vertex, ir holding the closing positions. Both members see the
// same single-precision coordinates.
struct Region {
  std::vector<float> xf, yf;
  std::vector<double> x, y;
  std::vector<std::int32_t> ir;
  explicit Region(const Rings& rings, double sx = 0, double sy = 0) {
    for (const Ring& ring : rings) {
      for (std::size_t k = 0; k <= ring.size() + 1; ++k) {
        if (k == ring.size() + 1) ir.push_back(std::int32_t(xf.size()));
        xf.push_back(float(ring[k % ring.size()].first + sx));
        yf.push_back(float(ring[k % ring.size()].second + sy));
      }
    }
    x.assign(xf.begin(), xf.end());
    y.assign(yf.begin(), yf.end());
  }
  std::int32_t n() const { return std::int32_t(x.size()); }
  std::int32_t nr() const { return std::int32_t(ir.size()); }
  RingEnds Ir() const { return {ir.data(), ir.size()}; }
};

// Arrays of one (nRows, nCols) grid, row index fastest.
struct Grids {
  std::int32_t rows, cols;
  std::vector<std::uint8_t> mask, counts;
  std::vector<std::int32_t> ints;
  std::vector<float> reals;
  Grids(std::int32_t r, std::int32_t c)
      : rows(r), cols(c), mask(std::size_t(r * c), 7), counts(mask.size()), ints(mask.size()), reals(mask.size()) {}
  std::size_t k(std::int32_t j, std::int32_t i) const { return std::size_t((i - 1) * rows + j - 1); }
  std::uint8_t at(std::int32_t j, std::int32_t i) const { return mask[k(j, i)]; }
};

struct Marking {
  bool dbl = false;  // the _8 member
  std::int32_t jOffset = 0, iOffset = 0;
  bool clearMask = true, setValues = false, integerValues = false, constantValue = true, addValues = false;
  float value = 1;
  std::vector<float> z = {0, 0, 0};
  std::int32_t nr = -1;  // the region's own ring count
  std::int32_t j1 = -7, i1 = -7, j2 = -7, i2 = -7;
};

std::int32_t mark(Grids& g, const Region& r, Marking& m) {
  std::int32_t nMarked = -7;
  const std::int32_t nr = m.nr < 0 ? r.nr() : m.nr;
  ByteGrid mask(g.mask.data(), g.rows, g.cols), counts(g.counts.data(), g.rows, g.cols);
  IntGrid ints(g.ints.data(), g.rows, g.cols);
  RealGrid reals(g.reals.data(), g.rows, g.cols);
  if (m.dbl)
    grid_inside_polygon_8(mask, counts, ints, reals, g.rows, g.cols, 10, 10, m.jOffset, m.iOffset, m.clearMask,
                          m.setValues, m.integerValues, m.constantValue, m.value, m.addValues, m.j1, m.i1, m.j2,
                          m.i2, nMarked, {r.x.data(), r.x.size()}, {r.y.data(), r.y.size()}, {m.z.data(), 3}, r.n(),
                          r.Ir(), nr);
  else
    grid_inside_polygon(mask, counts, ints, reals, g.rows, g.cols, 10, 10, m.jOffset, m.iOffset, m.clearMask,
                        m.setValues, m.integerValues, m.constantValue, m.value, m.addValues, m.j1, m.i1, m.j2, m.i2,
                        nMarked, {r.xf.data(), r.xf.size()}, {r.yf.data(), r.yf.size()}, {m.z.data(), 3}, r.n(),
                        r.Ir(), nr);
  return nMarked;
}

// Flags of the single (dbl false) or double point member.
std::vector<std::int32_t> flagPoints(bool dbl, const Region& r, const std::vector<double>& px,
                                     const std::vector<double>& py, std::int32_t& nInside, std::int32_t nr = -1) {
  std::vector<std::int32_t> flags(px.size(), 7);
  const auto np = static_cast<std::int32_t>(px.size());
  if (nr < 0) nr = r.nr();
  if (dbl) {
    grid_inside_polygon_points_8({flags.data(), flags.size()}, {px.data(), px.size()}, {py.data(), py.size()}, np,
                                 nInside, {r.x.data(), r.x.size()}, {r.y.data(), r.y.size()}, r.n(), r.Ir(), nr);
  } else {
    std::vector<float> fx(px.begin(), px.end()), fy(py.begin(), py.end());
    grid_inside_polygon_points({flags.data(), flags.size()}, {fx.data(), fx.size()}, {fy.data(), fy.size()}, np,
                               nInside, {r.xf.data(), r.xf.size()}, {r.yf.data(), r.yf.size()}, r.n(), r.Ir(), nr);
  }
  return flags;
}

// Independent answer: even-odd over the rings in double; -1 within 1e-3 of an edge.
int oracle(const Rings& rings, double px, double py, double sx = 0, double sy = 0) {
  bool in = false;
  for (const Ring& ring : rings)
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const double xa = double(float(ring[k].first + sx)), ya = double(float(ring[k].second + sy));
      const auto& b = ring[(k + 1) % ring.size()];
      const double xb = double(float(b.first + sx)), yb = double(float(b.second + sy));
      const double len2 = (xb - xa) * (xb - xa) + (yb - ya) * (yb - ya);
      const double t = std::clamp(((px - xa) * (xb - xa) + (py - ya) * (yb - ya)) / len2, 0.0, 1.0);
      if (std::hypot(xa + t * (xb - xa) - px, ya + t * (yb - ya) - py) < 1e-3) return -1;
      if ((ya > py) != (yb > py) && px < xa + (py - ya) * (xb - xa) / (yb - ya)) in = !in;
    }
  return in ? 1 : 0;
}

const Ring kSquare30 = {{0, 0}, {30, 0}, {30, 30}, {0, 30}};

// The mask as rows of digits, row 1 first; 7 marks an element no call touched.
std::string picture(const Grids& g) {
  std::string text;
  for (std::int32_t j = 1; j <= g.rows; ++j) {
    for (std::int32_t i = 1; i <= g.cols; ++i) text += char('0' + g.at(j, i));
    text += j < g.rows ? " " : "";
  }
  return text;
}

TEST(Marking, KnownRegionsMarkTheCellsWhosePointsLieInside) {
  // Its left side zigzags across y = 10 201 times within column 2.
  Ring zigzag = {{10.2, 2}};
  for (int t = 1; t <= 201; ++t) zigzag.emplace_back(10.2 + t * 0.0475, t % 2 ? 15.0 : 5.0);
  zigzag.insert(zigzag.end(), {{zigzag.back().first, 18}, {30, 18}, {30, 2}});
  struct Case {
    Rings rings;
    double shift;
    std::int32_t rows, cols, offset, marked;
    std::vector<std::int32_t> window;
    std::string mask;
  };
  const Case cases[] = {
      // Points on the top and right sides count as inside.
      {{kSquare30}, 0, 5, 5, 0, 9, {1, 1, 4, 4}, "11107 11107 11107 00007 77777"},
      {{{{0, 0}, {50, 0}, {50, 50}, {0, 50}}, {{15, 15}, {25, 15}, {25, 25}, {15, 25}}},
       0, 5, 5, 0, 24, {1, 1, 5, 5}, "11111 10111 11111 11111 11111"},
      // A 4 x 4 sub-grid at offsets 2, 2 of 6 x 6 arrays, moved by the offsets
      // and half a cell: the window reaches the arrays' last row and column.
      {{{{0, 0}, {40, 0}, {40, 40}, {0, 40}}}, 25, 6, 6, 2, 16, {3, 3, 6, 6},
       "777777 777777 771111 771111 771111 771111"},
      {{zigzag}, 0, 3, 5, 0, 2, {1, 2, 2, 4}, "71107 70007 77777"},
  };
  for (const Case& c : cases)
    for (bool dbl : {false, true}) {
      Grids g(c.rows, c.cols);
      Marking m;
      m.dbl = dbl;
      m.jOffset = m.iOffset = c.offset;
      EXPECT_EQ(mark(g, Region(c.rings, c.shift, c.shift), m), c.marked);
      EXPECT_EQ(std::vector({m.j1, m.i1, m.j2, m.i2}), c.window);
      EXPECT_EQ(picture(g), c.mask) << "with " << c.marked << (dbl ? " double" : " single");
    }
}

TEST(Marking, ValuesAreSetOrAddedAndMarksCanAccumulate) {
  for (bool dbl : {false, true}) {
    Grids g(5, 5);
    Marking m;
    m.dbl = dbl;
    m.setValues = m.integerValues = true;
    m.value = 2.5f;
    mark(g, Region({kSquare30}), m);
    EXPECT_EQ(g.ints[g.k(2, 2)], 3);
    m.value = -2.5f;
    m.addValues = true;
    mark(g, Region({kSquare30}), m);
    EXPECT_EQ(std::vector({g.ints[g.k(2, 2)], g.ints[g.k(4, 4)]}), std::vector({0, 0}));
    // A real constant on a second region, the marks of the first kept.
    m.integerValues = m.addValues = m.clearMask = false;
    m.value = 1.5f;
    EXPECT_EQ(mark(g, Region({{{25, 25}, {45, 25}, {45, 45}, {25, 45}}}), m), 4);
    EXPECT_EQ(std::vector({g.reals[g.k(4, 4)], g.reals[g.k(3, 3)], g.reals[g.k(2, 2)]}),
              std::vector({1.5f, 1.5f, 0.0f}));
    EXPECT_EQ(picture(g), "11107 11107 11117 00117 77777");
  }
}

TEST(Marking, EmptyRegionsMarkAndFlagNothing) {
  for (bool dbl : {false, true}) {
    Grids g(4, 4);
    Marking m;
    m.dbl = dbl;
    m.nr = 0;
    EXPECT_EQ(mark(g, Region({kSquare30}), m), 0);
    EXPECT_TRUE(m.j1 > m.j2 && m.i1 > m.i2);
    m.nr = 1;
    EXPECT_EQ(mark(g, Region({}), m), 0);
    EXPECT_EQ(g.mask, std::vector<std::uint8_t>(16, 7));
    std::int32_t nInside = -7;
    EXPECT_EQ(flagPoints(dbl, Region({kSquare30}), {10}, {10}, nInside, 0), std::vector({0}));
    EXPECT_EQ(nInside, 0);
  }
}

TEST(Marking, RingListEndingBeforeTheLastVertexEndsTheRun) {
  INITUNITS(1000);
  test::StopGuard stop;
  const Region twoRings({kSquare30, {{40, 0}, {44, 0}, {44, 4}}});
  for (auto [member, tag] : {std::pair{0, "[1]"}, {1, "[1]"}, {2, "[4]"}, {3, "[5]"}}) {
    test::ConsoleCapture con("\n");
    Grids g(5, 5);
    Marking m;
    m.dbl = member == 1;
    m.nr = 1;
    std::int32_t nInside = 0;
    auto run = [&] {
      if (member < 2) mark(g, twoRings, m);
      else flagPoints(member == 3, twoRings, {5}, {5}, nInside, 1);
    };
    EXPECT_THROW(run(), test::StopCalled);
    EXPECT_EQ(test::splitLines(con.text()).at(1),
              "Invalid number of polygons in region sent to grid_inside_polygon routine " + std::string(tag) +
                  " - contact " + std::string(kSupportAddress));
  }
}

// Random rings of 3 to 9 vertices about a centre, off the grid lines.
Ring randomRing(std::mt19937& rng, double cx, double cy, double radius) {
  std::uniform_int_distribution<int> count(3, 9);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int n = count(rng);
  Ring ring;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * 3.141592653589793 * (k + 0.8 * unit(rng)) / n;
    const double rr = radius * (0.3 + 0.7 * unit(rng));
    ring.emplace_back(cx + rr * std::cos(a) + 1e-3 * unit(rng), cy + rr * std::sin(a) + 1e-3 * unit(rng));
  }
  return ring;
}

TEST(Marking, RandomRegionsAgreeWithAnIndependentEvenOddTest) {
  std::mt19937 rng(4102);
  std::uniform_real_distribution<double> centre(-10.0, 110.0), radius(5.0, 60.0);
  std::uniform_int_distribution<int> offset(0, 3), twoRings(0, 1);
  std::uniform_real_distribution<double> where(-20.0, 130.0);
  for (int s = 0; s < 300; ++s) {
    const double cx = centre(rng), cy = centre(rng), rad = radius(rng);
    Rings rings = {randomRing(rng, cx, cy, rad)};
    // A second ring: a hole or a separate island, crossing the first now and then.
    if (twoRings(rng)) rings.push_back(randomRing(rng, centre(rng), centre(rng), radius(rng) / 2));
    Marking m;
    m.jOffset = offset(rng);
    m.iOffset = offset(rng);
    // The caller moves the region by its offsets.
    const double sx = m.iOffset * 10.0, sy = m.jOffset * 10.0;
    const Region region(rings, sx, sy);
    for (bool dbl : {false, true}) {
      SCOPED_TRACE(testing::Message() << "region " << s << (dbl ? " double" : " single"));
      Grids g(9, 11);  // the window is often clipped by the arrays
      m.dbl = dbl;
      const std::int32_t marked = mark(g, region, m);
      EXPECT_EQ(marked, std::count(g.mask.begin(), g.mask.end(), 1));
      for (std::int32_t j = 1; j <= g.rows; ++j)
        for (std::int32_t i = 1; i <= g.cols; ++i) {
          const bool inWindow = j >= std::max(1, m.jOffset) && i >= std::max(1, m.iOffset);
          const int o = inWindow ? oracle(rings, i * 10.0, j * 10.0, sx, sy) : 0;
          const bool touched = j >= m.j1 && j <= m.j2 && i >= m.i1 && i <= m.i2;
          // Elements outside the window keep their 7: not marked.
          EXPECT_EQ(o < 0 ? 0 : touched ? g.at(j, i) : 0, std::max(o, 0)) << "cell " << j << "," << i;
        }
    }
    // Points anywhere around the region.
    std::vector<double> px(60), py(60);
    for (int p = 0; p < 60; ++p) px[p] = float(where(rng)), py[p] = float(where(rng));
    for (bool dbl : {false, true}) {
      std::int32_t nInside = -7, expected = 0;
      const std::vector<std::int32_t> flags = flagPoints(dbl, region, px, py, nInside);
      for (std::size_t p = 0; p < px.size(); ++p) {
        const int o = oracle(rings, px[p], py[p], sx, sy);
        expected += flags[p];
        EXPECT_EQ(o < 0 ? o : flags[p], o) << "point " << px[p] << "," << py[p];
      }
      EXPECT_EQ(nInside, expected);
    }
  }
}

TEST(Marking, TrianglesInterpolateALinearField) {
  auto field = [](double x, double y) { return static_cast<float>(3.0 + 0.25 * x - 0.5 * y); };
  const Ring tri = {{2, 3}, {57, 8}, {21, 49}};
  const std::vector<float> z = {field(2, 3), field(57, 8), field(21, 49)};
  for (bool dbl : {false, true}) {
    Grids g(6, 6);
    Marking m;
    m.dbl = dbl;
    m.setValues = true;
    m.constantValue = false;
    m.z = z;
    const std::int32_t marked = mark(g, Region({tri}), m);
    EXPECT_GT(marked, 5);
    for (std::int32_t j = 1; j <= 6; ++j)
      for (std::int32_t i = 1; i <= 6; ++i)
        if (g.at(j, i) == 1) {
          EXPECT_NEAR(g.reals[g.k(j, i)], field(i * 10, j * 10), 1e-4) << j << "," << i;
        }
    // More than three corners: marked, but no value.
    Grids q(6, 6);
    EXPECT_EQ(mark(q, Region({kSquare30}), m), 9);
    EXPECT_EQ(q.reals, std::vector<float>(36, 0.0f));
  }
  // The points: flag, then set; a point where the interpolation fails stays.
  const Region region({tri});
  std::vector<double> px = {20, 30, 50, 32}, py = {20, 10, 40, 50};
  std::int32_t nInside = 0;
  std::vector<std::int32_t> flags = flagPoints(true, region, px, py, nInside);
  EXPECT_EQ(flags, std::vector({1, 1, 0, 0}));
  flags[3] = 1;  // on the line through V3 parallel to V1-V2: no crossing
  const double vx[3] = {2, 57, 21}, vy[3] = {3, 8, 49};
  std::vector<std::int32_t> ints(4, 5);
  std::vector<float> reals(4, -1.0f);
  grid_inside_polygon_points_set({flags.data(), 4}, {px.data(), 4}, {py.data(), 4}, {ints.data(), 4},
                                 {reals.data(), 4}, 4, false, false, 0, false, {vx, 3}, {vy, 3}, {z.data(), 3}, 5);
  EXPECT_NEAR(reals[0], field(20, 20), 1e-4);
  EXPECT_NEAR(reals[1], field(30, 10), 1e-4);
  EXPECT_EQ(std::vector({reals[2], reals[3]}), std::vector({-1.0f, -1.0f}));
  EXPECT_EQ(ints, std::vector(4, 5));
  grid_inside_polygon_points_set({flags.data(), 4}, {px.data(), 4}, {py.data(), 4}, {ints.data(), 4},
                                 {reals.data(), 4}, 4, true, false, -2.5f, true, {vx, 3}, {vy, 3}, {z.data(), 3}, 5);
  EXPECT_EQ(ints, std::vector({2, 2, 5, 2}));
}

TEST(Marking, TriangleInterpolationWithoutChecks) {
  const float x[3] = {0, 10, 0}, y[3] = {0, 0, 10}, z[3] = {1, 2, 7};
  const double xd[3] = {0, 10, 0}, yd[3] = {0, 0, 10};
  struct Case {
    float px, py, z;
  };
  // (5, 10): V3-P runs parallel to V1-V2 (m3 = m12), which gives Z3.
  for (const Case& c : {Case{0, 0, 1}, {10, 0, 2}, {0, 10, 7}, {5, 0, 1.5f}, {2, 3, 1 + 0.2f + 1.8f}, {5, 10, 7}}) {
    float zs = -1, zd = -1;
    INTERPOLATE_TRIANGLE_NO_CHECKS(c.px, c.py, {x, 3}, {y, 3}, {z, 3}, zs);
    INTERPOLATE_TRIANGLE_NO_CHECKS_8(c.px, c.py, {xd, 3}, {yd, 3}, {z, 3}, zd);
    EXPECT_NEAR(zs, c.z, 1e-5) << c.px << "," << c.py;
    EXPECT_NEAR(zd, c.z, 1e-5) << c.px << "," << c.py;
  }
}

}  // namespace
}  // namespace quenzel
