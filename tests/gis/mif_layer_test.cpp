// MIF/MID layers: the opener with its projection and save-date checks, the
// CoordSys routines, and the header and object writers, checked against the
// exact text and read back with ogrinfo.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/fortran_format.h"
#include "common/messages.h"
#include "common/units.h"
#include "gis/layer_init.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"
#include "gis/object_record.h"
#include "gis/write_protocol.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;
using XY = std::pair<double, double>;

// Two F16.6 fields: one coordinate line.
std::string xy(double x, double y) { return formatF(x, 16, 6) + formatF(y, 16, 6) + "\n"; }

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

class MifLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    INITUNITS(1000);
    DMESSAGECLEAR();
    gisInitialise(-1, "", "", "");
    gisInitialiseObject(gisO_);
    gisNP = 0;
    gisAttLine.clear();
    gisMifCoordSys.clear();
    gisAttrDef = GisAttributeDefinition{};
  }
  void TearDown() override { CLOSEALL(); }

  // A fresh object of one kind with its vertices and, for several parts,
  // the position of each part's first vertex.
  void shape(bool gisObject::*flag, const std::vector<XY>& v, const std::vector<int>& ir = {1}) {
    gisInitialiseObject(gisO_);
    gisO_.*flag = true;
    gisNP = static_cast<int>(v.size());
    for (int k = 1; k <= gisNP; ++k) std::tie(gisX(k), gisY(k)) = v[static_cast<std::size_t>(k - 1)];
    gisO_.nr = static_cast<int>(ir.size());
    for (int i = 1; i <= gisO_.nr; ++i) gisO_.ir(i) = ir[static_cast<std::size_t>(i - 1)];
  }
  // What the writer puts into a fresh file.
  template <class Write>
  std::string written(Write write) {
    int unit = 0;
    OPENFILE(unit, "O ", (dir / "out.mif").string());
    write(unit);
    CLOSER(unit);
    return test::readFile(dir / "out.mif");
  }
  std::string object(std::string_view style1 = "", std::string_view style2 = "") {
    return written([&](int u) { mifWriteObject(gisO_, u, style1, style2); });
  }
  // Runs a path that must end the run; returns the console text.
  template <class Run>
  std::string stops(Run run) {
    EXPECT_THROW(run(), test::StopCalled);
    return text();
  }
  std::string text() const { return con->text(); }
  // A fresh console capture that reads `input`.
  void console(std::string input = {}) {
    con.reset();
    con = std::make_unique<test::ConsoleCapture>(std::move(input));
  }

  test::StopGuard stop;
  std::unique_ptr<test::ConsoleCapture> con = std::make_unique<test::ConsoleCapture>();
  test::TempDir dir;
};

TEST_F(MifLayer, EveryObjectKindIsWrittenExactly) {
  const std::vector<XY> five = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
  std::vector<XY> ten = five;
  ten.insert(ten.end(), five.begin(), five.end());
  std::string ring;
  for (auto [x, y] : five) ring += xy(x, y);
  struct Case {
    bool gisObject::*flag;
    std::vector<XY> vertices;
    std::vector<int> ir;
    std::string expected;
  } cases[] = {
      {&gisObject::isPoint, {{1.5, -2.25}}, {1}, "Point         1.500000       -2.250000\n"},
      {&gisObject::isMultiPoint, {{1, 2}, {3, 4}}, {1}, "MultiPoint 2\n" + xy(1, 2) + xy(3, 4)},
      {&gisObject::isLine, {{1, 2}, {3, 4}}, {1},
       "Line         1.000000        2.000000        3.000000        4.000000\n"},
      {&gisObject::isPline, {{1, 2}, {3, 4}, {5, 6}}, {1}, "Pline 3\n" + xy(1, 2) + xy(3, 4) + xy(5, 6)},
      {&gisObject::isPlineMultiple, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}, {1, 3},
       "Pline Multiple 2\n 2\n" + xy(1, 2) + xy(3, 4) + " 3\n" + xy(5, 6) + xy(7, 8) + xy(9, 10)},
      {&gisObject::isRegion, five, {1}, "Region 1\n 5\n" + ring},
      {&gisObject::isRegion, ten, {1, 6}, "Region 2\n 5\n" + ring + " 5\n" + ring},
      {&gisObject::isNone, {{1, 2}}, {1}, "none\n"},
  };
  for (const Case& c : cases) {
    shape(c.flag, c.vertices, c.ir);
    EXPECT_EQ(object(), c.expected);
  }
}

