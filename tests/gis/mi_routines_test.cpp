// The older MIF routines: reading against the newer reader, the rules where
// the two differ, fatal and warning texts, the writer read back by the newer
// reader and ogrinfo, headers, CoordSys lines and the opener.
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/fortran_format.h"
#include "gis/header_services.h"
#include "gis/mi_routines.h"
#include "gis/object_record.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

using Lines = std::vector<std::string>;
const std::string kData = std::string(QUENZEL_TEST_DATA) + "/mif_reader/";
const std::string kTop = "Version 300\nCharset \"WindowsLatin1\"\nDelimiter \",\"\n";
constexpr int kMaxNodes = 100;

class MiRoutines : public LayerModuleTest {
 protected:
  // One read as a line: type, " -" when it gave false, the vertices, the ring
  // ends, then label, angle and length.
  std::string describe(std::string_view type, bool ok, int n, const OneBased<int>& ir, int nr, double lx, double ly,
                       float angle, float length) {
    std::ostringstream s;
    s << type << (ok ? "" : " -");
    for (int i = 1; ok && i <= n; ++i) s << " " << x(i) << "," << y(i);
    for (int k = 1; ok && k <= nr; ++k) s << " ir" << ir(k);
    if (ok) s << " @" << lx << "," << ly << " a" << angle << " l" << length;
    return s.str();
  }
  // A .mif read as a caller of the older routines reads it, each read
  // followed by " >" and the line the unit reads next.
  Lines miRead(const std::string& file) {
    Lines out;
    int unit = 0;
    OPENFILE(unit, "I ", file);
    EXPECT_TRUE(miGotoData(unit));
    std::string line, rest, next;
    miObject obj;
    while (!unitAtEnd(unit)) {
      readLine(unit, line);
      if (!miObjectType(line, rest, obj)) continue;
      for (int c = 1; c <= (obj.isPlineMultiple ? obj.nsect : 1); ++c) {
        int n = 0;
        double lx = 0, ly = 0;
        float a = 0, l = 0;
        const bool ok = miReadObject("", rest, unit, obj, x.view(), y.view(), kMaxNodes, n, lx, ly, a, l);
        next.clear();
        if (readLine(unit, next) == IoStatus::Ok) backspaceUnit(unit);
        out.push_back(describe(obj.typeName, ok, n, obj.ir, obj.isRegion ? obj.nr : 0, lx, ly, a, l) + " >" + next);
      }
    }
    CLOSER(unit);
    return out;
  }
  Lines miReadText(const std::string& mif) {
    test::writeFile(dir / "hand.mif", "Data\n" + mif);
    return miRead("hand.mif");
  }
  Lines gisRead(const std::string& file) {
    Lines out;
    int id = gisOpenLayer(file, "", "I ", false);
    gisReadHeader(id);
    std::string record;
    while (!gisLayerEoF(id)) {
      if (!gisObjectType(id, gisO_)) continue;
      gisReadRecord(id, gisO_, record);
      for (int c = 1; c <= (gisO_.isPlineMultiple || gisO_.isMultiPoint ? gisO_.nsect : 1); ++c) {
        int n = 0;
        double lx = 0, ly = 0;
        float a = 0, l = 0;
        gisReadObject(id, gisO_, x.view(), y.view(), kMaxNodes, n, lx, ly, a, l, true);
        const int nr = gisO_.isRegion ? gisO_.nr : 0;
        out.push_back(describe(gisO_.gisObjectTypeName, true, n, gisO_.ir, nr, lx, ly, a, l));
      }
    }
    gisCloseLayer(id);
    return out;
  }
  // Runs a path that ends the run; its console lines.
  template <class Run>
  Lines stops(Run run) {
    con.clear();
    EXPECT_THROW(run(), test::StopCalled);
    INITUNITS(1000);
    return withoutUnitLines(con.lines());
  }

  OneBased<double> x{kMaxNodes, 0.0}, y{kMaxNodes, 0.0};
};

