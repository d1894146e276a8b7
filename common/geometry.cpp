#include "common/geometry.h"

#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/int_truncate.h"

namespace quenzel {

namespace {

constexpr float kCircleMargin = 1e-5f;
constexpr float kNoValue = static_cast<float>(NO_VALUE);

template <class T>
bool samePoint(T x1, T y1, T x2, T y2, T tol) {
  return std::fabs(x1 - x2) < tol && std::fabs(y1 - y2) < tol;
}

template <class T>
std::int32_t intersectLineV2(T x1, T y1, T x2, T y2, T x3, T y3, T x4, T y4) {
  const T den = (y4 - y3) * (x2 - x1) - (x4 - x3) * (y2 - y1);
  const T na = (x4 - x3) * (y1 - y3) - (y4 - y3) * (x1 - x3);
  const T nb = (x2 - x1) * (y1 - y3) - (y2 - y1) * (x1 - x3);
  if (den == T(0)) return (na == T(0) && nb == T(0)) ? kLinesCollinear : kLinesParallel;
  const T ua = na / den;
  const T ub = nb / den;
  // A crossing at the first end of a segment is out of range, at its second
  // end in range: consecutive segments of a line then share no crossing.
  const bool onFirst = ua > T(0) && ua <= T(1);
  const bool onSecond = ub > T(0) && ub <= T(1);
  if (onFirst && onSecond) return kSegmentsCross;
  if (onFirst) return kCrossingOnFirstOnly;
  if (onSecond) return kCrossingOnSecondOnly;
  return kCrossingOnNeither;
}

template <class T>
bool intersectionPoint(T x1, T y1, T x2, T y2, T x3, T y3, T x4, T y4, T& xi, T& yi) {
  if (x1 == x2) {
    if (x3 == x4) return false;
    const T m2 = (y4 - y3) / (x4 - x3);
    xi = x1;
    yi = y3 + m2 * (x1 - x3);
    return true;
  }
  const T m1 = (y2 - y1) / (x2 - x1);
  if (x3 == x4) {
    xi = x3;
    yi = y1 + m1 * (x3 - x1);
    return true;
  }
  const T m2 = (y4 - y3) / (x4 - x3);
  if (m1 == m2) return false;
  xi = (y1 - y3 - x1 * m1 + x3 * m2) / (m2 - m1);
  yi = y3 + m2 * (xi - x3);
  return true;
}

// --- Crossing-parity walk of the inside tests --------------------------------

// y of the last vertex before the ring's second vertex (going backwards round
// the ring) that is off the ray's line: the side the boundary arrives from when
// it reaches the line at the second vertex. The ring starts at position s and
// closes at e. py itself when the whole ring lies on the line.
template <class T>
T arrivalY(OneBasedView<const T> Y, std::int32_t n, std::int64_t s, std::int64_t e, T py) {
  if (Y(s) != py) return Y(s);
  const std::int64_t last = (e < n ? e : n) - 1;
  for (std::int64_t p = last; p >= s + 2; --p)
    if (Y(p) != py) return Y(p);
  return py;
}

// Edge (k, k+1) tests: `crosses` is the segment test of the member; `onEdge`
// answers true at once for a point on the boundary (only the EDGE member).
template <class T, class Crosses, class OnEdge>
bool insideWalk(T px, T py, OneBasedView<const T> X, OneBasedView<const T> Y, std::int32_t n, T xmin,
                RingEnds ir, std::int32_t nr, std::string_view tag, Crosses crosses, OnEdge onEdge) {
  if (n < 3 || nr < 1) return false;
  const T rayX = xmin - T(10);
  std::int32_t r = 1;
  std::int32_t crossings = 0;
  std::int64_t k = 2;  // wide enough to step past the last vertex
  // The previous start y belongs to this call and this ring only, so the
  // answer for a ring whose second vertex lies on the ray's line never hangs
  // on an earlier ring or call.
  T prevY = arrivalY(Y, n, 1, ir(1), py);
  while (k <= n - 1) {
    const T xk = X(k), yk = Y(k), xk1 = X(k + 1), yk1 = Y(k + 1);
    if (onEdge(xk, yk, xk1, yk1)) return true;
    if (yk == yk1) {
      // Horizontal: the vertex rules below decide the crossing at its ends.
    } else if (yk1 == py) {
      prevY = yk;
    } else if (yk == py && px >= xk) {
      // The path reaches the line at vertex k: a crossing only when it goes
      // on to the other side, not when it just touches.
      if ((prevY < py && yk1 > py) || (prevY > py && yk1 < py)) ++crossings;
    } else if (crosses(rayX, py, px, py, xk, yk, xk1, yk1)) {
      ++crossings;
    }
    if (k == ir(r)) {
      ++r;
      if (r > nr) {
        if (k < n - 1) invalidPolygonCount("inside_polygon", tag);
        break;
      }
      k += 3;
      if (k <= n - 1) prevY = arrivalY(Y, n, k - 1, ir(r), py);
    } else {
      ++k;
    }
  }
  return crossings % 2 == 1;
}

struct NeverOnEdge {
  template <class T>
  bool operator()(T, T, T, T) const {
    return false;
  }
};

// Values of the triangle V1 V2 V3 at P: along V1-V2 to the crossing I of the
// lines V1-V2 and V3-P, then along V3-I to P. Distances by the member's own
// distance routine, values always in single.
template <class T, class Dist>
bool interpolateTriangle(T px, T py, OneBasedView<const T> X, OneBasedView<const T> Y, ConstFloats Z,
                         float& z, Dist dist) {
  T xi = T(0), yi = T(0);
  if (!intersectionPoint(X(1), Y(1), X(2), Y(2), X(3), Y(3), px, py, xi, yi)) {
    z = kNoValue;
    return false;
  }
  const float l12 = dist(X(1), Y(1), X(2), Y(2));
  const float d1 = dist(X(1), Y(1), xi, yi);
  const float zi = l12 < kZeroLength ? Z(1) + (Z(2) - Z(1)) / 2.0f : Z(1) + (Z(2) - Z(1)) * d1 / l12;
  const float l3i = dist(X(3), Y(3), xi, yi);
  const float d3 = dist(X(3), Y(3), px, py);
  z = l3i < kZeroLength ? Z(3) + (zi - Z(3)) / 2.0f : Z(3) + (zi - Z(3)) * d3 / l3i;
  return true;
}

}  // namespace

// --- Distances and lengths ----------------------------------------------------

float DISTANCE(float x1, float y1, float x2, float y2) {
  const float dx = std::fabs(x2 - x1);
  const float dy = std::fabs(y2 - y1);
  if (dx < kZeroLength && dy < kZeroLength) return 0.0f;
  return std::sqrt(dx * dx + dy * dy);
}

float DISTANCE_8(double x1, double y1, double x2, double y2) {
  const float dx = static_cast<float>(std::fabs(x2 - x1));
  const float dy = static_cast<float>(std::fabs(y2 - y1));
  if (dx < kZeroLength && dy < kZeroLength) return 0.0f;
  return std::sqrt(dx * dx + dy * dy);
}

float VECTOR_MAGNITUDE(float x, float y) {
  if (std::fabs(x) <= kZeroLength && std::fabs(y) <= kZeroLength) return 0.0f;
  return std::sqrt(x * x + y * y);
}

float CIRCLE_WIDTH(float r, float d) {
  if (d > 2.0f * r - kCircleMargin || d < kCircleMargin) return 0.0f;
  return 2.0f * std::sqrt(r * r - (d - r) * (d - r));
}

// --- Coincidence and side tests -------------------------------------------------

bool SAME_POINT(float x1, float y1, float x2, float y2, float tol) { return samePoint(x1, y1, x2, y2, tol); }

bool SAME_POINT_8(double x1, double y1, double x2, double y2, double tol) {
  return samePoint(x1, y1, x2, y2, tol);
}

float SAME_SIDE(float x1, float y1, float x2, float y2, float px, float py, float qx, float qy) {
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  const float c1 = (py - y1) * dx - (px - x1) * dy;
  const float c2 = dx * (qy - y2) - dy * (qx - x2);
  return c1 * c2;
}

float SAME_SIDE_8(double x1, double y1, double x2, double y2, double px, double py, double qx, double qy) {
  // The differences keep the digits of map coordinates; the products then run
  // in single like the single member's.
  const float dx = static_cast<float>(x2 - x1);
  const float dy = static_cast<float>(y2 - y1);
  const float c1 = static_cast<float>(py - y1) * dx - static_cast<float>(px - x1) * dy;
  const float c2 = dx * static_cast<float>(qy - y2) - dy * static_cast<float>(qx - x2);
  return c1 * c2;
}

float CROSS_PRODUCT_8(double ax, double ay, double bx, double by, double cx, double cy) {
  return static_cast<float>((bx - ax) * (cy - ay) - (cx - ax) * (by - ay));
}

bool INTERSECT_POINT(float x1, float y1, float x2, float y2, float px, float py) {
  return SAME_SIDE(x1, y1, x2, y2, px, py, px, py) == 0.0f;
}

bool SAMESIGN(float a, float b) { return (a < 0.0f) == (b < 0.0f); }

// --- Segments and lines -----------------------------------------------------------

bool INTERSECT_LINE(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
  return SAME_SIDE(x1, y1, x2, y2, x3, y3, x4, y4) <= 0.0f &&
         SAME_SIDE(x3, y3, x4, y4, x1, y1, x2, y2) <= 0.0f;
}

bool INTERSECT_LINE_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                      double y4) {
  return SAME_SIDE_8(x1, y1, x2, y2, x3, y3, x4, y4) <= 0.0f &&
         SAME_SIDE_8(x3, y3, x4, y4, x1, y1, x2, y2) <= 0.0f;
}

