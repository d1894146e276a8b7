// The object record and the reading protocol: clearing a record, the label
// point, angle and length of each kind of object, and the .mid record read.
#include <cmath>
#include <string>
#include <vector>

#include "gis/object_record.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

TEST(GisObjectRecord, InitialiseClearsTypeButKeepsCompletenessAndLaterParts) {
  gisObject obj;
  obj.isNone = obj.isPoint = obj.isLine = obj.isPline = obj.isPlineMultiple = obj.isRegion = true;
  obj.isEllipse = obj.isRect = obj.isRoundRect = obj.isSpare = obj.isArc = obj.isCenter = true;
  obj.isText = obj.isMultiPoint = obj.isComplete = true;
  obj.nsect = 4;
  obj.nr = 3;
  obj.ir(1) = 7;
  obj.ir(2) = 9;
  obj.gisObjectTypeName = "REGION";
  gisInitialiseObject(obj);
  const bool flags[] = {obj.isNone,  obj.isPoint,       obj.isLine,  obj.isPline, obj.isPlineMultiple,
                        obj.isRegion, obj.isEllipse,    obj.isRect,  obj.isRoundRect, obj.isSpare,
                        obj.isArc,   obj.isCenter,      obj.isText,  obj.isMultiPoint};
  for (bool f : flags) EXPECT_FALSE(f);
  EXPECT_TRUE(obj.isComplete);
  EXPECT_EQ(obj.nsect, 1);
  EXPECT_EQ(obj.nr, 1);
  EXPECT_EQ(obj.ir(1), 1);
  EXPECT_EQ(obj.ir(2), 9);
  EXPECT_EQ(obj.gisObjectTypeName, "");
}

enum class Kind { Point, Line, Pline, PlineSection, Region, Arc, Text };

gisObject objectOf(Kind kind) {
  gisObject o;
  switch (kind) {
    case Kind::Point: o.isPoint = true; break;
    case Kind::Line: o.isLine = true; break;
    case Kind::Pline: o.isPline = true; break;
    case Kind::PlineSection: o.isPlineMultiple = true; break;
    case Kind::Region: o.isRegion = true; break;
    case Kind::Arc: o.isArc = true; break;
    case Kind::Text: o.isText = true; break;
  }
  return o;
}

constexpr double kUnset = -777.0;

TEST(GisObjectLabel, LabelAngleAndLengthByKind) {
  struct Case {
    const char* name;
    Kind kind;
    std::vector<std::pair<double, double>> xy;
    double xLabel, yLabel;
    float angle, length;
    int nAfter;
  } cases[] = {
      {"line", Kind::Line, {{0, 0}, {2, 2}}, 1, 1, 45.0f, 2.8284271f, 2},
      {"polyline, half at a vertex", Kind::Pline, {{0, 0}, {10, 0}, {10, 10}}, 10, 0, 0.0f, 20.0f, 3},
      {"polyline, half inside", Kind::Pline, {{0, 0}, {4, 0}, {4, 3}, {10, 3}}, 4, 2.5, 90.0f, 13.0f, 4},
      {"section of a multiple polyline", Kind::PlineSection, {{0, 0}, {0, -6}}, 0, -3, -90.0f, 6.0f, 2},
      {"zero-length first segment", Kind::Pline, {{0, 0}, {0, 0}, {4, 0}}, 2, 0, 0.0f, 4.0f, 3},
      {"zero-length segment at the half", Kind::Pline, {{0, 0}, {2, 0}, {2, 0}, {2, 2}}, 2, 0, 0.0f, 4.0f, 4},
      {"single vertex", Kind::Pline, {{3, 4}}, 3, 4, 0.0f, 0.0f, 1},
      {"no length at all", Kind::Pline, {{3, 4}, {3, 4}, {3, 4}}, 3, 4, 0.0f, 0.0f, 3},
      {"no vertices", Kind::Pline, {}, kUnset, kUnset, 0.0f, 0.0f, 0},
      // A B C D A stored with the copy of B: the mean of A, B, C, D.
      {"region of one ring", Kind::Region, {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}, {4, 0}}, 2, 1, 0.0f, 0.0f, 6},
      // The divisor n - 2 takes in the first ring's closing vertex and copy.
      {"region of two rings",
       Kind::Region,
       {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {1, 1}, {2, 1}, {2, 2}, {1, 1}, {2, 1}},
       17.0 / 9.0, 12.0 / 9.0, 0.0f, 0.0f, 11},
      {"region too small for a mean", Kind::Region, {{5, 6}, {7, 8}}, 5, 6, 0.0f, 0.0f, 2},
      {"arc", Kind::Arc, {{1, 1}, {2, 2}}, kUnset, kUnset, 0.0f, 0.0f, 0},
      {"text", Kind::Text, {{1, 1}, {2, 2}}, kUnset, kUnset, 0.0f, 0.0f, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneBased<double> x(12, 0.0), y(12, 0.0);
    for (std::size_t i = 0; i < c.xy.size(); ++i) {
      x(i + 1) = c.xy[i].first;
      y(i + 1) = c.xy[i].second;
    }
    int n = static_cast<int>(c.xy.size());
    double xl = kUnset, yl = kUnset;
    float angle = 0.0f, length = 0.0f;
    gisObjectLabel(objectOf(c.kind), x.view(), y.view(), n, true, xl, yl, angle, length);
    // The fraction along the segment is single precision.
    EXPECT_NEAR(xl, c.xLabel, 1e-6);
    EXPECT_NEAR(yl, c.yLabel, 1e-6);
    EXPECT_FLOAT_EQ(angle, c.angle);
    EXPECT_FLOAT_EQ(length, c.length);
    EXPECT_EQ(n, c.nAfter);
  }
}

