// The writing protocol: the part-start check, attribute records of MIF
// layers, the shape set an object goes to, and the shapefile header step.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/fortran_format.h"
#include "common/run_control.h"

#include "gis/object_record.h"
#include "gis/write_protocol.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

using Lines = std::vector<std::string>;

class WriteProtocol : public LayerModuleTest {
 protected:
  void SetUp() override {
    LayerModuleTest::SetUp();
    gisInitialiseObject(obj);
    gisNP = 0;
  }
  // A stop finishes the open output layers and closes every unit, as at
  // the end of a run: the layer is opened again after one, and the next
  // stop finishes it again (a stop without the hooks would leave the slot
  // open on closed units).
  int reopened(int id, const char* name, const char* letters = "") {
    resetBeforeExitHooks();
    return m.gisLayerOpen(id) ? id : gisOpenLayer(name, letters, "O ", false);
  }
  gisObject obj;
};

TEST_F(WriteProtocol, PartStartsAreMendedOrStopTheRun) {
  const int id = gisOpenLayer("out.mif", "", "O ", false);
  obj.isRegion = true;
  obj.nr = 0;
  obj.ir(1) = 0;
  gisNP = 5;
  gisWriteObject(id, obj);
  EXPECT_EQ(obj.nr, 1);
  EXPECT_EQ(obj.ir(1), 1);
  // The writer took the mended count: one part of all five vertices.
  int closing = id;
  gisCloseLayer(closing);
  const Lines region = test::splitLines(test::readFile(dir / "out.mif"));
  ASSERT_EQ(region.size(), 7u);
  EXPECT_EQ(region[0], "Region 1");
  EXPECT_EQ(region[1], " 5");

  struct Case {
    const char* check;
    int nr;
    std::vector<int> ir;
    int np;
    int i, irShown;
  } cases[] = {
      {"gisO_%ir(i) <= gisO_%ir(i-1)", 2, {1, 1}, 10, 2, 1},
      {"gisO_%ir(i) <= gisO_%ir(i-1)", 3, {1, 6, 4}, 10, 3, 4},
      {"gisO_%ir(1) /= 1", 2, {2, 6}, 10, 1, 2},
      {"gisO_%ir(nr) > gisNP", 2, {1, 6}, 5, 2, 6},
      {"gisO_%nr > gisMaxParts", 10001, {1}, 10, 10000, 0},
      {"gisNP > gisMaxWriteNodes", 1, {1}, 1000002, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.check);
    ASSERT_EQ(reopened(id, "out.mif"), id);
    gisInitialiseObject(obj);
    obj.isPline = true;
    for (std::size_t k = 0; k < c.ir.size(); ++k) obj.ir(static_cast<long long>(k + 1)) = c.ir[k];
    obj.ir(gisMaxParts) = 0;
    obj.nr = c.nr;
    gisNP = c.np;
    con.clear();
    EXPECT_THROW(gisWriteObject(id, obj), test::StopCalled);
    const Lines lines = con.lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], std::string("Should not be here [") + c.check + "]" + kContact);
    EXPECT_EQ(lines[2], "GIS Layer   =    1");
    EXPECT_EQ(lines[3], "i           =" + formatI(c.i, 5));
    EXPECT_EQ(lines[4], "gisO_%ir(i) =" + formatI(c.irShown, 5));
    EXPECT_EQ(lines[5], "gisO_%nr    =" + formatI(c.nr, 5));
  }

  // Points are not split into parts: whatever nr and ir hold is not looked at.
  ASSERT_EQ(reopened(id, "out.mif"), id);
  gisInitialiseObject(obj);
  obj.isPoint = true;
  obj.nr = 3;
  obj.ir(2) = -4;
  gisNP = 1;
  gisX(1) = 1.5;
  gisY(1) = -2.0;
  EXPECT_NO_THROW(gisWriteObject(id, obj));
  closing = id;
  gisCloseLayer(closing);
  EXPECT_EQ(test::readFile(dir / "out.mif"), "Point         1.500000       -2.000000\n");
}

TEST_F(WriteProtocol, MidRecordIsTheTrimmedAttributeLine) {
  const int id = gisOpenLayer("out.mif", "", "O ", false);
  gisAttLine = "1.5,\"a, b\"   ";
  gisWriteRecord(id, obj);
  gisAttLineLarge = std::string(5000, 'x') + "  ";
  gisWriteRecordLarge(id, obj);
  int closing = id;
  gisCloseLayer(closing);
  EXPECT_EQ(test::readFile(dir / "out.mid"), "1.5,\"a, b\"\n" + std::string(5000, 'x') + "\n");
}

TEST_F(WriteProtocol, FailedMidWriteIsError0254) {
  struct Case {
    bool large;
    const char* text;
  } cases[] = {
      {false, "ERROR 0254 - Failed to write attribute data record for a Region object in GIS layer."},
      {true, "ERROR 0254 - Failed to write large attribute data record for a Region object in GIS layer."},
  };
  // A .mid unit that is no longer open: every write to it fails.
  const int id = gisOpenLayer("out.mif", "", "O ", false);
  obj.gisObjectTypeName = "Region";
  for (const Case& c : cases) {
    ASSERT_EQ(reopened(id, "out.mif"), id);
    CLOSER(m.mifLayer(id).midUnit);
    con.clear();
    EXPECT_THROW(c.large ? gisWriteRecordLarge(id, obj) : gisWriteRecord(id, obj), test::StopCalled);
    EXPECT_EQ(con.lines()[1], c.text);
  }
}

