#pragma once
// Which cells of a regular grid, or which listed points, lie inside a region,
// and a value for them: an integer constant, a real constant, or a value
// interpolated over a triangular region.
//
// Regions are stored ring after ring, each ring closed and followed by a copy
// of its second vertex; ir(r) is the position of ring r's closing vertex (a
// triangle is n = 5, nr = 1). A region with vertices stored beyond its last
// listed ring ends the run. A region with n < 1 or nr < 1 marks and flags
// nothing.
//
// Grid arrays are (nRows, nCols), row index fastest. Cell (j, i) of the grid
// routines stands for the point (i*dx, j*dy) of the coordinates passed in;
// callers move a region by half a cell to test centres or side midpoints.
#include <cstdint>

#include "common/geometry.h"
#include "common/one_based.h"

namespace quenzel {

using ByteGrid = OneBasedView2D<std::uint8_t>;
using IntGrid = OneBasedView2D<std::int32_t>;
using RealGrid = OneBasedView2D<float>;

// Marks (mask = 1) every cell of the working window j1..j2 x i1..i2 whose
// point lies inside the region, by the parity of the region's crossings of
// the line y = j*dy left of x = i*dx: a vertex on that line counts as above
// it, a crossing at x = i*dx as not left. The window is the region's box in
// cells, no lower than max(1, jOffset) and max(1, iOffset), no higher than
// nRows and nCols; an empty window marks nothing. counts is work space (only
// the window is touched); clearMask first clears the window's mask, else
// earlier marks stay. With setValues a marked cell gets, set or added:
// integerValues: NINT(value) in intTargets; else constantValue: value in
// realTargets; else, for a triangle (n = 5) only, the value interpolated over
// Z at the cell's point. Unused target grids may be empty views. Coordinates,
// sizes and crossings in single precision.
void grid_inside_polygon(ByteGrid mask, ByteGrid counts, IntGrid intTargets, RealGrid realTargets,
                         std::int32_t nRows, std::int32_t nCols, float dx, float dy, std::int32_t jOffset,
                         std::int32_t iOffset, bool clearMask, bool setValues, bool integerValues,
                         bool constantValue, float value, bool addValues, std::int32_t& j1, std::int32_t& i1,
                         std::int32_t& j2, std::int32_t& i2, std::int32_t& nMarked, ConstFloats X, ConstFloats Y,
                         ConstFloats Z, std::int32_t n, RingEnds ir, std::int32_t nr);

// The same on double-precision coordinates and sizes; values and targets stay
// single.
void grid_inside_polygon_8(ByteGrid mask, ByteGrid counts, IntGrid intTargets, RealGrid realTargets,
                           std::int32_t nRows, std::int32_t nCols, double dx, double dy, std::int32_t jOffset,
                           std::int32_t iOffset, bool clearMask, bool setValues, bool integerValues,
                           bool constantValue, float value, bool addValues, std::int32_t& j1, std::int32_t& i1,
                           std::int32_t& j2, std::int32_t& i2, std::int32_t& nMarked, ConstDoubles X,
                           ConstDoubles Y, ConstFloats Z, std::int32_t n, RingEnds ir, std::int32_t nr);

// flags(p) = 1 for the points inside the region, 0 for the others; nInside
// counts the 1s. A point below or left of the region's box is outside
// without a test; an edge end at the point's height counts as not below it.
void grid_inside_polygon_points(OneBasedView<std::int32_t> flags, ConstFloats PX, ConstFloats PY,
                                std::int32_t np, std::int32_t& nInside, ConstFloats X, ConstFloats Y,
                                std::int32_t n, RingEnds ir, std::int32_t nr);
void grid_inside_polygon_points_8(OneBasedView<std::int32_t> flags, ConstDoubles PX, ConstDoubles PY,
                                  std::int32_t np, std::int32_t& nInside, ConstDoubles X, ConstDoubles Y,
                                  std::int32_t n, RingEnds ir, std::int32_t nr);

// Puts the value on every point whose flag is 1, by the rules of
// grid_inside_polygon; the triangle interpolation (n = 5) is
// INTERPOLATE_TRIANGLE_8 and leaves a point unchanged where it fails.
void grid_inside_polygon_points_set(OneBasedView<const std::int32_t> flags, ConstDoubles PX, ConstDoubles PY,
                                    OneBasedView<std::int32_t> intTargets, OneBasedView<float> realTargets,
                                    std::int32_t np, bool integerValues, bool constantValue, float value,
                                    bool addValues, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                                    std::int32_t n);

// Z(1..3) of the triangle V1 V2 V3 at P, through the crossing I of the lines
// V1-V2 and V3-P; P is expected inside the triangle. P on the line through V3
// parallel to V1-V2 gives Z(3).
void INTERPOLATE_TRIANGLE_NO_CHECKS(float px, float py, ConstFloats X, ConstFloats Y, ConstFloats Z, float& z);
// Geometry in double; the two length ratios are rounded to single and applied
// to the single values.
void INTERPOLATE_TRIANGLE_NO_CHECKS_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                                      float& z);

}  // namespace quenzel
