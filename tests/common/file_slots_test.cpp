#include "common/file_slots.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/console_exit.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;

class FileSlots : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    closeAllUnitsQuietly();
    INITUNITS(1000);
    for (int i = 1; i <= kNamedSlots; ++i) CLEARNAME(i);
    fileSlotState().debugLetterFlags.fill(false);
  }
  static FileSlot& slot(int i) { return unitTables().fileSlots(i); }
  static void name(int i, const std::string& text) {
    slot(i).name = text;
    slot(i).nameLen = int(text.size());
  }
  // The console text of a call that must end the run with status 0.
  static std::string stopText(const std::function<void()>& f) {
    test::ConsoleCapture con;
    EXPECT_THROW(f(), test::StopCalled);
    return con.text();
  }
  test::StopGuard stop;
  test::TempDir dir;
  test::ScopedCwd cwd{dir.path()};
  int u = 0;
};

TEST_F(FileSlots, PrefixedAndNamedSlotsFeedTheFileNames) {
  const char* cases[][3] = {
      {"i_model.12da", "", "oumodel.12da"}, {"model.12da", "", "oumodel.12da"}, {"model.12da", "own", "own"}};
  test::ConsoleCapture con;
  for (auto& c : cases) {
    reset();
    name(1, c[0]);
    if (*c[1]) name(3, c[1]);
    OPENPREFIX(3, u, "O ", "output", 0, "ou");
    EXPECT_EQ(slot(3).name, c[2]);
    EXPECT_EQ(slot(3).nameLen, int(slot(3).name.size()));
    EXPECT_TRUE(u == 995 && slot(3).open && fs::exists(dir / c[2]));
  }
  reset();
  con.clear();
  OPENNAMED(1, u, "  i_model.12da  ", "O ", "model", 0);
  EXPECT_EQ(con.text(), "\nTrying to open file i_model.12da...OK.  File Unit: 993\n");
  int d = 0;
  OPENDERIVED(d, "O ", "ou", ".mif");
  EXPECT_TRUE(fs::exists(dir / "oumodel.12da.mif"));
  std::string got;
  name(2, std::string(90, 'n'));
  GETNAM(2, got);
  EXPECT_EQ(got, std::string(80, 'n'));
}

TEST_F(FileSlots, OpenerStopsOnAnOpenSlotAndEndsWithoutAName) {
  name(2, "a.txt");
  test::ConsoleCapture con("\ntyped.txt\nx_in.txt\n");
  OPENER(2, u, "O ", "data", 0);
  CLOSER(u);
  OPENER(2, u, "O ", "data", 0);  // again after CLOSER
  EXPECT_EQ(u, 994);
  OPENER(4, u, "O ", "data", 8);  // no name: asked for (a blank answer asks again)
  const std::string asked = "What is the data file name? \nNo file name entered.  Trying file again...\n"
                            "What is the data file name? \nTrying to open file typed.txt...OK.  File Unit: 996\n";
  EXPECT_TRUE(con.text().ends_with(asked));
  EXPECT_TRUE(slot(4).name == "typed.txt" && slot(4).nameLen == 9 && NAMED(4));
  OPENER(1, u, "O ", "input", 8);
  int d = 0;
  OPENDERIVED(d, "O ", "ou", ".mif");
  EXPECT_TRUE(fs::exists(dir / "ouin.txt.mif"));

  EXPECT_EQ(stopText([&] { OPENER(2, u, "O ", "data", 0); }), "File already opened - OPENER\n");
  EXPECT_FALSE(unitIsOpen(994));  // the stop closed it
  EXPECT_EQ(stopText([&] { OPENER(5, u, "O ", "data", 0); }), "\nPress Enter to Close\n");
  EXPECT_FALSE(NAMED(5));
}

TEST_F(FileSlots, SlotNumbersOutsideOneToEightStopAtOnce) {
  std::string got;
  const std::string opener = "Incorrect file number - OPENER\n";
  EXPECT_EQ(stopText([&] { OPENER(0, u, "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENER(9, u, "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENNAMED(0, u, "x.txt", "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENPREFIX(9, u, "O ", "data", 8, "ou"); }), opener);
  EXPECT_EQ(stopText([&] { NAMED(0); }), "Invalid file number - NAMED\n");
  EXPECT_EQ(stopText([&] { GETNAM(9, got); }), "Invalid file number - GETNAM\n");
  CLEARNAME(0);  // does nothing
}

TEST_F(FileSlots, ExitsClosesSlotUnitsWithTheirData) {
  name(1, "in.txt");
  name(2, "out.txt");
  test::writeFile(dir / "in.txt", "x\n");
  test::ConsoleCapture con;
  OPENINOUT();
  EXPECT_TRUE(fileSlotState().inputUnit == 993 && fileSlotState().outputUnit == 994);
  writeText(994, "kept");
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_FALSE(unitIsOpen(993) || unitIsOpen(994));
  EXPECT_EQ(test::readFile(dir / "out.txt"), "kept");
}

TEST_F(FileSlots, ConsolePrompts) {
  for (auto [input, yes] : {std::pair{"Yes\n", true}, {"n\n", false}, {"", false}}) {
    test::ConsoleCapture con(input);
    EXPECT_EQ(ASKYES("Go on  "), yes) << input;
    EXPECT_EQ(con.text(), "Go on  ? ");
  }
  test::ConsoleCapture con("abZ!" + std::string(22, '.') + "q\n  hello  \r\n");
  SETFLAGS();
  std::string set;
  for (int k = 1; k <= 26; ++k)
    if (fileSlotState().debugLetterFlags(k)) set += char('A' + k - 1);
  EXPECT_EQ(set, "ABZ");  // q lies past column 26
  std::string text = "old";
  int n = -1;
  EXPECT_TRUE(GETLINE(text, n) == 7 && n == 7);
  EXPECT_EQ(text, std::string("  hello\0 ", 9));
  EXPECT_TRUE(GETLINE(text, n) == 0 && text.empty());  // end of input
  SETFLAGS();
  text = "Name:   ";
  PROMPT(text);
  EXPECT_EQ(text, std::string("Name:\0  ", 8));
  EXPECT_EQ(con.text(), "Set flags: Set flags: Name:");
  text = "ab cd";
  EXPECT_EQ(CTERM(text), 2);
  EXPECT_EQ(text, std::string("ab\0cd", 5));
  text = "abc";
  EXPECT_EQ(CTERM(text), 3);
  EXPECT_EQ(text, "abc");
}

}  // namespace
}  // namespace quenzel
