// Shapefile sets: the bytes the writer puts on disk (read back by ogrinfo
// and pyshp as well), opening sets, the readers on sets ogr2ogr made, and
// damaged sets.
#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/platform.h"
#include "gis/header_services.h"
#include "gis/object_record.h"
#include "gis/shapefile.h"
#include "gis/write_protocol.h"
#include "layer_fixture.h"
#include "shape_files.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using test::Points;

const fs::path kShp = fs::path(QUENZEL_TEST_DATA) / "shp";

std::string num(double v) {
  char b[32];
  return std::string(b, std::to_chars(b, b + sizeof b, v).ptr);
}

// The main header of a .shp or .shx: code, length, version, type and box.
void expectHeader(const std::string& b, int fileLength, int type, std::vector<double> box) {
  ASSERT_GE(b.size(), 100u);
  EXPECT_EQ(getBE32(b.data()), 9994u);
  EXPECT_EQ(b.substr(4, 20), std::string(20, '\0'));
  EXPECT_EQ(static_cast<int>(getBE32(b.data() + 24)), fileLength);
  EXPECT_EQ(getLE32(b.data() + 28), 1000u);
  EXPECT_EQ(static_cast<int>(getLE32(b.data() + 32)), type);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(getLEDouble(b.data() + 36 + 8 * k), box[static_cast<std::size_t>(k)]) << k;
  EXPECT_EQ(b.substr(68, 32), std::string(32, '\0'));
  EXPECT_EQ(b.size(), 2u * static_cast<std::size_t>(fileLength));
}

// Big-endian integers from `at` on, as many as expected.
std::vector<int> be32s(const std::string& b, std::size_t at, std::size_t n) {
  std::vector<int> v;
  for (std::size_t k = 0; k < n; ++k) v.push_back(static_cast<int>(getBE32(b.data() + at + 4 * k)));
  return v;
}

class Shapefile : public LayerModuleTest {
 protected:
  void SetUp() override {
    LayerModuleTest::SetUp();
    platform::setCurrentDateForTests(platform::Date{2024, 5, 31});
    gisAttrDef.count = 1;
    gisAttrDef.name(1) = "Name";
    gisAttrDef.type(1) = "Char";
    gisAttrDef.width(1) = 8;
    gisAttrDef.recordCount = 0;
  }
  void TearDown() override {
    platform::setCurrentDateForTests(std::nullopt);
    LayerModuleTest::TearDown();
  }
  void write(int id, bool gisObject::*flag, const Points& pts, const std::vector<int>& parts, const char* name) {
    gisObject obj;
    obj.*flag = true;
    gisNP = static_cast<int>(pts.size());
    for (int i = 1; i <= gisNP; ++i) std::tie(gisX(i), gisY(i)) = pts[static_cast<std::size_t>(i - 1)];
    obj.nr = static_cast<int>(parts.size());
    for (int k = 1; k <= obj.nr; ++k) obj.ir(k) = parts[static_cast<std::size_t>(k - 1)];
    gisAttLine = std::string("\"") + name + "\"";
    gisWriteObject(id, obj);
    gisWriteRecord(id, obj);
  }

  // Opens an input set and reads its headers: both .shp headers, the
  // big-endian unit closed, the table header.
  int openInputSet(const std::string& name) {
    const int id = gisOpenLayer(name, "", "I ", false);
    gisReadHeader(id);
    return id;
  }