std::int32_t INTERSECT_LINE_V2(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                               float y4) {
  return intersectLineV2(x1, y1, x2, y2, x3, y3, x4, y4);
}

std::int32_t INTERSECT_LINE_V2_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                 double y4) {
  return intersectLineV2(x1, y1, x2, y2, x3, y3, x4, y4);
}

bool INTERSECTION_POINT(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                        float& xi, float& yi) {
  return intersectionPoint(x1, y1, x2, y2, x3, y3, x4, y4, xi, yi);
}

bool INTERSECTION_POINT_8(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4, double& xi, double& yi) {
  return intersectionPoint(x1, y1, x2, y2, x3, y3, x4, y4, xi, yi);
}

// --- Point in region ------------------------------------------------------------------

void invalidPolygonCount(std::string_view routine, std::string_view tag) {
  console::emptyLine();
  console::line("Invalid number of polygons in region sent to " + std::string(routine) + " routine " +
                std::string(tag) + " - contact " + std::string(kSupportAddress));
  EXITS();
}

bool INSIDE_POLYGON(float px, float py, ConstFloats X, ConstFloats Y, std::int32_t n, float xmin, RingEnds ir,
                    std::int32_t nr) {
  return insideWalk(px, py, X, Y, n, xmin, ir, nr, "[1]", INTERSECT_LINE, NeverOnEdge{});
}

