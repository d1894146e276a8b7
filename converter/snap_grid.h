#pragma once
// A hash grid over a fixed set of points that answers, for a position, the
// first point in read order whose x and y both differ from it by strictly
// less than a tolerance: exactly what a scan of the points 1..count in order
// would find, without visiting every point.
#include <cstdint>
#include <vector>

#include "common/one_based.h"

namespace quenzel {

struct SnapGrid {
  struct Cell {
    std::int64_t ix = 0;
    std::int64_t iy = 0;
    int first = 0;  // position of the cell's first point in `points`
    int count = 0;  // 0: an empty slot of the table
  };
  double tolerance = 0.0;
  double cellSize = 1.0;
  std::vector<Cell> table;  // open addressing, a power of two long
  std::vector<int> points;  // point numbers, cell after cell, ascending within each
};

// Builds the grid over points 1..count of x and y.
void buildSnapGrid(SnapGrid& grid, OneBasedView<const double> x, OneBasedView<const double> y, int count,
                   double tolerance);

// The lowest point number k with |x(k) - px| < tolerance and
// |y(k) - py| < tolerance (differences in double precision); 0 when none.
int snapGridFirstWithin(const SnapGrid& grid, OneBasedView<const double> x, OneBasedView<const double> y, double px,
                        double py);

}  // namespace quenzel
