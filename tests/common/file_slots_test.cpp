#include "common/file_slots.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/console_exit.h"
#include "common/run_control.h"
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
  static void name(int slot, const std::string& text) {
    FileSlot& s = unitTables().fileSlots(slot);
    s.name = text;
    s.nameLen = static_cast<int>(text.size());
  }
  // The console text of a call that must end the run with status 0.
  static std::string stopText(const std::function<void()>& f, const std::string& input = {}) {
    test::ConsoleCapture con(input);
    try {
      f();
      ADD_FAILURE() << "the run did not end";
    } catch (const test::StopCalled& s) {
      EXPECT_EQ(s.status, 0);
    }
    return con.text();
  }
  test::StopGuard stop;
  test::TempDir dir;
  test::ScopedCwd cwd{dir.path()};
};

TEST_F(FileSlots, PrefixNamesFollowSlotOne) {
  struct Case {
    const char* first;
    const char* own;  // the slot's name before, "" for none
    const char* name;
    int nameLen;
  } cases[] = {
      {"i_model.12da", "", "oumodel.12da", 12},
      {"model.12da", "", "oumodel.12da", 12},
      {"model.12da", "kept.txt", "kept.txt", 8},
  };
  test::ConsoleCapture con;
  for (const Case& c : cases) {
    reset();
    name(1, c.first);
    if (*c.own) name(3, c.own);
    int u = 0;
    OPENPREFIX(3, u, "O ", "output", 0, "ou");
    const FileSlot& s = unitTables().fileSlots(3);
    EXPECT_EQ(s.name, c.name);
    EXPECT_EQ(s.nameLen, c.nameLen);
    EXPECT_EQ(u, 995);
    EXPECT_TRUE(s.open && unitIsOpen(u));
    EXPECT_TRUE(fs::exists(dir / c.name));
  }
}

TEST_F(FileSlots, NamedSlotOpensAndFeedsDerivedNames) {
  test::ConsoleCapture con;
  int u = 0;
  OPENNAMED(1, u, "  i_model.12da  ", "O ", "model", 0);
  EXPECT_EQ(con.text(), "\nTrying to open file i_model.12da...OK.  File Unit: 993\n");
  EXPECT_EQ(unitTables().fileSlots(1).mode, "O ");
  int d = 0;
  OPENDERIVED(d, "O ", "ou", ".mif");
  EXPECT_TRUE(fs::exists(dir / "oumodel.12da.mif"));
  std::string got;
  GETNAM(1, got);
  EXPECT_EQ(got, "i_model.12da");
  name(2, std::string(90, 'n'));
  GETNAM(2, got);
  EXPECT_EQ(got, std::string(80, 'n'));
}

TEST_F(FileSlots, OpeningAnOpenSlotStopsUntilItIsClosed) {
  name(2, "a.txt");
  int u = 0;
  {
    test::ConsoleCapture con;
    OPENER(2, u, "O ", "data", 0);
  }
  int other = 0;
  EXPECT_EQ(stopText([&] { OPENER(2, other, "O ", "data", 0); }), "File already opened - OPENER\n");
  EXPECT_FALSE(unitIsOpen(u));  // the stop closed it
  reset();
  name(2, "a.txt");
  test::ConsoleCapture con;
  OPENER(2, u, "O ", "data", 0);
  CLOSER(u);
  EXPECT_EQ(u, 0);
  OPENER(2, u, "O ", "data", 0);
  EXPECT_EQ(u, 994);
}