  // Every object through the reading protocol: a line with its type name,
  // section count and attribute line, then a line per section read.
  std::string readLayer(int id, int maxNodes = 20000) {
    std::string out;
    gisObject obj;
    OneBased<double> X(20000), Y(20000);
    for (int guard = 0; !gisLayerEoF(id) && guard < 100; ++guard) {
      if (!gisObjectType(id, obj)) continue;
      std::string line;
      gisReadRecord(id, obj, line);
      out += obj.gisObjectTypeName + " " + std::to_string(obj.nsect) + " | " + line + "\n";
      const bool bySection = obj.isPline || obj.isPlineMultiple || obj.isMultiPoint;
      const int sections = bySection ? obj.nsect : (obj.isPoint || obj.isRegion) ? 1 : 0;
      for (int s = 1; s <= sections; ++s) {
        int n = 0;
        double xl = 0, yl = 0;
        float angle = 0, length = 0;
        gisReadObject(id, obj, X.view(), Y.view(), maxNodes, n, xl, yl, angle, length, true);
        out += " ";
        for (int i = 1; i <= n; ++i) out += " " + num(X(i)) + "," + num(Y(i));
        if (obj.isRegion)
          for (int k = 1; k <= obj.nr + 1; ++k) out += (k == 1 ? " | ir " : " ") + std::to_string(obj.ir(k));
        out += "\n";
      }
    }
    return out;
  }
};

