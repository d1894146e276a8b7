#include "common/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/constants.h"
#include "common/int_truncate.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

using Ring = std::vector<std::pair<double, double>>;
using Rings = std::vector<Ring>;
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

// A region in the stored layout: every ring closed and followed by a copy of
// its second vertex, ir holding the closing positions.
template <class T>
struct Region {
  std::vector<T> x, y;
  std::vector<std::int32_t> ir;
  explicit Region(const Rings& rings) {
    for (const Ring& ring : rings) {
      for (const auto& p : ring) add(p);
      add(ring[0]);
      ir.push_back(static_cast<std::int32_t>(x.size()));
      add(ring[1]);
    }
  }
  void add(std::pair<double, double> p) {
    x.push_back(static_cast<T>(p.first));
    y.push_back(static_cast<T>(p.second));
  }
  std::int32_t n() const { return static_cast<std::int32_t>(x.size()); }
  OneBasedView<const T> X() const { return {x.data(), x.size()}; }
  OneBasedView<const T> Y() const { return {y.data(), y.size()}; }
  RingEnds Ir() const { return {ir.data(), ir.size()}; }
};

enum Member { kSingle, kDouble, kEdge };
bool inside(Member m, const Rings& rings, double px, double py, double xmin, std::int32_t nr = -1) {
  Region<float> f(rings);
  Region<double> d(rings);
  if (nr < 0) nr = static_cast<std::int32_t>(d.ir.size());
  if (m == kSingle) return INSIDE_POLYGON(float(px), float(py), f.X(), f.Y(), f.n(), float(xmin), f.Ir(), nr);
  if (m == kDouble) return INSIDE_POLYGON_8(px, py, d.X(), d.Y(), d.n(), xmin, d.Ir(), nr);
  return INSIDE_POLYGON_EDGE_8(px, py, d.X(), d.Y(), d.n(), xmin, d.Ir(), nr);
}
void expectInside(const Rings& rings, double px, double py, bool expected, double xmin = 0) {
  for (Member m : {kSingle, kDouble, kEdge})
    EXPECT_EQ(inside(m, rings, px, py, xmin), expected) << "member " << m << " at " << px << "," << py;
}

const Ring kTriangle = {{0, 0}, {4, 0}, {0, 4}};
const Ring kSquare = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};

TEST(Geometry, DistancesAreZeroOnlyBelowTheToleranceOnBothAxes) {
  EXPECT_EQ(DISTANCE(0, 0, 5e-7f, 5e-7f), 0.0f);
  EXPECT_EQ(DISTANCE(0, 0, 5e-7f, 2e-6f), std::sqrt(5e-7f * 5e-7f + 2e-6f * 2e-6f));
  EXPECT_EQ(DISTANCE(1, 1, 4, 5), 5.0f);
  EXPECT_EQ(VECTOR_MAGNITUDE(1e-6f, -1e-6f), 0.0f);
  // Far from the origin the double member keeps the difference; the single one
  // sees coordinates already rounded to steps of 0.5.
  EXPECT_EQ(DISTANCE_8(6123456.1, 0, 6123456.3, 0), static_cast<float>(6123456.3 - 6123456.1));
  EXPECT_EQ(DISTANCE(6123456.1f, 0, 6123456.3f, 0), 0.5f);
  EXPECT_EQ(CIRCLE_WIDTH(2, 1), 2.0f * std::sqrt(3.0f));
  EXPECT_EQ(CIRCLE_WIDTH(2, 4), 0.0f);
  EXPECT_EQ(CIRCLE_WIDTH(2, 0), 0.0f);
}

TEST(Geometry, TolerancesAreStrictAndZeroIsNotNegative) {
  EXPECT_FALSE(SAME_POINT(0, 0, 0, 1e-4f, 1e-4f));
  EXPECT_TRUE(SAME_POINT(5, 5, 5, 5.00001f, 1e-4f));
  EXPECT_TRUE(SAMESIGN(0, 0));
  EXPECT_FALSE(SAMESIGN(0, -1));
}

