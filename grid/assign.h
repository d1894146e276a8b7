#pragma once
// Assignment of GIS objects to the cells of a regular, turned grid: one
// object per call, its value (the first field of its attribute record) put
// into the cell a point falls in, the cells a line crosses, or the cells (or
// cell-side and corner points) a region covers.
//
// Grid frame: origin (x0, y0), u axis along (cos(angle), sin(angle)); cell
// (j, i) of the nJ x nI sub-grid covers u in [(i-1)dx, i dx), v in
// [(j-1)dy, j dy) and is stored at array element (j + jOffset, i + iOffset)
// of the caller's nRows x nCols arrays (row index fastest). The x-side point
// of a cell is the middle of its high-u side, the y-side point the middle of
// its high-v side, its corner point the high-u, high-v corner.
//
// A caller assigns a whole layer by calling while gisLayerEoF(gisID) is
// false. Each call writes one progress line. Values become NINT(value) in
// integer mode. Fatal: a record whose first field is no number (ERROR 2148).
// An object other than a point, multipoint, line, polyline or region is read
// past with WARNING 2073 and nothing assigned.
//
// Modes: sidePoints writes the x- and y-side points instead of the centres
// (for points and lines in real mode: the four sides of each cell, added
// with addValues, halved with halveSideValues); centreAndSidePoints gives
// regions centres and both sides; countAllPoints counts a region's centre,
// side and corner points and writes nothing. Only side mode adds for points
// and lines; regions add wherever addValues is set.
#include <cstdint>

#include "common/geometry.h"
#include "gis/gis_data.h"
#include "grid/inside_region.h"

namespace quenzel {

// The next object of input layer gisID; nAssigned gets the cells or points
// of its last section (unchanged when nothing was assigned).
void gisAssignObjectsToGrid(std::int32_t gisID, std::int32_t nJ, std::int32_t nI, std::int32_t jOffset,
                            std::int32_t iOffset, float dx, float dy, double x0, double y0, float angle,
                            bool integerValues, bool countAllPoints, bool sidePoints, bool centreAndSidePoints,
                            bool halveSideValues, IntGrid cellInt, IntGrid xSideInt, IntGrid ySideInt,
                            RealGrid cellReal, RealGrid xSideReal, RealGrid ySideReal, std::int32_t nRows,
                            std::int32_t nCols, bool addValues, std::int32_t& nAssigned);

// As gisAssignObjectsToGrid, on the caller's record obj. readLayer: the next
// object of the layer, its value read only with readValue. Otherwise the
// object obj describes with vertices X(1..n), Y(1..n) (single-object mode:
// one assignment whatever obj.nsect says; n outside 0..100000 is an internal
// error). Without a read the value is the one setAssignValue (or the last
// read) left. The window of the last section comes back: a point's cells;
// a line's 2, n as rows and 1, the last segment's cell count as columns; a
// region's last pass's window. regionMask gets a region's inside mask (an
// empty view takes none).
void gisAssignObjectsToGrid2(std::int32_t gisID, gisObject& obj, std::int32_t nJ, std::int32_t nI,
                             std::int32_t jOffset, std::int32_t iOffset, float dx, float dy, double x0, double y0,
                             float angle, bool integerValues, bool countAllPoints, bool sidePoints,
                             bool centreAndSidePoints, bool halveSideValues, IntGrid cellInt, IntGrid xSideInt,
                             IntGrid ySideInt, RealGrid cellReal, RealGrid xSideReal, RealGrid ySideReal,
                             std::int32_t nRows, std::int32_t nCols, bool addValues, bool readValue, bool readLayer,
                             ConstDoubles X, ConstDoubles Y, std::int32_t n, double xLabel, double yLabel,
                             float length, std::int32_t& nAssigned, std::int32_t& jFirst, std::int32_t& iFirst,
                             std::int32_t& jLast, std::int32_t& iLast, ByteGrid regionMask);

// The value gisAssignObjectsToGrid2 assigns when it reads none.
void setAssignValue(float value);

}  // namespace quenzel