TEST_F(Shapefile, BytesOfEachKindOfSet) {
  int id = gisOpenLayer("out.shp", "PLR", "O ", false);
  gisWriteHeader(id);
  write(id, &gisObject::isPoint, {{10, 20}}, {1}, "a");
  write(id, &gisObject::isPline, {{0, 0}, {3, 4}, {6, 0}}, {1}, "b");
  write(id, &gisObject::isPlineMultiple, {{0, 0}, {1, 0}, {1, 1}, {5, 5}, {6, 5}, {6, 6}, {7, 7}}, {1, 4}, "c");
  gisCloseLayer(id);
  id = gisOpenLayer("more.shp", "PR", "O ", false);
  gisWriteHeader(id);
  write(id, &gisObject::isMultiPoint, {{1, 2}, {3, 4}, {5, 6}}, {1}, "m");
  write(id, &gisObject::isMultiPoint, {}, {1}, "e");  // leaves the set's box as it is
  write(id, &gisObject::isRegion, {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}},
        {1, 6}, "r");
  gisCloseLayer(id);
  id = gisOpenLayer("nulls.shp", "P", "O ", false);
  gisWriteHeader(id);
  write(id, &gisObject::isNone, {}, {1}, "n");
  write(id, &gisObject::isNone, {}, {1}, "n");
  gisCloseLayer(id);

  // A point set is what ogr2ogr writes for the same point.
  EXPECT_EQ(test::readFile(dir / "out_P.shp"), test::readFile(kShp / "point.shp"));
  EXPECT_EQ(test::readFile(dir / "out_P.shx"), test::readFile(kShp / "point.shx"));

  // Polylines of one and of two parts: content lengths 48 and 82 words.
  const std::string lines = test::readFile(dir / "out_L.shp");
  expectHeader(lines, 188, 3, {0, 0, 7, 7});
  EXPECT_EQ(be32s(lines, 100, 2), (std::vector<int>{1, 48}));
  EXPECT_EQ(getLE32(lines.data() + 108), 3u);
  EXPECT_EQ(getLEDouble(lines.data() + 128), 6.0);  // the record's box
  EXPECT_EQ(getLEDouble(lines.data() + 136), 4.0);
  EXPECT_EQ(be32s(lines, 204, 2), (std::vector<int>{2, 82}));
  EXPECT_EQ(getLE32(lines.data() + 248), 2u);  // parts
  EXPECT_EQ(getLE32(lines.data() + 252), 7u);  // points
  EXPECT_EQ(getLE32(lines.data() + 256), 0u);
  EXPECT_EQ(getLE32(lines.data() + 260), 3u);
  const std::string index = test::readFile(dir / "out_L.shx");
  expectHeader(index, 58, 3, {0, 0, 7, 7});
  EXPECT_EQ(be32s(index, 100, 4), (std::vector<int>{50, 48, 102, 82}));

  // A set without records keeps the header it got; its table gets the end
  // byte after the descriptors and the count 0.
  for (const char* name : {"out_R.shp", "out_R.shx"}) expectHeader(test::readFile(dir / name), 50, 5, {0, 0, -1, -1});
  const std::string table = test::readFile(dir / "out_R.dbf");
  ASSERT_EQ(table.size(), 32u + 32 + 1 + 1);
  EXPECT_EQ(getLE32(table.data() + 4), 0u);
  EXPECT_EQ(table.back(), '\x1a');

  // Only null records: no extent, so the empty box.
  const std::string nulls = test::readFile(dir / "nulls_P.shp");
  expectHeader(nulls, 62, 1, {0, 0, -1, -1});
  EXPECT_EQ(be32s(nulls, 100, 2), (std::vector<int>{1, 2}));
  EXPECT_EQ(getLE32(nulls.data() + 108), 0u);
  const std::string nullIndex = test::readFile(dir / "nulls_P.shx");
  expectHeader(nullIndex, 58, 1, {0, 0, -1, -1});
  EXPECT_EQ(be32s(nullIndex, 100, 4), (std::vector<int>{50, 2, 56, 2}));

  const std::string fields = "[('Name', 'C', 8, 0)]\n";
  const struct {
    const char* set;
    std::string pyshp;
    std::vector<const char*> ogrinfo;
  } sets[] = {
      {"out_P.shp", "1 1 " + fields + "1 [] [(10.0, 20.0)] ['a']\n", {"Feature Count: 1", "POINT (10 20)"}},
      {"out_L.shp",
       "3 2 " + fields + "3 [0] [(0.0, 0.0), (3.0, 4.0), (6.0, 0.0)] ['b']\n" +
           "3 [0, 3] [(0.0, 0.0), (1.0, 0.0), (1.0, 1.0), (5.0, 5.0), (6.0, 5.0), (6.0, 6.0), (7.0, 7.0)] ['c']\n",
       {"Feature Count: 2", "LINESTRING (0 0,3 4,6 0)", "MULTILINESTRING ((0 0,1 0,1 1),(5 5,6 5,6 6,7 7))",
        "Name: String (8.0)"}},
      {"out_R.shp", "5 0 " + fields, {"Feature Count: 0", "Geometry: Polygon"}},
      {"nulls_P.shp", "1 2 " + fields + "0 [] [] ['n']\n0 [] [] ['n']\n", {"Feature Count: 2", "Name (String) = n"}},
      // Multipoints go to the point set, whose header says points.
      {"more_P.shp", "1 2 " + fields + "8 [] [(1.0, 2.0), (3.0, 4.0), (5.0, 6.0)] ['m']\n8 [] [] ['e']\n",
       {"Extent: (1.000000, 2.000000) - (5.000000, 6.000000)", "MULTIPOINT ((1 2),(3 4),(5 6))"}},
      {"more_R.shp",
       "5 1 " + fields +
           "5 [0, 5] [(0.0, 0.0), (0.0, 10.0), (10.0, 10.0), (10.0, 0.0), (0.0, 0.0), (2.0, 2.0), (4.0, 2.0), "
           "(4.0, 4.0), (2.0, 4.0), (2.0, 2.0)] ['r']\n",
       {"POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))"}},
  };
  for (const auto& s : sets) {
    SCOPED_TRACE(s.set);
    if (std::string listing = test::pyshpListing(dir / s.set); !listing.empty()) {
      EXPECT_EQ(listing, s.pyshp);
    }
    if (!test::haveCommand("ogrinfo")) continue;
    test::RunResult r = test::runProgram("ogrinfo", {"-ro", "-al", s.set}, dir.path());
    EXPECT_EQ(r.status, 0);
    for (const char* text : s.ogrinfo) EXPECT_NE(r.output.find(text), std::string::npos) << text << "\n" << r.output;
  }
}

TEST_F(Shapefile, ShapeWithoutItsSetIsAWriteError) {
  const int id = gisOpenLayer("out.shp", "PL", "O ", false);
  gisWriteHeader(id);
  EXPECT_THROW(write(id, &gisObject::isRegion, {{0, 0}, {1, 0}, {0, 0}}, {1}, "r"), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "ERROR 0439 - Writing .shp file object coordinates."));
  EXPECT_EQ(m.shpFile(3, id).recordCount, 0);
}

