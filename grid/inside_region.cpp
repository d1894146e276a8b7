#include "grid/inside_region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "common/int_truncate.h"

namespace quenzel {

namespace {

template <class T>
using Coords = OneBasedView<const T>;

// Calls edge(k) for the edges (k, k+1) of every ring, skipping the copy of a
// ring's second vertex that follows its closing vertex.
template <class Edge>
void forEachRegionEdge(std::int32_t n, RingEnds ir, std::int32_t nr, std::string_view tag, Edge edge) {
  std::int32_t r = 1;
  std::int64_t k = 1;
  while (k <= n - 2) {
    edge(static_cast<std::int32_t>(k));
    if (k + 1 == ir(r)) {
      ++r;
      if (r > nr) {
        if (k + 3 < n) invalidPolygonCount("grid_inside_polygon", tag);
        return;
      }
      k += 3;
    } else {
      ++k;
    }
  }
}

// x where edge k meets the line y = yc (the edge is not horizontal there).
template <class T>
T crossingX(Coords<T> X, Coords<T> Y, std::int32_t k, T yc) {
  if (X(k) == X(k + 1)) return X(k);
  const T m = (Y(k + 1) - Y(k)) / (X(k + 1) - X(k));
  return ((yc - Y(k)) + X(k) * m) / m;
}

template <class T>
void regionBox(Coords<T> X, Coords<T> Y, std::int32_t n, T& xmin, T& ymin, T& xmax, T& ymax) {
  xmin = xmax = X(1);
  ymin = ymax = Y(1);
  for (std::int32_t k = 2; k <= n; ++k) {
    xmin = std::min(xmin, X(k));
    xmax = std::max(xmax, X(k));
    ymin = std::min(ymin, Y(k));
    ymax = std::max(ymax, Y(k));
  }
}

// Integer arrays accumulate with two's-complement wrap rather than undefined
// overflow.
void putInt(std::int32_t& target, std::int32_t v, bool add) {
  target = add ? static_cast<std::int32_t>(static_cast<std::uint32_t>(target) + static_cast<std::uint32_t>(v)) : v;
}

void putReal(float& target, float v, bool add) { target = add ? target + v : v; }

// How a marked cell or flagged point gets its value, in this order of choice:
// the integer value, the constant real value, an interpolated value.
struct ValueRule {
  bool integerValues;
  bool constantValue;
  bool addValues;
  float value;
  std::int32_t nint;  // NINT(value)
};

// intTarget() and realTarget() reach the element; interpolate(z) is false
// when there is no value to put.
template <class IntTarget, class RealTarget, class Interpolate>
void putValue(const ValueRule& v, IntTarget intTarget, RealTarget realTarget, Interpolate interpolate) {
  if (v.integerValues) {
    putInt(intTarget(), v.nint, v.addValues);
  } else if (v.constantValue) {
    putReal(realTarget(), v.value, v.addValues);
  } else {
    float z = 0.0f;
    if (interpolate(z)) putReal(realTarget(), z, v.addValues);
  }
}

// What the inner routines of the grid marking see of their host's arguments.
template <class T>
struct MarkingHost {
  IntGrid intTargets;
  RealGrid realTargets;
  T dx, dy;
  ValueRule rule;
  Coords<T> X, Y;
  ConstFloats Z;
  std::int32_t n;
};

template <class T, class Interpolate>
void setCell(const MarkingHost<T>& h, std::int32_t j, std::int32_t i, Interpolate interpolateAt) {
  putValue(
      h.rule, [&]() -> std::int32_t& { return h.intTargets(j, i); }, [&]() -> float& { return h.realTargets(j, i); },
      [&](float& z) {
        if (h.n != 5) return false;
        interpolateAt(static_cast<T>(i) * h.dx, static_cast<T>(j) * h.dy, z);
        return true;
      });
}

void gridInsidePolygonSetCell(const MarkingHost<float>& h, std::int32_t j, std::int32_t i) {
  setCell(h, j, i, [&](float px, float py, float& z) { INTERPOLATE_TRIANGLE_NO_CHECKS(px, py, h.X, h.Y, h.Z, z); });
}

void gridInsidePolygonSetCell_8(const MarkingHost<double>& h, std::int32_t j, std::int32_t i) {
  setCell(h, j, i,
          [&](double px, double py, float& z) { INTERPOLATE_TRIANGLE_NO_CHECKS_8(px, py, h.X, h.Y, h.Z, z); });
}

// The body of both grid members: one pass over the edges counting crossings
// per cell, one pass over the window reading their parity.
template <class T, class SetCell>
void markRegion(ByteGrid mask, ByteGrid counts, std::int32_t nRows, std::int32_t nCols, std::int32_t jOffset,
                std::int32_t iOffset, bool clearMask, bool setValues, std::int32_t& j1, std::int32_t& i1,
                std::int32_t& j2, std::int32_t& i2, std::int32_t& nMarked, const MarkingHost<T>& h,
                RingEnds ir, std::int32_t nr, SetCell setCellOf) {
  nMarked = 0;
  if (h.n < 1 || nr < 1) {
    j1 = i1 = 1;
    j2 = i2 = 0;
    return;
  }
  const Coords<T> X = h.X, Y = h.Y;
  T xmin, ymin, xmax, ymax;
  regionBox(X, Y, h.n, xmin, ymin, xmax, ymax);
  // The caller has moved the region by its offsets, so window indices are
  // array indices: the window stops at the arrays' own extents.
  j1 = std::max({1, jOffset, cellIndexOf(ymin, h.dy)});
  j2 = std::min(cellIndexOf(ymax, h.dy), nRows);
  i1 = std::max({1, iOffset, cellIndexOf(xmin, h.dx)});
  i2 = std::min(cellIndexOf(xmax, h.dx), nCols);
  if (i1 > i2 || j1 > j2) return;

  for (std::int32_t i = i1; i <= i2; ++i)
    for (std::int32_t j = j1; j <= j2; ++j) {
      counts(j, i) = 0;
      if (clearMask) mask(j, i) = 0;
    }

  // Rows of the window's lines y = j*dy, j1..j2, plus one past either end.
  auto rowOf = [&](T y) { return std::clamp<std::int64_t>(cellIndexOf(y, h.dy), j1, std::int64_t{j2} + 1); };
  auto count = [&](std::int64_t j, T x) {
    const std::int32_t c = cellIndexOf(x, h.dx);
    // Only the parity of a cell's count is read, so the byte may wrap.
    if (c < i1)
      ++counts(j, i1);
    else if (c <= i2)
      ++counts(j, c);
  };
  forEachRegionEdge(h.n, ir, nr, "[1]", [&](std::int32_t k) {
    const std::int64_t ja = rowOf(Y(k)), jb = rowOf(Y(k + 1));
    if (ja < jb) {
      for (std::int64_t j = ja; j <= jb - 1; ++j) count(j, crossingX(X, Y, k, static_cast<T>(j) * h.dy));
    } else {
      for (std::int64_t j = ja - 1; j >= jb; --j) count(j, crossingX(X, Y, k, static_cast<T>(j) * h.dy));
    }
  });

  for (std::int32_t j = j1; j <= j2; ++j) {
    bool odd = false;
    for (std::int32_t i = i1; i <= i2; ++i) {
      odd ^= (counts(j, i) & 1u) != 0;
      if (!odd) continue;
      mask(j, i) = 1;
      ++nMarked;
      if (setValues) setCellOf(h, j, i);
    }
  }
}

// The body of both point members.
template <class T>
void flagPoints(OneBasedView<std::int32_t> flags, Coords<T> PX, Coords<T> PY, std::int32_t np,
                std::int32_t& nInside, Coords<T> X, Coords<T> Y, std::int32_t n, RingEnds ir, std::int32_t nr,
                std::string_view tag) {
  nInside = 0;
  for (std::int32_t p = 1; p <= np; ++p) flags(p) = 0;
  if (n < 1 || nr < 1) return;
  T xmin, ymin, xmax, ymax;
  regionBox(X, Y, n, xmin, ymin, xmax, ymax);
  // A baseline one unit below and left of the region.
  const T xb = xmin - T(1), yb = ymin - T(1);
  for (std::int32_t p = 1; p <= np; ++p) {
    const T px = PX(p), py = PY(p);
    if (py < ymin || px < xmin) continue;
    auto below = [&](T y) { return intTowardZero((y - yb) / (py - yb)) == 0; };
    forEachRegionEdge(n, ir, nr, tag, [&](std::int32_t k) {
      if (below(Y(k)) == below(Y(k + 1))) return;
      if (intTowardZero((crossingX(X, Y, k, py) - xb) / (px - xb)) < 1) ++flags(p);
    });
  }
  for (std::int32_t p = 1; p <= np; ++p) {
    flags(p) = flags(p) % 2;
    nInside += flags(p);
  }
}

ValueRule valueRule(bool integerValues, bool constantValue, float value, bool addValues) {
  return ValueRule{integerValues, constantValue, addValues, value, nearestInt(value)};
}

// The crossing I of the lines V1-V2 and V3-P, by slopes; false when V3-P is
// parallel to a sloping V1-V2.
template <class T>
bool crossingOnBase(T px, T py, Coords<T> X, Coords<T> Y, T& xI, T& yI) {
  const T x1 = X(1), y1 = Y(1), x2 = X(2), y2 = Y(2), x3 = X(3), y3 = Y(3);
  if (x1 == x2) {
    xI = x1;
    yI = px == x3 ? y1 : y3 + (py - y3) / (px - x3) * (x1 - x3);
    return true;
  }
  const T m12 = (y2 - y1) / (x2 - x1);
  if (px == x3) {
    xI = x3;
    yI = y1 + m12 * (x3 - x1);
    return true;
  }
  const T m3 = (py - y3) / (px - x3);
  if (m3 == m12) return false;
  xI = (x3 * m3 - y3 + y1 - x1 * m12) / (m3 - m12);
  yI = y3 + m3 * (xI - x3);
  return true;
}

template <class T>
T length(T xa, T ya, T xb, T yb) {
  return std::sqrt((xb - xa) * (xb - xa) + (yb - ya) * (yb - ya));
}

}  // namespace

void grid_inside_polygon(ByteGrid mask, ByteGrid counts, IntGrid intTargets, RealGrid realTargets,
                         std::int32_t nRows, std::int32_t nCols, float dx, float dy, std::int32_t jOffset,
                         std::int32_t iOffset, bool clearMask, bool setValues, bool integerValues,
                         bool constantValue, float value, bool addValues, std::int32_t& j1, std::int32_t& i1,
                         std::int32_t& j2, std::int32_t& i2, std::int32_t& nMarked, ConstFloats X, ConstFloats Y,
                         ConstFloats Z, std::int32_t n, RingEnds ir, std::int32_t nr) {
  const MarkingHost<float> host{intTargets, realTargets, dx, dy,
                                valueRule(integerValues, constantValue, value, addValues), X, Y, Z, n};
  markRegion(mask, counts, nRows, nCols, jOffset, iOffset, clearMask, setValues, j1, i1, j2, i2, nMarked, host, ir,
             nr, gridInsidePolygonSetCell);
}

void grid_inside_polygon_8(ByteGrid mask, ByteGrid counts, IntGrid intTargets, RealGrid realTargets,
                           std::int32_t nRows, std::int32_t nCols, double dx, double dy, std::int32_t jOffset,
                           std::int32_t iOffset, bool clearMask, bool setValues, bool integerValues,
                           bool constantValue, float value, bool addValues, std::int32_t& j1, std::int32_t& i1,
                           std::int32_t& j2, std::int32_t& i2, std::int32_t& nMarked, ConstDoubles X,
                           ConstDoubles Y, ConstFloats Z, std::int32_t n, RingEnds ir, std::int32_t nr) {
  const MarkingHost<double> host{intTargets, realTargets, dx, dy,
                                 valueRule(integerValues, constantValue, value, addValues), X, Y, Z, n};
  markRegion(mask, counts, nRows, nCols, jOffset, iOffset, clearMask, setValues, j1, i1, j2, i2, nMarked, host, ir,
             nr, gridInsidePolygonSetCell_8);
}

void grid_inside_polygon_points(OneBasedView<std::int32_t> flags, ConstFloats PX, ConstFloats PY,
                                std::int32_t np, std::int32_t& nInside, ConstFloats X, ConstFloats Y,
                                std::int32_t n, RingEnds ir, std::int32_t nr) {
  flagPoints(flags, PX, PY, np, nInside, X, Y, n, ir, nr, "[4]");
}

void grid_inside_polygon_points_8(OneBasedView<std::int32_t> flags, ConstDoubles PX, ConstDoubles PY,
                                  std::int32_t np, std::int32_t& nInside, ConstDoubles X, ConstDoubles Y,
                                  std::int32_t n, RingEnds ir, std::int32_t nr) {
  flagPoints(flags, PX, PY, np, nInside, X, Y, n, ir, nr, "[5]");
}

void grid_inside_polygon_points_set(OneBasedView<const std::int32_t> flags, ConstDoubles PX, ConstDoubles PY,
                                    OneBasedView<std::int32_t> intTargets, OneBasedView<float> realTargets,
                                    std::int32_t np, bool integerValues, bool constantValue, float value,
                                    bool addValues, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                                    std::int32_t n) {
  const ValueRule rule = valueRule(integerValues, constantValue, value, addValues);
  for (std::int32_t p = 1; p <= np; ++p) {
    if (flags(p) != 1) continue;
    putValue(
        rule, [&]() -> std::int32_t& { return intTargets(p); }, [&]() -> float& { return realTargets(p); },
        [&](float& z) { return n == 5 && INTERPOLATE_TRIANGLE_8(PX(p), PY(p), X, Y, Z, z); });
  }
}

void INTERPOLATE_TRIANGLE_NO_CHECKS(float px, float py, ConstFloats X, ConstFloats Y, ConstFloats Z, float& z) {
  float xI = 0.0f, yI = 0.0f;
  if (!crossingOnBase(px, py, X, Y, xI, yI)) {
    z = Z(3);
    return;
  }
  const float l12 = length(X(1), Y(1), X(2), Y(2));
  const float zI =
      l12 < kZeroLength ? Z(1) + (Z(2) - Z(1)) / 2.0f : Z(1) + (Z(2) - Z(1)) * length(X(1), Y(1), xI, yI) / l12;
  const float l3I = length(X(3), Y(3), xI, yI);
  z = l3I < kZeroLength ? Z(3) + (zI - Z(3)) / 2.0f : Z(3) + (zI - Z(3)) * length(X(3), Y(3), px, py) / l3I;
}

void INTERPOLATE_TRIANGLE_NO_CHECKS_8(double px, double py, ConstDoubles X, ConstDoubles Y, ConstFloats Z,
                                      float& z) {
  double xI = 0.0, yI = 0.0;
  if (!crossingOnBase(px, py, X, Y, xI, yI)) {
    z = Z(3);
    return;
  }
  const double l12 = length(X(1), Y(1), X(2), Y(2));
  const double l3I = length(X(3), Y(3), xI, yI);
  const float zI = l12 < kZeroLength8 ? Z(1) + (Z(2) - Z(1)) / 2.0f
                              : Z(1) + (Z(2) - Z(1)) * static_cast<float>(length(X(1), Y(1), xI, yI) / l12);
  z = l3I < kZeroLength8 ? Z(3) + (zI - Z(3)) / 2.0f
                 : Z(3) + (zI - Z(3)) * static_cast<float>(length(X(3), Y(3), px, py) / l3I);
}

}  // namespace quenzel