bool INSIDE_POLYGON_8(double px, double py, ConstDoubles X, ConstDoubles Y, std::int32_t n, double xmin,
                      RingEnds ir, std::int32_t nr) {
  return insideWalk(px, py, X, Y, n, xmin, ir, nr, "[2]", INTERSECT_LINE_8, NeverOnEdge{});
}

bool INSIDE_POLYGON_EDGE_8(double px, double py, ConstDoubles X, ConstDoubles Y, std::int32_t n, double xmin,
                           RingEnds ir, std::int32_t nr) {
  auto onEdge = [px, py](double xk, double yk, double xk1, double yk1) {
    if (std::fabs(CROSS_PRODUCT_8(xk, yk, xk1, yk1, px, py)) >= kZeroLength) return false;
    // On the edge's line: it must also lie between the edge's ends, not on
    // the line beyond the start.
    const bool between = (xk - px) * (xk1 - px) + (yk - py) * (yk1 - py) <= 0.0;
    return between && DISTANCE_8(px, py, xk, yk) <= DISTANCE_8(xk1, yk1, xk, yk);
  };
  return insideWalk(px, py, X, Y, n, xmin, ir, nr, "[1]", INTERSECT_LINE_8, onEdge);
}

bool INSIDE_CONVEX_POLYGON_8(double px, double py, std::int32_t n, ConstDoubles X, ConstDoubles Y) {
  if (n < 2) return false;
  float c1 = 0.0f;
  for (std::int32_t k = 1; k <= n; ++k) {
    const float c = CROSS_PRODUCT_8(X(k), Y(k), X(k + 1), Y(k + 1), px, py);
    if (std::fabs(c) < kZeroLength && (X(k) - px) * (X(k + 1) - px) + (Y(k) - py) * (Y(k + 1) - py) <= 0.0)
      return true;
    if (k == 1)
      c1 = c;
    else if (!(c1 * c > 0.0f))
      return false;
  }
  return true;
}