TEST(Geometry, SegmentMeetingCodes) {
  struct Case {
    float s[8];
    std::int32_t code;
  } cases[] = {
      {{0, 0, 2, 0, 1, -1, 1, 1}, kSegmentsCross},         {{0, 0, 2, 0, 1, 1, 1, 3}, kCrossingOnFirstOnly},
      {{0, 0, 2, 0, 0, 1, 2, 1}, kLinesParallel},          {{0, 0, 2, 0, 3, 0, 5, 0}, kLinesCollinear},
      {{1, 0, 3, 0, 1, -1, 1, 1}, kCrossingOnSecondOnly},  // at point 1: out of range
      {{0, 0, 1, 0, 1, -1, 1, 1}, kSegmentsCross},         // at point 2: in range
      {{0, 0, 1, 0, 3, -1, 3, -0.5f}, kCrossingOnNeither},
  };
  for (const Case& c : cases) {
    const float* s = c.s;
    EXPECT_EQ(INTERSECT_LINE_V2(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]), c.code) << c.code;
    EXPECT_EQ(INTERSECT_LINE_V2_8(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]), c.code) << c.code;
  }
  EXPECT_TRUE(INTERSECT_LINE(0, 0, 1, 0, 1, 0, 1, 1));  // touching at an end
  EXPECT_TRUE(INTERSECT_LINE_8(0, 0, 2, 2, 0, 2, 2, 0));
  EXPECT_FALSE(INTERSECT_LINE(0, 0, 1, 0, 2, -1, 2, 1));
}

TEST(Geometry, CrossingPointOfTwoLines) {
  float xi = 7, yi = 8;
  EXPECT_FALSE(INTERSECTION_POINT(1, 0, 1, 5, 2, 0, 2, 5, xi, yi));  // both vertical
  EXPECT_FALSE(INTERSECTION_POINT(0, 0, 1, 1, 0, 1, 1, 2, xi, yi));  // equal slopes
  EXPECT_EQ(std::make_pair(xi, yi), std::make_pair(7.0f, 8.0f));
  EXPECT_TRUE(INTERSECTION_POINT(1, 0, 1, 5, 0, 0, 2, 2, xi, yi));
  EXPECT_EQ(std::make_pair(xi, yi), std::make_pair(1.0f, 1.0f));
  double xd = 0, yd = 0;
  for (double x3 : {0.0, 1.0}) {  // a sloping and a vertical second line
    EXPECT_TRUE(INTERSECTION_POINT_8(0, 0, 2, 2, x3, 2 - 3 * x3, 2 - x3, 5 * x3, xd, yd));
    EXPECT_EQ(std::make_pair(xd, yd), std::make_pair(1.0, 1.0));
  }
}

TEST(Geometry, InsideTriangleSquareAndHole) {
  expectInside({kTriangle}, 1, 1, true);
  expectInside({kTriangle}, 3, 3, false);
  expectInside({kTriangle}, 1, 4, false);  // the ray's line only touches the vertex (0, 4)
  const Rings holed = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{3, 3}, {7, 3}, {7, 7}, {3, 7}}};
  for (auto [px, py, in] :
       {std::tuple{5, 5, false}, {1, 5, true}, {8, 5, true}, {5, 1, true}, {11, 5, false}})
    expectInside(holed, px, py, in);
}

TEST(Geometry, RingWhoseFirstEdgeLiesOnTheRayTakesItsOwnArrivalSide) {
  // A 6 x 4 rectangle with its lower-left 2 x 2 corner cut out, starting on
  // y = 2: its first edge lies on the ray's line. The boundary comes down from
  // y = 4 and leaves downwards, one crossing at x = 0..2.
  const Ring notched = {{0, 2}, {2, 2}, {2, 0}, {6, 0}, {6, 4}, {0, 4}};
  const Ring mirrored = {{0, 2}, {2, 2}, {2, 4}, {6, 4}, {6, 0}, {0, 0}};
  // Ahead of it, a ring whose last edge ending on the line comes from below.
  const Ring before = {{20, 0}, {24, 0}, {22, 2}};
  for (int round = 0; round < 2; ++round) {
    expectInside({notched}, 4, 2, true);
    expectInside({mirrored}, 4, 2, true);
    expectInside({before, notched}, 4, 2, true);
    expectInside({before, notched}, 7, 2, false);
  }
}

TEST(Geometry, FarFromTheOriginOnlyTheDoubleMembersSeeTheTenthOfAUnit) {
  const Rings far = {{{512345, 6123456}, {512355, 6123456}, {512345, 6123466}}};
  // In single precision 6123456.1 rounds onto the bottom edge.
  EXPECT_FALSE(inside(kSingle, far, 512347, 6123456.1, 512345));
  EXPECT_TRUE(inside(kDouble, far, 512347, 6123456.1, 512345));
  EXPECT_TRUE(inside(kEdge, far, 512347, 6123456.1, 512345));
}

