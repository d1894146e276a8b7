// GIS layers to 2D breaklines and, with -zln, to 3D breaklines with their
// side layers, end to end through the executable. The layers come from
// tests/data/breaklines (made by make_fixtures.sh there).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;
using test::RunResult;

const fs::path kData = fs::path(QUENZEL_TEST_DATA) / "breaklines";

class Breaklines : public ::testing::Test {
 protected:
  void copy(const std::string& base, std::initializer_list<const char*> exts) {
    for (const char* e : exts) fs::copy_file(kData / (base + e), dir / (base + e));
  }
  RunResult run(const std::vector<std::string>& args, const std::string& input = {}) {
    RunResult r = test::runProgram(QUENZEL_EXE, args, dir.path(), input, 300);
    EXPECT_EQ(r.status, 0) << r.output;
    return r;
  }
  std::string output(const std::string& name) { return test::readFile(dir / name); }
  static std::string expected(const std::string& name) { return test::readFile(kData / "expected" / name); }
  static void expectHas(const RunResult& r, const std::string& text) {
    EXPECT_NE(r.output.find(text), std::string::npos) << "missing: " << text << "\n" << r.output;
  }
  static std::string lines2dWithModel(const std::string& model) {
    std::string body = expected("lines2d.12da");
    return body.replace(body.find("north road rev"), 14, model);
  }
  std::string ogrinfo(const std::string& name) {
    return test::runProgram("ogrinfo", {"-ro", "-al", name}, dir.path()).output;
  }
  test::TempDir dir;
};

// Lines, a three-section polyline and a two-point line become strings; the
// point and the region are passed over. Names keep blanks and commas and
// double their quotes; wide coordinates keep every digit.
TEST_F(Breaklines, TwoDFromMifWithModelAndOut) {
  copy("lines2d", {".mif", ".mid"});
  RunResult r = run({"-b", "-model", "north-road.rev", "lines2d.mif"});
  EXPECT_EQ(output("lines2d.12da"), expected("lines2d.12da"));
  expectHas(r, "\nConverting gis to .12da format...\n");
  expectHas(r, "\nSearching for Lines and Polylines...\n\n");
  expectHas(r, "Polyline 1 with 3 nodes...Disaggregating combined polyline into 3 polylines...\n"
               "Polyline 2 with 2 nodes...Polyline 3 with 3 nodes...Polyline 4 with 2 nodes..."
               "Polyline 5 with 2 nodes...");
  EXPECT_EQ(r.output.find("Projection"), std::string::npos) << "no projection search for this conversion";

  // -out names the output; a second file does not.
  r = run({"-b", "-out", "named", "lines2d.mif", "other.mif"});
  EXPECT_EQ(output("named.12da"), lines2dWithModel("from lines2d gis"));
  EXPECT_FALSE(fs::exists(dir / "other.12da"));
}

// The same lines as a shapefile set (without the point and the region).
TEST_F(Breaklines, TwoDFromShapefiles) {
  copy("roads", {".shp", ".shx", ".dbf", ".prj"});
  copy("zln_points", {".shp", ".shx", ".dbf"});
  run({"-b", "roads.shp"});
  EXPECT_EQ(output("roads.12da"), lines2dWithModel("from roads gis"));
  // Points only: the head and nothing else, and no progress text.
  RunResult r = run({"-b", "zln_points.shp"});
  EXPECT_EQ(output("zln_points.12da"), "null -999\nmodel \"from zln points gis\"\n\n");
  EXPECT_EQ(r.output.find("Polyline 1"), std::string::npos);
}

