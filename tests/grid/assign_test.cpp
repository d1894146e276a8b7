// Assigning objects to grid cells and side points: single objects the test
// supplies, and layers read object by object.
#include "grid/assign.h"

#include <cmath>
#include <optional>
#include <tuple>

#include "gis/header_services.h"
#include "gis/layer_fixture.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

using XY = std::pair<double, double>;
using Cells = std::vector<std::tuple<int, int, float>>;  // row, column, value of the changed elements
const std::vector<XY> kSquare = {{10, 10}, {40, 10}, {40, 40}, {10, 40}};
const std::vector<XY> kOuter = {{2, 2}, {48, 2}, {48, 48}, {2, 48}}, kHole = {{12, 12}, {12, 28}, {28, 28}, {28, 12}};

class Assign : public LayerModuleTest {
 protected:
  // 5 x 5 arrays (row index fastest), every element -7; a mask of 9s.
  std::vector<std::int32_t> ci, xi, yi;
  std::vector<float> cr, xr, yr;
  std::vector<std::uint8_t> mask;
  int nJ = 4, nI = 4, nAssigned = -7, jFirst = -7, iFirst = -7, jLast = -7, iLast = -7;
  float dy = 10, angle = 0;
  double x0 = 0, y0 = 0;
  bool integerValues = false, countAll = false, side = false, centreAndSide = false, halve = false, add = false;
  gisObject obj;

  void SetUp() override {
    LayerModuleTest::SetUp();
    clear();
  }
  void clear() {
    ci = xi = yi = std::vector<std::int32_t>(25, -7);
    cr = xr = yr = std::vector<float>(25, -7);
    mask.assign(25, 9);
  }
  template <class T>
  static OneBasedView2D<T> g(std::vector<T>& v) { return {v.data(), 5, 5}; }
  template <class T>
  static Cells changed(const std::vector<T>& v, T unset = T(-7)) {
    Cells out;
    for (int k = 0; k < 25; ++k)
      if (v[std::size_t(k)] != unset) out.emplace_back(k % 5 + 1, k / 5 + 1, float(v[std::size_t(k)]));
    return out;
  }
  void call(int gisID, bool readLayer, const std::vector<XY>& xy = {}, std::optional<int> n = {}) {
    std::vector<double> x, y;
    for (const auto& [u, v] : xy) x.push_back(u), y.push_back(v);
    gisAssignObjectsToGrid2(gisID, obj, nJ, nI, 0, 0, 10, dy, x0, y0, angle, integerValues, countAll, side,
                            centreAndSide, halve, g(ci), g(xi), g(yi), g(cr), g(xr), g(yr), 5, 5, add, true,
                            readLayer, {x.data(), x.size()}, {y.data(), y.size()}, n.value_or(int(xy.size())), 0, 0,
                            0, nAssigned, jFirst, iFirst, jLast, iLast, g(mask));
  }
  void layerCall(int id) {
    gisAssignObjectsToGrid(id, nJ, nI, 0, 0, 10, dy, x0, y0, angle, integerValues, countAll, side, centreAndSide,
                           halve, g(ci), g(xi), g(yi), g(cr), g(xr), g(yr), 5, 5, add, nAssigned);
  }
  // Single-object mode, one type flag; a region's rings are stored closed,
  // each followed by a copy of its second vertex.
  void single(bool gisObject::*flag, const std::string& name, std::vector<std::vector<XY>> rings, float value = 7.5f) {
    gisInitialiseObject(obj);
    obj.*flag = true;
    obj.gisObjectTypeName = name;
    std::vector<XY> xy;
    obj.nr = int(rings.size());
    for (std::size_t r = 0; r < rings.size(); ++r) {
      xy.insert(xy.end(), rings[r].begin(), rings[r].end());
      if (!obj.isRegion) continue;
      xy.push_back(rings[r][0]);
      obj.ir(int(r + 1)) = int(xy.size());
      xy.push_back(rings[r][1]);
    }
    setAssignValue(value);
    call(0, false, xy);
  }
  void point(double u, double v, float value = 7.5f) { single(&gisObject::isPoint, "POINT", {{{u, v}}}, value); }
  int openLayer(const std::string& name) {
    const int id = gisOpenLayer(name, "", "I ", false);
    gisReadHeader(id);
    con.clear();
    return id;
  }
};