TEST(Geometry, EdgeMemberTakesPointsOnEachEdgeButNotOnTheirExtensions) {
  for (auto [px, py] : {std::pair{2, 0}, {4, 2}, {2, 4}, {0, 2}, {0, 0}, {4, 4}})
    EXPECT_TRUE(inside(kEdge, {kSquare}, px, py, 0)) << px << "," << py;
  // Within an edge's length of its start, but on the far side of it.
  for (auto [px, py] : {std::pair{-1, 0}, {0, 5}}) EXPECT_FALSE(inside(kEdge, {kSquare}, px, py, -1)) << px;
}

TEST(Geometry, DegenerateRegionsAreOutside) {
  EXPECT_FALSE(inside(kDouble, {kSquare}, 2, 2, 0, 0));
  Region<double> sq({kSquare});
  EXPECT_FALSE(INSIDE_POLYGON_EDGE_8(2, 2, sq.X(), sq.Y(), 2, 0, sq.Ir(), 1));
}

class GeometryStop : public ::testing::Test {
 protected:
  void SetUp() override { INITUNITS(1000); }
  test::StopGuard stop;
};

TEST_F(GeometryStop, RingListEndingBeforeTheLastVertexEndsTheRun) {
  const Rings twoRings = {kSquare, {{20, 0}, {24, 0}, {24, 4}}};
  for (auto [m, tag] : {std::pair{kSingle, "[1]"}, {kDouble, "[2]"}, {kEdge, "[1]"}}) {
    test::ConsoleCapture con("\n");
    EXPECT_THROW(inside(m, twoRings, 2, 2, 0, 1), test::StopCalled);
    EXPECT_EQ(con.text(), "\nInvalid number of polygons in region sent to inside_polygon routine " +
                              std::string(tag) + " - contact " + std::string(kSupportAddress) +
                              "\n\nPress Enter to Close\n");
  }
}

TEST(Geometry, ConvexPolygonTakesItsEdgesAndInterior) {
  const double x[] = {0, 4, 4, 0, 0}, y[] = {0, 0, 4, 4, 0};
  const double rx[] = {0, 0, 4, 4, 0}, ry[] = {0, 4, 4, 0, 0};  // the other way round
  for (auto [X, Y] : {std::pair{x, y}, {rx, ry}}) {
    ConstDoubles vx(X, 5), vy(Y, 5);
    EXPECT_TRUE(INSIDE_CONVEX_POLYGON_8(2, 2, 4, vx, vy));
    EXPECT_TRUE(INSIDE_CONVEX_POLYGON_8(2, 0, 4, vx, vy));
    EXPECT_TRUE(INSIDE_CONVEX_POLYGON_8(0, 4, 4, vx, vy));
    EXPECT_FALSE(INSIDE_CONVEX_POLYGON_8(5, 2, 4, vx, vy));
    EXPECT_FALSE(INSIDE_CONVEX_POLYGON_8(-1, 0, 4, vx, vy));
    EXPECT_FALSE(INSIDE_CONVEX_POLYGON_8(2, 2, 1, vx, vy));
  }
}

TEST(Geometry, TriangleInterpolation) {
  const float x[] = {0, 4, 0}, y[] = {0, 0, 4}, z[] = {1, 3, 5};  // z = 1 + x/2 + y
  const double xd[] = {0, 4, 0}, yd[] = {0, 0, 4};
  ConstFloats X(x, 3), Y(y, 3), Z(z, 3);
  ConstDoubles Xd(xd, 3), Yd(yd, 3);
  float r = 0;
  struct Case {
    float px, py, z;
  } cases[] = {{0, 0, 1}, {2, 0, 2}, {1, 1, 2.5f}, {1, 2, 3.5f}};
  for (const Case& c : cases) {
    EXPECT_TRUE(INTERPOLATE_TRIANGLE(c.px, c.py, X, Y, Z, r));
    EXPECT_NEAR(r, c.z, 1e-6) << c.px << "," << c.py;
    EXPECT_TRUE(INTERPOLATE_TRIANGLE_8(c.px, c.py, Xd, Yd, Z, r));
    EXPECT_NEAR(r, c.z, 1e-6) << c.px << "," << c.py;
  }
  EXPECT_EQ((INTERPOLATE_TRIANGLE(0, 0, X, Y, Z, r), r), 1.0f);  // P = V1 exactly
  // V3-P parallel to V1-V2: no crossing point.
  EXPECT_FALSE(INTERPOLATE_TRIANGLE(2, 4, X, Y, Z, r));
  EXPECT_EQ(r, static_cast<float>(NO_VALUE));
  // V1 = V2, and the crossing falls on V3: both lengths vanish, means are taken.
  const float xs[] = {0, 0, 0}, ys[] = {0, 0, 4};
  EXPECT_TRUE(INTERPOLATE_TRIANGLE(1, 1, ConstFloats(xs, 3), ConstFloats(ys, 3), Z, r));
  EXPECT_EQ(r, 3.5f);
}

