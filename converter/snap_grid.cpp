#include "converter/snap_grid.h"

#include <cmath>

#include "common/int_truncate.h"

namespace quenzel {
namespace {

// Cells four tolerances wide: two positions closer than the tolerance then
// lie in the same or in neighbouring cells whatever the rounding of the
// divisions, so the 3 x 3 cells around a position hold every candidate.
constexpr double kCellsPerTolerance = 4.0;

std::uint64_t hashCell(std::int64_t ix, std::int64_t iy) {
  std::uint64_t h = static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ULL;
  h ^= static_cast<std::uint64_t>(iy) + 0x7F4A7C159E3779B9ULL + (h << 6) + (h >> 2);
  h ^= h >> 31;
  h *= 0xBF58476D1CE4E5B9ULL;
  return h ^ (h >> 29);
}

std::int64_t cellOf(double v, double cellSize) { return floorSaturated64(v / cellSize); }

// The slot of cell (ix, iy): its own, or the empty one where it would go.
std::size_t slotOf(const SnapGrid& g, std::int64_t ix, std::int64_t iy) {
  const std::size_t mask = g.table.size() - 1;
  std::size_t s = hashCell(ix, iy) & mask;
  while (g.table[s].count != 0 && (g.table[s].ix != ix || g.table[s].iy != iy)) s = (s + 1) & mask;
  return s;
}

}  // namespace

void buildSnapGrid(SnapGrid& g, OneBasedView<const double> x, OneBasedView<const double> y, int count,
                   double tolerance) {
  g.tolerance = tolerance;
  g.cellSize = tolerance > 0.0 ? tolerance * kCellsPerTolerance : 1.0;
  std::size_t size = 16;
  while (size < 2 * static_cast<std::size_t>(count > 0 ? count : 0)) size *= 2;
  g.table.assign(size, SnapGrid::Cell{});
  g.points.assign(static_cast<std::size_t>(count > 0 ? count : 0), 0);

  // Count the points of each cell, remembering each point's slot.
  std::vector<std::uint32_t> slotOfPoint(g.points.size());
  for (int k = 1; k <= count; ++k) {
    const std::int64_t ix = cellOf(x(k), g.cellSize);
    const std::int64_t iy = cellOf(y(k), g.cellSize);
    const std::size_t s = slotOf(g, ix, iy);
    SnapGrid::Cell& c = g.table[s];
    c.ix = ix;
    c.iy = iy;
    ++c.count;
    slotOfPoint[static_cast<std::size_t>(k - 1)] = static_cast<std::uint32_t>(s);
  }
  int next = 0;
  for (SnapGrid::Cell& c : g.table) {
    c.first = next;
    next += c.count;
  }
  // Points go in in read order, so every cell's list is ascending.
  std::vector<int> filled(g.table.size(), 0);
  for (int k = 1; k <= count; ++k) {
    const std::size_t s = slotOfPoint[static_cast<std::size_t>(k - 1)];
    g.points[static_cast<std::size_t>(g.table[s].first + filled[s]++)] = k;
  }
}

int snapGridFirstWithin(const SnapGrid& g, OneBasedView<const double> x, OneBasedView<const double> y, double px,
                        double py) {
  if (g.points.empty()) return 0;
  const std::int64_t ix = cellOf(px, g.cellSize);
  const std::int64_t iy = cellOf(py, g.cellSize);
  int best = 0;
  for (std::int64_t dx = -1; dx <= 1; ++dx) {
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
      const SnapGrid::Cell& c = g.table[slotOf(g, ix + dx, iy + dy)];
      for (int j = c.first; j < c.first + c.count; ++j) {
        const int k = g.points[static_cast<std::size_t>(j)];
        if (best != 0 && k >= best) break;
        if (std::fabs(x(k) - px) < g.tolerance && std::fabs(y(k) - py) < g.tolerance) {
          best = k;
          break;
        }
      }
    }
  }
  return best;
}

}  // namespace quenzel
