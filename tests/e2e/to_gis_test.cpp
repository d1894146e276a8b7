// 12da strings to a MIF layer, end to end through the executable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::RunResult;

const fs::path kData = fs::path(QUENZEL_TEST_DATA) / "e2e";
const std::string kCoordSys = "CoordSys Earth Projection 8, 33, \"m\", 153, 0, 0.9996, 500000, 10000000";

class ToGis : public ::testing::Test {
 protected:
  void SetUp() override { test::writeFile(dir / "Header.mif", "Version 300\n" + kCoordSys + "\n"); }
  void copyFixture(const std::string& name) { fs::copy_file(kData / name, dir / name); }
  RunResult run(const std::vector<std::string>& args, const std::string& input = {}) {
    return test::runProgram(QUENZEL_EXE, args, dir.path(), input, 300);
  }
  std::string output(const std::string& name) { return test::readFile(dir / name); }
  static std::string expected(const std::string& name) { return test::readFile(kData / "expected" / name); }
  // Feature lines of `ogrinfo -al`, or nothing when GDAL is not installed.
  std::string ogrinfo(const std::string& name) {
    RunResult r = test::runProgram("ogrinfo", {"-ro", "-al", name}, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    return r.output;
  }
  test::TempDir dir;
};

// Every line kind of a 12da file: a byte-order mark, hexadecimal numbers,
// the null keyword, 2D strings with and without a height, closed and open
// polylines, a super string with a block of no kind between its blocks,
// hipdata, a one-vertex string and a type holding a double quote.
TEST_F(ToGis, EveryStringKindGivesExactMifAndMid) {
  copyFixture("mixed.12da");
  RunResult r = run({"-b", "-mif", "mixed.12da"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(output("mixed.12da.mif"), expected("mixed.mif"));
  EXPECT_EQ(output("mixed.12da.mid"), expected("mixed.mid"));
  EXPECT_NE(r.output.find("\nLess than 2 vertices, omminting line output, data type: 3d\n"), std::string::npos);
  EXPECT_NE(r.output.find("\nConverted 9 string objects and ignored 1\n\n"), std::string::npos) << r.output;
}

TEST_F(ToGis, HipdataOnlyWithTheOption) {
  copyFixture("mixed.12da");
  RunResult r = run({"-b", "-hip", "-mif", "mixed.12da"});
  EXPECT_EQ(output("mixed.12da.mif"), expected("mixed_hip.mif"));
  EXPECT_EQ(output("mixed.12da.mid"), expected("mixed_hip.mid"));
  EXPECT_NE(r.output.find("\nConverted 10 string objects and ignored 1\n"), std::string::npos) << r.output;
}

// The file's own null value and the reader's "no value" both mean no height:
// neither gives a point.
TEST_F(ToGis, NullHeightsGiveNoPoints) {
  copyFixture("nullvalue.12da");
  RunResult r = run({"-b", "-mif", "nullvalue.12da"});
  EXPECT_NE(r.output.find("\n12D null value set to:    -999.000\n"), std::string::npos) << r.output;
  EXPECT_EQ(output("nullvalue.12da.mif"), expected("nullvalue.mif"));
  EXPECT_EQ(output("nullvalue.12da.mid"), expected("nullvalue.mid"));
}

TEST_F(ToGis, ConsoleReportsHeaderLayerAndCounts) {
  std::string d12 = "// archive_version \"3.0\"\nmodel \"m\"\n";
  for (int i = 0; i < 25; ++i) d12 += "string 2d {\n  data_2d {\n    1 2\n    3 4\n  }\n}\n";
  test::writeFile(dir / "many.12da", d12);
  RunResult r = run({"-b", "-mif", "many.12da"});
  const std::string pattern =
      "\nFile 1: many.12da\n\nTrying to open file many.12da...OK.\nOpened File Unit:1002\n\n"
      "Reading .12da header information...\n\nTrying to open file /\\S+/many.12da...OK.\n"
      "Opened File Unit:1003\n...Closed File Unit:1003\n12d Archive Version: 3.0\n[^]*"
      "null_keyword: false\n[^]*hex_floats: false\nFinished reading header information.\n\n"
      "Converting .12da breaklines to gis format...\nOpening GIS Layer: many.12da.mif\n"
      "GIS Layer assigned ID of 1\n\nTrying to open file many.12da.mif...OK.  File Unit:1003\n\n"
      "Trying to open file many.12da.mid...OK.  File Unit:1004\n\nSearching for 12da objects...\n[^]*"
      "\n      10      20\nConverted 25 string objects and ignored 0\n\n\n"
      "Closing GIS Layer 1 \\[many.12da.mif\\]...\n...Closed File Unit:1003\n...Closed File Unit:1004\n\n"
      "Finished.\n$";
  EXPECT_TRUE(std::regex_search(r.output, std::regex(pattern))) << r.output;
}

TEST_F(ToGis, LongCoordSysLineIsWrittenWhole) {
  const std::string longLine = "CoordSys Earth Projection 1, 104 " + std::string(1467, 'x');
  ASSERT_EQ(longLine.size(), 1500u);
  test::writeFile(dir / "Header.mif", longLine + "\n");
  test::writeFile(dir / "a.12da", "model \"m\"\nstring 2d {\n  data_2d {\n    1 2\n    3 4\n  }\n}\n");
  run({"-b", "-mif", "a.12da"});
  const std::vector<std::string> lines = test::splitLines(output("a.12da.mif"));
  ASSERT_GT(lines.size(), 4u);
  EXPECT_EQ(lines[3], longLine);
}

// The reader's limit is 1,000,000 vertices; a closed polyline repeats its
// first vertex after that, and the whole string still converts.
TEST_F(ToGis, ClosedPolylineOfAMillionVertices) {
  std::string d12 = "model \"m\"\nstring polyline {\n  data_3d {\n";
  d12.reserve(24'000'000);
  for (int i = 0; i < 1'000'000; ++i) d12 += std::to_string(i) + " " + std::to_string(i % 997) + " 1\n";
  d12 += "  }\n}\n";
  test::writeFile(dir / "big.12da", d12);
  RunResult r = run({"-b", "-mif", "big.12da"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("\nConverted 1 string objects and ignored 0\n"), std::string::npos) << r.output.substr(0, 2000);
  const std::string mif = output("big.12da.mif");
  EXPECT_NE(mif.find("\nPline 1000001\n"), std::string::npos);
  const std::size_t lines = static_cast<std::size_t>(std::count(mif.begin(), mif.end(), '\n'));
  // header (12 lines) + Pline line + 1,000,001 vertices + 1,000,001 points
  EXPECT_EQ(lines, 12u + 1u + 2u * 1'000'001u);
  const std::string mid = output("big.12da.mid");
  EXPECT_EQ(static_cast<std::size_t>(std::count(mid.begin(), mid.end(), '\n')), 1u + 1'000'001u);
}

TEST_F(ToGis, GdalReadsWhatWeWrite) {
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  copyFixture("mixed.12da");
  run({"-b", "-mif", "mixed.12da"});
  const std::string info = ogrinfo("mixed.12da.mif");
  EXPECT_NE(info.find("Feature Count: 23"), std::string::npos) << info;
  EXPECT_NE(info.find("LINESTRING (3 4,10 20,11.5 21.5)"), std::string::npos);
  EXPECT_NE(info.find("LINESTRING (0 0,1 0,1 1,0 0)"), std::string::npos);
  EXPECT_NE(info.find("POINT (11.5 21.5)"), std::string::npos);
  EXPECT_NE(info.find("Z (Real) = -999"), std::string::npos) << info;
  EXPECT_NE(info.find("String_Type (String) = face\"x"), std::string::npos);
  // The projection of Header.mif came through.
  EXPECT_NE(info.find("Transverse Mercator"), std::string::npos);
  EXPECT_NE(info.find("Longitude of natural origin\",153"), std::string::npos);
}

// Strings the reader used to lose or corrupt: one indented by tabs, one
// without data before a normal one, one with an attributes block before its
// data, heights too wide for their column, and a NUL in a string type.
TEST_F(ToGis, TabsStringsWithoutDataWideHeightsAndControlBytes) {
  test::writeFile(dir / "mends.12da",
                  "model \"m\"\n"
                  "\tstring\t2d\t{\n\t\tname\tTabbed\n\t\tz\t5\n\t\tdata_2d {\n\t\t\t1\t2\n\t\t\t3\t4\n\t\t}\n\t}\n"
                  "string 3d {\n  name \"empty\"\n}\n"
                  "string 3d {\n  data {\n    10 20 30\n    11 21 31\n  }\n}\n"
                  "string 3d {\n  attributes {\n    integer \"count\" 2\n  }\n  data {\n    5 6 7\n    8 9 10\n  }\n}\n"
                  "string 3d {\n  data {\n    100 200 1e13\n    101 201 -1e13\n  }\n}\n"
                  "string 3d\0x {\n  data {\n    0 0 1\n    1 1 2\n  }\n}\n"s);
  RunResult r = run({"-b", "-mif", "mends.12da"});
  EXPECT_NE(r.output.find("\nConverted 5 string objects and ignored 1\n"), std::string::npos) << r.output;
  EXPECT_EQ(output("mends.12da.mif"), expected("mends.mif"));
  EXPECT_EQ(output("mends.12da.mid"), expected("mends.mid"));
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  const std::string info = ogrinfo("mends.12da.mif");
  EXPECT_EQ(info.find("Warning"), std::string::npos) << info;
  EXPECT_EQ(info.find("ERROR"), std::string::npos) << info;
  EXPECT_NE(info.find("Feature Count: 15"), std::string::npos) << info;
  EXPECT_NE(info.find("Z (Real) = 9999999827968"), std::string::npos) << info;
  EXPECT_NE(info.find("Z (Real) = -9999999827968"), std::string::npos) << info;
  EXPECT_NE(info.find("String_Type (String) = 3d x"), std::string::npos) << info;
}

// Strings of a file without a model line are read from its start.
TEST_F(ToGis, FileWithoutModelLine) {
  test::writeFile(dir / "nomodel.12da", "string 2d {\n  data_2d {\n    1 2\n    3 4\n  }\n}\n");
  RunResult r = run({"-b", "-mif", "nomodel.12da"});
  EXPECT_TRUE(std::regex_search(
      r.output, std::regex("\nSearching for 12da objects...\n[^]*\n\nWARNING - No model line found in \\.12da file; "
                           "reading strings from the start of the file\\.\n\nConverted 1 string objects and ignored 0\n")))
      << r.output;
  EXPECT_EQ(output("nomodel.12da.mid"), "      -99999.000,   0.000,   0.000,\"\",\"2d\"\n");
}

}  // namespace
}  // namespace quenzel

namespace quenzel {
namespace {

// A fatal error part way through still leaves a complete, readable layer of
// what was converted before it.
TEST(ToGisFailure, LayerWrittenSoFarIsFinishedOnAFatalError) {
  test::TempDir dir;
  test::writeFile(dir / "Header.mif", "CoordSys NonEarth Units \"m\"\n");
  test::writeFile(dir / "bad.12da",
                  "model \"m\"\nstring 3d {\n  data {\n    1 2 3\n    4 5 6\n  }\n}\n"
                  "string 3d {\n  data {\n    7 8 nine\n  }\n}\n");
  RunResult r = test::runProgram(QUENZEL_EXE, {"-b", "-mif", "bad.12da"}, dir.path(), "\n");
  EXPECT_EQ(r.status, 0);
  // The layer is finished without a word: the console ends in the error and the prompt.
  EXPECT_TRUE(r.output.ends_with(
      "...Closed File Unit:1005\n\nERROR - Reading .12da file.  Erroneous line is:\n7 8 nine\n\nPress Enter to Close\n"))
      << r.output;
  EXPECT_EQ(test::readFile(dir / "bad.12da.mid"),
            "      -99999.000,   0.000,   0.000,\"\",\"3d\"\n"
            "           3.000,   0.000,   0.000,\"\",\"3d\"\n"
            "           6.000,   0.000,   0.000,\"\",\"3d\"\n");
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  RunResult info = test::runProgram("ogrinfo", {"-ro", "-al", "bad.12da.mif"}, dir.path());
  EXPECT_NE(info.output.find("Feature Count: 3"), std::string::npos) << info.output;
}

const std::string kProjcs =
    "PROJCS[\"GDA94 / MGA zone 56\",GEOGCS[\"GDA94\",DATUM[\"D_GDA_1994\",SPHEROID[\"GRS_1980\",6378137,"
    "298.257222101]],PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]],"
    "PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"latitude_of_origin\",0],PARAMETER[\"central_meridian\",153],"
    "PARAMETER[\"scale_factor\",0.9996],PARAMETER[\"false_easting\",500000],PARAMETER[\"false_northing\",10000000],"
    "UNIT[\"Meter\",1]]";

// The point and line sets of every string kind, as two readers no one here
// wrote see them: pyshp (the listing of tests/data/e2e/expected) and ogrinfo.
TEST(ToShapefile, EveryStringKindGivesPointAndLineSets) {
  test::TempDir dir;
  fs::copy_file(kData / "mixed.12da", dir / "mixed.12da");
  test::writeFile(dir / "Header.prj", kProjcs + "\n");
  RunResult r = test::runProgram(QUENZEL_EXE, {"-b", "-shp", "mixed.12da"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("\nConverted 9 string objects and ignored 1\n"), std::string::npos) << r.output;
  for (const char* set : {"mixed.12da_P", "mixed.12da_L"})
    EXPECT_EQ(test::readFile(dir / (std::string(set) + ".prj")), kProjcs + "\n") << set;
  const std::string listing = test::pyshpListing(dir / "mixed.12da_P.shp") + test::pyshpListing(dir / "mixed.12da_L.shp");
  if (!listing.empty()) {
    EXPECT_EQ(listing, test::readFile(kData / "expected" / "mixed_shp.txt"));
  }
  if (!test::haveCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
  RunResult info = test::runProgram("ogrinfo", {"-ro", "-al", "mixed.12da_L.shp"}, dir.path());
  for (const char* text : {"Feature Count: 8", "LINESTRING (0 0,1 0,1 1,0 0)", "String_Typ (String) = face\"x",
                           "Z: Real (16.5)", "Options: String (20.0)", "Transverse Mercator"})
    EXPECT_NE(info.output.find(text), std::string::npos) << text << "\n" << info.output;
  info = test::runProgram("ogrinfo", {"-ro", "-so", "-al", "mixed.12da_P.shp"}, dir.path());
  EXPECT_NE(info.output.find("Feature Count: 15"), std::string::npos) << info.output;
}

// -out names the sets and a second file gives their projection line; a
// fatal error part way leaves complete sets of what came before it.
TEST(ToShapefile, NamedSetsFinishedOnAFatalError) {
  test::TempDir dir;
  test::writeFile(dir / "bad.12da",
                  "model \"m\"\nstring 3d {\n  data {\n    1 2 3\n    4 5 6\n  }\n}\n"
                  "string 3d {\n  data {\n    7 8 nine\n  }\n}\n");
  test::writeFile(dir / "other.prj", "GEOGCS[\"x\"]\n" + kProjcs + "\n");
  RunResult r = test::runProgram(QUENZEL_EXE, {"-b", "-shp", "-out", "x.shp", "bad.12da", "other.prj"}, dir.path(), "\n");
  EXPECT_NE(r.output.find("\nUsing other.prj for setting projection.\n"), std::string::npos) << r.output;
  EXPECT_TRUE(r.output.ends_with("7 8 nine\n\nPress Enter to Close\n")) << r.output;
  EXPECT_EQ(test::readFile(dir / "x_L.prj"), kProjcs + "\n");
  const std::string fields = "[('Z', 'N', 16, 5), ('dZ', 'N', 16, 5), ('Width', 'N', 16, 5), ('Options', 'C', 20, 0), "
                             "('String_Typ', 'C', 20, 0)]\n";
  const std::string listing = test::pyshpListing(dir / "x_P.shp") + test::pyshpListing(dir / "x_L.shp");
  if (!listing.empty()) {
    EXPECT_EQ(listing, "1 2 " + fields + "1 [] [(1.0, 2.0)] [3.0, 0.0, 0.0, '', '3d']\n" +
                           "1 [] [(4.0, 5.0)] [6.0, 0.0, 0.0, '', '3d']\n3 1 " + fields +
                           "3 [0] [(1.0, 2.0), (4.0, 5.0)] [-99999.0, 0.0, 0.0, '', '3d']\n");
  }
}

}  // namespace
}  // namespace quenzel
