#pragma once
// Grid-line walkers: the cells of a regular grid that a straight segment
// passes through, listed from the segment's first end to its second.
//
// Coordinates are in the grid's frame (moved to its origin and turned by its
// angle, GEO_SHIFT). Cell (j, i) is row j along y and column i along x, both
// from 1; a coordinate c lies in index INT(c / size) + 1, INT cutting toward
// zero, so -size < c < size all fall into index 1. Everything runs in single
// precision and nothing is allocated: the cells go into the caller's J (rows)
// and I (columns), at most maxCells of them. A segment that needs more ends
// the run ("SORRY - Exceeded limit of ...").
#include <cstdint>

#include "common/one_based.h"

namespace quenzel {

using CellIndices = OneBasedView<std::int32_t>;

// One cell per row (or column) along the segment's dominant direction (rows
// when |y2 - y1| > |x2 - x1|): the cell where the segment truly crosses that
// row's (column's) centre line. At the two end rows (columns) a segment that
// crosses none gives its end cell when it truly crosses the end cell's
// perpendicular centre line within the row. Cells clipped only at a corner
// are not listed. jOffset, iOffset are added to every cell listed for a real
// segment. pointOnly: the first end's cell once, without offsets. A segment
// shorter than 1e-4 on both axes lists nothing (n = 0), J(1), I(1) holding the
// first end's cell. With n = 0 the four first/last indices are left as they
// were, except in those two cases.
void gridline_5(float x1, float y1, float x2, float y2, bool pointOnly, float dx, float dy,
                std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells, std::int32_t jOffset,
                std::int32_t iOffset);

// As gridline_5, but the end cells come from the crossing of the segment with
// the end column's (row's) whole centre line, which may list a cell out of
// order or twice.
void gridlineSegment(float x1, float y1, float x2, float y2, bool pointOnly, float dx, float dy,
                     std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                     std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells,
                     std::int32_t jOffset, std::int32_t iOffset);

// The earlier walker: the span of rows and of columns whose centre lines the
// segment crosses or touches; along the longer span, one cell per row
// (column), placed where the segment's line meets its centre line. n = 0 with
// all four indices 0 when no centre line is met; a segment shorter than 1e-4
// gives its first end's cell once.
void gridline(float x1, float y1, float x2, float y2, float dx, float dy, std::int32_t& jFirst,
              std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast, std::int32_t& n, CellIndices J,
              CellIndices I, std::int32_t maxCells);

// Steps between cells (a1, b1) and (a2, b2): nSteps = m + 1 with m the larger
// index difference, and the lengths lenA, lenB shared out over m steps (both
// steps 0 when the cells are the same).
void gridlineSteps(std::int32_t a1, std::int32_t b1, std::int32_t a2, std::int32_t b2, std::int32_t& nSteps,
                   float& stepA, float& stepB, float lenB, float lenA);

}  // namespace quenzel