TEST(Geometry, ElementInterpolation) {
  const double x[] = {0, 4, 4, 0}, y[] = {0, 0, 4, 4};
  const float z[] = {0, 0, 0, 4};
  ConstDoubles X(x, 4), Y(y, 4);
  ConstFloats Z(z, 4);
  float r = 42;
  // (1, 2) lies in the triangles without vertex 2 (z = y - x) and without
  // vertex 3 (z = y): their mean.
  EXPECT_TRUE(INTERPOLATE_ELEMENT_8(1, 2, X, Y, Z, 4, 0, r));
  EXPECT_NEAR(r, 1.5f, 1e-5);
  EXPECT_FALSE(INTERPOLATE_ELEMENT_8(9, 9, X, Y, Z, 4, 0, r));
  EXPECT_EQ(r, static_cast<float>(NO_VALUE));
  r = 42;
  EXPECT_FALSE(INTERPOLATE_ELEMENT_8(1, 3, X, Y, Z, 3, 0, r));  // outside 1-2-3
  EXPECT_EQ(r, 42.0f);
  EXPECT_TRUE(INTERPOLATE_ELEMENT_8(3, 1, X, Y, Z, 3, 0, r));
  EXPECT_NEAR(r, 0.0f, 1e-6);
  r = 42;
  EXPECT_FALSE(INTERPOLATE_ELEMENT_8(1, 2, X, Y, Z, 5, 0, r));
  EXPECT_EQ(r, 42.0f);
}

TEST(Geometry, AreaAndAngle) {
  const double x[] = {0, 4, 4, 0, 0}, y[] = {0, 0, 4, 4, 0};
  EXPECT_EQ(POLYGON_AREA_8(ConstDoubles(x, 5), ConstDoubles(y, 5), 4), 16.0f);
  EXPECT_EQ(POLYGON_AREA_8(ConstDoubles(x, 5), ConstDoubles(y, 5), 5), 16.0f);
  EXPECT_EQ(POLYGON_AREA_8(ConstDoubles(x, 5), ConstDoubles(y, 5), 0), 0.0f);
  EXPECT_EQ(ANGLE2D(0, 0, 1, 0, 0, 0, 1, 1), 45.0f);
  EXPECT_NEAR(ANGLE2D(0, 0, 1, 0, 0, 0, -1, -0.01), 179.427, 1e-3);
  EXPECT_EQ(ANGLE2D(0, 0, 0, 1, 0, 0, 1, 0), 90.0f);  // a vertical line has its angle
  EXPECT_EQ(ANGLE2D(0, 0, 0, 0.5e-6, 0, 0, 1, 1), 0.0f);
  EXPECT_EQ(ANGLE2D(0, 0, 1, 1, 3, 3, 3, 3), 0.0f);
}