// An unquoted first value ends at its first blank; a section may have more
// than 1000 vertices; a record without any value stops the run at once,
// after the strings before it are on disk.
TEST_F(Breaklines, TwoDUnquotedNameLongSectionAndRecordWithoutValue) {
  std::string mif = "Version 300\nColumns 1\n  Name Char(20)\nData\nPline 2\n1 2\n3 4\nPline 1500\n";
  for (int k = 0; k < 1500; ++k) mif += std::to_string(k) + " 0\n";
  test::writeFile(dir / "a.mif", mif + "Line 5 6 7 8\n");
  test::writeFile(dir / "a.mid", "Main Street\nlong\n\n");
  RunResult r = run({"-b", "a.mif"}, "\n");
  EXPECT_TRUE(r.output.ends_with("Polyline 1 with 2 nodes...Polyline 2 with 1500 nodes...\n"
                                 "ERROR - End of File encountered\nPress Enter to Continue\n"))
      << r.output;
  const std::string d12 = output("a.12da");
  EXPECT_TRUE(d12.starts_with(
      "null -999\nmodel \"from a gis\"\n\nstring 2d {\n  name      \"Main\"\n  chainage  0\n"
      "  breakline line\n  colour    red\n  style     1\n\n  data {\n"
      "             1.00000         2.00000\n             3.00000         4.00000\n  }\n}\n\nstring 2d {\n"))
      << d12.substr(0, 400);
  EXPECT_TRUE(d12.ends_with("\n          1499.00000         0.00000\n  }\n}\n\n"));
}

// The three ways of giving -zln its layers give the same strings: snapped
// heights at 0.0009 (not at 0.0011), the first point read wins, chainage
// interpolation, a line without a snapped vertex, dangles and a two-section
// polyline.
constexpr const char* kZlnConsole =
    "\nSearching for Lines and Polylines...\n\n"
    "Polyline 1 with 5 nodes...found snapped points - interpolating.\n"
    "Polyline 2 with 2 nodes...no snapped points - using polyline elevation.\n"
    "Polyline 3 with 3 nodes...found snapped points - interpolating.\n"
    "Disaggregating combined polyline into 2 polylines...\n"
    "Polyline 4 with 2 nodes...found snapped points - interpolating.\n"
    "Polyline 5 with 2 nodes...no snapped points - using polyline elevation.\n";

TEST_F(Breaklines, ZlnFromTwoMifLayers) {
  copy("zln_points", {".mif", ".mid"});
  copy("zln_lines", {".mif", ".mid"});
  RunResult r = run({"-b", "-zln", "-model", "zln test", "zln_points.mif", "zln_lines.mif"});
  EXPECT_EQ(output("zln_lines.12da"), expected("zln.12da"));
  expectHas(r, "\nSearching for point objects...\n\nFound 7 breakline points.\n\n");
  expectHas(r, kZlnConsole);
  expectHas(r, "\nWARNING - Found unsnapped points.\n          See zln_lines_unsnapped_points.mif\n"
               "\nWARNING - Found dangling polylines.\n          See zln_lines_dangles.mif\n");
  for (const char* side : {"dangles", "unsnapped_points"})
    for (const char* ext : {".mif", ".mid"})
      EXPECT_EQ(output(std::string("zln_lines_") + side + ext), expected(std::string("zln_") + side + ext));
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  const std::string dangles = ogrinfo("zln_lines_dangles.mif");
  expectHas({0, dangles}, "Feature Count: 2");
  expectHas({0, dangles}, "LINESTRING (300040 6000050,300050 6000050,300060 6000050)");
  expectHas({0, ogrinfo("zln_lines_unsnapped_points.mif")}, "Z (Real) = 99\n  Style = SYMBOL(a:0,c:#000000,s:12pt,id:\"mapinfo-sym-35,ogr-sym-9\")\n  POINT (300000.0005 6000000.0)");
}

TEST_F(Breaklines, ZlnFromOneMifLayerReadTwice) {
  copy("zln", {".mif", ".mid"});
  RunResult r = run({"-b", "-zln", "-model", "zln test", "zln.mif"});
  EXPECT_EQ(output("zln.12da"), expected("zln.12da"));
  expectHas(r, "\nRewinding GIS Layer 1...\n");
  expectHas(r, kZlnConsole);
  EXPECT_EQ(output("zln_dangles.mif"), expected("zln_dangles.mif"));
  EXPECT_EQ(output("zln_unsnapped_points.mid"), expected("zln_unsnapped_points.mid"));
}

