#include "common/messages.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace quenzel {
namespace {

// The block outlives every test: start each one from a cleared block with no
// units and no counts.
class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    DMESSAGECLEAR();
    DMESSAGERESETCOUNTERS();
    DMESSAGES.dmLogUnit = 0;
    DMESSAGES.dmListUnit = 0;
    for (std::int32_t& u : DMESSAGES.dmLayerUnits) u = 0;
    DMESSAGES.dmNumber = 0;
    DMESSAGES.dmType = 0;
  }
  test::ConsoleCapture con;
};

TEST_F(Messages, ClassifiesByTheCapitalWordAtTheStartAndReadsItsNumber) {
  struct Case {
    const char* line1;
    int type, number, counter;  // counter 0: none changes
  } cases[] = {
      {"WARNING 0317 - Exceeded limit of input GIS layers that can be tracked.", 2, 317, 2},
      {"UNSTABLE 0012 - Solution diverging", 4, 12, 0},
      {"error 0201 - lower case", 0, 0, 0},
      {"ERROR 0251 - Cannot have more than 2", 1, 251, 1},
      {"CHECK 0008 - File does not exist", 3, 8, 3},
      {"ERROR - no number here", 1, 0, 1},
      {"ERROR123456 - six digits", 1, 123456, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line1);
    DMESSAGERESETCOUNTERS();
    con.clear();
    setMessageLine(1, c.line1);
    DMESSAGE(1);
    EXPECT_EQ(con.text(), "\n" + std::string(c.line1) + "\n");
    EXPECT_EQ(DMESSAGES.dmType, c.type);
    EXPECT_EQ(DMESSAGES.dmNumber, c.number);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(messageCounters()(k), k == c.counter ? 1 : 0) << "counter " << k;
  }
}

TEST_F(Messages, NblankChoosesEmptyLinesAndWhetherTheConsoleIsWritten) {
  struct Case {
    int nblank;
    const char* console;
  } cases[] = {{3, "\n\n\nERROR 0001 - a\n  b\n"}, {0, "ERROR 0001 - a\n  b\n"}, {-1, ""}, {-5, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nblank);
    con.clear();
    DMESSAGERESETCOUNTERS();
    setMessageLine(1, "ERROR 0001 - a");
    setMessageLine(2, "  b");
    DMESSAGE(c.nblank);
    EXPECT_EQ(con.text(), c.console);
    EXPECT_EQ(messageCounters()(1), 1);  // counted whatever nblank says
  }
}

TEST_F(Messages, LayoutOfLinesPrefixOneLineAndExtras) {
  struct Case {
    const char* name;
    const char* prefix;
    bool oneLine;
    const char* lines[4];
    const char* extras[3];
    const char* console;
  } cases[] = {
      {"blank line 1 and 2", "", false, {"", "", "L3", ""}, {"", "", ""}, "\nL3\n"},
      {"one line", "", true, {"L1", "L2", "", ""}, {"", "", ""}, "L1  L2\n"},
      {"one line skips blanks", "", true, {"L1", "", "L3", ""}, {"E1", "", ""}, "L1  L3  E1\n"},
      {"prefix", "XY: ", false, {"ERROR 0001 - a", "", "", ""}, {"", "", ""}, "XY: ERROR 0001 - a\n"},
      {"all extras", "", false, {"L1", "", "", ""}, {"E1 ", "E2", "E3"}, "L1\nE1; E2; E3\n"},
      {"second and third extras", "", false, {"L1", "", "", ""}, {"", "E2", "E3"}, "L1\n; E2; E3\n"},
      {"caller's line 4 dropped", "", false, {"L1", "", "", "mine"}, {"", "", ""}, "L1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    con.clear();
    setMessagePrefix(c.prefix);
    DMESSAGES.dmOneLine = c.oneLine ? 1 : 0;
    for (int k = 1; k <= 4; ++k) setMessageLine(k, c.lines[k - 1]);
    for (int k = 1; k <= 3; ++k) setMessageExtra(k, c.extras[k - 1]);
    DMESSAGE(0);
    EXPECT_EQ(con.text(), c.console);
  }
}

TEST_F(Messages, EveryMessageLeavesTheBlockClearedButCounting) {
  for (int round = 1; round <= 2; ++round) {
    setMessageLine(1, "CHECK 0002 - x");
    setMessageLine(2, "y");
    setMessageExtra(2, "z");
    setMessagePrefix("P");
    DMESSAGES.dmOneLine = 1;
    DMESSAGES.dmX = DMESSAGES.dmY = 1.0;
    DMESSAGE(-2);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(messageLine(k), "");
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(messageExtra(k), "");
    EXPECT_EQ(std::string(DMESSAGES.dmPrefix, 4), "    ");
    EXPECT_EQ(DMESSAGES.dmOneLine, 0);
    EXPECT_EQ(DMESSAGES.dmX, NO_VALUE);
    EXPECT_EQ(DMESSAGES.dmY, NO_VALUE);
    EXPECT_EQ(messageCounters()(3), round);
  }
  DMESSAGERESETCOUNTERS();
  EXPECT_EQ(messageCounters()(3), 0);
}

}  // namespace
}  // namespace quenzel
