// Reading MIF/MID layers through the reading protocol: layers written by
// ogr2ogr, hand-made objects, broken files, rewinding and the header
// services.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/file_io.h"
#include "common/free_format.h"
#include "gis/header_services.h"
#include "gis/object_record.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

using XY = std::pair<double, double>;
const std::string kData = std::string(QUENZEL_TEST_DATA) + "/mif_reader/";
const std::string kHeader = "Version 300\nDelimiter \",\"\nColumns 1\n  Name Char(10)\nData\n\n";

// What one gisReadObject call gave: all vertices with all, else the first.
struct Read {
  std::string type;
  std::vector<XY> xy;
  std::vector<int> ir;  // ring ends of a region read with all
  XY label;
  std::string record;  // of the object's first call
};

class MifReader : public LayerModuleTest {
 protected:
  int open(const std::string& name) {
    const int id = gisOpenLayer(name, "", "I ", false);
    gisReadHeader(id);
    return id;
  }
  // Objects of an open layer, up to `limit` of them.
  std::vector<Read> objects(int id, bool all = true, int maxNodes = 1000, std::size_t limit = 1000) {
    std::vector<Read> out;
    OneBased<double> x(static_cast<std::size_t>(std::max(maxNodes, 2)), 0.0), y = x;
    while (!gisLayerEoF(id) && out.size() < limit) {
      if (!gisObjectType(id, gisO_)) continue;
      std::string record;
      gisReadRecord(id, gisO_, record);
      const int calls = gisO_.isPlineMultiple || gisO_.isMultiPoint ? gisO_.nsect : 1;
      for (int c = 1; c <= calls; ++c) {
        Read r{gisO_.gisObjectTypeName, {}, {}, {0, 0}, c == 1 ? record : ""};
        int n = 0;
        float angle = 0, length = 0;
        gisReadObject(id, gisO_, x.view(), y.view(), maxNodes, n, r.label.first, r.label.second, angle, length, all);
        for (int i = 1; i <= (all ? n : std::min(n, 1)); ++i) r.xy.emplace_back(x(i), y(i));
        for (int k = 1; all && gisO_.isRegion && k <= gisO_.nr; ++k) r.ir.push_back(gisO_.ir(k));
        out.push_back(r);
      }
    }
    return out;
  }
  std::vector<Read> readLayer(const std::string& mif, const std::string& mid, bool all = true, int maxNodes = 1000) {
    const std::string name = "t" + std::to_string(++layers_);
    test::writeFile(dir / (name + ".mif"), mif);
    test::writeFile(dir / (name + ".mid"), mid);
    return objects(open(name + ".mif"), all, maxNodes);
  }
  int layers_ = 0;  // made by readLayer: t1.mif, t2.mif ...
};

void expectReads(const std::vector<Read>& got, const std::vector<Read>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < got.size(); ++k) {
    SCOPED_TRACE("object " + std::to_string(k + 1) + " " + want[k].type);
    EXPECT_EQ(got[k].type, want[k].type);
    EXPECT_EQ(got[k].xy, want[k].xy);
    EXPECT_EQ(got[k].ir, want[k].ir);
    EXPECT_NEAR(got[k].label.first, want[k].label.first, 1e-6);
    EXPECT_NEAR(got[k].label.second, want[k].label.second, 1e-6);
    EXPECT_EQ(got[k].record, want[k].record);
  }
}

const std::vector<Read> kShapes = {
    {"POINT", {{1.5, -2.25}}, {}, {1.5, -2.25}, "1,\"pt\""},
    {"LINE", {{0, 0}, {2, 2}}, {}, {1, 1}, "2,\"two, with comma\""},
    {"PLINE", {{0, 0}, {4, 0}, {4, 3}, {10, 3}}, {}, {4, 2.5}, "3,\"say \"\"hi\"\"\""},
    {"PLINE MULTIPLE", {{0, 0}, {1, 0}}, {}, {0.5, 0}, "4,\"multi\""},
    {"PLINE MULTIPLE", {{5, 5}, {6, 6}, {7, 5}}, {}, {6, 6}, ""},
    // Each ring as in the file, then a copy of its second vertex.
    {"REGION",
     {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 2}, {4, 2}},
     {5, 10},
     {40.0 / 9, 28.0 / 9},
     "5,\"hole\""},
    {"REGION", {{0, 0}, {3, 0}, {0, 3}, {0, 0}, {3, 0}}, {4}, {1, 1}, "6,\"tri\""},
    // ogr2ogr splits a multipoint into points, each with its own record.
    {"POINT", {{1, 1}}, {}, {1, 1}, "7,\"mp\""},
    {"POINT", {{2, 2}}, {}, {2, 2}, "7,\"mp\""},
    {"POINT", {{3, 3}}, {}, {3, 3}, "7,\"mp\""},
    {"NONE", {}, {}, {0, 0}, "8,\"nothing\""},
};