// --- Interpolation, area and angle ------------------------------------------------------

bool INTERPOLATE_TRIANGLE(float px, float py, ConstFloats X, ConstFloats Y, ConstFloats Z, float& z) {
  return interpolateTriangle(px, py, X, Y, Z, z, DISTANCE);
}

bool INTERPOLATE_TRIANGLE_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z, float& z) {
  return interpolateTriangle(px, py, X, Y, Z, z, DISTANCE_8);
}

bool INTERPOLATE_ELEMENT_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                           std::int32_t nv, double xmin, float& z) {
  // The triangle of the element's vertices a, b, c, laid out as a region of
  // one ring for the inside test.
  auto insideTriangle = [&](std::int32_t a, std::int32_t b, std::int32_t c) {
    const double tx[5] = {X(a), X(b), X(c), X(a), X(b)};
    const double ty[5] = {Y(a), Y(b), Y(c), Y(a), Y(b)};
    const std::int32_t ring[1] = {4};
    return INSIDE_POLYGON_8(px, py, ConstDoubles(tx, 5), ConstDoubles(ty, 5), 5, xmin, RingEnds(ring, 1), 1);
  };
  auto interpolate = [&](std::int32_t a, std::int32_t b, std::int32_t c, float& zt) {
    const double tx[3] = {X(a), X(b), X(c)};
    const double ty[3] = {Y(a), Y(b), Y(c)};
    const float tz[3] = {Z(a), Z(b), Z(c)};
    return INTERPOLATE_TRIANGLE_8(px, py, ConstDoubles(tx, 3), ConstDoubles(ty, 3), ConstFloats(tz, 3), zt);
  };
  if (nv == 3) {
    if (!insideTriangle(1, 2, 3)) return false;
    return interpolate(1, 2, 3, z);
  }
  if (nv != 4) return false;
  float sum = 0.0f;
  std::int32_t count = 0;
  static constexpr std::int32_t kOthers[4][3] = {{2, 3, 4}, {1, 3, 4}, {1, 2, 4}, {1, 2, 3}};
  for (const auto& t : kOthers) {
    float zt = 0.0f;
    if (insideTriangle(t[0], t[1], t[2]) && interpolate(t[0], t[1], t[2], zt)) {
      sum += zt;
      ++count;
    }
  }
  if (count >= 1) {
    z = sum / static_cast<float>(count);
    return true;
  }
  z = kNoValue;
  return false;
}

float POLYGON_AREA_8(ConstDoubles X, ConstDoubles Y, std::int32_t n) {
  if (n < 1) return 0.0f;
  double sum = 0.0;
  for (std::int32_t i = 1; i <= n; ++i) {
    const std::int32_t p = i == 1 ? n : i - 1;
    sum += (X(p) + X(i)) * (Y(p) - Y(i));
  }
  return static_cast<float>(std::fabs(sum) / 2.0);
}