TEST_F(MiRoutines, OgrLayersReadAsTheNewerReaderReadsThem) {
  for (const char* file : {"shapes.mif", "shapes_crlf.mif", "labels.mif"}) {
    SCOPED_TRACE(file);
    const Lines older = miRead(kData + file), newer = gisRead(kData + file);
    ASSERT_EQ(older.size(), newer.size());
    for (std::size_t k = 0; k < older.size(); ++k) {
      const std::string read = older[k].substr(0, older[k].find(" >"));
      // Null objects and texts give no coordinates here.
      EXPECT_EQ(read, newer[k].starts_with("NONE") || newer[k].starts_with("TEXT") ? newer[k].substr(0, 4) + " -"
                                                                                     : newer[k]);
    }
  }
}

TEST_F(MiRoutines, KeywordLinesAndTheInitialRecord) {
  const std::pair<std::string, std::string> cases[] = {
      {"  pline multiple 3", "1 PLINE MULTIPLE 3 0| 3"},
      // Blanks are not folded: two make a plain polyline.
      {"Pline  Multiple 2", "1 PLINE 1 0|  Multiple 2"},
      {"\tMULTIPOINT 4", "1 MULTIPOINT 4 0| 4"},
      {"Region 2", "1 REGION 1 2| 2"},
      {"RoundRect 0 0 1 1", "1 ROUNDRECT 1 0| 0 0 1 1"},
      {"Center 5 5", "0 CENTER 1 0| 5 5"},
      // No keyword: the counts are reset, the type name stays.
      {"    Pen (1,2,0)", "0 CENTER 1 0|Pen (1,2,0)"},
  };
  miObject obj;
  for (const auto& [line, want] : cases) {
    obj.nsect = obj.nr = 7;
    std::string rest;
    const bool found = miObjectType(line, rest, obj);
    EXPECT_EQ(std::to_string(found) + " " + obj.typeName + " " + std::to_string(obj.nsect) + " " +
                  std::to_string(obj.nr) + "|" + rest,
              want);
  }
  EXPECT_FALSE(obj.isCenter || obj.isPline || obj.isRoundRect || obj.isRegion);
  obj.isPoint = obj.isSpare = true;
  obj.ir(1) = 7;
  miInitialiseObject(obj);
  EXPECT_TRUE(!obj.isPoint && !obj.isSpare && !obj.isCenter && obj.nsect == 0 && obj.nr == 0 && obj.ir(1) == 7);
  EXPECT_EQ(obj.typeName, "");
}

TEST_F(MiRoutines, HandObjectsWhereTheOlderRulesDiffer) {
  EXPECT_EQ(miReadText("Point\n 3.5 -4\nMultiPoint 3\n1 1\n2 2\nArc 0 0 1 1\n 0 90\nEllipse 0 0 2 1\nnone\n"
                       "Pline 1\n5 5\nPline 3\n1 1\n1 1\n1 1\nPline Multiple 2\n 2\n0 0\n0 -6\n 1\n9 9\n"
                       // Four stored points: skipped, the last vertex line read again.
                       "Region 1\n 3\n0 0\n1 0\n0 0\n"
                       // A Center line after other lines still gives the label, and is consumed.
                       "Region 1\n 4\n0 0\n4 0\n0 4\n0 0\n    Pen (1,2,0)\n    Center 5 6\nLine 1 2 3 4\n"
                       // A ring without vertices gets no copy; the mean leaves the Rect to be read again.
                       "Region 2\n 4\n0 0\n3 0\n0 3\n0 0\n 0\nRect 0 0 4 2\n"
                       // A region without rings steps back over nothing.
                       "Region 0\nPoint 1 2\n"),
            (Lines{"POINT 3.5,-4 @3.5,-4 a0 l0 >MultiPoint 3",
                   "MULTIPOINT 1,1 @1,1 a0 l0 >2 2",
                   "ARC - > 0 90",
                   "ELLIPSE - >none",
                   "NONE - >Pline 1",
                   "PLINE 5,5 @5,5 a0 l0 >Pline 3",
                   "PLINE 1,1 1,1 1,1 @1,1 a0 l0 >Pline Multiple 2",
                   "PLINE MULTIPLE 0,0 0,-6 @0,-3 a-90 l6 > 1",
                   "PLINE MULTIPLE 9,9 @9,9 a0 l0 >Region 1",
                   "REGION - >0 0",
                   "REGION 0,0 4,0 0,4 0,0 4,0 ir4 @5,6 a0 l0 >Line 1 2 3 4",
                   "LINE 1,2 3,4 @2,3 a45 l2.82843 >Region 2",
                   "REGION 0,0 3,0 0,3 0,0 3,0 0,0 ir4 ir5 @0.75,0.75 a0 l0 >Rect 0 0 4 2",
                   "RECT 0,0 4,2 @2,1 a26.5651 l4.47214 >Region 0",
                   "REGION - >Point 1 2",
                   "POINT 1,2 @1,2 a0 l0 >"}));
  // The warning of each skipped region, without a pause.
  const Lines lines = withoutUnitLines(con.lines());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "WARNING 0318 - Insufficient points for Region object in mif file.  Region ignored."),
            2);
  EXPECT_FALSE(hasLine(lines, "Press Enter to Continue"));
}

