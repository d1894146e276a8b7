// The snapping grid against the scan it replaces: the first point in read
// order within the tolerance, strictly, in both coordinates.
#include "converter/snap_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
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

struct Case {
  std::vector<double> x, y;   // points in read order
  std::vector<double> vx, vy; // vertices asked for
};

void expectSameAsScan(const Case& c) {
  SnapGrid g;
  OneBasedView<const double> x(c.x.data(), c.x.size()), y(c.y.data(), c.y.size());
  buildSnapGrid(g, x, y, static_cast<int>(c.x.size()), kTol);
  int found = 0;
  for (std::size_t i = 0; i < c.vx.size(); ++i) {
    const int want = scan(c.x, c.y, c.vx[i], c.vy[i]);
    ASSERT_EQ(snapGridFirstWithin(g, x, y, c.vx[i], c.vy[i]), want)
        << "vertex " << i << " at " << c.vx[i] << ", " << c.vy[i];
    found += want != 0;
  }
  // The cases are built so that both outcomes occur often.
  EXPECT_GT(found, 0);
  EXPECT_LT(found, static_cast<int>(c.vx.size()));
}

// Points at exactly +-0.001 and +-0.00100000004 from vertices near
// x = 6,000,000 (and at cell edges), several per vertex in shuffled read
// order, so that a lower-numbered point often lies in a neighbouring cell.
TEST(SnapGrid, OffsetsAtTheToleranceMatchTheScan) {
  const double offsets[] = {0.0, 0.001, -0.001, 0.00100000004, -0.00100000004, 0.0009999, -0.0009999, 0.0005};
  std::mt19937_64 rng(7);
  Case c;
  for (int v = 0; v < 400; ++v) {
    const double bx = 6000000.0 + 0.004 * v + (v % 3 == 0 ? 0.0 : 0.0017 * (v % 7));
    const double by = 1500000.0 - 0.004 * (v % 11);
    c.vx.push_back(bx);
    c.vy.push_back(by);
    for (int k = 0; k < 3; ++k) {
      c.x.push_back(bx + offsets[rng() % 8]);
      c.y.push_back(by + offsets[rng() % 8]);
    }
  }
  std::vector<std::size_t> order(c.x.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::shuffle(order.begin(), order.end(), rng);
  Case shuffled{{}, {}, c.vx, c.vy};
  for (std::size_t k : order) {
    shuffled.x.push_back(c.x[k]);
    shuffled.y.push_back(c.y[k]);
  }
  expectSameAsScan(shuffled);
}

TEST(SnapGrid, RandomClusteredCaseMatchesTheScan) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> centre(-2.0, 2.0), near(-0.0025, 0.0025);
  Case c;
  for (int k = 0; k < 20000; ++k) {
    c.x.push_back(6000000.0 + centre(rng) * 0.01);
    c.y.push_back(-30.0 + centre(rng) * 0.01);
  }
  for (int k = 0; k < 20000; ++k) {
    const std::size_t p = rng() % c.x.size();
    c.vx.push_back(c.x[p] + near(rng));
    c.vy.push_back(c.y[p] + near(rng));
  }
  expectSameAsScan(c);
}

TEST(SnapGrid, NoPointsAndFarCoordinates) {
  SnapGrid g;
  OneBasedView<const double> none;
  buildSnapGrid(g, none, none, 0, kTol);
  EXPECT_EQ(snapGridFirstWithin(g, none, none, 0.0, 0.0), 0);
  const std::vector<double> x = {1e300, -1e300, 5.0, 5.0}, y = {1e300, 1.0, 5.0005, 5.0};
  OneBasedView<const double> vx(x.data(), x.size()), vy(y.data(), y.size());
  buildSnapGrid(g, vx, vy, 4, kTol);
  EXPECT_EQ(snapGridFirstWithin(g, vx, vy, 1e300, 1e300), 1);
  EXPECT_EQ(snapGridFirstWithin(g, vx, vy, -1e300, 1.0), 2);
  EXPECT_EQ(snapGridFirstWithin(g, vx, vy, 5.0, 5.0), 3);
  EXPECT_EQ(snapGridFirstWithin(g, vx, vy, 5.0, 4.999), 4);
}

}  // namespace
}  // namespace quenzel