TEST_F(MifReader, OgrLayersReadExactlyWithAnyLineEnds) {
  for (const char* file : {"shapes.mif", "shapes_crlf.mif"}) {
    SCOPED_TRACE(file);
    con.clear();
    int id = open(kData + file);
    EXPECT_TRUE(hasLine(con.lines(), "2 MIF Fields: Name [#/Type]: id [1/Integer]  name [2/Char(254)]"));
    expectReads(objects(id), kShapes);
    gisCloseLayer(id);
  }
  // Dropped objects leave their first vertex and the next object is found.
  std::vector<Read> firsts = kShapes;
  for (Read& r : firsts) {
    r.xy.resize(std::min<std::size_t>(r.xy.size(), 1));
    r.ir.clear();
    r.label = {0, 0};
  }
  expectReads(objects(open(kData + "shapes.mif"), false), firsts);
  // Quoted values keep their commas; a doubled quote is one quote.
  for (auto [record, text] : {std::pair{2, "two, with comma"}, {3, "say \"hi\""}}) {
    int field = 0;
    std::string value;
    EXPECT_EQ(FreeReader(kShapes[record - 1].record).readAll(field, value), ReadResult::Ok);
    EXPECT_EQ(value, text);
  }
  expectReads(objects(open(kData + "labels.mif")),
              {{"TEXT", {}, {}, {0, 0}, R"x(1,"Bridge, north","LABEL(f:""Arial"",s:12pt,t:""Bridge, north"")")x"},
               {"TEXT", {}, {}, {0, 0}, R"x(2,"Gate","LABEL(f:""Arial"",s:12pt,t:""Gate"")")x"}});
}

TEST_F(MifReader, HandWrittenObjectsSeparatorsAndTheCenterRule) {
  const std::string mif = kHeader +
                          "Point\n\n  3.5,\t-4\n"
                          "Line 1,2\t3 4\nRect 0 0 4 2\nRoundRect 0 0 2 2\n  0.5\nArc 0 0 1 1\n  0 90\n"
                          "Ellipse 0 0 2 1\n"
                          "Pline\n3\n0 0\n1,0\n1\t1\n"
                          "  pline\t multiple  2\n  1\n9 9\n  2\n0 0\n0 -6\n"
                          // A Center line with another object after it gives no label.
                          "Region 1\n 5\n0 0\n4 0\n4 2\n0 2\n0 0\n    Pen (1,2,0)\n    Brush (2,16777215,0)\n"
                          "    Center 5 5\nPoint 7 8\n"
                          "Region 1\n 4\n0 0\n3 0\n0 3\n0 0\n    Center 5 5\n";
  std::string mid;
  for (int k = 1; k <= 11; ++k) mid += std::to_string(k) + "\n";
  const std::vector<Read> got = readLayer(mif, mid);
  expectReads(got, {
                       {"POINT", {{3.5, -4}}, {}, {3.5, -4}, "1"},
                       {"LINE", {{1, 2}, {3, 4}}, {}, {2, 3}, "2"},
                       {"RECT", {{0, 0}, {4, 2}}, {}, {2, 1}, "3"},
                       {"ROUNDRECT", {{0, 0}, {2, 2}}, {}, {1, 1}, "4"},
                       {"ARC", {}, {}, {0, 0}, "5"},
                       {"ELLIPSE", {}, {}, {0, 0}, "6"},
                       {"PLINE", {{0, 0}, {1, 0}, {1, 1}}, {}, {1, 0}, "7"},
                       {"PLINE MULTIPLE", {{9, 9}}, {}, {9, 9}, "8"},
                       {"PLINE MULTIPLE", {{0, 0}, {0, -6}}, {}, {0, -3}, ""},
                       {"REGION", {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}, {4, 0}}, {5}, {2, 1}, "9"},
                       {"POINT", {{7, 8}}, {}, {7, 8}, "10"},
                       {"REGION", {{0, 0}, {3, 0}, {0, 3}, {0, 0}, {3, 0}}, {4}, {5, 5}, "11"},
                   });
}