TEST_F(Assign, PointTakesTheCellItsIndexTruncatesTo) {
  struct Case {
    double u, v;
    float value, dy;
    bool integer;
    Cells cells;
    std::string progress;
  };
  const Case cases[] = {
      {25, 13, 7.5f, 10, false, {{2, 3, 7.5f}}, "a value of 7.5 to     1 cells"},
      {-5, 13, 7.5f, 10, false, {{2, 1, 7.5f}}, "a value of 7.5 to     1 cells"},  // INT(-0.5) + 1 = 1
      {-15, 13, 7.5f, 10, false, {}, "a value of 7.5 to     0 cells"},
      {25, 45, 7.5f, 10, false, {}, "a value of 7.5 to     0 cells"},           // beyond row nJ
      {25, 13, 7.5f, 4, false, {{4, 3, 7.5f}}, "a value of 7.5 to     1 cells"},  // rows by dy
      {25, 13, 2.5f, 10, true, {{2, 3, 3}}, "a value of 3 to     1 cells"},
      {25, 13, -2.5f, 10, true, {{2, 3, -3}}, "a value of -3 to     1 cells"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progress);
    clear();
    con.clear();
    dy = c.dy;
    integerValues = c.integer;
    point(c.u, c.v, c.value);
    EXPECT_EQ(c.integer ? changed(ci) : changed(cr), c.cells);
    EXPECT_EQ(con.lines(), std::vector<std::string>{"...GIS POINT (     1 vertices) assigned " + c.progress});
    EXPECT_EQ(nAssigned, int(c.cells.size()));
  }
}

TEST_F(Assign, TurnedGridMovesAndTurnsEveryVertex) {
  x0 = 1000, y0 = 2000, angle = float(std::acos(-1.0) / 6);
  const double c = std::cos(double(angle)), s = std::sin(double(angle));
  auto map = [&](double u, double v) { return XY{x0 + c * u - s * v, y0 + s * u + c * v}; };
  point(map(25, 13).first, map(25, 13).second);
  EXPECT_EQ(changed(cr), (Cells{{2, 3, 7.5f}}));  // a wrong sign gives (3,1), swapped indices (3,2)
  clear();
  single(&gisObject::isPline, "PLINE", {{map(7, 15), map(33, 15), map(33, 38)}});
  EXPECT_EQ(changed(cr), (Cells{{2, 2, 7.5f}, {2, 3, 7.5f}, {3, 4, 7.5f}, {4, 4, 7.5f}}));
  EXPECT_EQ(std::vector<int>({nAssigned, jFirst, jLast, iFirst, iLast}), std::vector<int>({4, 2, 3, 1, 2}));
}

TEST_F(Assign, PointsAndLinesAddOnlyInSideMode) {
  add = true;
  point(25, 13);
  point(25, 13);
  EXPECT_EQ(changed(cr), (Cells{{2, 3, 7.5f}}));  // replaced, not added
  side = halve = true;
  point(25, 13, 3);
  point(5, 5, 3);  // two of cell (1,1)'s sides lie outside the arrays
  EXPECT_EQ(changed(xr), (Cells{{1, 1, -5.5f}, {2, 2, -5.5f}, {2, 3, -5.5f}}));
  EXPECT_EQ(changed(yr), (Cells{{1, 1, -5.5f}, {1, 3, -5.5f}, {2, 3, -5.5f}}));
  EXPECT_TRUE(con.text().ends_with("to     4 points\n"));
  add = false;
  point(5, 5, 3);
  EXPECT_EQ(changed(xr), (Cells{{1, 1, 3}, {2, 2, -5.5f}, {2, 3, -5.5f}}));
  integerValues = true;  // integer mode writes the centre whatever the side flag
  point(5, 5, 3);
  EXPECT_EQ(changed(ci), (Cells{{1, 1, 3}}));
}

TEST_F(Assign, RegionPassesByMode) {
  nJ = nI = 5;
  const std::tuple<bool*, int, std::string> cases[] = {
      {nullptr, 9, "     9 cells"},
      {&side, 18, "    18 points"},
      {&centreAndSide, 27, "    27 points"},
      {&countAll, 36, "    36 points"},  // marked and counted, nothing written
  };
  for (const auto& [mode, count, ending] : cases) {
    SCOPED_TRACE(ending);
    clear();
    con.clear();
    side = centreAndSide = countAll = false;
    if (mode) *mode = true;
    single(&gisObject::isRegion, "REGION", {kSquare});
    EXPECT_EQ(nAssigned, count);
    EXPECT_EQ(con.lines(),
              std::vector<std::string>{"...GIS REGION (     6 vertices /  1 polygons) assigned 7.5 to" + ending});
    EXPECT_EQ(changed(cr).size() + changed(xr).size() + changed(yr).size(), mode == &countAll ? 0u : size_t(count));
  }
}

TEST_F(Assign, RegionMaskWithAHoleInBothModes) {
  nJ = nI = 5;
  auto check = [&]() {
    const Cells marked = changed<std::uint8_t>(mask, 0);
    EXPECT_EQ(marked.size(), 21u);  // all but the four centres in the hole
    Cells values;  // the value at every marked element, nowhere else
    for (const auto& [j, i, v] : marked) {
      EXPECT_FALSE(j >= 2 && j <= 3 && i >= 2 && i <= 3);
      values.emplace_back(j, i, 4.5f);
    }
    EXPECT_EQ(changed(cr), values);
    EXPECT_EQ(nAssigned, 21);
  };
  single(&gisObject::isRegion, "REGION", {kOuter, kHole}, 4.5f);
  check();
  clear();
  setAssignValue(0);
  call(openLayer(std::string(QUENZEL_TEST_DATA) + "/assign/hole.mif"), true);  // made by ogr2ogr
  check();
  EXPECT_EQ(withoutUnitLines(con.lines()),
            std::vector<std::string>{"...GIS REGION (    12 vertices /  2 polygons) assigned 4.5 to    21 cells"});
}

