// GIS layers to 2D breaklines and, with -zln, to 3D breaklines with their
// side layers, end to end. Layers and expected outputs: tests/data/breaklines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const fs::path kData = fs::path(QUENZEL_TEST_DATA) / "breaklines";
const std::string kNonEarthHead = "Version 300\nCoordSys NonEarth Units \"m\"\nColumns 1\n  Z Float\nData\n";

class Breaklines : public ::testing::Test {
 protected:
  void copy(const std::string& base, std::initializer_list<const char*> exts) {
    for (const char* e : exts) fs::copy_file(kData / (base + e), dir / (base + e));
  }
  // Runs quenzel; the console output, checked to hold every one of `wanted`.
  std::string run(const std::vector<std::string>& args, std::initializer_list<std::string> wanted = {},
                  const std::string& input = {}) {
    test::RunResult r = test::runProgram(QUENZEL_EXE, args, dir.path(), input, 300);
    EXPECT_EQ(r.status, 0);
    for (const std::string& w : wanted) EXPECT_NE(r.output.find(w), std::string::npos) << w << "\n" << r.output;
    return r.output;
  }
  std::string output(const std::string& name) { return test::readFile(dir / name); }
  static std::string expected(const std::string& name, const std::string& model = "") {
    std::string body = test::readFile(kData / "expected" / name);
    return model.empty() ? body : body.replace(body.find("north road rev"), 14, model);
  }
  void ogrinfoHas(const std::string& layer, std::initializer_list<std::string> wanted) {
    if (!test::haveCommand("ogrinfo")) return;
    const std::string info = test::runProgram("ogrinfo", {"-ro", "-al", layer}, dir.path()).output;
    for (const std::string& w : wanted) EXPECT_NE(info.find(w), std::string::npos) << w << "\n" << info;
  }
  test::TempDir dir;
};

// Lines, a three-section polyline and a two-point line become strings; a
// point and a region are passed over. Names keep blanks and commas and
// double their quotes; wide coordinates keep every digit. -out names the
// output, a second file does not; a layer of points gives the head only.
TEST_F(Breaklines, TwoDFromMifAndShapefiles) {
  copy("lines2d", {".mif", ".mid"});
  copy("roads", {".shp", ".shx", ".dbf", ".prj"});
  copy("zln_points", {".shp", ".shx", ".dbf"});
  const std::string con = run({"-b", "-model", "north-road.rev", "lines2d.mif"},
                              {"\nConverting gis to .12da format...\n", "\nSearching for Lines and Polylines...\n\n"
                               "Polyline 1 with 3 nodes...Disaggregating combined polyline into 3 polylines...\n"
                               "Polyline 2 with 2 nodes...Polyline 3 with 3 nodes...Polyline 4 with 2 nodes..."
                               "Polyline 5 with 2 nodes..."});
  EXPECT_EQ(con.find("Projection"), std::string::npos);
  EXPECT_EQ(output("lines2d.12da"), expected("lines2d.12da"));
  run({"-b", "-out", "named", "lines2d.mif", "other.mif"});
  EXPECT_EQ(output("named.12da"), expected("lines2d.12da", "from lines2d gis"));
  EXPECT_FALSE(fs::exists(dir / "other.12da"));
  run({"-b", "roads.shp"});
  EXPECT_EQ(output("roads.12da"), expected("lines2d.12da", "from roads gis"));
  EXPECT_EQ(run({"-b", "zln_points.shp"}).find("Polyline 1"), std::string::npos);
  EXPECT_EQ(output("zln_points.12da"), "null -999\nmodel \"from zln points gis\"\n\n");
}