TEST_F(MifReader, UnusualLayersAreRead) {
  // Long lines, a long record kept whole, a surplus record.
  const std::string longRecord = "\"" + std::string(5000, 'a') + "\"";
  expectReads(readLayer(kHeader + "Pline 2" + std::string(3000, ' ') + "x\n" + std::string(200000, ' ') + "1 2\n3 4\n",
                        longRecord + "\nsurplus\n"),
              {{"PLINE", {{1, 2}, {3, 4}}, {}, {2, 3}, longRecord}});
  // A ring without vertices gets no copy: the arrays hold just its slot.
  expectReads(readLayer(kHeader + "Region 2\n 5\n0 0\n4 0\n4 2\n0 2\n0 0\n 0\n", "1\n", true, 7),
              {{"REGION", {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}, {4, 0}, {0, 0}}, {5, 6}, {1.6, 0.8}, "1"}});
  // A dropped polyline without vertices takes no line of the next object.
  expectReads(readLayer(kHeader + "Pline 0\nPoint 5 6\n", "1\n2\n", false),
              {{"PLINE", {}, {}, {0, 0}, "1"}, {"POINT", {{5, 6}}, {}, {0, 0}, "2"}});
  // Values delimited by ";" (a quoted one kept whole), LF-CR line ends and a
  // stray CR: the records a comma-delimited layer gives.
  expectReads(readLayer("Version 300\n  delimiter \";\"\nColumns 2\n  A Char(10)\n  B Integer\nData\n"
                        "Point 1 1\nPoint 2 2\nPoint 3 3\n",
                        "\"x;y\";1\n\r\"say \"\"a;b\"\"\";2\n\r\r3;\"z\"\r\r\n"),
              {{"POINT", {{1, 1}}, {}, {1, 1}, "\"x;y\",1"},
               {"POINT", {{2, 2}}, {}, {2, 2}, "\"say \"\"a;b\"\"\",2"},
               {"POINT", {{3, 3}}, {}, {3, 3}, "3,\"z\""}});
  // Columns past 256 are passed over.
  std::string wide = "Columns 300\n";
  for (int i = 1; i <= 300; ++i) wide += "  F" + std::to_string(i) + " Integer\n";
  expectReads(readLayer(wide + "Data\nPoint 1 1\n", "1\n"), {{"POINT", {{1, 1}}, {}, {1, 1}, "1"}});
  EXPECT_EQ(gisNumberAttributes(5), 256);
  EXPECT_EQ(m.mifLayer(5).columnName(256), "F256");
}

// Each object's type, vertices and record, as "PLINE 0 0 1 1|a,1".
std::vector<std::string> typesAndRecords(const std::vector<Read>& reads) {
  std::vector<std::string> out;
  for (const Read& r : reads) {
    std::ostringstream s;
    s << r.type;
    for (const XY& xy : r.xy) s << ' ' << xy.first << ' ' << xy.second;
    out.push_back(s.str() + "|" + r.record);
  }
  return out;
}

// The values A and B of each feature that `ogrinfo -ro -al` lists, as "A|B".
std::vector<std::string> gdalValues(const std::string& listing) {
  std::vector<std::string> out;
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("  A (String) = ")) out.push_back(line.substr(15));
    if (line.starts_with("  B (String) = ") && !out.empty()) out.back() += "|" + line.substr(15);
  }
  return out;
}