TEST_F(MifLayer, TextAndStyleLines) {
  shape(&gisObject::isText, {{1, 1}, {0.5, 0.25}, {10, 2}});
  gisAttLine = "\"Label\"   ";
  EXPECT_EQ(object(), "Text\n\"Label\"\n               0.500           0.250          10.000           2.000\n");

  shape(&gisObject::isPoint, {{1, 1}});
  EXPECT_EQ(object("Pen (1,2,0)  ", "Symbol (35,0,12)"), "Point " + xy(1, 1).substr(0, 32) + "\nPen (1,2,0)\n"
                                                             "Symbol (35,0,12)\n");
  // The second style line only follows the first; a null object has none.
  EXPECT_EQ(object("", "Symbol (35,0,12)"), "Point " + xy(1, 1));
  shape(&gisObject::isNone, {});
  EXPECT_EQ(object("Pen (1,2,0)", ""), "none\n");
}

TEST_F(MifLayer, WideCoordinatesStayApartAndWhole) {
  struct Case {
    double x, y;
    std::string fields;
  } cases[] = {
      {12345678.123456, 1.0, " 12345678.123456        1.000000"},         // 15 characters: fits as usual
      {123456789.123456, -12345678.123456, " 123456789.123456 -12345678.123456"},  // 16 characters each
      {12345678901.5, -123456789012.25, " 12345678901.500000 -123456789012.250000"},  // too wide for F16.6
  };
  for (const Case& c : cases) {
    shape(&gisObject::isPoint, {{c.x, c.y}});
    EXPECT_EQ(object(), "Point " + c.fields + "\n");
  }
  shape(&gisObject::isText, {{0, 0}, {1234567890123.5, -123456789012.5}, {1, 2}});
  EXPECT_EQ(object(), "Text\n\n     1234567890123.500 -123456789012.500           1.000           2.000\n");
}

TEST_F(MifLayer, ObjectWithoutSupportedFlagIsAnError) {
  shape(&gisObject::isEllipse, {{1, 2}});
  const std::string text = stops([&] { object(); });
  EXPECT_NE(text.find("\nERROR 0350 - Trying to write a MIF object that is not yet supported.  Please contact "),
            std::string::npos);
}

TEST_F(MifLayer, HeaderGoldenText) {
  const std::string top = "Version 300\nCharset \"WindowsLatin1\"\nDelimiter \",\"\n";
  gisMifCoordSys = "CoordSys Earth Projection 8, 104, \"m\", 147   ";
  gisAttrDef.count = 2;
  gisAttrDef.name(1) = "Z";
  gisAttrDef.type(1) = "Float";
  gisAttrDef.name(2) = "Options  ";
  gisAttrDef.type(2) = "Char";
  gisAttrDef.width(2) = 20;
  auto header = [&] { return written([](int u) { mifWriteHeader(gisAttrDef, u); }); };
  EXPECT_EQ(header(), top + "CoordSys Earth Projection 8, 104, \"m\", 147\nColumns 2\n  Z Float\n  Options Char(20)\n"
                            "Data\n\n");

  gisAttrDef.count = 0;
  gisMifCoordSys = "   ";
  EXPECT_EQ(header(), top + "CoordSys NonEarth Units \"m\"\nColumns 0\nData\n\n");

  gisMifCoordSys = "CoordSys Earth Projection 1, 104 Bounds " + std::string(1460, '9');
  EXPECT_EQ(header(), top + gisMifCoordSys + "\nColumns 0\nData\n\n");
}

TEST_F(MifLayer, OutputNamesGiveTheFilePairCreatedEmpty) {
  for (const char* given : {"roads.mif", "roads.mid", "roads", "roads.MIF"}) {
    SCOPED_TRACE(given);
    test::writeFile(dir / "roads.mif", "an older, longer file\n");
    int mif = -1, mid = -1;
    OpenmifFile((dir.path().string() + "/" + given), mif, mid, "O ", false);
    ASSERT_GT(mif, 0);
    ASSERT_GT(mid, 0);
    EXPECT_EQ(unitFileName(mif), (dir / "roads.mif").string());
    EXPECT_EQ(unitFileName(mid), (dir / "roads.mid").string());
    CLOSER(mif);
    CLOSER(mid);
    EXPECT_EQ(fs::file_size(dir / "roads.mif"), 0u);
    EXPECT_EQ(fs::file_size(dir / "roads.mid"), 0u);
  }
}