// An unquoted first value ends at its first blank; a section may have more
// than 1000 vertices; a record without any value stops the run at once,
// after the strings before it are on disk.
TEST_F(Breaklines, TwoDUnquotedNameLongSectionAndRecordWithoutValue) {
  std::string mif = "Version 300\nDelimiter \",\"\nColumns 1\n  Name Char(20)\nData\nPline 2\n1 2\n3 4\nPline 1500\n";
  for (int k = 0; k < 1500; ++k) mif += std::to_string(k) + " 0\n";
  test::writeFile(dir / "a.mif", mif + "Line 5 6 7 8\n");
  test::writeFile(dir / "a.mid", "Main Street\nlong\n\n");
  EXPECT_TRUE(run({"-b", "a.mif"}, {}, "\n")
                  .ends_with("Polyline 1 with 2 nodes...Polyline 2 with 1500 nodes...\n"
                             "ERROR - End of File encountered\nPress Enter to Continue\n"));
  const std::string d12 = output("a.12da");
  EXPECT_TRUE(d12.starts_with("null -999\nmodel \"from a gis\"\n\nstring 2d {\n  name      \"Main\"\n  chainage  0\n"
                              "  breakline line\n  colour    red\n  style     1\n\n  data {\n"
                              "             1.00000         2.00000\n             3.00000         4.00000\n"
                              "  }\n}\n\nstring 2d {\n"));
  EXPECT_TRUE(d12.ends_with("\n          1499.00000         0.00000\n  }\n}\n\n"));
}

// Names from attribute values keep to their name line: every byte below 20h
// (LF, CR, NUL, tab ...) is written as a blank and trailing ones dropped, so a
// value holding the lines of a string block adds no string of its own. The
// shapefile is made by make_fixtures.sh; a .mid line holds the NUL.
TEST_F(Breaklines, TwoDNamesWithControlBytes) {
  copy("control_names", {".shp", ".shx", ".dbf"});
  test::writeFile(dir / "nul.mif", "Version 300\nColumns 1\n  Name Char(20)\nData\nLine 0 0 1 1\nLine 2 2 3 3\n");
  test::writeFile(dir / "nul.mid", "\"Nul\0Byte\"\n\"Tab\tand\x1f\"\n"s);
  // A string of the two vertices (v, v) and (v + 1, v + 1).
  const auto string2d = [](const std::string& name, int v) {
    std::string b = "string 2d {\n  name      \"" + name +
                    "\"\n  chainage  0\n  breakline line\n  colour    red\n  style     1\n\n  data {\n";
    for (const std::string& c : {std::to_string(v), std::to_string(v + 1)})
      b += "             " + c + ".00000         " + c + ".00000\n";
    return b + "  }\n}\n\n";
  };
  run({"-b", "control_names.shp"});
  EXPECT_EQ(output("control_names.12da"), "null -999\nmodel \"from control names gis\"\n\n" + string2d("Line Feed", 0) +
                                              string2d("Carriage Return", 2) +
                                              string2d("x\"\"   data { } } string 2d {   name \"\"y", 4));
  run({"-b", "nul.mif"});
  EXPECT_EQ(output("nul.12da"),
            "null -999\nmodel \"from nul gis\"\n\n" + string2d("Nul Byte", 0) + string2d("Tab and", 2));
}