// Delimiters other than the comma, of one character or more, declared
// anywhere before "Data" or not at all (the tab), and .mif lines that start
// with a CR: the records handed on read as comma-delimited ones, with the
// values GDAL reads.
TEST_F(MifReader, DelimitersAndCrLineStartsReadAsGdalReads) {
  const std::string columns = "Columns 2\n  A Char(10)\n  B Char(10)\n";
  const std::string points = "Data\nPoint 1 1\nPoint 2 2\n";
  struct Case {
    const char* name;
    std::string mif, mid;
    std::vector<std::string> want;
  } cases[] = {
      {"two characters", "Delimiter \";;\"\n" + columns + points, "1.5;;45\n\"x;;y\";;z;w\n",
       {"POINT 1 1|1.5,45", "POINT 2 2|\"x;;y\",z;w"}},
      {"two letters", "DELIMITER ab\n" + columns + points, "xaybab45\nQ,Rabb\n",
       {"POINT 1 1|xayb,45", "POINT 2 2|\"Q,R\",b"}},
      // A comma, blank or quote in an unquoted value: the value goes in quotes, whole.
      {"comma or blank in a value", "Delimiter \";\"\n" + columns + points, "A,B;1.5\n\"C,D\"; E F \n",
       {"POINT 1 1|\"A,B\",1.5", "POINT 2 2|\"C,D\",\" E F \""}},
      {"no Delimiter line: the tab", columns + points, "A,B\t1.5\nC\t'D;E\n",
       {"POINT 1 1|\"A,B\",1.5", "POINT 2 2|C,\"'D;E\""}},
      {"Delimiter line after the columns", columns + "  Delimiter\t\";\"  \n" + points, "1.5;45\n2;3\n",
       {"POINT 1 1|1.5,45", "POINT 2 2|2,3"}},
      // Not two words, or after a tab: passed over, so the tab delimits.
      {"Delimiter after a tab", "\tDelimiter \".\"\n" + columns + points, "1.5\t45\n2.5\t3\n",
       {"POINT 1 1|1.5,45", "POINT 2 2|2.5,3"}},
      {"Delimiter without a blank", "Delimiter\".\"\n" + columns + points, "1.5\t45\n2.5\t3\n",
       {"POINT 1 1|1.5,45", "POINT 2 2|2.5,3"}},
      {"Delimiter with a third word", "Delimiter \".\" extra\n" + columns + points, "1.5\t45\n2.5\t3\n",
       {"POINT 1 1|1.5,45", "POINT 2 2|2.5,3"}},
      {"LF-CR line ends",
       "Delimiter \";\"\n\rColumns 2\n\r  A Char(10)\n\r  B Char(10)\n\rData\n\rPoint 1 1\n\rPline 2\n\r0 0\n\r2 0\n\r",
       "a;1\n\rb;2\n\r", {"POINT 1 1|a,1", "PLINE 0 0 2 0|b,2"}},
      {"object line after a stray CR",
       "Delimiter \";\"\n" + columns + "Data\n\rPline 2\n0 0\n1 1\r\r\nPline 2\n5 5\n6 6\n", "a;1\nb;2\n",
       {"PLINE 0 0 1 1|a,1", "PLINE 5 5 6 6|b,2"}},
  };
  const bool gdal = test::haveCommand("ogrinfo");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Read> reads = readLayer("Version 300\n" + c.mif, c.mid);
    EXPECT_EQ(typesAndRecords(reads), c.want);
    if (!gdal) continue;
    std::vector<std::string> ours;
    for (const Read& r : reads) {
      std::string a, b;
      EXPECT_EQ(FreeReader(r.record).readAll(a, b), ReadResult::Ok);
      ours.push_back(a + "|" + b);
    }
    const test::RunResult info =
        test::runProgram("ogrinfo", {"-ro", "-al", "t" + std::to_string(layers_) + ".mif"}, dir.path());
    EXPECT_EQ(gdalValues(info.output), ours) << info.output;
  }
  if (!gdal) GTEST_SKIP() << "ogrinfo is not installed";
}