TEST_F(Breaklines, ZlnFromShapefiles) {
  copy("zln_points", {".shp", ".shx", ".dbf", ".prj"});
  copy("zln_lines", {".shp", ".shx", ".dbf", ".prj"});
  RunResult r = run({"-b", "-zln", "-model", "zln test", "zln_points.shp", "zln_lines.shp"});
  EXPECT_EQ(output("zln_lines.12da"), expected("zln.12da"));
  expectHas(r, kZlnConsole);
  expectHas(r, "\nUsing zln_lines.prj for setting projection.\n");
  expectHas(r, "See zln_lines_unsnapped_points.shp\n");
  EXPECT_EQ(output("zln_lines_dangles_L.prj"), output("zln_lines.prj") + "\n");
  const std::string pyshp = test::pyshpListing(dir / "zln_lines_unsnapped_points_P.shp");
  if (!pyshp.empty()) {
    EXPECT_EQ(pyshp, "1 3 [('Z', 'N', 16, 5)]\n1 [] [(300030.0011, 6000000.0)] [40.0]\n"
                     "1 [] [(300000.0005, 6000000.0)] [99.0]\n1 [] [(300100.0, 6000100.0)] [5.0]\n");
  }
  if (test::haveCommand("ogrinfo")) {
    const std::string info = ogrinfo("zln_lines_dangles_L.shp");
    expectHas({0, info}, "Feature Count: 2");
    expectHas({0, info}, "Z (Real) = 6");
  }
  // Without a .prj of the lines the points' one is taken, without both none.
  fs::remove(dir / "zln_lines.prj");
  expectHas(run({"-b", "-zln", "zln_points.shp", "zln_lines.shp"}), "\nUsing zln_points.prj for setting projection.\n");
  fs::remove(dir / "zln_points.prj");
  r = run({"-b", "-zln", "zln_points.shp", "zln_lines.shp"});
  EXPECT_EQ(r.output.find("for setting projection"), std::string::npos) << r.output;
  expectHas(r, "\nFinished.\n");
}

// A height too wide for its column keeps every digit. A height that is no
// number stops the run at once; the strings written so far and both side
// layers are complete on disk.
TEST_F(Breaklines, ZlnUnreadableElevationLeavesCompleteFiles) {
  test::writeFile(dir / "b.mif", "Version 300\nCoordSys NonEarth Units \"m\"\nColumns 1\n  Z Float\nData\n"
                                 "Point 0 0\nPline 2\n0 0\n5 0\nLine 0 0 9 9\n");
  test::writeFile(dir / "b.mid", "12345678\n2\nhigh\n");
  RunResult r = run({"-b", "-zln", "b.mif"}, "\n");
  EXPECT_TRUE(r.output.ends_with("Polyline 1 with 2 nodes...found snapped points - interpolating.\n\n"
                                 "ERROR - Reading data\nPress Enter to Continue\n"))
      << r.output;
  EXPECT_NE(output("b.12da").find("           5.00000         0.00000 12345678.0000\n  }\n}\n\n"), std::string::npos);
  EXPECT_EQ(output("b_dangles.mid"), "           2.000\n");
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  expectHas({0, ogrinfo("b_dangles.mif")}, "LINESTRING (0 0,5 0)");
  expectHas({0, ogrinfo("b_unsnapped_points.mif")}, "Feature Count: 0");
}

TEST_F(Breaklines, ZlnStopsAboveAMillionPoints) {
  std::string mif = "Version 300\nCoordSys NonEarth Units \"m\"\nColumns 1\n  Z Float\nData\n";
  std::string mid;
  mif.reserve(16'000'000);
  mid.reserve(2'100'000);
  for (int k = 0; k <= 1'000'000; ++k) {
    mif += "Point " + std::to_string(k) + " 0\n";
    mid += "1\n";
  }
  test::writeFile(dir / "many.mif", mif);
  test::writeFile(dir / "many.mid", mid);
  RunResult r = run({"-b", "-zln", "many.mif"}, "\n\n");
  EXPECT_TRUE(r.output.ends_with("\n\nERROR - Exceeded maximum number of breakline points: 1000000\n\n\n"
                                 "Press Enter to Close\n"))
      << r.output.substr(r.output.size() > 2000 ? r.output.size() - 2000 : 0);
  EXPECT_EQ(output("many.12da"), "null -999\nmodel \"from many gis\"\n\n");
  EXPECT_TRUE(output("many_dangles.mif").ends_with("Data\n\n"));
}

}  // namespace
}  // namespace quenzel
