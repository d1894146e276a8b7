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

TEST(ToGisFailure, ShapefileOutputSaysItIsNotAvailable) {
  test::TempDir dir;
  test::writeFile(dir / "Header.prj", "PROJCS[\"x\"]\n");
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = test::runProgram(QUENZEL_EXE, {"-b", "-shp", "a.12da"}, dir.path());
  EXPECT_NE(r.output.find("\nShapefile output is not available in this build; nothing was converted.\n"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find("Converted"), std::string::npos);
}

}  // namespace
}  // namespace quenzel