float ANGLE2D(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  // Only a line without length has no direction; a vertical line has one.
  auto noLength = [](double dx, double dy) {
    return std::fabs(dx) < kZeroLength8 && std::fabs(dy) < kZeroLength8;
  };
  if (noLength(x2 - x1, y2 - y1) || noLength(x4 - x3, y4 - y3)) return 0.0f;
  constexpr double kDegrees = 180.0 / std::numbers::pi;
  const float a1 = static_cast<float>(std::atan2(y2 - y1, x2 - x1) * kDegrees);
  const float a2 = static_cast<float>(std::atan2(y4 - y3, x4 - x3) * kDegrees);
  const float d = std::fabs(a2 - a1);
  return d <= 180.0f ? d : 360.0f - d;
}

// --- Hydraulics and grid frame ------------------------------------------------------------

void HYD_PARAM(float x1, float z1, float x2, float z2, float wl, float active, float& area, float& width,
               float& perimeter) {
  const float dx = x2 - x1;
  if (active <= 0.0f || (z1 > wl && z2 > wl)) {
    area = 0.0f;
    width = 0.0f;
    perimeter = 0.0f;
  } else if (wl >= z1 && wl >= z2) {
    width = dx;
    area = (wl - (z1 + z2) / 2.0f) * dx;
    perimeter = DISTANCE(x1, z1, x2, z2);
  } else if (z1 <= wl && wl < z2) {
    const float w = dx * (wl - z1) / (z2 - z1);
    width = w;
    area = (wl - z1) * w / 2.0f;
    perimeter = DISTANCE(x1, z1, x1 + w, wl);
  } else {
    const float w = dx * (wl - z2) / (z1 - z2);
    width = w;
    area = (wl - z2) * w / 2.0f;
    perimeter = DISTANCE(x2 - w, wl, x2, z2);
  }
}

void HYD_PARAM2(float x1, float z1, float active1, float x2, float z2, float active2, float wl, float& area1,
                float& area2, float& width1, float& width2, float& perimeter1, float& perimeter2) {
  const float xm = (x1 + x2) / 2.0f;
  const float zm = (z1 + z2) / 2.0f;
  HYD_PARAM(x1, z1, xm, zm, wl, active1, area1, width1, perimeter1);
  HYD_PARAM(xm, zm, x2, z2, wl, active2, area2, width2, perimeter2);
}

void GEO_SHIFT(ConstDoubles X, ConstDoubles Y, std::int32_t n, double x0, double y0, float angle,
               OneBasedView<float> U, OneBasedView<float> V) {
  const double s = std::sin(static_cast<double>(angle));
  const double c = std::cos(static_cast<double>(angle));
  for (std::int32_t i = 1; i <= n; ++i) {
    const double dx = X(i) - x0;
    const double dy = Y(i) - y0;
    U(i) = static_cast<float>(c * dx + s * dy);
    V(i) = static_cast<float>(c * dy - s * dx);
  }
}

void SET_SUB_GRID_AREA(ConstFloats X, ConstFloats Y, std::int32_t n, float cell, std::int32_t nJ,
                       std::int32_t nI, std::int32_t& j1, std::int32_t& i1, std::int32_t& j2,
                       std::int32_t& i2, float& xmin, float& ymin, float& xmax, float& ymax) {
  xmin = xmax = X(1);
  ymin = ymax = Y(1);
  for (std::int32_t k = 2; k <= n; ++k) {
    if (X(k) < xmin) xmin = X(k);
    if (X(k) > xmax) xmax = X(k);
    if (Y(k) < ymin) ymin = Y(k);
    if (Y(k) > ymax) ymax = Y(k);
  }
  i1 = cellIndexOf(xmin, cell);
  if (i1 < 1) i1 = 1;
  j1 = cellIndexOf(ymin, cell);
  if (j1 < 1) j1 = 1;
  i2 = cellIndexOf(xmax, cell);
  if (i2 > nI) i2 = nI;
  j2 = cellIndexOf(ymax, cell);
  if (j2 > nJ) j2 = nJ;
}

}  // namespace quenzel