TEST_F(MifLayer, InputSiblingsInUpperCase) {
  struct Case {
    std::vector<std::string> files;
    const char* given;
    const char* mifName;
    const char* midName;
  } cases[] = {
      {{"ROADS.MIF", "ROADS.MID"}, "ROADS.MIF", "ROADS.MIF", "ROADS.MID"},
      {{"roads.mif", "roads.MID"}, "roads", "roads.mif", "roads.MID"},
      {{"roads.mif", "roads.mid", "roads.MID"}, "roads.mid", "roads.mif", "roads.mid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    test::TempDir d;
    for (const std::string& f : c.files) test::writeFile(d / f, "Version 300\n");
    int mif = 0, mid = 0;
    OpenmifFile((d / c.given).string(), mif, mid, "I ", false);
    EXPECT_EQ(unitFileName(mif), (d / c.mifName).string());
    EXPECT_EQ(unitFileName(mid), (d / c.midName).string());
    CLOSER(mif);
    CLOSER(mid);
  }
}

TEST_F(MifLayer, CoordSysSearchAndNormalForm) {
  // LF-CR line ends put a CR before the line.
  test::writeFile(dir / "a.mif", "Version 300\n  CoordSys Indented\n\rcoordsys Earth Projection 1, 104\n\rData\n");
  int unit = 0;
  OPENFILE(unit, "I ", (dir / "a.mif").string());
  EXPECT_EQ(mifFindCoordSys(unit), "coordsys Earth Projection 1, 104");
  EXPECT_EQ(mifFindCoordSys(unit), "");  // from the current position on
  EXPECT_EQ(text().find("WARNING 0306"), std::string::npos);

  EXPECT_EQ(mifCleanCoordSys("  CoordSys Earth Projection 8, 104, \"m\", 147"), "COORDSYSEARTHPROJECTION8,104,M,147");
  EXPECT_EQ(mifCleanCoordSys("coordsys\tearth  projection 8,104,'m',147  "), "COORDSYSEARTHPROJECTION8,104,M,147");
}

TEST_F(MifLayer, InputProjectionIsCompared) {
  const std::string warning = "WARNING 0305 - Projection of .mif file is different to that specified by the MI "
                              "Projection == command.";
  const std::string error = "ERROR 0305 - Projection of .mif file is different to that specified by the MI "
                            "Projection == command.\nUse \"MI Projection Check == WARNING\" to change message to a "
                            "WARNING.";
  struct Case {
    const char* name;
    const char* coordSysLine;  // line 2 of the .mif
    bool errorMode;
    std::string message;  // "" when the projections match
  } cases[] = {
      {"same but for case, blanks and quotes", "coordsys earth projection 8,104,'m',147", true, ""},
      {"different, warning", "CoordSys Earth Projection 1, 104", false, warning},
      {"no CoordSys line, warning", "Columns 0", false, warning},
      {"different, error", "CoordSys Earth Projection 1, 104", true, error},
  };
  test::writeFile(dir / "in.mid", "");
  gisModule().gisMifProjection = mifCleanCoordSys("CoordSys Earth Projection 8, 104, \"m\", 147");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    console();
    test::writeFile(dir / "in.mif", std::string("Version 300\n") + c.coordSysLine + "\nData\n");
    gisModule().gisProjectionCheckError = c.errorMode;
    int mif = 0, mid = 0;
    auto open = [&] { OpenmifFile((dir / "in.mif").string(), mif, mid, "I ", false); };
    if (c.message == error) {
      EXPECT_NE(stops(open).find("\n" + error + "\n"), std::string::npos);
      INITUNITS(1000);
      continue;
    }
    open();
    if (c.message.empty()) {
      EXPECT_EQ(text().find("0305"), std::string::npos);
    } else {
      EXPECT_NE(text().find(c.message + "\n"), std::string::npos);
    }
    std::string first;
    readLine(mif, first);  // rewound after the search
    EXPECT_EQ(first, "Version 300");
    CLOSER(mif);
    CLOSER(mid);
  }
}