TEST_F(MiRoutines, BrokenObjectsEndWithTheirMessage) {
  const std::string k0308 = "ERROR 0308 - Reading .mif file.  Erroneous line is:";
  const std::string k0309 = "ERROR 0309 - Unexpected end of .mif file encountered.";
  const std::string k0310 = "ERROR 0310 - Exceeded number of allowable nodes in a single polyline or region.";
  const std::string ring = "Region 1\n 5\n0 0\n1 0\n1 1\n0 1\n0 0\n";
  const std::pair<std::string, Lines> cases[] = {
      {"Collection 2\n", {"ERROR 0303 - MIF \"Collection\" objects not supported.  Delete or disaggregate object."}},
      {"Region 10001\n", {"ERROR 0304 - Exceeded maximum number of polygons in region below of 10000", "Region 10001"}},
      {"Region x  \n", {k0308, "Region x"}},
      {"Pline Multiple\n", {k0308, "Pline Multiple"}},
      {"Pline  Multiple 2\n", {k0308, "  Multiple 2"}},
      {"Pline 2\n0 0\n1 x\n", {k0308, "1 x"}},
      {"Pline -1\n", {k0308, " -1"}},
      {"Region 1\n -4\n", {k0308, " -4"}},
      {ring + "  Center x 1\n", {k0308, "  Center x 1"}},
      // The count on the next line is not looked for.
      {"Pline\n3\n", {k0309}},
      {"Pline 2\n0 0\n1\n", {k0309}},
      {"Pline 3\n0 0\n", {k0309}},
      {ring + "Center\n", {k0309}},
      {"Pline 101\n", {k0310, "             Requested     101        Limit     100"}},
      {"Region 2\n 2147483647\n", {k0310, "             Requested********        Limit     100"}},
  };
  for (const auto& [mif, message] : cases) {
    SCOPED_TRACE(mif);
    Lines want = message;
    want.insert(want.end(), {"", "Press Enter to Close"});
    EXPECT_EQ(stops([&] { miReadText(mif); }), want);
  }
}

