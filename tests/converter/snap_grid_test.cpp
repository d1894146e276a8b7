// The snapping grid against the scan it replaces: the first point in read
// order within the tolerance, strictly, in both coordinates.
#include "converter/snap_grid.h"

#include "converter/to_breaklines_3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quenzel {
namespace {

const double kTol = static_cast<double>(0.001f);  // 0.0010000000474975

int scan(const std::vector<double>& x, const std::vector<double>& y, double px, double py) {
  for (std::size_t k = 0; k < x.size(); ++k)
    if (std::fabs(x[k] - px) < kTol && std::fabs(y[k] - py) < kTol) return static_cast<int>(k + 1);
  return 0;
}

// Every vertex asked of the grid and of a scan; both outcomes must occur.
void expectSameAsScan(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& vx,
                      const std::vector<double>& vy, bool anyFound = true) {
  SnapGrid g;
  OneBasedView<const double> px(x.data(), x.size()), py(y.data(), y.size());
  buildSnapGrid(g, px, py, static_cast<int>(x.size()), kTol);
  std::size_t found = 0;
  for (std::size_t i = 0; i < vx.size(); ++i) {
    const int want = scan(x, y, vx[i], vy[i]);
    ASSERT_EQ(snapGridFirstWithin(g, px, py, vx[i], vy[i]), want) << "vertex " << vx[i] << ", " << vy[i];
    found += want != 0;
  }
  EXPECT_EQ(found > 0, anyFound);
  EXPECT_LT(found, vx.size());
}

// Points at exactly +-0.001 and +-0.00100000004 from vertices near
// x = 6,000,000 (many at cell edges), three per vertex on average, read in
// random order so that a lower-numbered point often lies in a neighbouring
// cell; then a random clustered case.
TEST(SnapGrid, SameAsAScanAtTheToleranceAndOnARandomCase) {
  const double offsets[] = {0.0, 0.001, -0.001, 0.00100000004, -0.00100000004, 0.0009999, -0.0009999, 0.0005};
  std::mt19937_64 rng(7);
  std::vector<double> vx, vy, x, y;
  for (int v = 0; v < 400; ++v) {
    vx.push_back(6000000.0 + 0.004 * v + (v % 3 == 0 ? 0.0 : 0.0017 * (v % 7)));
    vy.push_back(1500000.0 - 0.004 * (v % 11));
  }
  for (int k = 0; k < 1200; ++k) {
    const std::size_t v = rng() % vx.size();
    x.push_back(vx[v] + offsets[rng() % 8]);
    y.push_back(vy[v] + offsets[rng() % 8]);
  }
  expectSameAsScan(x, y, vx, vy);

  std::uniform_real_distribution<double> centre(-0.02, 0.02), near(-0.0025, 0.0025);
  x.clear(), y.clear(), vx.clear(), vy.clear();
  for (int k = 0; k < 20000; ++k) {
    x.push_back(6000000.0 + centre(rng));
    y.push_back(-30.0 + centre(rng));
  }
  for (int k = 0; k < 20000; ++k) {
    const std::size_t p = rng() % x.size();
    vx.push_back(x[p] + near(rng));
    vy.push_back(y[p] + near(rng));
  }
  expectSameAsScan(x, y, vx, vy);
}

// No points at all; points so far out that their cells saturate.
TEST(SnapGrid, NoPointsAndFarCoordinates) {
  expectSameAsScan({}, {}, {0.0}, {0.0}, false);
  expectSameAsScan({1e300, -1e300, 5.0, 5.0}, {1e300, 1.0, 5.0005, 5.0}, {1e300, -1e300, 5.0, 5.0, 7.0},
                   {1e300, 1.0, 5.0, 4.999, 7.0});
}

// The conversion's own search: strictly within 0.001 taken in single
// precision and widened, so 0.001 itself (a shade less) snaps and the widened
// value does not. Near the origin the differences are exact.
TEST(SnapGrid, VertexSnapsStrictlyWithinTheWidenedTolerance) {
  static BreaklinePoints points;
  const double t = kZlnSnapTolerance;
  const struct {
    double dx, dy;
    bool snaps;
  } rows[] = {{t, 0.0, false}, {0.0, -t, false}, {0.001, -0.001, true}, {-0.0009, 0.0009, true}, {0.0, 0.0011, false}};
  for (const auto& r : rows) {
    points.count = 1;
    points.x(1) = r.dx;
    points.y(1) = r.dy;
    points.z(1) = 7.5f;
    points.snapped(1) = false;
    zlnIndexPoints(points);
    float h = 0.0f;
    EXPECT_EQ(zln_snap_vertex(0.0, 0.0, -1.0f, points, h), r.snaps) << r.dx << ", " << r.dy;
    EXPECT_EQ(h, r.snaps ? 7.5f : -1.0f);
    EXPECT_EQ(points.snapped(1), r.snaps);
  }
}

}  // namespace
}  // namespace quenzel
