// The command line through the built executable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace quenzel {
namespace {

using test::RunResult;

const char* const kUsage =
    "\n"
    "CONVERT FROM GIS TO 12DA:\n"
    "1:  quenzel.exe <Lines>.mif\n"
    "Converts to 2D breakline.\n"
    "\n"
    "Options:\n"
    "-zln converts a VARNOK 3D breakline to 12da format, including\n"
    "   interpolation of Z values at intermediate vertices\n"
    "2:  quenzel.exe -zln <Points>.shp <Lines>.shp\n"
    "3:  quenzel.exe -zln <Points>.mif <Lines>.mif\n"
    "4:  quenzel.exe -zln <Lines_and_Points>.mif\n"
    "\n"
    "CONVERT FROM 12DA TO MIF:\n"
    "5:  quenzel.exe -mif <12da_file>.12da <Header>.mif\n"
    "<Header>.mif is any .mif file with the correct projection.\n"
    "   (Will search input directory for \"Header.mif\" or \"Projection.mif\" if omitted.)\n"
    "CONVERT FROM 12DA TO SHP:\n"
    "6:  quenzel.exe -shp <12da_file>.12da <Header>.prj\n"
    "<Header>.prj is any .prj file with the correct projection.\n"
    "   (Will search input directory for \"Header.prj\" or \"Projection.prj\" if omitted.)\n"
    ".4da extension also accepted\n"
    "Options:\n"
    "   -hip includes 12D hipdata polylines.\n"
    "   -xs  creates VARNOK .csv cross-section files and 1d_xs layer.\n"
    "Output Options:\n"
    "   -out <output_filename> Specify the output file name.\n"
    "   For conversions to .12da the \"-model <model_name>\" option can be used to set the model name.\n"
    "7:  quenzel.exe -out output_file.12da <Lines>.mif\n"
    "8:  quenzel.exe -model 12d_Model_Name <Lines>.mif\n"
    "\n";

const char* const kBanner = "\nBuild 2024-05-AA\n\n";

class CommandLine : public ::testing::Test {
 protected:
  RunResult run(const std::vector<std::string>& args, const std::string& input = {}) {
    return test::runProgram(QUENZEL_EXE, args, dir.path(), input);
  }
  static bool has(const RunResult& r, const std::string& text) { return r.output.find(text) != std::string::npos; }
  test::TempDir dir;
};

TEST_F(CommandLine, NoArgumentShowsBannerUsageAndClosingPrompt) {
  RunResult r = run({}, "\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, std::string(kBanner) + kUsage + "\nPress Enter to Close\n");
}

TEST_F(CommandLine, ClosingPromptEndsAtEndOfInputToo) {
  RunResult r = run({});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(has(r, "Press Enter to Close"));
}

TEST_F(CommandLine, OnlyOptionsGiveTheUnrecognisableExtensionPause) {
  RunResult r = run({"-hip"}, "\n\n");
  EXPECT_EQ(r.status, 0);
  const std::string expected = std::string(kBanner) + "Executable: " + QUENZEL_EXE +
                               "\n\nFile 1: \nERROR - File 1 has an unrecognisable file extension.  Must be "
                               "\".mif\", \".shp\", \".12da\" or \".4da\".\n\nFinished.\n\nPress Enter to Close\n";
  EXPECT_EQ(r.output, expected);
}

TEST_F(CommandLine, BatchEndsRightAfterFinished) {
  RunResult r = run({"-b", "notes.txt"}, "\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.output.ends_with("\nFinished.\n")) << r.output;
  // -bb is no option: the closing prompt comes back.
  RunResult rb = run({"-bb", "notes.txt"}, "\n\n");
  EXPECT_TRUE(rb.output.ends_with("\nFinished.\n\nPress Enter to Close\n")) << rb.output;
}

TEST_F(CommandLine, TwelveDaInputNeedsAnOutputFormat) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"a.12da"}, "\n");
  EXPECT_TRUE(has(r, "\nFile 1: a.12da\n\nERROR - Must specify output format with -shp or -mif.\n\nPress Enter to Close\n"))
      << r.output;
}

TEST_F(CommandLine, BothFormatsIsAnErrorWithoutEmptyLineBefore) {
  test::writeFile(dir / "lines.mif", "Version 300\n");
  RunResult r = run({"-shp", "lines.mif"}, "\n");
  EXPECT_TRUE(has(r, "Executable: " + std::string(QUENZEL_EXE) +
                         "\nERROR - Both -shp and -mif specified.\n\nPress Enter to Close\n"))
      << r.output;
}