TEST_F(MiRoutines, WrittenObjectsReadBackWithTheNewerReaderAndOgrinfo) {
  const double vx[] = {0, 10, 10, 0}, vy[] = {0, 0, 10, 10};
  for (int i = 1; i <= 4; ++i) std::tie(x(i), y(i)) = std::pair(vx[i - 1], vy[i - 1]);
  int unit = 0;
  OPENFILE(unit, "O ", "w.mif");
  double b[4] = {0, 0, 0, 0};
  miWriteMifHeader(unit, "CoordSys Earth Projection 1, 104 Bounds (-10, -20) (30, 40)  ", "", -1, b[0], b[1], b[2],
                   b[3]);
  EXPECT_EQ(std::vector<double>(b, b + 4), (std::vector<double>{-10, -20, 30, 40}));
  writeLine(unit, "Columns 1\n  id Integer\nData\n");
  miObject obj;
  auto put = [&](bool miObject::*flag, int n, std::string_view style1, std::string_view style2) {
    miInitialiseObject(obj);
    obj.*flag = true;
    obj.nr = 3;
    miWriteObject(unit, obj, x.view(), y.view(), n, style1, style2);
  };
  put(&miObject::isLine, 2, "    Pen (1,2,0)  ", "");
  put(&miObject::isPline, 3, "", "    Pen (1,2,0)");
  put(&miObject::isRegion, 4, "    Pen (1,2,0)", "    Brush (2,16777215,0)");
  x(1) = 123456789012.5;
  put(&miObject::isPoint, 1, "", "");
  CLOSER(unit);
  test::writeFile(dir / "w.mid", "1\n2\n3\n4\n");
  auto xy = [](double a, double c) { return formatF(a, 16, 6) + formatF(c, 16, 6); };
  const std::string ring = xy(0, 0) + "\n" + xy(10, 0) + "\n" + xy(10, 10) + "\n";
  EXPECT_EQ(test::readFile(dir / "w.mif"),
            kTop + "CoordSys Earth Projection 1, 104 Bounds (-10, -20) (30, 40)\nColumns 1\n  id Integer\nData\n\n"
                   "Line " + xy(0, 0) + xy(10, 0) + "\n    Pen (1,2,0)  \nPline 3\n" + ring + "    Pen (1,2,0)\n"
                   "Region 1\n 5\n" + ring + xy(0, 10) + "\n" + xy(0, 0) + "\n    Pen (1,2,0)\n"
                   "    Brush (2,16777215,0)\nPoint  123456789012.500000        0.000000\n");
  EXPECT_EQ(gisRead("w.mif"), (Lines{"LINE 0,0 10,0 @5,0 a0 l10", "PLINE 0,0 10,0 10,10 @10,0 a0 l20",
                                     "REGION 0,0 10,0 10,10 0,10 0,0 10,0 ir5 @5,5 a0 l0",
                                     "POINT 1.23457e+11,0 @1.23457e+11,0 a0 l0"}));

  obj.isPoint = false;
  obj.isEllipse = true;
  EXPECT_EQ(stops([&] { miWriteObject(unit, obj, x.view(), y.view(), 1, "", ""); }).at(0),
            "ERROR 0350 - Trying to write a MIF object that is not yet supported.  Contact support@quenzel.dev.");

  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo is not installed";
  const test::RunResult r = test::runProgram("ogrinfo", {"-al", "-ro", "w.mif"}, dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* seen : {"Feature Count: 4", "LINESTRING (0 0,10 0)", "LINESTRING (0 0,10 0,10 10)",
                           "POLYGON ((0 0,10 0,10 10,0 10,0 0))", "POINT (123456789012.5 0"})
    EXPECT_NE(r.output.find(seen), std::string::npos) << seen << "\n" << r.output;
}

