#include "grid/gridline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/geometry.h"
#include "common/int_truncate.h"

namespace quenzel {

namespace {

constexpr float kSamePoint = 1e-4f;

[[noreturn]] void tooManyCells(std::int32_t maxCells) {
  console::line("SORRY - Exceeded limit of" + formatI(maxCells, 9) + " HX cells per HX polyline segment.  Contact " +
                std::string(kSupportAddress));
  EXITS();
}

[[noreturn]] void shouldNotBeHere(std::string_view text) {
  console::line(std::string(text) + " " + std::string(kSupportAddress));
  EXITS();
}

// A cell size of zero would walk some 2^31 empty steps per segment, and a
// negative or non-finite one gives no cells worth having: stop at once.
void checkCellSize(float dx, float dy, std::string_view text) {
  const auto usable = [](float d) { return std::isfinite(d) && d > 0.0f; };
  if (!usable(dx) || !usable(dy)) shouldNotBeHere(text);
}

// A far cell plus an offset stays a representable index.
std::int32_t offsetIndex(std::int32_t index, std::int32_t offset) {
  const std::int64_t v = static_cast<std::int64_t>(index) + offset;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int64_t span(std::int32_t a, std::int32_t b) {
  return std::abs(static_cast<std::int64_t>(b) - static_cast<std::int64_t>(a));
}

// Index that the k-th step from `from` toward `to` reaches.
std::int64_t stepIndex(std::int32_t from, std::int32_t to, std::int64_t k) {
  return to >= from ? from + (k - 1) : from - (k - 1);
}

float centreOf(std::int64_t index, float size) { return (static_cast<float>(index) - 0.5f) * size; }

// A point, or a segment too short to walk: n = count, the first end's cell in
// J(1), I(1) when the lists have room, and both ends as first and last.
void listFirstEnd(std::int32_t count, std::int32_t j1, std::int32_t i1, std::int32_t j2, std::int32_t i2,
                  std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                  std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells) {
  n = count;
  if (maxCells >= 1) {
    J(1) = j1;
    I(1) = i1;
  }
  jFirst = j1;
  iFirst = i1;
  jLast = j2;
  iLast = i2;
}

// How the walk finds the cells at the segment's two ends.
enum class EndCells {
  kPiece,     // the end cell's perpendicular centre line within the row
  kFullLine,  // the end column's (row's) whole centre line
};

// Failure texts by the place where a crossing point is sought.
struct WalkTexts {
  std::string_view rowCrossing, rowEnd, columnCrossing, columnEnd, cellSize;
};

struct Point {
  float x, y;
};

// The body of gridline_5 and gridlineSegment. The walk runs along an "along"
// axis (rows: y; columns: x) with the other axis "across"; every test line
// is built in x, y so the geometry sees the coordinates the way round they are.
void walkSegment(float x1, float y1, float x2, float y2, bool pointOnly, float dx, float dy,
                 std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                 std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells, std::int32_t jOffset,
                 std::int32_t iOffset, EndCells endCells, const WalkTexts& texts) {
  checkCellSize(dx, dy, texts.cellSize);
  const std::int32_t j1 = cellIndexOf(y1, dy), i1 = cellIndexOf(x1, dx);
  const std::int32_t j2 = cellIndexOf(y2, dy), i2 = cellIndexOf(x2, dx);
  auto firstEndOnly = [&](std::int32_t count) {
    listFirstEnd(count, j1, i1, j2, i2, jFirst, jLast, iFirst, iLast, n, J, I, maxCells);
  };
  if (pointOnly) return firstEndOnly(1);
  if (SAME_POINT(x1, y1, x2, y2, kSamePoint)) return firstEndOnly(0);

  n = 0;
  auto add = [&](Point p) {
    if (n >= maxCells) tooManyCells(maxCells);
    ++n;
    J(n) = cellIndexOf(p.y, dy);
    I(n) = cellIndexOf(p.x, dx);
  };

  const bool alongRows = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  const float da = alongRows ? dy : dx, db = alongRows ? dx : dy;
  const float a1 = alongRows ? y1 : x1, a2 = alongRows ? y2 : x2;
  const float b1 = alongRows ? x1 : y1, b2 = alongRows ? x2 : y2;
  const std::int32_t from = alongRows ? j1 : i1, to = alongRows ? j2 : i2;
  const std::int32_t endFirst = alongRows ? i1 : j1, endLast = alongRows ? i2 : j2;
  const std::string_view crossingText = alongRows ? texts.rowCrossing : texts.columnCrossing;
  const std::string_view endText = alongRows ? texts.rowEnd : texts.columnEnd;
  auto at = [alongRows](float b, float a) { return alongRows ? Point{b, a} : Point{a, b}; };
  auto truly = [&](Point p3, Point p4) {
    return INTERSECT_LINE_V2(x1, y1, x2, y2, p3.x, p3.y, p4.x, p4.y) == kSegmentsCross;
  };
  auto crossing = [&](Point p3, Point p4, std::string_view text) {
    Point p{0.0f, 0.0f};
    if (!INTERSECTION_POINT(x1, y1, x2, y2, p3.x, p3.y, p4.x, p4.y, p.x, p.y)) shouldNotBeHere(text);
    return p;
  };

  const std::int64_t m = std::max(span(j1, j2), span(i1, i2)) + 1;
  for (std::int64_t k = 1; k <= m; ++k) {
    const float centre = centreOf(stepIndex(from, to, k), da);
    const Point p3 = at(std::min(b1, b2) - db, centre), p4 = at(std::max(b1, b2) + db, centre);
    if (truly(p3, p4)) {
      add(crossing(p3, p4, crossingText));
      continue;
    }
    if (k != 1 && k != m) continue;
    const float be = centreOf(k == 1 ? endFirst : endLast, db);
    if (endCells == EndCells::kPiece) {
      if (truly(at(be, centre - da / 2.0f), at(be, centre + da / 2.0f))) add(at(be, centre));
    } else {
      const Point q3 = at(be, std::min(a1, a2) - da), q4 = at(be, std::max(a1, a2) + da);
      if (truly(q3, q4)) add(crossing(q3, q4, endText));
    }
  }

  if (n < 1) return;
  for (std::int32_t k = 1; k <= n; ++k) {
    J(k) = offsetIndex(J(k), jOffset);
    I(k) = offsetIndex(I(k), iOffset);
  }
  jFirst = J(1);
  iFirst = I(1);
  jLast = J(n);
  iLast = I(n);
}

}  // namespace

void gridline_5(float x1, float y1, float x2, float y2, bool pointOnly, float dx, float dy,
                std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells, std::int32_t jOffset,
                std::int32_t iOffset) {
  static constexpr WalkTexts kTexts{"should not be here - gridline_5 - intersection point 1 - contact", {},
                                    "should not be here - gridline_5 - intersection point 3 - contact", {},
                                    "should not be here - gridline_5 - cell size - contact"};
  walkSegment(x1, y1, x2, y2, pointOnly, dx, dy, jFirst, jLast, iFirst, iLast, n, J, I, maxCells, jOffset,
              iOffset, EndCells::kPiece, kTexts);
}

void gridlineSegment(float x1, float y1, float x2, float y2, bool pointOnly, float dx, float dy,
                     std::int32_t& jFirst, std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast,
                     std::int32_t& n, CellIndices J, CellIndices I, std::int32_t maxCells,
                     std::int32_t jOffset, std::int32_t iOffset) {
  static constexpr WalkTexts kTexts{"should not be here - gridline - intersection point 1 - contact",
                                    "should not be here - gridline - intersection point 2 - contact",
                                    "should not be here - gridline - intersection point 3 - contact",
                                    "should not be here - gridline - intersection point 4 - contact",
                                    "should not be here - gridline - cell size - contact"};
  walkSegment(x1, y1, x2, y2, pointOnly, dx, dy, jFirst, jLast, iFirst, iLast, n, J, I, maxCells, jOffset,
              iOffset, EndCells::kFullLine, kTexts);
}

void gridline(float x1, float y1, float x2, float y2, float dx, float dy, std::int32_t& jFirst,
              std::int32_t& jLast, std::int32_t& iFirst, std::int32_t& iLast, std::int32_t& n, CellIndices J,
              CellIndices I, std::int32_t maxCells) {
  checkCellSize(dx, dy, "should not be here - gridline - cell size - contact");
  const std::int32_t j1 = cellIndexOf(y1, dy), i1 = cellIndexOf(x1, dx);
  const std::int32_t j2 = cellIndexOf(y2, dy), i2 = cellIndexOf(x2, dx);
  if (SAME_POINT(x1, y1, x2, y2, kSamePoint))
    return listFirstEnd(1, j1, i1, j2, i2, jFirst, jLast, iFirst, iLast, n, J, I, maxCells);
  const float xmin = std::min(x1, x2) - dx, xmax = std::max(x1, x2) + dx;
  const float ymin = std::min(y1, y2) - dy, ymax = std::max(y1, y2) + dy;
  auto rowLine = [&](std::int64_t r, Point& p3, Point& p4) {
    const float yc = centreOf(r, dy);
    p3 = {xmin, yc};
    p4 = {xmax, yc};
    return !(y1 == y2 && y1 == yc);
  };
  auto columnLine = [&](std::int64_t c, Point& p3, Point& p4) {
    const float xc = centreOf(c, dx);
    p3 = {xc, ymin};
    p4 = {xc, ymax};
    return !(x1 == x2 && x1 == xc);
  };
  // First and last centre line of from..to that the segment crosses or touches.
  auto met = [&](std::int32_t from, std::int32_t to, auto lineOf, std::int32_t& first, std::int32_t& last) {
    first = last = 0;
    bool found = false;
    for (std::int64_t k = 1; k <= span(from, to) + 1; ++k) {
      const std::int64_t index = stepIndex(from, to, k);
      Point p3, p4;
      if (!lineOf(index, p3, p4) || !INTERSECT_LINE(x1, y1, x2, y2, p3.x, p3.y, p4.x, p4.y)) continue;
      if (!found) first = static_cast<std::int32_t>(index);
      last = static_cast<std::int32_t>(index);
      found = true;
    }
    return found;
  };
  const bool rows = met(j1, j2, rowLine, jFirst, jLast);
  const bool columns = met(i1, i2, columnLine, iFirst, iLast);
  if (!rows && !columns) {
    n = 0;
    return;
  }
  const std::int64_t rowSpan = span(jFirst, jLast), columnSpan = span(iFirst, iLast);
  const bool alongRows = rows && (!columns || rowSpan > columnSpan);
  const std::int64_t count = std::max(rowSpan, columnSpan) + 1;
  if (count > maxCells) tooManyCells(maxCells);
  n = static_cast<std::int32_t>(count);
  for (std::int32_t k = 1; k <= n; ++k) {
    Point p3, p4, p{0.0f, 0.0f};
    if (alongRows) {
      J(k) = static_cast<std::int32_t>(stepIndex(jFirst, jLast, k));
      rowLine(J(k), p3, p4);
      if (!INTERSECTION_POINT(x1, y1, x2, y2, p3.x, p3.y, p4.x, p4.y, p.x, p.y))
        shouldNotBeHere("should not be here - gridline - intersection point - contact");
      I(k) = cellIndexOf(p.x, dx);
    } else {
      I(k) = static_cast<std::int32_t>(stepIndex(iFirst, iLast, k));
      columnLine(I(k), p3, p4);
      if (!INTERSECTION_POINT(x1, y1, x2, y2, p3.x, p3.y, p4.x, p4.y, p.x, p.y))
        shouldNotBeHere("should not be here - gridline - intersection point 2 - contact");
      J(k) = cellIndexOf(p.y, dy);
    }
  }
  jFirst = J(1);
  iFirst = I(1);
  jLast = J(n);
  iLast = I(n);
}

void gridlineSteps(std::int32_t a1, std::int32_t b1, std::int32_t a2, std::int32_t b2, std::int32_t& nSteps,
                   float& stepA, float& stepB, float lenB, float lenA) {
  const std::int64_t m = std::max(span(a1, a2), span(b1, b2));
  nSteps = static_cast<std::int32_t>(std::min<std::int64_t>(m + 1, std::numeric_limits<std::int32_t>::max()));
  if (m >= 1) {
    stepA = lenA / static_cast<float>(m);
    stepB = lenB / static_cast<float>(m);
  } else {
    stepA = 0.0f;
    stepB = 0.0f;
  }
}

}  // namespace quenzel