// The three ways of giving -zln its layers give the same strings: snapped
// heights at 0.0009 (not at 0.0011), the first point read wins, chainage
// interpolation, a line without a snapped vertex, dangles and a two-section
// polyline; the side layers hold the dangles and the points not taken.
TEST_F(Breaklines, ZlnFromTwoMifLayersOneMifLayerAndShapefiles) {
  copy("zln", {".mif", ".mid"});
  for (const char* base : {"zln_points", "zln_lines"}) copy(base, {".mif", ".mid", ".shp", ".shx", ".dbf", ".prj"});
  struct Case {
    std::vector<std::string> files;
    std::string output, side, ext, extra;
  } cases[] = {
      {{"zln_points.mif", "zln_lines.mif"}, "zln_lines.12da", "zln_lines_", ".mif", "\nFound 7 breakline points.\n"},
      {{"zln.mif"}, "zln.12da", "zln_", ".mif", "\nRewinding GIS Layer 1...\n"},
      {{"zln_points.shp", "zln_lines.shp"}, "zln_lines.12da", "zln_lines_", ".shp", "\nUsing zln_lines.prj for"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-b", "-zln", "-model", "zln test"};
    args.insert(args.end(), c.files.begin(), c.files.end());
    run(args, {c.extra,
               "\nSearching for Lines and Polylines...\n\n"
               "Polyline 1 with 5 nodes...found snapped points - interpolating.\n"
               "Polyline 2 with 2 nodes...no snapped points - using polyline elevation.\n"
               "Polyline 3 with 3 nodes...found snapped points - interpolating.\n"
               "Disaggregating combined polyline into 2 polylines...\n"
               "Polyline 4 with 2 nodes...found snapped points - interpolating.\n"
               "Polyline 5 with 2 nodes...no snapped points - using polyline elevation.\n",
               "\nWARNING - Found unsnapped points.\n          See " + c.side + "unsnapped_points" + c.ext +
                   "\n\nWARNING - Found dangling polylines.\n          See " + c.side + "dangles" + c.ext + "\n"});
    EXPECT_EQ(output(c.output), expected("zln.12da")) << c.files[0];
    if (c.ext != ".mif") continue;
    for (std::string file : {"dangles.mif", "dangles.mid", "unsnapped_points.mif", "unsnapped_points.mid"})
      EXPECT_EQ(output(c.side + file), expected("zln_" + file)) << c.side + file;
  }
  EXPECT_EQ(output("zln_lines_dangles_L.prj"), output("zln_lines.prj") + "\n");
  const std::string pyshp = test::pyshpListing(dir / "zln_lines_unsnapped_points_P.shp");
  EXPECT_TRUE(pyshp.empty() || pyshp == "1 3 [('Z', 'N', 16, 5)]\n1 [] [(300030.0011, 6000000.0)] [40.0]\n"
                                        "1 [] [(300000.0005, 6000000.0)] [99.0]\n1 [] [(300100.0, 6000100.0)] [5.0]\n")
      << pyshp;
  for (const char* layer : {"zln_lines_dangles.mif", "zln_lines_dangles_L.shp"})
    ogrinfoHas(layer, {"Feature Count: 2", "LINESTRING (300040 6000050,300050 6000050,300060 6000050)"});
  ogrinfoHas("zln_lines_unsnapped_points.mif", {"Z (Real) = 99\n", "POINT (300000.0005 6000000.0)"});
  // Without a .prj of the lines the points' one is taken, without both none.
  fs::remove(dir / "zln_lines.prj");
  run({"-b", "-zln", "zln_points.shp", "zln_lines.shp"}, {"\nUsing zln_points.prj for setting projection.\n"});
  fs::remove(dir / "zln_points.prj");
  EXPECT_EQ(run({"-b", "-zln", "zln_points.shp", "zln_lines.shp"}, {"\nFinished.\n"}).find("projection"),
            std::string::npos);
}

// The points not taken are written after the lines layer is closed, to the
// lowest free layer ID. A side layer whose files are those of an input stops
// the run before any file is written, whichever input and format it hits.
TEST_F(Breaklines, ZlnUnsnappedLayerLastAndSideLayersNeverOverwriteInputs) {
  copy("zln_points", {".mif", ".mid"});
  copy("zln_lines", {".mif", ".mid"});
  copy("zln", {".mif", ".mid"});
  EXPECT_NE(run({"-b", "-zln", "zln_points.mif", "zln_lines.mif"})
                .find("\nClosing GIS Layer 2 [zln_lines.mif]...\n...Closed File Unit:1004\n...Closed File Unit:1005\n"
                      "Opening GIS Layer: zln_lines_unsnapped_points.mif\nGIS Layer assigned ID of 1\n"),
            std::string::npos);
  EXPECT_NE(run({"-b", "-zln", "zln.mif"})
                .find("\nClosing GIS Layer 1 [zln.mif]...\n...Closed File Unit:1002\n...Closed File Unit:1003\n"
                      "Opening GIS Layer: zln_unsnapped_points.mif\nGIS Layer assigned ID of 1\n"),
            std::string::npos);

  // Each case: the two inputs, the side layer that hits, the input it hits.
  const struct {
    std::string points, lines, side, hit;
  } cases[] = {
      {"r_unsnapped_points.mif", "r.mif", "r_unsnapped_points.mif", "r_unsnapped_points.mif"},
      {"sub/../r_dangles.mif", "r.mif", "r_dangles.mif", "sub/../r_dangles.mif"},
      {"r_unsnapped_points_P.shp", "r.shp", "r_unsnapped_points.shp", "r_unsnapped_points_P.shp"},
      {"r_dangles_L.shp", "r.shp", "r_dangles.shp", "r_dangles_L.shp"},
      // One file under two names: the lines' .mid is the dangles' .mid.
      {"p.mif", "r.mif", "r_dangles.mif", "r.mif"},
  };
  fs::create_directory(dir / "sub");
  for (const auto& c : cases) {
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path()))
      if (e.path().filename().string().starts_with("r") || e.path().filename().string().starts_with("p."))
        fs::remove(e.path());
    std::vector<std::pair<fs::path, std::string>> inputs;
    for (const std::string& layer : {c.points, c.lines}) {
      const std::string base = layer.substr(0, layer.size() - 4);
      const bool mif = layer.ends_with(".mif");
      for (const char* e : mif ? std::vector<const char*>{".mif", ".mid"}
                               : std::vector<const char*>{".shp", ".shx", ".dbf", ".prj"}) {
        fs::copy_file(kData / (std::string("zln_points") + e), dir / (base + e));
        inputs.emplace_back(dir / (base + e), output(base + e));
      }
    }
    if (c.points == "p.mif") fs::create_hard_link(dir / "r.mid", dir / "r_dangles.mid");
    EXPECT_TRUE(run({"-b", "-zln", c.points, c.lines}, {}, "\n")
                    .ends_with("\nConverting gis breaklines to .12da format...\n\nERROR - Output layer " + c.side +
                               " would overwrite input layer " + c.hit + ".\n\nPress Enter to Close\n"))
        << c.side;
    for (const auto& [file, bytes] : inputs) EXPECT_EQ(test::readFile(file), bytes) << file;
    EXPECT_FALSE(fs::exists(dir / "r.12da"));
  }
}