TEST_F(CommandLine, OptionMarksAndCaseAllSelectMif) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  test::writeFile(dir / "Header.mif", "Version 300\nCoordSys Earth Projection 1, 104\n");
  for (const std::string mark : {"-mif", "/MIF", "-MiF", "\x96mif", "\xE2\x80\x93mif", "-mifx"}) {
    RunResult r = run({"-b", mark, "a.12da"});
    EXPECT_TRUE(has(r, "\nmif Projection: CoordSys Earth Projection 1, 104\n")) << mark << r.output;
    EXPECT_FALSE(has(r, "Must specify output format")) << mark;
  }
}

TEST_F(CommandLine, PrefixesSelectTheLongOptions) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"-b", "-mif", "-output", "named", "a.12da"});
  EXPECT_TRUE(has(r, "\nUsing specified output filename: named\n\nAppending \".mif\" to filename.\n")) << r.output;
}

TEST_F(CommandLine, MissingMifSampleWarnsPausesAndGoesOn) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"-b", "-mif", "a.12da"}, "\n");
  EXPECT_TRUE(has(r, "\nWARNING - A Header.mif or Projection.mif file does not exist in folder.\n"
                     "          Non-Earth Coordinates will be used.\n\nPress Enter to Continue\n\nFile 1: a.12da\n"))
      << r.output;
}

TEST_F(CommandLine, HeaderMifWinsOverProjectionMif) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  test::writeFile(dir / "Header.mif", "CoordSys Earth Projection 1, 104\n");
  test::writeFile(dir / "Projection.mif", "CoordSys NonEarth Units \"ft\"\n");
  RunResult r = run({"-b", "-mif", "a.12da"});
  EXPECT_TRUE(has(r, "\nUsing Header.mif for setting projection.\n")) << r.output;
}

TEST_F(CommandLine, SampleWithoutTheKeywordEndsTheRun) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  test::writeFile(dir / "Header.prj", "GEOGCS[\"x\"]\n");
  RunResult r = run({"-b", "-shp", "a.12da"}, "\n");
  EXPECT_TRUE(has(r, "\nERROR - Unable to find PROJCS line in Header.prj\n\nPress Enter to Close\n")) << r.output;
  EXPECT_FALSE(has(r, "File 1:"));
}

TEST_F(CommandLine, MissingPrjSampleIsAnError) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"-b", "-shp", "a.12da"}, "\n");
  EXPECT_TRUE(has(r, "\nERROR - A Header.prj or Projection.prj file does not exist in folder.\n\nPress Enter to Close\n"))
      << r.output;
}

TEST_F(CommandLine, LongProjectionLineIsKeptWhole) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  std::string projcs = "PROJCS[\"" + std::string(1500, 'x') + "\"]";
  test::writeFile(dir / "Header.prj", projcs + "   \n");
  RunResult r = run({"-b", "-shp", "a.12da"});
  EXPECT_TRUE(has(r, "\nshp Projection: " + projcs + "\n")) << r.output.substr(0, 300);
}

TEST_F(CommandLine, OutFormatByExtensionWithoutFormatOption) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"-b", "-out", "b.shp", "a.12da"});
  EXPECT_TRUE(has(r, "\nUsing specified output filename: b.shp\n\nOutput file has extention \".shp\", "
                     "outputting in this format.\n"))
      << r.output;
  EXPECT_FALSE(has(r, "Projection"));
}

TEST_F(CommandLine, PendingModelAndOutAtTheEndTakeNothing) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  RunResult r = run({"-b", "a.12da", "-mif", "-model"}, "\n");
  EXPECT_TRUE(has(r, "File 1: a.12da")) << r.output;
  // -out last: given with an empty name, which gets the format's extension.
  RunResult o = run({"-b", "a.12da", "-mif", "-out"}, "\n");
  EXPECT_TRUE(has(o, "\nUsing specified output filename: \n\nAppending \".mif\" to filename.\n")) << o.output;
}

TEST_F(CommandLine, ModelTakesTheNextArgumentWhateverItIs) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  test::writeFile(dir / "h.mif", "CoordSys Earth Projection 1, 104\n");
  RunResult r = run({"-b", "-model", "-out", "a.12da", "h.mif", "third.mif"}, "\n");
  EXPECT_TRUE(has(r, "\nFile 1: a.12da\n\nFile 2: h.mif\n")) << r.output;
  EXPECT_TRUE(has(r, "Must specify output format")) << r.output;
}

