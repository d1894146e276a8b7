// The executable exports the shared routines under their upper-case names;
// callers link against them, so a name that silently vanishes breaks them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/test_support.h"

namespace quenzel {
namespace {

TEST(Exports, EveryExportedNameIsInTheDynamicSymbolTable) {
  if (!test::haveCommand("nm")) GTEST_SKIP() << "nm not installed";
  test::TempDir dir;
  std::string cmd = std::string("nm -D --defined-only ") + QUENZEL_EXE + " > " + (dir / "nm.txt").string();
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::set<std::string> symbols;
  for (const std::string& line : test::splitLines(test::readFile(dir / "nm.txt"))) {
    auto blank = line.rfind(' ');
    if (blank != std::string::npos) symbols.insert(line.substr(blank + 1));
  }
  // One list per module of the library, one name a line.
  std::filesystem::path lists = std::filesystem::path(QUENZEL_SOURCE_DIR) / "tests/e2e/exports";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(lists)) {
    std::ifstream f(entry.path());
    std::string name;
    while (std::getline(f, name)) {
      if (name.empty() || name[0] == '#') continue;
      EXPECT_TRUE(symbols.count(name)) << name << " (listed in " << entry.path().filename() << ")";
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace quenzel
