#pragma once
// Planar geometry on points given as separate x and y values.
//
// Most routines come in a single-precision member and a "_8" member that takes
// double-precision coordinates. Several "_8" members still compute or round in
// single precision; the comments say where. The precision is part of the
// result: inside/outside answers near an edge depend on it, so do not widen.
//
// Regions (the inside tests) are stored ring after ring, each ring closed (last
// vertex equals the first) and followed by a copy of its second vertex; ir(r)
// is the position of ring r's closing vertex and n = ir(nr) + 1. A triangle
// A, B, C is A, B, C, A, B with n = 5, nr = 1, ir(1) = 4.
#include <cstdint>
#include <string_view>

#include "common/one_based.h"

namespace quenzel {

using ConstFloats = OneBasedView<const float>;
using ConstDoubles = OneBasedView<const double>;
using RingEnds = OneBasedView<const std::int32_t>;

// Lengths below this count as zero. Widened where it meets a double quantity,
// so the single and double members share one threshold.
inline constexpr float kZeroLength = 1e-6f;
inline constexpr double kZeroLength8 = static_cast<double>(kZeroLength);

// --- Distances and lengths (results single) --------------------------------

// 0 when both |dx| and |dy| are below 1e-6.
float DISTANCE(float x1, float y1, float x2, float y2);
// Differences in double, rounded to single; the rest as DISTANCE.
float DISTANCE_8(double x1, double y1, double x2, double y2);
// 0 when both |x| and |y| are at most 1e-6.
float VECTOR_MAGNITUDE(float x, float y);
// Width of a circle of radius r at height d above its lowest point; 0 within
// 1e-5 of the bottom or the top.
float CIRCLE_WIDTH(float r, float d);

// --- Coincidence and side tests ---------------------------------------------

bool SAME_POINT(float x1, float y1, float x2, float y2, float tol);
bool SAME_POINT_8(double x1, double y1, double x2, double y2, double tol);
// Product of the sides of P and Q with respect to the line 1-2: above 0 same
// side, below 0 opposite sides, 0 when either lies on the line.
float SAME_SIDE(float x1, float y1, float x2, float y2, float px, float py, float qx, float qy);
// Each difference in double rounded to single, the products in single.
float SAME_SIDE_8(double x1, double y1, double x2, double y2, double px, double py, double qx, double qy);
// (B - A) x (C - A) in double, rounded to single; positive when C is left of A->B.
float CROSS_PRODUCT_8(double ax, double ay, double bx, double by, double cx, double cy);
// P on the infinite line through 1 and 2.
bool INTERSECT_POINT(float x1, float y1, float x2, float y2, float px, float py);
// False when exactly one of a and b is negative.
bool SAMESIGN(float a, float b);

// --- Segments and lines ------------------------------------------------------

// Segments 1-2 and 3-4 cross or touch.
bool INTERSECT_LINE(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
bool INTERSECT_LINE_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);

// How segment 1-2 meets segment 3-4, by the parameters ua (along 1-2) and ub
// (along 3-4) of the crossing of their lines; a parameter is in range when
// 0 < u <= 1.
enum : std::int32_t {
  kLinesCollinear = -1,
  kLinesParallel = 0,
  kCrossingOnFirstOnly = 1,
  kCrossingOnSecondOnly = 2,
  kSegmentsCross = 3,
  kCrossingOnNeither = 4,
};
std::int32_t INTERSECT_LINE_V2(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                               float y4);
std::int32_t INTERSECT_LINE_V2_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                 double y4);

// Crossing of the infinite lines 1-2 and 3-4, by slopes. False (xi, yi left
// as they are) for parallel lines.
bool INTERSECTION_POINT(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                        float& xi, float& yi);
bool INTERSECTION_POINT_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4, double& xi, double& yi);

// --- Point in region ---------------------------------------------------------
// Crossing parity along the horizontal ray from (xmin - 10, py) to P; xmin must
// not exceed the region's smallest x. False for n < 3 or nr < 1. A region with
// more vertices than its ring list covers ends the run.

bool INSIDE_POLYGON(float px, float py, ConstFloats X, ConstFloats Y, std::int32_t n, float xmin, RingEnds ir,
                    std::int32_t nr);
bool INSIDE_POLYGON_8(double px, double py, ConstDoubles X, ConstDoubles Y, std::int32_t n, double xmin,
                      RingEnds ir, std::int32_t nr);
// Ends the run for a region whose stored vertices go on after its last
// listed ring; the message names the routine family and its member's tag.
[[noreturn]] void invalidPolygonCount(std::string_view routine, std::string_view tag);
// As INSIDE_POLYGON_8, but a point on an edge (between its ends) is inside.
bool INSIDE_POLYGON_EDGE_8(double px, double py, ConstDoubles X, ConstDoubles Y, std::int32_t n, double xmin,
                           RingEnds ir, std::int32_t nr);
// Convex polygon of n vertices, X(n + 1) = X(1): P on an edge or strictly on
// the same side of every edge. False for n < 2.
bool INSIDE_CONVEX_POLYGON_8(double px, double py, std::int32_t n, ConstDoubles X, ConstDoubles Y);

// --- Interpolation, area and angle -------------------------------------------

// Linear interpolation of Z(1..3) at P through the crossing of V1-V2 with
// V3-P; P is not checked to lie inside. On failure z = NO_VALUE.
bool INTERPOLATE_TRIANGLE(float px, float py, ConstFloats X, ConstFloats Y, ConstFloats Z, float& z);
// Crossing point in double, lengths by DISTANCE_8, values in single.
bool INTERPOLATE_TRIANGLE_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z, float& z);
// Element of nv = 3 or 4 vertices; P must lie inside (a quadrilateral averages
// the triangles of three of its vertices that hold P). z is left unchanged
// when P is outside a triangle or nv is neither 3 nor 4.
bool INTERPOLATE_ELEMENT_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                           std::int32_t nv, double xmin, float& z);
// Sum in double, result in single; 0 for n < 1.
float POLYGON_AREA_8(ConstDoubles X, ConstDoubles Y, std::int32_t n);
// Angle between the lines 1-2 and 3-4 in degrees, 0..180; 0 when either line
// has no length.
float ANGLE2D(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);

// --- Hydraulics and grid frame -----------------------------------------------

// Wetted area, top width and wetted perimeter of the segment (x1, z1)-(x2, z2)
// below the water level wl; width and area carry the sign of x2 - x1. Zero
// when active <= 0.
void HYD_PARAM(float x1, float z1, float x2, float z2, float wl, float active, float& area, float& width,
               float& perimeter);
// The same for the two halves of the segment, each with its own active value.
void HYD_PARAM2(float x1, float z1, float active1, float x2, float z2, float active2, float wl, float& area1,
                float& area2, float& width1, float& width2, float& perimeter1, float& perimeter2);
// U, V: the points moved to the origin (x0, y0) and turned by angle (radians),
// computed in double and stored in single.
void GEO_SHIFT(ConstDoubles X, ConstDoubles Y, std::int32_t n, double x0, double y0, float angle,
               OneBasedView<float> U, OneBasedView<float> V);
// The box of the n points (the first point when n < 2; X(1) is always read)
// and its window of cells of size cell: i1, j1 at least 1, i2 at most nI, j2
// at most nJ.
void SET_SUB_GRID_AREA(ConstFloats X, ConstFloats Y, std::int32_t n, float cell, std::int32_t nJ,
                       std::int32_t nI, std::int32_t& j1, std::int32_t& i1, std::int32_t& j2,
                       std::int32_t& i2, float& xmin, float& ymin, float& xmax, float& ymax);

}  // namespace quenzel