TEST_F(Assign, SingleObjectModeAssignsOnceAndChecksItsCount) {
  side = add = true;
  gisInitialiseObject(obj);
  obj.isPlineMultiple = true;
  obj.nsect = 3;
  setAssignValue(1);
  call(0, false, {{5, 13}, {25, 13}});
  // Cells (2,2) and (2,3) share the side (2,2); three sections would add 3.
  EXPECT_EQ(changed(xr), (Cells{{2, 1, -6}, {2, 2, -5}, {2, 3, -6}}));
  for (int n : {-1, 100001}) {
    EXPECT_THROW(call(0, false, {{5, 13}}, n), test::StopCalled);
    EXPECT_TRUE(hasLine(con.lines(), "Should not be here [gisAssignObjectsToGrid2]" + kContact)) << con.text();
  }
  EXPECT_THROW(call(0, true), test::StopCalled);  // layer mode checks the ID before its end-of-data flag
  EXPECT_TRUE(hasLine(con.lines(), "Should not be here gisAssignObjectsToGrid2[gisID=0]" + kContact));
}

TEST_F(Assign, LayerObjectByObject) {
  test::writeFile(dir / "objs.mif",
                  "Version 300\nDelimiter \",\"\nColumns 2\n  v Float\n  name Char(10)\nData\n\nPoint 25 13\n"
                  "Pline 2\n7 15\n33 15\nPline Multiple 3\n  2\n5 5\n5 35\n  1\n1 1\n  2\n15 2\n15 8\n"
                  "Region 2\n  5\n2 2\n48 2\n48 48\n2 48\n2 2\n  5\n12 12\n12 28\n28 28\n28 12\n12 12\n"
                  "Text \"t\"\n  1 1 2 2\nPoint 35 35\n");
  test::writeFile(dir / "objs.mid", "1.5,\"a\"\n2,\"b\"\n3,\"c\"\n4,\"d\"\n5,\"e\"\n,\"f\"\n");
  if (test::haveCommand("ogrinfo")) {
    EXPECT_NE(test::runProgram("ogrinfo", {"-so", "-al", "objs.mif"}, dir.path()).output.find("Feature Count: 6"),
              std::string::npos);
  }
  const int id = openLayer("objs.mif");
  nJ = nI = 5;
  std::vector<int> counts;
  while (!gisLayerEoF(id)) {
    layerCall(id);
    counts.push_back(nAssigned);
  }
  const std::vector<std::string> want = {
      "...GIS POINT (     1 vertices) assigned a value of 1.5 to     1 cells",
      "...GIS PLINE (     2 vertices) assigned a value of 2. to     2 cells",
      // No start cell on a centre line.
      "...GIS PLINE MULTIPLE (     2 vertices) assigned a value of 3. to     3 cells",
      "...GIS PLINE MULTIPLE (     1 vertices) assigned a value of 3. to     0 cells",
      "...GIS PLINE MULTIPLE (     2 vertices) assigned a value of 3. to     1 cells",
      "...GIS REGION (    12 vertices /  2 polygons) assigned 4. to    21 cells",
      "WARNING 2073 - Object ignored.  Only Points, Lines, Polylines & Regions used.",
      "GIS Object = TEXT",
      // The text's value was read before its type was tested; an empty first field keeps it.
      "...GIS POINT (     1 vertices) assigned a value of 5. to     1 cells",
  };
  EXPECT_EQ(withoutUnitLines(con.lines()), want);
  EXPECT_EQ(counts, (std::vector<int>{1, 2, 1, 21, 21, 1}));
  con.clear();
  layerCall(id);  // at the end: nothing read, written or printed
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(nAssigned, 1);
}

TEST_F(Assign, RecordWithoutANumberEndsTheRun) {
  for (const std::string record : {"\"abc\",1", "   "}) {
    test::writeFile(dir / "bad.mif", "Version 300\nDelimiter \",\"\nColumns 1\n  v Char(5)\nData\n\nPoint 5 5\n");
    test::writeFile(dir / "bad.mid", record + "\n");
    EXPECT_THROW(call(openLayer("bad.mif"), true), test::StopCalled);
    const auto l = withoutUnitLines(con.lines());
    EXPECT_TRUE(hasLine(l, "ERROR 2148 - Reading attribute data from data line below.")) << con.text();
    EXPECT_TRUE(hasLine(l, record == "   " ? "Data Line =" : "Data Line = " + record)) << con.text();
    EXPECT_EQ(changed(cr), Cells{});
    closeAllUnitsQuietly();
    SetUp();
  }
}

}  // namespace
}  // namespace quenzel