TEST(Geometry, HydraulicParametersCarryTheDirectionsSign) {
  struct Case {
    float x1, z1, x2, z2, wl, active, area, width, perimeter;
  } cases[] = {
      {0, 0, 2, 2, 1, 1, 0.5f, 1, std::sqrt(2.0f)},    // wet at the first end
      {0, 0, 2, 2, 1, 0, 0, 0, 0},                     // inactive
      {0, 0, 2, 2, 3, 1, 4, 2, std::sqrt(8.0f)},       // all wet
      {0, 0, 2, 2, -1, 1, 0, 0, 0},                    // dry
      {0, 2, 2, 0, 1, 1, 0.5f, 1, std::sqrt(2.0f)},    // wet at the second end
      {2, 2, 0, 0, 1, 1, -0.5f, -1, std::sqrt(2.0f)},  // right to left
      {2, 0, 0, 0, 1, 1, -2, -2, 2},
  };
  for (const Case& c : cases) {
    float a = 9, w = 9, p = 9;
    HYD_PARAM(c.x1, c.z1, c.x2, c.z2, c.wl, c.active, a, w, p);
    EXPECT_EQ(std::vector<float>({a, w, p}), std::vector<float>({c.area, c.width, c.perimeter}))
        << c.x1 << "," << c.z1 << " wl " << c.wl;
  }
  float a1, a2, w1, w2, p1, p2;
  HYD_PARAM2(0, 0, 1, 4, 4, 0, 1, a1, a2, w1, w2, p1, p2);
  EXPECT_EQ(std::vector<float>({a1, w1, a2, w2, p2}), std::vector<float>({0.5f, 1, 0, 0, 0}));
  HYD_PARAM2(0, 0, 1, 4, 4, 1, 3, a1, a2, w1, w2, p1, p2);
  EXPECT_EQ(std::vector<float>({a1, w1, a2, w2}), std::vector<float>({4, 2, 0.5f, 1}));
}

TEST(Geometry, GeoShiftSubtractsInDoubleBeforeRounding) {
  const double x[] = {512345.123}, y[] = {6123456.789};
  float u[1], v[1];
  OneBasedView<float> U(u, 1), V(v, 1);
  GEO_SHIFT(ConstDoubles(x, 1), ConstDoubles(y, 1), 1, 512000, 6123000, 0, U, V);
  EXPECT_EQ(u[0], static_cast<float>(512345.123 - 512000.0));
  EXPECT_EQ(v[0], static_cast<float>(6123456.789 - 6123000.0));
  EXPECT_NE(v[0], static_cast<float>(y[0]) - 6123000.0f);  // what single precision would give
  GEO_SHIFT(ConstDoubles(x, 1), ConstDoubles(y, 1), 1, 512000, 6123000, std::numbers::pi_v<float> / 2, U, V);
  EXPECT_NEAR(u[0], 456.789, 1e-4);
  EXPECT_NEAR(v[0], -345.123, 1e-4);
}

TEST(Geometry, SubGridWindow) {
  struct Case {
    std::vector<float> x, y;
    std::int32_t j1, i1, j2, i2;
  } cases[] = {
      {{25}, {25}, 3, 3, 3, 3},
      {{-5}, {5}, 1, 1, 1, 1},    // INT cuts toward zero
      {{-25}, {5}, 1, 1, 1, -1},  // only the first index is raised
      {{75}, {5}, 1, 8, 1, 5},    // only the last index is lowered
      {{12, 37, 20}, {3, 44, 60}, 1, 2, 5, 4},
      {{1e30f}, {-1e30f}, 1, kMaxInt, kMinInt + 1, 5},  // saturated
  };
  for (const Case& c : cases) {
    std::int32_t j1, i1, j2, i2;
    float xmin, ymin, xmax, ymax;
    auto n = static_cast<std::int32_t>(c.x.size());
    SET_SUB_GRID_AREA(ConstFloats(c.x.data(), c.x.size()), ConstFloats(c.y.data(), c.y.size()), n, 10, 5, 5,
                      j1, i1, j2, i2, xmin, ymin, xmax, ymax);
    EXPECT_EQ(std::vector<std::int32_t>({j1, i1, j2, i2}),
              std::vector<std::int32_t>({c.j1, c.i1, c.j2, c.i2}))
        << c.x[0];
    EXPECT_EQ(xmin, *std::min_element(c.x.begin(), c.x.end()));
    EXPECT_EQ(ymax, *std::max_element(c.y.begin(), c.y.end()));
  }
}

TEST(Geometry, IntegerTruncationSaturates) {
  EXPECT_EQ(intTowardZero(2.9), 2);
  EXPECT_EQ(intTowardZero(-2.9), -2);
  EXPECT_EQ(intTowardZero(2147483647.0), kMaxInt);
  EXPECT_EQ(intTowardZero(3e9), kMaxInt);
  EXPECT_EQ(intTowardZero(-2147483648.9), kMinInt);
  EXPECT_EQ(intTowardZero(-3e9), kMinInt);
  EXPECT_EQ(intTowardZero(std::nan("")), 0);
  EXPECT_EQ(cellIndexOf(3e9), kMaxInt);
}

}  // namespace
}  // namespace quenzel