TEST_F(MifReader, BrokenLayersEndWithTheirMessage) {
  std::string longPline = "Pline 1200\n";
  for (int i = 0; i < 1200; ++i) longPline += "1 1\n";
  const std::string k0308 = "ERROR 0308 - Reading .mif file.  Check file format is not corrupted.";
  const std::string k0309 = "ERROR 0309 - Unexpected end of .mif file encountered.";
  struct Case {
    const char* name;
    std::string mif;
    bool all;
    std::string message, line2 = {};
  } cases[] = {
      {"ring of 3 vertices", kHeader + "Region 1\n 3\n0 0\n1 0\n0 0\n", true,
       "ERROR 0318 - Less than 5 points for Region object in mif file."},
      {"region without rings", kHeader + "Region 0\n", false,
       "ERROR 0318 - Less than 5 points for Region object in mif file."},
      {"collection", kHeader + "Collection 2\n", true,
       "ERROR 0303 - MIF \"Collection\" objects not supported.  Delete or disaggregate object."},
      {"10001 rings", kHeader + "Region 10001\n", true,
       "ERROR 0304 - Exceeded maximum number of polygons in region below of 10000", "Region 10001"},
      {"unreadable ring count", kHeader + "Region x\n", true, k0308},
      {"negative ring", kHeader + "Region 1\n -4\n", true, k0308},
      {"negative vertex count", kHeader + "Pline -3\n", false, k0308},
      {"vertex with one number", kHeader + "Pline 2\n0 0\n1\n    Pen (1,2,0)\n", true, k0308},
      {"object cut at the end", kHeader + "Pline 3\n0 0\n1 1\n", true, k0309},
      {"absurd ring, dropped", kHeader + "Region 1\n 2147483647\n0 0\n", false, k0309},
      {"absurd ring", kHeader + "Region 1\n 2147483647\n0 0\n", true,
       "ERROR 0310 - Exceeded number of allowable nodes in a single polyline or region.",
       "             Requested********        Limit    1000"},
      {"1200 vertices", kHeader + longPline, true,
       "ERROR 0310 - Exceeded number of allowable nodes in a single polyline or region.",
       "             Requested    1200        Limit    1000"},
      {"header cut before Data", "Version 300\nColumns 1\n  A Integer\n", true,
       "ERROR 0313 - Could not find start of \"Data\" block in .mif file."},
      {"no Columns", "Version 300\nData\nPoint 1 1\n", true,
       "ERROR 0315 - Could not find start of attribute definitions in .mif file"},
      {"unreadable Columns", "Columns x\n  A Integer\nData\n", true,
       "ERROR 0314 - Could not read number of attributes in .mif file"},
      {"Columns 0", "Columns 0\nData\n", true, "ERROR 0319 - No attributes specified in .mif file."},
      {"absurd Columns", "Columns 99999999\n  A Integer\nData\n", true,
       "ERROR 0316 - Could not read attribute definitions in .mif file"},
      {"fewer records than objects", kHeader + "Point 1 1\nPoint 2 2\nPoint 3 3\n", true,
       "ERROR 0254 - Failed to read object attribute data record for a POINT object in GIS layer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    con.clear();
    EXPECT_THROW(readLayer(c.mif, "1\n2\n", c.all), test::StopCalled);
    const std::vector<std::string> lines = con.lines();
    const auto at = std::find(lines.begin(), lines.end(), c.message);
    ASSERT_NE(at, lines.end()) << con.text();
    if (!c.line2.empty()) {
      EXPECT_EQ(at + 1 != lines.end() ? *(at + 1) : "", c.line2);
    }
  }
}

TEST_F(MifReader, RewindPassesOverColumnsNamedLikeDataAndKeepsRecordPosition) {
  test::writeFile(dir / "t.mif",
                  "Version 300\nDelimiter \",\"\nColumns 2\n  Data_Src Char(10)\n  Line_No Integer\nData\n"
                  "Point 1 1\nPoint 2 2\nPoint 3 3\n");
  test::writeFile(dir / "t.mid", "a,1\nb,2\nc,3\n");
  const int id = open("t.mif");
  EXPECT_EQ(gisNumberAttributes(id), 2);
  ASSERT_EQ(objects(id, true, 10, 2).size(), 2u);
  EXPECT_EQ(gisNumberRecords(id), 3);
  expectReads(objects(id, true, 10, 1), {{"POINT", {{3, 3}}, {}, {3, 3}, "c,3"}});

  con.clear();
  gisGotoBeginningOfData(id);
  EXPECT_EQ(withoutUnitLines(con.lines()), (std::vector<std::string>{"", "Rewinding GIS Layer 1..."}));
  EXPECT_FALSE(gisLayerEoF(id));
  expectReads(objects(id, true, 10, 1), {{"POINT", {{1, 1}}, {}, {1, 1}, "a,1"}});

  int count = 0;
  ASSERT_TRUE(gisGotoBeginningOfAttributes(id, count));
  EXPECT_EQ(count, 2);
  for (const char* want : {"Data_Src|Char(10)", "Line_No|Integer"}) {
    gisReadAttributeDefinition(id);
    EXPECT_EQ(gisAttDefLine.name + "|" + gisAttDefLine.type, want);
  }
}

TEST_F(MifReader, ShapefileHeaderCountsAndRewind) {
  con.clear();
  const int id = open(std::string(QUENZEL_TEST_DATA) + "/shp/lines.shp");
  const std::vector<std::string> lines = con.lines();
  EXPECT_TRUE(hasLine(lines, "Shapefile Code: 9994  Length: " + std::to_string(m.shpFile(1, id).fileLength)));
  EXPECT_TRUE(hasLine(lines, "Shapefile Version: 1000  Type: 3"));
  EXPECT_EQ(m.shpFile(1, id).shpUnitBE, 0);
  EXPECT_EQ(m.dbfFile(1, id).recordCounter, 0);
  EXPECT_EQ(gisNumberAttributes(id), 5);
  EXPECT_EQ(gisNumberRecords(id), m.dbfFile(1, id).headerRecordCount);
  const std::vector<Read> first = objects(id);
  ASSERT_EQ(first.size(), 6u);  // three parts, two lines and a null shape; the deleted record skipped
  EXPECT_EQ(first[0].xy.at(0), XY(0, 0));
  gisGotoBeginningOfData(id);
  EXPECT_EQ(m.dbfFile(1, id).recordCounter, 0);
  expectReads(objects(id), first);
}

TEST_F(MifReader, AttributeWarningsPauseAndGiveFalse) {
  for (auto [mif, message] :
       {std::pair{"Version 300\n",
                  "WARNING 0315 - Problems finding start of attribute "
                  "definitions in .mif file"},
        {"Columns many\n", "WARNING 0314 - Problems reading number of attributes in .mif file"}}) {
    test::writeFile(dir / "w.mif", mif);
    test::writeFile(dir / "w.mid", "");
    int id = gisOpenLayer("w.mif", "", "I ", false);
    con.clear();
    int count = 0;
    EXPECT_FALSE(gisGotoBeginningOfAttributes(id, count));
    EXPECT_EQ(withoutUnitLines(con.lines()), (std::vector<std::string>{"", message, "", "Press Enter to Continue"}));
    gisCloseLayer(id);
  }
}

TEST_F(MifReader, CoordSysLineOfAFileOrTheNonEarthDefault) {
  const std::string nonEarth = "CoordSys NonEarth Units \"m\" Bounds(-9999999, -9999999) (9999999, 9999999)";
  EXPECT_EQ(mifReadCoordSysLine("  missing.mif"), nonEarth);
  EXPECT_EQ(
      withoutUnitLines(con.lines()),
      (std::vector<std::string>{"", "", "WARNING 0307 - No MapInfo Projection or mif header file missing.mif found.",
                                "               Non-Earth Coordinates will be used.  [mifReadCoordSysLine]", "",
                                "Press Enter to Continue"}));
  EXPECT_EQ(mifReadCoordSysLine(kData + "shapes.mif"), "CoordSys Earth Projection 1, 104");
  test::writeFile(dir / "plain.mif", "Version 300\nColumns 1\n");
  EXPECT_EQ(mifReadCoordSysLine("plain.mif"), nonEarth);
  EXPECT_TRUE(fileio::openUnits().empty());
}

TEST_F(MifReader, CopyHeaderStopsBeforeColumns) {
  int in = 0, copy = 0;
  OPENFILE(in, "I ", kData + "shapes.mif");
  OPENFILE(copy, "O ", "copy.mif");
  con.clear();
  mifCopyHeader(in, copy);
  EXPECT_EQ(con.lines().at(0), "Copying header info from file unit 1001 to 1002...");
  CLOSER(copy);
  EXPECT_EQ(test::readFile(dir / "copy.mif"),
            "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\nCoordSys Earth Projection 1, 104\n");
}

}  // namespace
}  // namespace quenzel