TEST_F(Shapefile, OpeningSets) {
  gisOpenLayer("roads.SHP", "Lp", "O ", false);
  for (const char* name : {"roads_L.shp", "roads_L.shx", "roads_L.dbf", "roads_L.prj", "roads_p.shp", "roads_p.shx",
                           "roads_p.dbf", "roads_p.prj"})
    EXPECT_TRUE(fs::exists(dir / name)) << name;

  // Siblings of an input set spelt in upper case are found.
  test::writeFile(dir / "up.shp", "");
  test::writeFile(dir / "up.DBF", "");
  const int up = gisOpenLayer("up.shp", "", "I ", false);
  EXPECT_EQ(unitFileName(m.dbfFile(1, up).dbfUnit), (dir / "up.DBF").string());
  // A named set of an input layer that does not exist is no set.
  int dbfUnit = 0;
  ShpFile set;
  EXPECT_FALSE(OpenshpFile("up.shp", "Q", dbfUnit, set, "I ", false));

  struct Case {
    const char* name;
    const char* file;
    const char* suffix;
    const char* mode;
    bool attributesOnly;
    const char* line;
  } cases[] = {
      {"table named .shp", "roads.shp", "", "I ", true, "ERROR 0426 - .dbf file not specified."},
      {"layer named .mif", "roads.mif", "", "I ", false, "ERROR 0426 - .shp file not specified."},
      {"bad mode", "roads.shp", "", "X ", false, "Should not be here [OpenshpFile] - please contact support@quenzel.dev."},
      {"output without a letter", "roads.shp", "", "O ", false,
       "Should not be here [OpenshpFileO] - please contact support@quenzel.dev."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    con.clear();
    EXPECT_THROW(OpenshpFile(c.file, c.suffix, dbfUnit, set, c.mode, c.attributesOnly), test::StopCalled);
    EXPECT_TRUE(hasLine(con.lines(), c.line)) << con.text();
  }
}

TEST_F(Shapefile, ProjectionOfAnInputSet) {
  std::string line = "projcs[\"GDA94 / MGA zone 56\",GEOGCS[\"GDA94\"]]";
  EXPECT_EQ(prjReadProjcs(line), "GDA94 / MGA ZONE 56");
  EXPECT_EQ(line, "PROJCS[\"GDA94 / MGA ZONE 56\",GEOGCS[\"GDA94\"]]");

  test::writeFile(dir / "a.shp", "");
  test::writeFile(dir / "a.dbf", "");
  m.gisShpProjection = "GDA94 / MGA ZONE 56";
  const std::string differs =
      " 0305 - Projection of .shp file is different to that specified by the SHP Projection == command.";
  struct Case {
    const char* prj;  // nullptr: no .prj
    bool asError;
    Lines expected;   // lines that must appear; empty: no message
  } cases[] = {
      {nullptr, true, {}},
      {"PROJCS[\"GDA94 / MGA zone 56\",GEOGCS[]]\n", true, {}},
      {"PROJCS[\"Other\"]\n", false, {"WARNING" + differs}},
      {"PROJCS[\"Other\"]\n", true,
       {"ERROR" + differs, "Use \"GIS Projection Check == WARNING\" to change message to a WARNING."}},
      {"GEOGCS[\"GDA94\"]\n", false,
       {"WARNING 0420 - Could not find PROJCS definition.  Projection of .shp file might not be cartesian.",
        "WARNING" + differs}},
      {"PROJCS[\n", false, {"ERROR 0420 - Could not read projection line in .prj file."}},
      {"", false, {"ERROR 0420 - Could not read projection line in .prj file."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prj ? c.prj : "no .prj");
    restart();
    m.gisShpProjection = "GDA94 / MGA ZONE 56";
    m.gisProjectionCheckError = c.asError;
    fs::remove(dir / "a.prj");
    if (c.prj) test::writeFile(dir / "a.prj", c.prj);
    con.clear();
    const bool stops = !c.expected.empty() && c.expected[0].starts_with("ERROR");
    if (stops) {
      EXPECT_THROW(gisOpenLayer("a.shp", "", "I ", false), test::StopCalled);
    } else {
      EXPECT_GT(gisOpenLayer("a.shp", "", "I ", false), 0);
    }
    for (const std::string& l : c.expected) EXPECT_TRUE(hasLine(con.lines(), l)) << l << "\n" << con.text();
    if (c.expected.empty()) {
      EXPECT_EQ(con.text().find("0305"), std::string::npos);
    }
  }
}

// Sets made by ogr2ogr (tests/data/shp/make.sh): parts, a null shape, a
// deleted record, C/N/F/D/L fields, a polygon with a hole, multipoints.
TEST_F(Shapefile, ReadersOnSetsOgr2ogrMade) {
  EXPECT_EQ(readLayer(openInputSet((kShp / "lines.shp").string())),
            "Polyline 3 | \"Road, \"\"A\"\"\",        2,       7.250000000000000,20210304,T\n"
            "  0,0 10,0 10,5\n  20,20 25,25\n  30,30 31,31 32,30 33,31\n"
            "Polyline 1 | \"Lane\",        1,       3.500000000000000,19991231,F\n  -5.5,2.25 -1,-1\n"
            "Null Shape 1 | \"Nothing\",        0,       0.000000000000000,00000000,F\n"
            "Polyline 1 | \"Last\",        3,       1.500000000000000,20100615,F\n  7,8 9,10 11,12\n");
  EXPECT_FALSE(hasLine(con.lines(), "WARNING 0405 - Insufficient number of records found in .dbf file."));
  // Each ring is followed by a copy of its second vertex; ir(k) is the
  // position of ring k's last vertex, ir(nr + 1) the file's point count.
  EXPECT_EQ(readLayer(openInputSet((kShp / "shapes.shp").string())),
            "Polygon 1 | \"square with a hole\"\n"
            "  0,0 0,10 10,10 10,0 0,0 0,10 2,2 4,2 4,4 2,4 2,2 4,2 | ir 5 11 10\n");
  EXPECT_EQ(readLayer(openInputSet((kShp / "multipoint.shp").string())),
            "MultiPoint 3 | \"three\"\n  1,2\n  3,4\n  5,6\nMultiPoint 1 | \"one\"\n  7,8\n");
  con.clear();
  EXPECT_THROW(readLayer(openInputSet((kShp / "pointz.shp").string())), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "ERROR 0423 - Unsupported .shp object type PointZ [11]")) << con.text();
}

// Record content that holds no more than the header wants: the reader goes
// by the content lengths, and takes the most parts a polyline may have.
TEST_F(Shapefile, ReaderFindsRecordsByTheirLengths) {
  std::vector<int> starts(9999);
  Points points(9999, {1, 1});
  for (int k = 0; k < 9999; ++k) starts[static_cast<std::size_t>(k)] = k;
  const std::string padded = test::partsContent(3, {0}, {{1, 2}, {3, 4}}) + std::string(6, '\0');
  test::writeFile(dir / "a.shp", test::shpBytes(3, {test::shpRecord(1, padded),
                                                    test::shpRecord(2, test::partsContent(3, {}, {{9, 9}})),
                                                    test::shpRecord(3, test::partsContent(3, starts, points))}));
  test::DbfTable t;
  t.fields = {{"N", 'N', 1}};
  t.records = {" 1", " 2", " 3"};
  test::writeFile(dir / "a.dbf", t.bytes());
  const std::string read = readLayer(openInputSet("a.shp"));
  EXPECT_TRUE(read.starts_with("Polyline 1 | 1\n  1,2 3,4\nPolyline 0 | 2\nPolyline 9999 | 3\n  1,1\n")) << read.substr(0, 200);
}

// Records without vertices, in the middle of a set and as its last record:
// the layer is read on to its end.
TEST_F(Shapefile, RecordsWithoutVertices) {
  using test::partsContent;
  using test::shpRecord;
  const std::string noParts = partsContent(3, {}, {});
  const struct {
    const char* name;
    int type;
    std::vector<std::string> contents;
    std::string read;
  } cases[] = {
      {"polylines of no parts", 3,
       {partsContent(3, {0}, {{1, 2}, {3, 4}}), noParts, partsContent(3, {0}, {{5, 6}, {7, 8}}), noParts},
       "Polyline 1 | 1\n  1,2 3,4\nPolyline 0 | 2\nPolyline 1 | 3\n  5,6 7,8\nPolyline 0 | 4\n"},
      {"polyline of parts without points", 3, {partsContent(3, {0}, {{1, 2}, {3, 4}}), partsContent(3, {0, 0}, {})},
       "Polyline 1 | 1\n  1,2 3,4\nPolyline 0 | 2\n"},
      {"multipoint of no points", 8, {test::multiPointContent({{1, 2}}), test::multiPointContent({})},
       "MultiPoint 1 | 1\n  1,2\nMultiPoint 0 | 2\n"},
      {"polygons of no rings and of rings without points", 5,
       {partsContent(5, {}, {}), partsContent(5, {0}, {{0, 0}, {0, 1}, {1, 1}, {0, 0}}), partsContent(5, {0, 0}, {})},
       "Polygon 1 | 1\n  | ir 0\nPolygon 1 | 2\n  0,0 0,1 1,1 0,0 0,1 | ir 4 4\nPolygon 1 | 3\n  | ir 0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> records;
    test::DbfTable t;
    t.fields = {{"N", 'N', 1}};
    for (const std::string& content : c.contents) {
      records.push_back(shpRecord(static_cast<int>(records.size()) + 1, content));
      t.records.push_back(" " + std::to_string(records.size()));
    }
    test::writeFile(dir / "a.shp", test::shpBytes(c.type, records));
    test::writeFile(dir / "a.dbf", t.bytes());
    restart();
    con.clear();
    const int id = openInputSet("a.shp");
    std::string read;
    EXPECT_NO_THROW(read = readLayer(id)) << con.text();
    EXPECT_EQ(read, c.read);
    EXPECT_TRUE(gisLayerEoF(id));
  }
}

TEST_F(Shapefile, DamagedSetsEndWithTheirMessage) {
  using test::partsContent;
  using test::shpRecord;
  const Points two = {{0, 0}, {1, 1}};
  const std::string good = shpRecord(1, partsContent(3, {0}, two));
  auto set = [&](const std::string& record, int type = 3) { return test::shpBytes(type, {good, record}); };
  auto line = [&](const std::vector<int>& starts, const Points& pts, int parts = -1, int points = -1, int words = -1) {
    return set(shpRecord(2, partsContent(3, starts, pts, parts, points), words));
  };
  auto polygon = [&](const std::vector<int>& starts, const Points& pts, int parts = -1, int points = -1,
                     int words = -1) { return set(shpRecord(2, partsContent(5, starts, pts, parts, points), words), 5); };
  auto typed = [&](int type) { return set(shpRecord(2, test::typeOnlyContent(type))); };
  const char* const kType = "ERROR 0424 - Reading .shp file object type.";
  const char* const kTypeEnd = "ERROR 0425 - End of .shp file encountered whilst reading object type.";
  const char* const kCoordinates = "ERROR 0429 - Reading .shp file object coordinates.";
  const char* const kUnsupported = "ERROR 0423 - Unsupported .shp object type ";
  struct Case {
    const char* name;
    std::string shp;
    std::string line;
    const char* line2 = nullptr;
    int maxNodes = 20000;
  } cases[] = {
      {"header cut short", set("").substr(0, 60), "ERROR 0428 - End of .shp file encountered whilst reading header."},
      {"no records", test::shpBytes(3, {}), kTypeEnd},
      {"record header cut short", line({0}, two).substr(0, good.size() + 106), kTypeEnd},
      {"points cut short", line({0}, two).substr(0, good.size() + 160),
       "ERROR 0430 - End of .shp file encountered whilst reading object coordinates."},
      {"negative parts", line({0}, two, -2), kType},
      {"10000 parts", line({0}, two, 10000),
       "ERROR 0421 - Exceeded maximum number of parts in a .shp polyline.  Limit is 10000"},
      {"2147483647 parts", line({0}, two, 2147483647),
       "ERROR 0421 - Exceeded maximum number of parts in a .shp polyline.  Limit is 10000"},
      {"negative points", line({0}, two, -1, -5), kType},
      {"first start not 0", line({1}, two), kType},
      {"starts going back", line({0, 2, 1}, {{0, 0}, {1, 1}, {2, 2}}), kType},
      {"start past the points", line({0, 2}, two), kType},
      {"content shorter than its points", line({0}, two, -1, -1, 30), kType},
      {"content shorter than a shape type", line({0}, two, -1, -1, 1), kType},
      {"10000 rings", polygon({0}, two, 10000),
       "ERROR 0422 - Exceeded maximum number of regions within a .shp region.  Limit is 10000"},
      {"2147483647 rings", polygon({0}, two, 2147483647),
       "ERROR 0422 - Exceeded maximum number of regions within a .shp region.  Limit is 10000"},
      {"polygon with negative points", polygon({0}, two, -1, -3), kCoordinates},
      {"ring start past the points", polygon({0, 4}, two), kCoordinates},
      {"polygon content shorter than its points", polygon({0}, two, -1, -1, 30), kCoordinates},
      {"negative multipoint count", set(shpRecord(2, test::multiPointContent(two, -2)), 8), kType},
      {"PolyLineZ", typed(13), kUnsupported + std::string("PolyLineZ [13]")},
      {"type 40", typed(40), kUnsupported + std::string("Unknown [40]")},
      {"type -1", typed(-1), kUnsupported + std::string("Unknown [-1]")},
      // Four points in one ring take five places with the copied vertex.
      {"more vertices than the caller takes", polygon({0}, {{0, 0}, {0, 1}, {1, 1}, {0, 0}}),
       "ERROR 0310 - Exceeded number of allowable nodes in a single .shp polyline or region.",
       "             Requested       5        Limit       4", 4},
  };
  test::DbfTable t;
  t.fields = {{"N", 'N', 1}};
  t.records = {" 1", " 2"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    restart();
    // A layer being written when the run ends is finished, readable.
    const int out = gisOpenLayer("kept.shp", "P", "O ", false);
    gisWriteHeader(out);
    write(out, &gisObject::isPoint, {{1, 2}}, {1}, "k");
    test::writeFile(dir / "bad.shp", c.shp);
    test::writeFile(dir / "bad.dbf", t.bytes());
    con.clear();
    EXPECT_THROW(readLayer(openInputSet("bad.shp"), c.maxNodes), test::StopCalled);
    EXPECT_TRUE(hasLine(con.lines(), c.line)) << con.text();
    if (c.line2) {
      EXPECT_TRUE(hasLine(con.lines(), c.line2)) << con.text();
    }
    expectHeader(test::readFile(dir / "kept_P.shp"), 64, 1, {1, 2, 1, 2});
  }
}

// A table that ends before the shapes: its end marker gives the warning on
// the count, and the next record read finds the end of the file.
TEST_F(Shapefile, TableShorterThanTheShapes) {
  const std::string record = test::shpRecord(1, test::partsContent(3, {0}, {{0, 0}, {1, 1}}));
  test::writeFile(dir / "a.shp", test::shpBytes(3, {record, record, record}));
  test::DbfTable t;
  t.fields = {{"N", 'N', 1}};
  t.records = {" 1"};
  t.count = 3;
  test::writeFile(dir / "a.dbf", t.bytes());
  EXPECT_THROW(readLayer(openInputSet("a.shp")), test::StopCalled);
  const Lines lines = con.lines();
  EXPECT_TRUE(hasLine(lines, "               Found 1, expecting 3.")) << con.text();
  EXPECT_TRUE(hasLine(lines, "ERROR 0408 - End of .dbf file encountered whilst reading record."));
}

TEST_F(Shapefile, MissingTableAsksForAnotherName) {
  test::writeFile(dir / "a.shp", test::shpBytes(3, {}));
  EXPECT_THROW(gisOpenLayer("a.shp", "", "I ", false), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "CHECK 0008 - \"a.dbf\" cannot be found")) << con.text();
  EXPECT_TRUE(hasLine(con.lines(), "End of input: no answer to the question above."));
}

}  // namespace
}  // namespace quenzel