TEST(GisObjectLabel, PointIsCopiedToTheSecondVertex) {
  OneBased<double> x(2, 0.0), y(2, 0.0);
  x(1) = 1.5;
  y(1) = -2.25;
  int n = 1;
  double xl = 0, yl = 0;
  float angle = 0, length = 0;
  gisObjectLabel(objectOf(Kind::Point), x.view(), y.view(), n, true, xl, yl, angle, length);
  EXPECT_EQ(xl, 1.5);
  EXPECT_EQ(yl, -2.25);
  EXPECT_EQ(x(2), 1.5);
  EXPECT_EQ(y(2), -2.25);
}

TEST(GisObjectLabel, CenterLabelOfARegionStands) {
  OneBased<double> x(6, 1.0), y(6, 1.0);
  int n = 6;
  double xl = 5, yl = 5;
  float angle = 0, length = 0;
  gisObjectLabel(objectOf(Kind::Region), x.view(), y.view(), n, false, xl, yl, angle, length);
  EXPECT_EQ(xl, 5);
  EXPECT_EQ(yl, 5);
}

TEST(GisObjectLabel, LengthIsSummedInSinglePrecision) {
  // Ten segments of 0.1: the single-precision sum differs from the double one.
  OneBased<double> x(11, 0.0), y(11, 0.0);
  for (int i = 1; i <= 11; ++i) x(i) = 0.1 * (i - 1);
  float expected = 0.0f;
  for (int i = 2; i <= 11; ++i) expected += static_cast<float>(x(i) - x(i - 1));
  int n = 11;
  double xl = 0, yl = 0;
  float angle = 0, length = 0;
  gisObjectLabel(objectOf(Kind::Pline), x.view(), y.view(), n, true, xl, yl, angle, length);
  EXPECT_EQ(length, expected);
  EXPECT_NEAR(xl, 0.5, 1e-6);
}

class ReadRecord : public LayerModuleTest {};

TEST_F(ReadRecord, MidLinesInTurnThenError0254AtTheEnd) {
  test::writeFile(dir / "roads.mif", "Version 300\n");
  test::writeFile(dir / "roads.mid", "1,\"main\"\r\n2,\"side\"\n");
  const int id = gisOpenLayer((dir / "roads.mif").string(), "", "I ", false);
  gisObject obj;
  obj.gisObjectTypeName = "PLINE   ";
  std::string line;
  gisReadRecord(id, obj, line);
  EXPECT_EQ(line, "1,\"main\"");
  EXPECT_FALSE(gisLayerEoF(id));
  gisReadRecord(id, obj, line);
  EXPECT_EQ(line, "2,\"side\"");
  EXPECT_TRUE(gisLayerEoF(id));
  con.clear();
  EXPECT_THROW(gisReadRecord(id, obj, line), test::StopCalled);
  EXPECT_EQ(line, "");
  EXPECT_EQ(con.lines()[1],
            "ERROR 0254 - Failed to read object attribute data record for a PLINE object in GIS layer.");
}

}  // namespace
}  // namespace quenzel
