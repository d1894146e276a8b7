#include "common/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace quenzel {
namespace {

using PathFunction = std::string (*)(std::string_view);

struct PathCase {
  const char* name;
  PathFunction routine;
  const char *in, *out;
};

TEST(PathParts, NamesFoldersAndExtensions) {
  const PathCase cases[] = {
      {"FILEEXT", FILEEXT, "C:\\Run.old\\Roads.MIF", ".mif"},
      {"FILEEXT", FILEEXT, "C:\\Run.old\\Roads", ""},
      {"FILEEXT", FILEEXT, "a.b.12da", ".12da"},
      {"FILEEXT", FILEEXT, "x/y.SHP  ", ".shp"},
      {"FILEEXT", FILEEXT, "C:\\x\\.cfg", ".cfg"},
      {"FILEEXTKC", FILEEXTKC, "C:\\Run.old\\Roads.MIF", ".MIF"},
      {"FILENAME", FILENAME, "C:\\a.b\\run", "run"},
      {"FILENAME", FILENAME, "C:\\x\\.cfg", ".cfg"},
      {"FILENAME", FILENAME, "data.12da", "data"},
      {"FILENAME", FILENAME, ".cfg", ""},
      {"FILENAME", FILENAME, "noext", "noext"},
      {"FILENAME", FILENAME, "a/b\\c.d.e", "c.d"},
      {"FILENAMEEXT", FILENAMEEXT, "C:\\x/roads.12da", "roads.12da"},
      {"FILENAMEEXT", FILENAMEEXT, "roads.12da", "roads.12da"},
      {"FILENAMEEXT", FILENAMEEXT, "C:\\x\\", ""},
      {"FILENAMEPATH", FILENAMEPATH, "C:\\x\\roads.12da", "C:\\x\\roads"},
      {"FILENAMEPATH", FILENAMEPATH, "C:\\x.y\\roads", "C:\\x.y\\roads"},
      {"FILENAMEPATH", FILENAMEPATH, ".hidden", ".hidden"},
      {"FILENAMEPATH", FILENAMEPATH, "C:\\x\\.cfg", "C:\\x\\"},
      {"FILEFOLDERPATH", FILEFOLDERPATH, "C:\\x\\roads.12da", "C:\\x\\"},
      {"FILEFOLDERPATH", FILEFOLDERPATH, "C:/x/y\\roads.12da", "C:/x/y\\"},
      {"FILEFOLDERPATH", FILEFOLDERPATH, "roads.12da", ""},
      {"FILENAMENO_", FILENAMENO_, "C:\\runs\\model_001.csv", "model"},
      {"FILENAMENO_", FILENAMENO_, "C:\\runs\\_a.csv", ""},
      {"FILENAMENO_", FILENAMENO_, "C:\\runs\\model.csv", "model"},
      {"FILENAMENO_", FILENAMENO_, "a_b_c", "a_b"},
      {"FILENAMEPATHNO_", FILENAMEPATHNO_, "C:\\runs\\model_001.csv", "C:\\runs\\model"},
      {"FILENAMEPATHNO_", FILENAMEPATHNO_, "C:\\my_runs\\model.csv", "C:\\my_runs\\model"},
      {"FILENAMEPATHNO_", FILENAMEPATHNO_, "_a.csv", "_a"},
      {"FILENAMEPATHNO_", FILENAMEPATHNO_, "C:\\runs\\_a.csv", "C:\\runs\\"},
      {"FILE___EXT", FILE___EXT, "C:\\runs\\model_001.csv", "_001"},
      {"FILE___EXT", FILE___EXT, "C:\\runs\\model.csv", ""},
      {"FILE___EXT", FILE___EXT, "C:\\runs\\a_B_Max.csv", "_max"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(c.routine(c.in), c.out) << c.name << "('" << c.in << "')";
}

TEST(PathParts, ExtensionLooksOnlyAtTheFirst1000Characters) {
  std::string longPath = std::string(997, 'a') + ".abcd";
  EXPECT_EQ(FILEEXT(longPath), ".ab");
}

TEST(PathJoin, AddFolder) {
  struct Case {
    const char *folder, *file, *out;
  } cases[] = {
      {"C:\\x\\", "out.mif", "C:\\x\\out.mif"},
      {"C:\\x", "..\\y\\out.mif", "C:\\y\\out.mif"},
      {"C:\\x", "D:\\z.mif", "D:\\z.mif"},
      {"", "", "."},
      {"  C:\\x  ", "", "C:\\x"},
      {"", " out.mif ", "out.mif"},
      {"C:\\x", "\\\\server\\share\\a.mif", "\\\\server\\share\\a.mif"},
      {"C:/x/", "out.mif", "C:/x/out.mif"},
      {"C:\\x\\\\y", ".\\out.mif", "C:\\x\\y\\out.mif"},
  };
  for (const Case& c : cases) EXPECT_EQ(ADDFOLDER(c.folder, c.file), c.out) << c.folder << " + " << c.file;
}

TEST(PathJoin, RemoveDotDot) {
  const PathCase cases[] = {
      {"", REMOVEDOTDOT, "a\\b\\..\\c", "a\\c"},
      {"", REMOVEDOTDOT, "b\\..\\c", "c"},
      {"", REMOVEDOTDOT, "..\\..\\x", "..\\..\\x"},
      {"", REMOVEDOTDOT, "a\\b\\c\\..\\..\\d", "a\\d"},
      {"", REMOVEDOTDOT, "a\\..\\..\\b", "..\\b"},
      {"", REMOVEDOTDOT, "..\\a\\b\\..\\c", "..\\a\\c"},
      {"", REMOVEDOTDOT, "\\..\\a\\b\\..\\c", "\\..\\a\\b\\..\\c"},
      {"", REMOVEDOTDOT, "a\\.\\b\\.\\c", "a\\b\\c"},
      {"", REMOVEDOTDOT, "  C:\\\\x\\\\\\y  ", "C:\\x\\y"},
      // Going up from the current folder or a drive keeps the step: removing
      // the component in front would name another file.
      {"", REMOVEDOTDOT, ".\\..\\x", ".\\..\\x"},
      {"", REMOVEDOTDOT, "C:\\..\\y", "C:\\..\\y"},
      {"", REMOVEDOTDOT, "a\\.\\..\\b", "b"},
      {"", REMOVEDOTDOT, "\\\\server\\\\x", "\\\\server\\\\x"},
      {"", REMOVEDOTDOT, "a/b/../c", "a/b/../c"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(REMOVEDOTDOT(c.in), c.out) << c.in;
}

TEST(PathClean, CleanPathWritesBack) {
  struct Case {
    const char *in, *out;
  } cases[] = {
      {"  C:\\\\x//y.mif ", "C:\\x/y.mif"},
      {"\\\\server\\share\\\\x", "\\\\server\\share\\\\x"},
      {"\\\\server//x\\\\y", "\\\\server/x\\\\y"},
      {"//server/a//b", "//server/a//b"},
      {"a\\\\\\b", "a\\b"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string path = c.in;
    EXPECT_EQ(CLEANPATH(path), c.out) << c.in;
    EXPECT_EQ(path, c.out) << c.in;
  }
}

TEST(PathClean, RelativePath) {
  struct Case {
    const char* in;
    bool relative;
    const char* out;
  } cases[] = {
      {"c:\\data", false, "C Drive\\data"},
      {"\\\\server\\share\\x", false, "URL\\server\\share\\x"},
      {"//server/x", false, "URL\\server/x"},
      {"  data\\x ", true, "data\\x"},
      {"\\data", true, "\\data"},
  };
  for (const Case& c : cases) {
    std::string path = c.in;
    EXPECT_EQ(RELATIVEPATH(path), c.relative) << c.in;
    EXPECT_EQ(path, c.out) << c.in;
  }
}

}  // namespace
}  // namespace quenzel