TEST_F(MiRoutines, HeaderFromALineAFileOrTheDefault) {
  auto header = [&](const std::string& projLine, const std::string& projFile, std::vector<double> bounds) {
    int unit = 0, log = 0;
    OPENFILE(unit, "O ", "h.mif");
    OPENFILE(log, "O ", "h.log");
    con.clear();
    miWriteMifHeader(unit, projLine, projFile, log, bounds[0], bounds[1], bounds[2], bounds[3]);
    CLOSER(unit);
    CLOSER(log);
    return std::make_pair(test::readFile(dir / "h.mif"), bounds);
  };
  // Only "Bounds (" with its blank sets the bounds.
  EXPECT_EQ(header("CoordSys NonEarth Bounds(1, 2) (3, 4)", "", {9, 9, 9, 9}),
            std::make_pair(kTop + "CoordSys NonEarth Bounds(1, 2) (3, 4)\n", std::vector<double>{9, 9, 9, 9}));
  // The copy stops at a line holding "Columns" anywhere.
  test::writeFile(dir / "p.mif", "Version 300\nCoordSys NonEarth Units \"m\" bounds (1, 2) (3, 4)   \n"
                                 "! the Columns follow\nColumns 1\n");
  EXPECT_EQ(header("", "  p.mif", {9, 9, 9, 9}),
            std::make_pair(std::string("Version 300\nCoordSys NonEarth Units \"m\" bounds (1, 2) (3, 4)\n"),
                           std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(header("", "none.mif", {-0.5, 1, 123456789012.0, 4}).first,
            kTop + "CoordSys NonEarth Units \"m\" Bounds (         -0.500,          1.000) (***************,"
                   "          4.000)\n");
  EXPECT_EQ(withoutUnitLines(con.lines()),
            (Lines{"", "WARNING 0307 - No MI Projection or mif header file none.mif found.",
                   "               Non-Earth Coordinates will be used.  [miWriteMifHeader]", "",
                   "Press Enter to Continue"}));

  const std::string k0311 = "ERROR 0311 - Could not read XY Bounds in MI Projection Line.";
  test::writeFile(dir / "bad.mif", "CoordSys Earth Bounds (1, 2) (3 x)\n");
  for (auto [line, file] : {std::pair{"CoordSys Earth Bounds (x, 2) (3, 4)", ""}, {"", "bad.mif"}}) {
    EXPECT_EQ(stops([&] { header(line, file, {0, 0, 0, 0}); }), (Lines{k0311, "", "Press Enter to Close"}));
    EXPECT_EQ(test::readFile(dir / "h.log"), k0311 + "\n");
  }
}

TEST_F(MiRoutines, HeaderCopyAndReaders) {
  test::writeFile(dir / "a.mif", "Version 300\n  Columns here\nColumns 2\n  Name Char(10)  \n  Z Float\nData\n"
                                 "Point 1 2\n");
  test::writeFile(dir / "nodata.mif", "Version 300\n");
  test::writeFile(dir / "cols.mif", "Columns many\n");
  int in = 0, out = 0, none = 0, cols = 0;
  OPENFILE(in, "I ", "a.mif");
  OPENFILE(out, "O ", "copy.mif");
  OPENFILE(none, "I ", "nodata.mif");
  OPENFILE(cols, "I ", "cols.mif");
  con.clear();
  miCopyHeader(in, out);
  EXPECT_EQ(con.lines(), (Lines{"Copying header info from file unit 1001 to 1002..."}));
  CLOSER(out);
  EXPECT_EQ(test::readFile(dir / "copy.mif"), "Version 300\n  Columns here\n");

  int n = 0;
  miAttributeDefinition def;
  EXPECT_TRUE(miReadNumberAttributes(in, n) && miReadAttributeDefinition(in, def));
  EXPECT_EQ(std::to_string(n) + " " + def.name + "|" + def.type, "2 Name|Char(10)");
  // "Data" is found, or the file ends.
  std::string line;
  EXPECT_TRUE(miGotoData(in) && readLine(in, line) == IoStatus::Ok);
  EXPECT_EQ(line, "Point 1 2");
  EXPECT_TRUE(miGotoData(none) && unitAtEnd(none));

  for (auto [ok, message] :
       {std::pair{miReadNumberAttributes(none, n), "0315 - Problems finding start of attribute definitions"},
        {miReadNumberAttributes(cols, n), "0314 - Problems reading number of attributes"},
        {miReadAttributeDefinition(none, def), "0316 - Problems reading attribute definition"}}) {
    EXPECT_FALSE(ok);
    const Lines lines = con.lines();
    const auto at = std::find(lines.begin(), lines.end(), "WARNING " + std::string(message) + " in .mif file");
    ASSERT_TRUE(lines.end() - at >= 3) << message;
    EXPECT_EQ(*(at + 2), "Press Enter to Continue");
  }
}

TEST_F(MiRoutines, CoordSysLines) {
  const std::string nonEarth = "CoordSys NonEarth Units \"m\" Bounds(-9999999, -9999999) (9999999, 9999999)";
  EXPECT_EQ(miReadCoordSysLine("  missing.mif"), nonEarth);
  EXPECT_EQ(con.lines(), (Lines{"", "WARNING 0307 - No MI Projection or mif header file missing.mif found.",
                                "          Non-Earth Coordinates will be used.  [miReadCoordSysLine]", "",
                                "Press Enter to Continue"}));
  // The file stays open.
  EXPECT_EQ(miReadCoordSysLine(kData + "shapes.mif"), "CoordSys Earth Projection 1, 104");
  EXPECT_TRUE(unitIsOpen(1001));
  test::writeFile(dir / "plain.mif", "Version 300\n  CoordSys Indented\n");
  EXPECT_EQ(miReadCoordSysLine("plain.mif"), nonEarth);

  int unit = 0;
  test::writeFile(dir / "c.mif", "coordsys\tEarth  Projection 8,104,'m',147  \nCoordSys Later\n");
  OPENFILE(unit, "I ", "c.mif");
  EXPECT_EQ(miFindCoordSysLine(unit), "coordsys\tEarth  Projection 8,104,'m',147");
  EXPECT_EQ(miFindCoordSysLine(unit), "CoordSys Later");
  EXPECT_EQ(miFindCoordSysLine(unit), "");
  EXPECT_EQ(miNormaliseCoordSys("  coordsys\tEarth  Projection 8,104,'m',\"147\"  "),
            "COORDSYSEARTHPROJECTION8,104,M,147");
  // Only the first 1000 characters are looked at.
  EXPECT_EQ(miNormaliseCoordSys(std::string(999, ' ') + "ab"), "A");
}

TEST_F(MiRoutines, OpeningPairsAndAttributeFiles) {
  for (const char* f : {"roads.mif", "roads.mid", "up.mif", "up.MID", "attr.csv", "p.mid"})
    test::writeFile(dir / f, "");
  test::writeFile(dir / "p.mif", "Version 300\nCoordSys Earth Projection 1, 104\n");
  int wor = 0, count = 0;
  OPENFILE(wor, "O ", "t.wor");
  OneBased<std::string> tables(10);
  auto open = [&](const std::string& name, int& mif, int& mid, bool check, const std::string& coordSys, bool error) {
    miOpenMifMid(name, mif, mid, "I ", -1, check, ".TAB  ", false, wor, tables.view(), count, 10, coordSys, error);
  };
  auto fileName = [](int u) { return u < 1 ? "" : std::filesystem::path(unitFileName(u)).filename().string(); };
  const std::tuple<std::string, int, std::string> cases[] = {
      {"roads.mif", 0, "roads.mif roads.mid"}, {" roads.mid", 0, "roads.mif roads.mid"},
      {"roads", 0, "roads.mif roads.mid"},     {"up", 0, "up.mif up.MID"},
      {"roads.mid", -1, " roads.mid"},         {"attr.csv", -1, " attr.csv"},
  };
  for (const auto& [name, mifIn, want] : cases) {
    int mif = mifIn, mid = 0;
    open(name, mif, mid, false, "", false);
    EXPECT_EQ(fileName(mif) + " " + fileName(mid), want) << name;
    if (mif > 0) CLOSER(mif);
    CLOSER(mid);
  }
  CLOSER(wor);
  // Pairs only, each table once, named as given.
  EXPECT_EQ(test::readFile(dir / "t.wor"), "Open Table \"roads\"\nOpen Table \" roads\"\nOpen Table \"up\"\n");

  // A projection that differs, then the save-date check with the table extension given.
  const std::string required = miNormaliseCoordSys("CoordSys Earth Projection 8, 104");
  const std::string text =
      " 0305 - Projection of .mif file is different to that specified by the MI Projection == command.";
  test::writeFile(dir / "p.TAB", "");
  std::filesystem::last_write_time(dir / "p.TAB",
                                   std::filesystem::last_write_time(dir / "p.mid") + std::chrono::seconds(60));
  int mif = 0, mid = 0;
  con.clear();
  open("p", mif, mid, true, required, false);
  const Lines lines = con.lines();
  EXPECT_TRUE(hasLine(lines, "WARNING" + text));
  EXPECT_TRUE(hasLine(lines, "WARNING 0004 - Save date of \"p.TAB\" file is later than that of \"p.mid\""));
  std::string first;
  EXPECT_TRUE(readLine(mif, first) == IoStatus::Ok && first == "Version 300");
  EXPECT_EQ(stops([&] { open("p", mif, mid, false, required, true); }),
            (Lines{"ERROR" + text, "Use \"MI Projection Check == WARNING\" to change message to a WARNING.", "",
                   "Press Enter to Close"}));
}

}  // namespace
}  // namespace quenzel