TEST_F(MifLayer, SaveDateCheckOfInputLayers) {
  struct Case {
    const char* name;
    const char* table;
    int tableAge;  // seconds relative to the .mid
    bool errorMode;
    const char* seen;
    bool stopsRun;
  } cases[] = {
      {"older table", "roads.tab", -60, true, "roads.tab...OK", false},
      {"older table in upper case", "roads.TAB", -60, true, "roads.TAB...OK", false},
      {"newer table, warning", "roads.tab", 60, false, "WARNING 0004 - Save date of", false},
      // Enter after the first failure opens the pair again; the second
      // failure meets the end of input.
      {"newer table, error", "roads.tab", 60, true, "Re-export mif file and press Enter", true},
  };
  gisModule().gisSaveDateCheck = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir d;
    test::writeFile(d / "roads.mif", "Version 300\n");
    test::writeFile(d / "roads.mid", "");
    test::writeFile(d / c.table, "");
    fs::last_write_time(d / c.table, fs::last_write_time(d / "roads.mid") + std::chrono::seconds(c.tableAge));
    gisModule().gisSaveDateError = c.errorMode;
    console("\n");
    int mif = 0, mid = 0;
    auto open = [&] { OpenmifFile((d / "roads").string(), mif, mid, "I ", false); };
    if (c.stopsRun) {
      EXPECT_EQ(occurrences(stops(open), c.seen), 2u);
      INITUNITS(1000);
      continue;
    }
    open();
    EXPECT_NE(text().find(c.seen), std::string::npos);
    EXPECT_TRUE(unitIsOpen(mif) && unitIsOpen(mid));
    CLOSER(mif);
    CLOSER(mid);
  }
}

TEST_F(MifLayer, FailedWritesEndTheRun) {
  const std::string message = "\nERROR 0439 - Writing .mif file object coordinates.\n";
  // More than the file buffer holds, so the writer itself meets the failure.
  shape(&gisObject::isPline, std::vector<XY>(60000, {1.0, 2.0}));
  int unit = 0;
  OPENFILE(unit, "O ", "/dev/full");
  EXPECT_NE(stops([&] { mifWriteObject(gisO_, unit, "", ""); }).find(message), std::string::npos);

  INITUNITS(1000);
  console();
  gisMifCoordSys = "CoordSys " + std::string(std::size_t{2} << 20, 'x');
  OPENFILE(unit, "O ", "/dev/full");
  EXPECT_NE(stops([&] { mifWriteHeader(gisAttrDef, unit); }).find(message), std::string::npos);

  // A small layer fails only when its buffer reaches the file at close.
  INITUNITS(1000);
  gisInitialise(-1, "", "", "");
  console();
  fs::create_symlink("/dev/full", dir / "full.mif");
  gisMifCoordSys.clear();
  int id = gisOpenLayer((dir / "full").string(), "", "O ", false);
  gisWriteHeader(id);
  EXPECT_NE(stops([&] { gisCloseLayer(id); }).find(message), std::string::npos);
}

TEST_F(MifLayer, WrittenLayerReadsBackWithOgrinfo) {
  gisAttrDef.count = 2;
  gisAttrDef.name(1) = "Name";
  gisAttrDef.type(1) = "Char";
  gisAttrDef.width(1) = 10;
  gisAttrDef.name(2) = "Z";
  gisAttrDef.type(2) = "Float";
  int id = gisOpenLayer((dir / "roads.mif").string(), "", "O ", false);
  gisWriteHeader(id);
  auto put = [&](bool gisObject::*flag, const std::vector<XY>& v, const std::vector<int>& ir, const char* record) {
    shape(flag, v, ir);
    gisWriteObject(id, gisO_);
    gisAttLine = record;
    gisWriteRecord(id, gisO_);
  };
  put(&gisObject::isPoint, {{123456789.123456, -12345678.123456}}, {1}, "\"wide\",1.5   ");
  put(&gisObject::isPline, {{0, 0}, {10, 0}, {10, 10}}, {1}, "\"road\",2");
  put(&gisObject::isRegion, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 2}}, {1, 6},
      "\"lot\",3");
  gisCloseLayer(id);
  EXPECT_EQ(test::readFile(dir / "roads.mid"), "\"wide\",1.5\n\"road\",2\n\"lot\",3\n");

  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo is not installed";
  const test::RunResult r = test::runProgram("ogrinfo", {"-al", "-ro", "roads.mif"}, dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* seen : {"Feature Count: 3", "POINT (123456789.123456 -12345678.123456)",
                           "LINESTRING (0 0,10 0,10 10)", "((0 0,10 0,10 10,0 10,0 0),(2 2,4 2,4 4,2 2))",
                           "Name (String) = road", "Z (Real) = 3"})
    EXPECT_NE(r.output.find(seen), std::string::npos) << seen << "\n" << r.output;
}

}  // namespace
}  // namespace quenzel