TEST_F(CommandLine, AbsolutePathsAreFilesNotOptions) {
  test::writeFile(dir / "a.12da", "model \"m\"\n");
  test::writeFile(dir / "Header.mif", "CoordSys Earth Projection 1, 104\n");
  const std::string abs = (dir / "a.12da").string();
  RunResult r = run({"-b", "-mif", abs});
  EXPECT_TRUE(has(r, "\nFile 1: " + abs + "\n")) << r.output;
  // A lone "/model" that names nothing on disk is still an option.
  RunResult m = run({"-b", "/model", "x", "-mif", "a.12da"});
  EXPECT_TRUE(has(m, "\nFile 1: a.12da\n")) << m.output;
}

TEST_F(CommandLine, GisInputNeedsNoProjectionSample) {
  for (const char* ext : {".shp", ".shx", ".dbf"})
    std::filesystem::copy_file(std::string(QUENZEL_TEST_DATA) + "/breaklines/roads" + ext,
                               dir / ("lines" + std::string(ext)));
  RunResult r = run({"-b", "lines.shp"}, "\n");
  EXPECT_FALSE(has(r, "Header.prj")) << r.output;
  EXPECT_TRUE(has(r, "\nFile 1: lines.shp\n")) << r.output;
  EXPECT_TRUE(r.output.ends_with("\nFinished.\n")) << r.output;
}

// No run opens an output on a file it reads: not through a name typed at an
// input's prompt, a hard or symbolic link at the output's name, or a link to
// the projection sample. The run stops before that output is opened, every
// input keeps its bytes and the outputs not yet begun are never made.
TEST_F(CommandLine, NoRunWritesOverItsInputs) {
  namespace fs = std::filesystem;
  const fs::path data(QUENZEL_TEST_DATA);
  const struct {
    std::vector<std::string> args;
    std::string typed;                                  // answers at the prompts
    std::vector<std::pair<std::string, std::string>> links;  // link, target; "@" before a link: symbolic
    std::string error;
    std::vector<std::string> neverMade;
  } rows[] = {
      {{"-zln", "nothere.mif", "r.mif"}, "r_unsnapped_points.mif\nr_unsnapped_points.mid\n", {},
       "Output layer r_unsnapped_points.mif would overwrite input layer r_unsnapped_points.mif",
       {"r.12da", "r_dangles.mif", "r_dangles.mid"}},
      {{"-b", "r.mif"}, "", {{"r.12da", "r.mid"}}, "Output file r.12da would overwrite input file r.mid", {}},
      {{"-b", "-zln", "p.mif", "r.mif"}, "", {{"@r.12da", "p.mid"}},
       "Output file r.12da would overwrite input file p.mid", {"r_dangles.mif", "r_dangles.mid"}},
      {{"-b", "-results", "r.mif"}, "", {{"@r.12da", "r.mif"}}, "Output file r.12da would overwrite input file r.mif",
       {}},
      {{"-b", "-mif", "xs.12da"}, "", {{"xs.12da.mid", "xs.12da"}},
       "Output layer xs.12da.mif would overwrite input layer xs.12da", {"xs.12da.mif"}},
      {{"-b", "-mif", "-xs", "xs.12da"}, "", {{"xs000001.csv", "Header.mif"}},
       "Output file xs000001.csv would overwrite input file Header.mif", {}},
  };
  for (const auto& row : rows) {
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) fs::remove(e.path());
    for (const char* base : {"r", "p", "r_unsnapped_points", "Header"})
      for (const char* ext : {".mif", ".mid"})
        fs::copy_file(data / "breaklines" / (std::string("zln_points") + ext), dir / (base + std::string(ext)));
    fs::remove(dir / "Header.mid");
    fs::copy_file(data / "e2e" / "xs.12da", dir / "xs.12da");
    for (const auto& [link, target] : row.links) {
      if (link[0] == '@') fs::create_symlink(target, dir / link.substr(1));
      else fs::create_hard_link(dir / target, dir / link);
    }
    std::vector<std::pair<fs::path, std::string>> before;
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path()))
      before.emplace_back(e.path(), test::readFile(e.path()));
    const RunResult r = run(row.args, row.typed + "\n");
    EXPECT_TRUE(r.output.ends_with("\nERROR - " + row.error + ".\n\nPress Enter to Close\n")) << r.output;
    for (const auto& [file, bytes] : before) EXPECT_EQ(test::readFile(file), bytes) << file;
    for (const std::string& name : row.neverMade) EXPECT_FALSE(fs::exists(dir / name)) << name;
  }
}

}  // namespace
}  // namespace quenzel