TEST_F(FileSlots, AMissingNameEndsTheRunOrIsAskedFor) {
  int u = 0;
  EXPECT_EQ(stopText([&] { OPENER(4, u, "O ", "data", 0); }), "\nPress Enter to Close\n");
  EXPECT_FALSE(NAMED(4));
  {
    test::ConsoleCapture con("typed.txt\n");
    OPENER(4, u, "O ", "data", 8);
    EXPECT_EQ(con.text(), "What is the data file name? \nTrying to open file typed.txt...OK.  File Unit: 996\n");
  }
  const FileSlot& s = unitTables().fileSlots(4);
  EXPECT_EQ(s.name, "typed.txt");
  EXPECT_EQ(s.nameLen, 9);
  EXPECT_TRUE(NAMED(4));
  // A typed name of slot 1 is what derived names are made of.
  {
    test::ConsoleCapture con("x_in.txt\n");
    OPENER(1, u, "O ", "input", 8);
    int d = 0;
    OPENDERIVED(d, "O ", "ou", ".mif");
  }
  EXPECT_TRUE(fs::exists(dir / "ouin.txt.mif"));
}

TEST_F(FileSlots, SlotNumbersOutsideOneToEightStopAtOnce) {
  int u = 0;
  std::string got;
  const std::string opener = "Incorrect file number - OPENER\n";
  EXPECT_EQ(stopText([&] { OPENER(0, u, "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENER(9, u, "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENNAMED(0, u, "x.txt", "O ", "data", 8); }), opener);
  EXPECT_EQ(stopText([&] { OPENPREFIX(9, u, "O ", "data", 8, "ou"); }), opener);
  EXPECT_EQ(stopText([&] { NAMED(0); }), "Invalid file number - NAMED\n");
  EXPECT_EQ(stopText([&] { GETNAM(9, got); }), "Invalid file number - GETNAM\n");
  EXPECT_FALSE(fs::exists(dir / "x.txt"));
  CLEARNAME(0);  // does nothing
  CLEARNAME(9);
}

TEST_F(FileSlots, ExitsClosesSlotUnitsWithTheirData) {
  name(1, "in.txt");
  name(2, "out.txt");
  test::writeFile(dir / "in.txt", "x\n");
  test::ConsoleCapture con;
  OPENINOUT();
  EXPECT_EQ(fileSlotState().inputUnit, 993);
  EXPECT_EQ(fileSlotState().outputUnit, 994);
  writeText(fileSlotState().outputUnit, "kept");
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_FALSE(unitIsOpen(993) || unitIsOpen(994));
  EXPECT_EQ(test::readFile(dir / "out.txt"), "kept");
}

TEST_F(FileSlots, ConsolePrompts) {
  struct Ask {
    const char* input;
    bool yes;
  } asks[] = {{"Yes\n", true}, {"n\n", false}, {"", false}};
  for (const Ask& a : asks) {
    test::ConsoleCapture con(a.input);
    EXPECT_EQ(ASKYES("Go on  "), a.yes) << a.input;
    EXPECT_EQ(con.text(), "Go on  ? ");
  }
  {
    test::ConsoleCapture con("abZ!" + std::string(22, '.') + "q\n");
    SETFLAGS();
    EXPECT_EQ(con.text(), "Set flags: ");
    std::string set;
    for (int k = 1; k <= 26; ++k)
      if (fileSlotState().debugLetterFlags(k)) set += static_cast<char>('A' + k - 1);
    EXPECT_EQ(set, "ABZ");
    test::ConsoleCapture none;
    SETFLAGS();  // end of input sets nothing
  }
  {
    test::ConsoleCapture con("  hello  \r\n");
    std::string text = "old";
    int n = -1;
    EXPECT_EQ(GETLINE(text, n), 7);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(text, std::string("  hello\0 ", 9));
    EXPECT_EQ(GETLINE(text, n), 0);
    EXPECT_EQ(text, "");
  }
  {
    test::ConsoleCapture con;
    std::string text = "Name:   ";
    PROMPT(text);
    EXPECT_EQ(con.text(), "Name:");
    EXPECT_EQ(text, std::string("Name:\0  ", 8));
  }
  std::string words = "ab cd";
  EXPECT_EQ(CTERM(words), 2);
  EXPECT_EQ(words, std::string("ab\0cd", 5));
  std::string one = "abc";
  EXPECT_EQ(CTERM(one), 3);
  EXPECT_EQ(one, "abc");
}

}  // namespace
}  // namespace quenzel