// A height too wide for its column keeps every digit. A height that is no
// number stops the run at once, and more than a million points end it; the
// strings written before and the dangles are complete on disk.
TEST_F(Breaklines, ZlnUnreadableElevationAndTooManyPoints) {
  test::writeFile(dir / "b.mif", kNonEarthHead + "Point 0 0\nPline 2\n0 0\n5 0\nLine 0 0 9 9\n");
  test::writeFile(dir / "b.mid", "12345678\n2\nhigh\n");
  EXPECT_TRUE(run({"-b", "-zln", "b.mif"}, {}, "\n")
                  .ends_with("Polyline 1 with 2 nodes...found snapped points - interpolating.\n\n"
                             "ERROR - Reading data\nPress Enter to Continue\n"));
  EXPECT_NE(output("b.12da").find("           5.00000         0.00000 12345678.0000\n  }\n}\n\n"), std::string::npos);
  EXPECT_EQ(output("b_dangles.mid"), "           2.000\n");
  ogrinfoHas("b_dangles.mif", {"LINESTRING (0 0,5 0)"});
  // The points not taken are written once the lines are through.
  EXPECT_FALSE(fs::exists(dir / "b_unsnapped_points.mif"));

  std::string mif = kNonEarthHead, mid;
  for (int k = 0; k <= 1'000'000; ++k) mif += "Point " + std::to_string(k) + " 0\n";
  for (int k = 0; k <= 1'000'000; ++k) mid += "1\n";
  test::writeFile(dir / "many.mif", mif);
  test::writeFile(dir / "many.mid", mid);
  EXPECT_TRUE(run({"-b", "-zln", "many.mif"}, {}, "\n\n")
                  .ends_with("\n\nERROR - Exceeded maximum number of breakline points: 1000000\n\n\n"
                             "Press Enter to Close\n"));
  EXPECT_EQ(output("many.12da"), "null -999\nmodel \"from many gis\"\n\n");
  EXPECT_TRUE(output("many_dangles.mif").ends_with("Data\n\n"));
}

}  // namespace
}  // namespace quenzel
