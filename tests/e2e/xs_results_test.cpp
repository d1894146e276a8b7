// 12da strings to cross-sections (-xs), and result points to 12da
// (-results), end to end through the executable.
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
using test::RunResult;

const fs::path kData = fs::path(QUENZEL_TEST_DATA) / "e2e";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class XsResults : public ::testing::Test {
 public:
  RunResult run(const std::vector<std::string>& args, const std::string& input = {}) {
    return test::runProgram(QUENZEL_EXE, args, dir.path(), input, 300);
  }
  void copyFixture(const std::string& name) { fs::copy_file(kData / name, dir / name); }
  std::string output(const std::string& name) { return test::readFile(dir / name); }
  static std::string expected(const std::string& name) { return test::readFile(kData / "expected" / name); }
  // `ogrinfo -al` of a layer we wrote: empty when GDAL is not installed.
  std::string ogrinfo(const std::string& name) {
    if (!test::haveCommand("ogrinfo")) return {};
    RunResult r = test::runProgram("ogrinfo", {"-ro", "-al", name}, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_FALSE(has(r.output, "ERROR")) << r.output;
    return r.output;
  }
  test::TempDir dir;
};

// Every .csv file below the folder, each after a "== <path>" line.
std::string csvFiles(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
    if (e.path().extension() == ".csv") files.push_back(fs::relative(e.path(), dir));
  std::sort(files.begin(), files.end());
  std::string all;
  for (const fs::path& f : files) all += "== " + f.generic_string() + "\n" + test::readFile(dir / f);
  return all;
}

// Unnamed and named strings, null heights, an ignored 2D string (it pauses,
// also with -b), a one-vertex string, unsafe names, a path too long for the
// Source field, a super string of two blocks writing one file and a name
// whose "." part is safe: the .csv files and the console from the null value
// to the count, in every format.
void runXsFixture(XsResults& t, const std::vector<std::string>& args) {
  t.copyFixture("xs.12da");
  fs::create_directory(t.dir / "_");
  fs::create_directory(t.dir / "cross_sections_of_the_upper_river_reach_2024");
  RunResult r = t.run(args, "\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(csvFiles(t.dir.path()), XsResults::expected("xs_csv.txt"));
  const std::size_t from = r.output.find("12D null value");
  const std::size_t to = r.output.find("\n", r.output.find("\nConverted ") + 1);
  ASSERT_NE(to, std::string::npos) << r.output;
  const std::string console = r.output.substr(from, to + 1 - from);
  EXPECT_EQ(std::regex_replace(console, std::regex("Unit:\\d+"), "Unit:N"), XsResults::expected("xs_console.txt"));
  EXPECT_FALSE(has(r.output, "Converting .12da breaklines"));
}

// Header.mif has CR line ends: its CoordSys line alone reaches the headers,
// and GDAL reads the layers with their own columns.
TEST_F(XsResults, CrossSectionsToMif) {
  test::writeFile(dir / "Header.mif", "Version 300\rCharset \"WindowsLatin1\"\rDelimiter \",\"\r"
                                      "CoordSys NonEarth Units \"m\"\rColumns 1\r  Area Float\rData\r\rPoint 1 1\r");
  runXsFixture(*this, {"-b", "-xs", "-hip", "-mif", "xs.12da"});
  EXPECT_EQ(output("xs.12da.mif"), expected("xs.mif"));
  EXPECT_EQ(output("xs.12da.mid"), expected("xs.mid"));
  EXPECT_EQ(output("xs.12da_Pts.mif"), expected("xs_Pts.mif"));
  EXPECT_EQ(output("xs.12da_Pts.mid"), expected("xs_Pts.mid"));
  std::string info = ogrinfo("xs.12da.mif");
  if (info.empty()) GTEST_SKIP() << "ogrinfo not installed";
  EXPECT_TRUE(has(info, "Feature Count: 8\n") && has(info, "LINESTRING (100 200,103 204,106 208,109 212)")) << info;
  EXPECT_TRUE(has(info, "  Source (String) = XS_B.csv\n  Type (String) = xz\n")) << info;
  info = ogrinfo("xs.12da_Pts.mif");
  EXPECT_TRUE(has(info, "Z (Real) = 12.5\n  MNR (Real) = -1\n  LCR (String) = L\n  XS_ID (String) = xs000001\n"))
      << info;
}

TEST_F(XsResults, CrossSectionsToShapefile) {
  test::writeFile(dir / "Header.prj",
                  "PROJCS[\"Local\",GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
                  "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],"
                  "PARAMETER[\"central_meridian\",153],UNIT[\"metre\",1]]\n");
  runXsFixture(*this, {"-b", "-xs", "-shp", "xs.12da"});
  const std::string listing = test::pyshpListing(dir / "xs.12da_L.shp") + test::pyshpListing(dir / "xs.12da_P.shp");
  if (!listing.empty()) {
    EXPECT_EQ(listing, expected("xs_shp.txt"));
  }
  std::string info = ogrinfo("xs.12da_L.shp");
  if (info.empty()) GTEST_SKIP() << "ogrinfo not installed";
  EXPECT_TRUE(has(info, "Feature Count: 8")) << info;
  EXPECT_TRUE(has(info, "Source (String) = cross_sections_of_the_upper_river_reach_2024\\XS9.c\n")) << info;
  info = ogrinfo("xs.12da_P.shp");
  EXPECT_TRUE(has(info, "Feature Count: 17")) << info;
  EXPECT_TRUE(has(info, "LCR (String) = C\n  XS_ID (String) = S\n  POINT (1 1)")) << info;
}

// An XS ID of 13 characters ends the run; what was converted before it is
// left in finished, readable layers.
TEST_F(XsResults, LongXsIdStopsWithLayersFinished) {
  test::writeFile(dir / "Header.mif", "CoordSys NonEarth Units \"m\"\n");
  test::writeFile(dir / "long.12da", "model \"m\"\nstring 3d {\n  name \"ok\"\n  data {\n    0 0 1\n    1 1 2\n  }\n}\n"
                                     "string 3d {\n  name \"sub\\thirteenchars.csv\"\n  data {\n    0 0 1\n  }\n}\n");
  RunResult r = run({"-b", "-xs", "-mif", "long.12da"});
  EXPECT_TRUE(r.output.ends_with("\nsub\\thirteenchars.csv, ERROR - XS ID exceeds 12 characters.\n\n"
                                 "Press Enter to Close\n"))
      << r.output;
  EXPECT_EQ(output("long.12da_Pts.mid"), "           1.000,-1.,\"L\",\"ok\"\n           2.000,-1.,\"C\",\"ok\"\n");
  const std::string info = ogrinfo("long.12da.mif");
  if (info.empty()) GTEST_SKIP() << "ogrinfo not installed";
  EXPECT_TRUE(has(info, "Feature Count: 1")) << info;
}

// Result points of the layers made by tests/data/results/make.sh, from MIF
// and from shapefile sets; the line in the scalar MIF layer is passed over.
// Values too wide for F10.4 are written in full, and angles too wide for
// F6.2 turned into [0,360).
TEST_F(XsResults, ResultPointsFromMifAndShapefiles) {
  struct Case {
    std::vector<std::string> files;
    std::vector<std::string> args;
    std::string output;
    std::string golden;
  };
  const Case cases[] = {
      // Neither the second file nor Header.mif plays a part.
      {{"scalar.mif", "scalar.mid"}, {"-b", "-results", "scalar.mif", "other.mif"}, "scalar.12da", "scalar.12da"},
      {{"scalar.shp", "scalar.shx", "scalar.dbf"}, {"-b", "-results", "scalar.shp"}, "scalar.12da", "scalar.12da"},
      {{"vector.mif", "vector.mid"}, {"-b", "-results", "vector.mif"}, "vector.12da", "vector.12da"},
      {{"vector.shp", "vector.shx", "vector.dbf"}, {"-b", "-results", "-out", "wind", "vector.shp"}, "wind.12da",
       "vector.12da"},
  };
  const fs::path source = kData.parent_path() / "results";
  test::writeFile(dir / "Header.mif", "CoordSys NonEarth Units \"m\"\n");
  for (const Case& c : cases) {
    for (const std::string& file : c.files)
      fs::copy_file(source / file, dir / file, fs::copy_options::overwrite_existing);
    RunResult r = run(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(output(c.output), expected(c.golden)) << c.files[0];
    const bool vector = c.golden == "vector.12da";
    EXPECT_EQ(has(r.output, "\n\nSecond field contains angle information, assuming vector data.\n\n"), vector);
    EXPECT_EQ(has(r.output, "\n\nWriting symbol data for vector dataset to .12da file...\n   Done.\n"), vector);
    EXPECT_TRUE(has(r.output, "\nNumber of points read from gis file: " + std::string(vector ? "4" : "3") + "\n"));
    EXPECT_FALSE(has(r.output, "for setting projection")) << r.output;
    fs::remove(dir / c.output);
  }

  // The enclosing super string reads back: one point per result, its value as the height.
  fs::copy_file(kData / "expected" / "vector.12da", dir / "wind.12da");
  RunResult r = run({"-b", "-mif", "wind.12da"});
  EXPECT_EQ(output("wind.12da.mid"), "        -999.000,   0.000,   0.000,\"\",\"super\"\n"
                                     "           1.500,   0.000,   0.000,\"\",\"super\"\n"
                                     "           2.250,   0.000,   0.000,\"\",\"super\"\n"
                                     "           0.500,   0.000,   0.000,\"\",\"super\"\n"
                                     "      123456.500,   0.000,   0.000,\"\",\"super\"\n");
  const std::string info = ogrinfo("wind.12da.mif");
  if (info.empty()) GTEST_SKIP() << "ogrinfo not installed";
  EXPECT_TRUE(has(info, "Feature Count: 5")) << info;
  EXPECT_TRUE(has(info, "Z (Real) = 123456.5")) << info;
  EXPECT_TRUE(has(info, "POINT (7 8)")) << info;
}

// The vector layer of ResultPointsFromMifAndShapefiles with other delimiters
// between its values and a third field: the same 12da file. ";" with LF-CR
// line ends in the .mid, ";;" declared after the columns, and the tab of a
// header without a Delimiter line, with LF-CR line ends in the .mif.
TEST_F(XsResults, ResultPointsFromSemicolonDelimitedMif) {
  const std::string columns = "Columns 3\n  Speed Float\n  WindAngle Float\n  Name Char(10)\n";
  const std::string points = "Data\n\nPoint 1 2\nPoint 3 4\nPoint 5 6\nPoint 7 8\n";
  struct Case {
    std::string mif, mid;
  } cases[] = {
      {"Version 300\nDelimiter \";\"\n" + columns + points,
       "1.5;45;\"a;b\"\n\r2.25;-30;\"\"\n\r0.5;-1234.5;c\n\r123456.5;7200.25;\"d\"\n\r"},
      {"Version 300\n" + columns + "Delimiter \";;\"\n" + points,
       "1.5;;45;;\"a;;b\"\n2.25;;-30;;\"\"\n0.5;;-1234.5;;c\n123456.5;;7200.25;;\"d\"\n"},
      {"Version 300\n\rColumns 3\n\r  Speed Float\n\r  WindAngle Float\n\r  Name Char(10)\n\rData\n\r\n\r"
       "Point 1 2\n\rPoint 3 4\n\rPoint 5 6\n\rPoint 7 8\n\r",
       "1.5\t45\t\"a,b\"\n2.25\t-30\t\n0.5\t-1234.5\tc\n123456.5\t7200.25\td\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mid);
    test::writeFile(dir / "vector.mif", c.mif);
    test::writeFile(dir / "vector.mid", c.mid);
    EXPECT_EQ(run({"-b", "-results", "vector.mif"}).status, 0);
    EXPECT_EQ(output("vector.12da"), expected("vector.12da"));
    fs::remove(dir / "vector.12da");
  }
}

// A first value that is no number stops the run at once, after a pause; the
// 12da file holds its head, written out. So does a number with a comma in a
// ";" layer.
TEST_F(XsResults, ResultValueThatIsNoNumber) {
  const std::string columns = "Columns 2\n  Name Char(10)\n  Depth Float\nData\n\nPoint 1 2\nPoint 3 4\n";
  for (auto [delimiter, mid] : {std::pair{",", "1.5,1\n\"high\",2\n"}, {";", "1.5;1\n2,5;2\n"}}) {
    SCOPED_TRACE(delimiter);
    test::writeFile(dir / "bad.mif", std::string("Version 300\nDelimiter \"") + delimiter + "\"\n" + columns);
    test::writeFile(dir / "bad.mid", mid);
    RunResult r = run({"-b", "-results", "bad.mif"}, "\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.output.ends_with("\nSearching for Points...\n\n\nERROR - Reading data\nPress Enter to Continue\n"))
        << r.output;
    EXPECT_EQ(output("bad.12da"), "null -999\nmodel \"from bad gis\"\n\n");
  }
}

}  // namespace
}  // namespace quenzel