TEST_F(WriteProtocol, MidWriteThatFailsWhenFlushedIsError0254AtClose) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const int id = gisOpenLayer("out.mif", "", "O ", false);
  CLOSER(m.mifLayer(id).midUnit);
  OPENFILE(m.mifLayer(id).midUnit, "O ", "/dev/full");
  obj.gisObjectTypeName = "Pline";
  gisAttLine = "1";
  gisWriteRecord(id, obj);
  con.clear();
  int closing = id;
  EXPECT_THROW(gisCloseLayer(closing), test::StopCalled);
  const Lines lines = con.lines();
  EXPECT_TRUE(hasLine(lines, "ERROR 0254 - Failed to write attribute data record for a Pline object in GIS layer."));
  // The end-of-run hook does not try the same layer again.
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Closing GIS Layer 1 [out.mif]..."), 1);
}

// Which shape set gets the record of each object on a point/line/region
// shapefile layer: the first set flag decides, a text becomes a point, a
// null object goes to every set whose table is open.
TEST_F(WriteProtocol, ShapeSetChosenByTheFirstFlag) {
  struct Case {
    const char* name;
    std::vector<bool gisObject::*> flags;
    int counts[3];
  } cases[] = {
      {"point", {&gisObject::isPoint}, {1, 0, 0}},
      {"line", {&gisObject::isLine}, {0, 1, 0}},
      {"polyline", {&gisObject::isPline}, {0, 1, 0}},
      {"multiple polyline", {&gisObject::isPlineMultiple}, {0, 1, 0}},
      {"region", {&gisObject::isRegion}, {0, 0, 1}},
      {"text", {&gisObject::isText}, {1, 0, 0}},
      {"multipoint", {&gisObject::isMultiPoint}, {1, 0, 0}},
      {"none", {&gisObject::isNone}, {1, 1, 1}},
      {"point and line", {&gisObject::isLine, &gisObject::isPoint}, {1, 0, 0}},
      {"region and text", {&gisObject::isText, &gisObject::isRegion}, {0, 0, 1}},
  };
  gisAttrDef.count = 1;
  gisAttrDef.name(1) = "F";
  gisAttrDef.type(1) = "Integer";
  int id = gisOpenLayer("out.shp", "PLR", "O ", false);
  gisWriteHeader(id);
  gisNP = 2;
  auto writeOne = [&](const Case& c) {
    for (int k = 1; k <= 3; ++k) m.dbfFile(k, id).recordCounter = 0;
    gisInitialiseObject(obj);
    for (auto f : c.flags) obj.*f = true;
    gisWriteObject(id, obj);
    gisWriteRecord(id, obj);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(m.dbfFile(k, id).recordCounter, c.counts[k - 1]) << "set " << k;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeOne(c);
  }
  // A null object skips a set whose table is closed.
  CLOSER(m.dbfFile(3, id).dbfUnit);
  writeOne({"none, region table closed", {&gisObject::isNone}, {1, 1, 0}});

  gisInitialiseObject(obj);
  obj.isText = true;
  gisWriteObject(id, obj);
  EXPECT_TRUE(obj.isPoint);
  EXPECT_FALSE(obj.isText);

  gisInitialiseObject(obj);
  obj.isEllipse = true;
  for (bool record : {false, true}) {
    id = reopened(id, "out.shp", "PLR");
    con.clear();
    EXPECT_THROW(record ? gisWriteRecord(id, obj) : gisWriteObject(id, obj), test::StopCalled);
    const std::string tag = record ? "gisWriteRecord-dbf" : "gisWriteObject-shp";
    EXPECT_EQ(con.lines()[0], "");
    EXPECT_EQ(con.lines()[1], "Should not be here [" + tag + "].  Please contact support@quenzel.dev.");
  }
  id = reopened(id, "out.shp", "PLR");
  con.clear();
  EXPECT_THROW(gisWriteRecordLarge(id, obj), test::StopCalled);
  EXPECT_EQ(con.lines()[1], "Should not be here [gisWriteRecordLarge-dbf].  Please contact support@quenzel.dev.");
}

TEST_F(WriteProtocol, ShapefileHeaderStepWritesPrjAndResetsTheBox) {
  gisAttrDef.count = 1;
  gisAttrDef.name(1) = "F";
  gisAttrDef.type(1) = "Integer";
  const int id = gisOpenLayer("out.shp", "P", "O ", false);
  ShpFile& point = m.shpFile(1, id);
  m.dbfFile(1, id).recordCounter = 4;
  gisPrjText = "PROJCS[\"x\"]   ";
  gisWriteHeader(id);

  EXPECT_EQ(point.prjUnit, 0);
  EXPECT_EQ(point.shxUnitLE, 0);
  EXPECT_GT(point.shpUnitLE, 0);
  EXPECT_EQ(test::readFile(dir / "out_P.prj"), "PROJCS[\"x\"]\n");
  EXPECT_EQ(point.xMin, static_cast<double>(9.0e29f));
  EXPECT_EQ(point.yMin, static_cast<double>(9.0e29f));
  EXPECT_EQ(point.xMax, -static_cast<double>(9.0e29f));
  EXPECT_EQ(point.yMax, -static_cast<double>(9.0e29f));
  EXPECT_EQ(point.nextOffset, 50);
  EXPECT_EQ(m.dbfFile(1, id).recordCounter, 0);
  // The line set was not opened here: it is passed over.
  const ShpFile& line = m.shpFile(2, id);
  EXPECT_EQ(line.xMin, 0.0);
  EXPECT_EQ(line.xMax, -1.0);
  EXPECT_EQ(line.nextOffset, 0);
  gisPrjText.clear();
}

}  // namespace
}  // namespace quenzel
