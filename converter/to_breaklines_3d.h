#pragma once
// 3D breaklines from a layer of height points and a layer of lines: every
// line vertex that lies on a point takes its height, the vertices between
// two such vertices are interpolated by chainage.
#include "common/one_based.h"
#include "converter/snap_grid.h"

namespace quenzel {

inline constexpr int kZlnMaxPoints = 1000000;
// Within this of a vertex in x and in y (strictly) a point snaps: 0.001 in
// single precision, widened.
inline constexpr double kZlnSnapTolerance = static_cast<double>(0.001f);

// The points read, in read order, with the snapping grid over them.
struct BreaklinePoints {
  OneBased<double> x{kZlnMaxPoints, 0.0};
  OneBased<double> y{kZlnMaxPoints, 0.0};
  OneBased<float> z{kZlnMaxPoints, 0.0f};
  OneBased<bool> snapped{kZlnMaxPoints, false};
  int count = 0;
  SnapGrid grid;
};

// Builds the snapping grid over points 1..count; run once the points are read.
void zlnIndexPoints(BreaklinePoints& points);

// The first point in read order within the tolerance of (x, y) gives its
// height and is marked snapped (true); without one the height is
// defaultHeight (false).
bool zln_snap_vertex(double x, double y, float defaultHeight, BreaklinePoints& points, float& height);

}  // namespace quenzel
