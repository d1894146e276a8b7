#include "grid/assign.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/int_truncate.h"
#include "common/numbers.h"
#include "common/text_core.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"
#include "grid/gridline.h"

namespace quenzel {

namespace {

constexpr std::int32_t kMaxVertices = 100000;  // one section
constexpr std::int32_t kMaxCells = 10000;      // one line segment
constexpr std::size_t kValueTextWidth = 32;

// What each member keeps between calls. The large buffers live on the heap,
// allocated once with the state.
struct AssignState {
  std::string recordLine;
  OneBased<double> X{kMaxVertices, 0.0}, Y{kMaxVertices, 0.0};
  OneBased<float> U{kMaxVertices, 0.0f}, V{kMaxVertices, 0.0f};
  // A region moved to the points of one pass; U, V stay as they are.
  OneBased<float> movedU{kMaxVertices, 0.0f}, movedV{kMaxVertices, 0.0f};
  OneBased<std::int32_t> J{kMaxCells, 0}, I{kMaxCells, 0};
  std::int32_t n = 0;
  std::int32_t count = 0;  // cells or points of the section
  std::int32_t nCells = 0;  // of the last line segment
  std::int32_t walkJFirst = 0, walkJLast = 0, walkIFirst = 0, walkILast = 0;
  float uPrev = 0.0f, vPrev = 0.0f, uCur = 0.0f, vCur = 0.0f;
  double xLabel = 0.0, yLabel = 0.0;
  float labelAngle = 0.0f, length = 0.0f;
  float assignValue = 0.0f;
  std::string valueText;
  // Stands in for the vertex values of a region (not consulted with a
  // constant value).
  float vertexValue = 0.0f;
};

// The first member also owns its object record and working window.
struct AssignModule {
  AssignState state;
  gisObject obj;
  std::int32_t jFirst = 0, iFirst = 0, jLast = 0, iLast = 0;
};

AssignModule& assignModule() {
  static AssignModule m;
  return m;
}

AssignState& assign2State() {
  static AssignState s;
  return s;
}

// The grid and the targets, as every call passes them.
struct GridTargets {
  std::int32_t nJ, nI, jOffset, iOffset;
  float dx, dy;
  double x0, y0;
  float angle;
  bool integerValues, countAllPoints, sidePoints, centreAndSidePoints, halveSideValues;
  IntGrid cellInt, xSideInt, ySideInt;
  RealGrid cellReal, xSideReal, ySideReal;
  std::int32_t nRows, nCols;
  bool addValues;
};

// Where the object comes from: the layer, or the caller's vertices.
struct ObjectSource {
  bool readLayer;
  bool readValue;
  ConstDoubles X, Y;
  std::int32_t n;
  double xLabel, yLabel;
  float length;
};

struct Window {
  std::int32_t& jFirst;
  std::int32_t& iFirst;
  std::int32_t& jLast;
  std::int32_t& iLast;
};

bool assignable(const gisObject& obj) {
  return obj.isPoint || obj.isMultiPoint || obj.isLine || obj.isPline || obj.isPlineMultiple || obj.isRegion;
}

bool isLineObject(const gisObject& obj) { return obj.isLine || obj.isPline || obj.isPlineMultiple; }

bool inArrays(const GridTargets& g, std::int64_t r, std::int64_t c) {
  return r >= 1 && r <= g.nRows && c >= 1 && c <= g.nCols;
}

void readAssignValue(AssignState& s) {
  float value = s.assignValue;
  // An empty first field is a null value and keeps the last one.
  if (FreeReader(s.recordLine).read(value) != ReadResult::Ok)
    gisStop("ERROR 2148 - Reading attribute data from data line below.",
            "Data Line = " + std::string(trimRight(s.recordLine)));
  s.assignValue = value;
}

void skipObject(AssignState& s, std::int32_t gisID, gisObject& obj) {
  for (std::int32_t k = 1; k <= obj.nsect; ++k)
    gisReadObject(gisID, obj, s.X.view(), s.Y.view(), kMaxVertices, s.n, s.xLabel, s.yLabel, s.labelAngle,
                  s.length, false);
  setGisMessageLine(1, "WARNING 2073 - Object ignored.  Only Points, Lines, Polylines & Regions used.");
  setGisMessageLine(2, "GIS Object = " + std::string(trimRight(obj.gisObjectTypeName)));
  gisWriteMessage(0);
}

// One cell of a point or line: its centre, or in real side mode its four
// side points.
void takeCell(AssignState& s, const GridTargets& g, std::int32_t j, std::int32_t i) {
  if (j < 1 || j > g.nJ || i < 1 || i > g.nI) return;
  const std::int64_t r = std::int64_t{j} + g.jOffset, c = std::int64_t{i} + g.iOffset;
  if (g.integerValues) {
    if (inArrays(g, r, c)) g.cellInt(r, c) = nearestInt(s.assignValue);
    ++s.count;
  } else if (!g.sidePoints) {
    if (inArrays(g, r, c)) g.cellReal(r, c) = s.assignValue;
    ++s.count;
  } else {
    const float share = s.assignValue / (g.halveSideValues ? 2.0f : 1.0f);
    auto put = [&](RealGrid target, std::int64_t rr, std::int64_t cc) {
      if (!inArrays(g, rr, cc)) return;
      float& e = target(rr, cc);
      e = g.addValues ? e + share : s.assignValue;
    };
    put(g.xSideReal, r, c);
    put(g.ySideReal, r, c);
    put(g.xSideReal, r, c - 1);
    put(g.ySideReal, r - 1, c);
    s.count += 4;
  }
}

// Vertex k of the section in grid coordinates, turned in single precision.
void lineVertex(const AssignState& s, const GridTargets& g, float sinA, float cosA, std::int32_t k, float& u,
                float& v) {
  const float du = static_cast<float>(s.X(k) - g.x0), dv = static_cast<float>(s.Y(k) - g.y0);
  u = cosA * du + sinA * dv;
  v = cosA * dv - sinA * du;
}

void assignLine(AssignState& s, const GridTargets& g, float sinA, float cosA, Window w) {
  lineVertex(s, g, sinA, cosA, 1, s.uPrev, s.vPrev);
  for (std::int32_t k = 2; k <= s.n; ++k) {
    lineVertex(s, g, sinA, cosA, k, s.uCur, s.vCur);
    gridline_5(s.uPrev, s.vPrev, s.uCur, s.vCur, false, g.dx, g.dy, s.walkJFirst, s.walkJLast, s.walkIFirst,
               s.walkILast, s.nCells, s.J.view(), s.I.view(), kMaxCells, 0, 0);
    s.uPrev = s.uCur;
    s.vPrev = s.vCur;
    for (std::int32_t c = 1; c <= s.nCells; ++c) takeCell(s, g, s.J(c), s.I(c));
  }
  w.jFirst = 2;
  w.jLast = s.n;
  w.iFirst = 1;
  w.iLast = s.nCells;
}

void pointWindow(AssignState& s, const GridTargets& g, Window w) {
  std::int32_t unusedFirst = 0, unusedLast = 0;
  float umin = 0.0f, vmin = 0.0f, umax = 0.0f, vmax = 0.0f;
  // Columns by the cell width, rows by the cell height.
  SET_SUB_GRID_AREA(s.U.view(), s.V.view(), s.n, g.dx, g.nJ, g.nI, unusedFirst, w.iFirst, unusedLast, w.iLast, umin,
                    vmin, umax, vmax);
  SET_SUB_GRID_AREA(s.U.view(), s.V.view(), s.n, g.dy, g.nJ, g.nI, w.jFirst, unusedFirst, w.jLast, unusedLast, umin,
                    vmin, umax, vmax);
}

void assignPoints(AssignState& s, const GridTargets& g, Window w) {
  for (std::int32_t j = w.jFirst; j <= w.jLast; ++j)
    for (std::int32_t i = w.iFirst; i <= w.iLast; ++i) takeCell(s, g, j, i);
}

// One pass of a region: the point kind (the move su, sv in cells) and its
// targets; assign false only counts.
struct RegionPass {
  float su, sv;
  IntGrid intTargets;
  RealGrid realTargets;
  bool assign;
};

std::int32_t regionPasses(const GridTargets& g, RegionPass* passes) {
  const RegionPass centre{0.5f, 0.5f, g.cellInt, g.cellReal, true};
  const RegionPass xSide{0.0f, 0.5f, g.xSideInt, g.xSideReal, true};
  const RegionPass ySide{0.5f, 0.0f, g.ySideInt, g.ySideReal, true};
  std::int32_t k = 0;
  if (g.sidePoints) {
    passes[k++] = xSide;
    passes[k++] = ySide;
  } else if (g.centreAndSidePoints) {
    passes[k++] = centre;
    passes[k++] = xSide;
    passes[k++] = ySide;
  } else if (g.countAllPoints) {
    // Centres, x-sides, y-sides, corners: marked and counted, nothing written.
    constexpr float kMoves[4][2] = {{0.5f, 0.5f}, {0.0f, 0.5f}, {0.5f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& move : kMoves) passes[k++] = RegionPass{move[0], move[1], {}, {}, false};
  } else {
    passes[k++] = centre;
  }
  return k;
}

void assignRegion(AssignState& s, const GridTargets& g, const gisObject& obj, Window w, ByteGrid regionMask) {
  const std::size_t cells =
      static_cast<std::size_t>(std::max(g.nRows, 0)) * static_cast<std::size_t>(std::max(g.nCols, 0));
  std::unique_ptr<std::uint8_t[]> maskData(new (std::nothrow) std::uint8_t[cells]);
  std::unique_ptr<std::uint8_t[]> countData(new (std::nothrow) std::uint8_t[cells]);
  if (!maskData || !countData) {
    console::line("ERROR - Could not allocate memory (RAM) for Inside Region == Method B.");
    EXITS();
  }
  std::fill_n(maskData.get(), cells, std::uint8_t{0});
  const ByteGrid mask(maskData.get(), g.nRows, g.nCols), counts(countData.get(), g.nRows, g.nCols);

  RegionPass passes[4];
  const std::int32_t nPasses = regionPasses(g, passes);
  for (std::int32_t p = 0; p < nPasses; ++p) {
    const RegionPass& pass = passes[p];
    const float mu = (static_cast<float>(g.iOffset) + pass.su) * g.dx;
    const float mv = (static_cast<float>(g.jOffset) + pass.sv) * g.dy;
    for (std::int32_t k = 1; k <= s.n; ++k) {
      s.movedU(k) = s.U(k) + mu;
      s.movedV(k) = s.V(k) + mv;
    }
    std::int32_t passCount = 0;
    grid_inside_polygon(mask, counts, pass.intTargets, pass.realTargets, g.nRows, g.nCols, g.dx, g.dy, g.jOffset,
                        g.iOffset, true, pass.assign, pass.assign && g.integerValues, true, s.assignValue,
                        g.addValues, w.jFirst, w.iFirst, w.jLast, w.iLast, passCount, s.movedU.view(),
                        s.movedV.view(), ConstFloats(&s.vertexValue, 1), s.n, obj.ir.view(), obj.nr);
    s.count += passCount;
  }
  if (regionMask.data() != nullptr)
    for (std::int32_t i = 1; i <= g.nCols; ++i)
      for (std::int32_t j = 1; j <= g.nRows; ++j) regionMask(j, i) = mask(j, i);
}

void assignSection(AssignState& s, std::int32_t gisID, gisObject& obj, const GridTargets& g,
                   const ObjectSource& src, float sinA, float cosA, Window w, std::int32_t& nAssigned,
                   ByteGrid regionMask) {
  s.count = 0;
  nAssigned = 0;
  if (src.readLayer) {
    gisReadObject(gisID, obj, s.X.view(), s.Y.view(), kMaxVertices, s.n, s.xLabel, s.yLabel, s.labelAngle,
                  s.length, true);
  } else {
    if (src.n < 0 || src.n > kMaxVertices) gisInternalCheck("gisAssignObjectsToGrid2");
    for (std::int32_t k = 1; k <= src.n; ++k) {
      s.X(k) = src.X(k);
      s.Y(k) = src.Y(k);
    }
    s.n = src.n;
    s.xLabel = src.xLabel;
    s.yLabel = src.yLabel;
    s.length = src.length;
  }
  GEO_SHIFT(s.X.view(), s.Y.view(), s.n, g.x0, g.y0, g.angle, s.U.view(), s.V.view());
  if (obj.isPoint || obj.isMultiPoint) pointWindow(s, g, w);

  s.valueText = cutTo(g.integerValues ? AINTEGER(nearestInt(s.assignValue)) : AREAL(s.assignValue),
                      kValueTextWidth);
  const std::string name(trimRight(obj.gisObjectTypeName));
  if (obj.isRegion)
    console::write("...GIS " + name + " (" + formatI(s.n, 6) + " vertices /" + formatI(obj.nr, 3) +
                   " polygons) assigned " + s.valueText + " to");
  else
    console::write("...GIS " + name + " (" + formatI(s.n, 6) + " vertices) assigned a value of " + s.valueText +
                   " to");

  if (obj.isRegion)
    assignRegion(s, g, obj, w, regionMask);
  else if (isLineObject(obj))
    assignLine(s, g, sinA, cosA, w);
  else
    assignPoints(s, g, w);
  nAssigned = s.count;
  const bool points = g.countAllPoints || g.sidePoints || g.centreAndSidePoints;
  console::line(formatI(s.count, 6) + (points ? " points" : " cells"));
}

// One call of either member.
void assignObject(std::string_view routine, AssignState& s, std::int32_t gisID, gisObject& obj,
                  const GridTargets& g, const ObjectSource& src, Window w, std::int32_t& nAssigned,
                  ByteGrid regionMask) {
  const float sinA = std::sin(g.angle), cosA = std::cos(g.angle);
  if (src.readLayer) {
    // The end-of-data flag is read before any layer routine checks the ID.
    gisCheckLayerID(routine, gisID, false);
    do {
      if (gisLayerEoF(gisID)) return;
      gisInitialiseObject(obj);
    } while (!gisObjectType(gisID, obj));
    gisReadRecord(gisID, obj, s.recordLine);
    s.recordLine = cutTo(s.recordLine, kNameWidth);
    if (src.readValue) readAssignValue(s);
  }
  if (!assignable(obj)) {
    skipObject(s, gisID, obj);
    return;
  }
  const std::int32_t sections = src.readLayer ? obj.nsect : 1;
  for (std::int32_t k = 1; k <= sections; ++k)
    assignSection(s, gisID, obj, g, src, sinA, cosA, w, nAssigned, regionMask);
}

}  // namespace

void gisAssignObjectsToGrid(std::int32_t gisID, std::int32_t nJ, std::int32_t nI, std::int32_t jOffset,
                            std::int32_t iOffset, float dx, float dy, double x0, double y0, float angle,
                            bool integerValues, bool countAllPoints, bool sidePoints, bool centreAndSidePoints,
                            bool halveSideValues, IntGrid cellInt, IntGrid xSideInt, IntGrid ySideInt,
                            RealGrid cellReal, RealGrid xSideReal, RealGrid ySideReal, std::int32_t nRows,
                            std::int32_t nCols, bool addValues, std::int32_t& nAssigned) {
  AssignModule& m = assignModule();
  const GridTargets g{nJ, nI, jOffset, iOffset, dx, dy, x0, y0, angle, integerValues, countAllPoints, sidePoints,
                      centreAndSidePoints, halveSideValues, cellInt, xSideInt, ySideInt, cellReal, xSideReal,
                      ySideReal, nRows, nCols, addValues};
  const ObjectSource src{true, true, {}, {}, 0, 0.0, 0.0, 0.0f};
  assignObject("gisAssignObjectsToGrid", m.state, gisID, m.obj, g, src, Window{m.jFirst, m.iFirst, m.jLast, m.iLast},
               nAssigned, ByteGrid{});
}

void gisAssignObjectsToGrid2(std::int32_t gisID, gisObject& obj, std::int32_t nJ, std::int32_t nI,
                             std::int32_t jOffset, std::int32_t iOffset, float dx, float dy, double x0, double y0,
                             float angle, bool integerValues, bool countAllPoints, bool sidePoints,
                             bool centreAndSidePoints, bool halveSideValues, IntGrid cellInt, IntGrid xSideInt,
                             IntGrid ySideInt, RealGrid cellReal, RealGrid xSideReal, RealGrid ySideReal,
                             std::int32_t nRows, std::int32_t nCols, bool addValues, bool readValue, bool readLayer,
                             ConstDoubles X, ConstDoubles Y, std::int32_t n, double xLabel, double yLabel,
                             float length, std::int32_t& nAssigned, std::int32_t& jFirst, std::int32_t& iFirst,
                             std::int32_t& jLast, std::int32_t& iLast, ByteGrid regionMask) {
  const GridTargets g{nJ, nI, jOffset, iOffset, dx, dy, x0, y0, angle, integerValues, countAllPoints, sidePoints,
                      centreAndSidePoints, halveSideValues, cellInt, xSideInt, ySideInt, cellReal, xSideReal,
                      ySideReal, nRows, nCols, addValues};
  const ObjectSource src{readLayer, readValue, X, Y, n, xLabel, yLabel, length};
  assignObject("gisAssignObjectsToGrid2", assign2State(), gisID, obj, g, src, Window{jFirst, iFirst, jLast, iLast},
               nAssigned, regionMask);
}

void setAssignValue(float value) { assign2State().assignValue = value; }

}  // namespace quenzel
