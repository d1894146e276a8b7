// Messages that go to files (message list, log, message layers) and the line
// reader, through real file units.
#include <gtest/gtest.h>

#include <string>

#include "common/messages.h"
#include "common/read_line.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

class MessageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    INITUNITS(1000);
    DMESSAGECLEAR();
    DMESSAGERESETCOUNTERS();
    DMESSAGES.dmLogUnit = 0;
    DMESSAGES.dmListUnit = 0;
    for (std::int32_t& u : DMESSAGES.dmLayerUnits) u = 0;
    DMESSAGES.dmTextBox[0] = 0.0;
    DMESSAGES.dmTextBox[1] = 0.0;
  }
  void TearDown() override {
    DMESSAGES.dmLogUnit = 0;
    DMESSAGES.dmListUnit = 0;
    for (std::int32_t& u : DMESSAGES.dmLayerUnits) u = 0;
    CLOSEALL();
  }
  int openOutput(const std::string& name) {
    int unit = 0;
    OPENFILE(unit, "O ", (dir / name).string());
    return unit;
  }
  // Closes the unit and returns what was written to the file.
  std::string contents(int& unit, const std::string& name) {
    CLOSER(unit);
    return test::readFile(dir / name);
  }
  void setLines(const char* l1, const char* l2 = "", const char* l3 = "") {
    setMessageLine(1, l1);
    setMessageLine(2, l2);
    setMessageLine(3, l3);
  }

  test::StopGuard stop;
  test::ConsoleCapture con;
  test::TempDir dir;
};

TEST_F(MessageFiles, MessageListRecords) {
  struct Case {
    const char* name;
    const char* lines[3];
    const char* extras[3];
    int nblank;
    const char* record;  // "" when the message is not listed
  } cases[] = {
      {"error with a continuation", {"ERROR 0201 - Reading text line", "  file.txt", ""}, {"", "", ""}, 1,
       " 0201, 1,      -99999.000,      -99999.000, \"ERROR 0201 - Reading text line    file.txt\", \"\", "
       "\"\", \"\"\n"},
      {"extras as fields", {"UNSTABLE 0012 - x", "", ""}, {"e1", "", "e3 "}, -5,
       " 0012, 4,      -99999.000,      -99999.000, \"UNSTABLE 0012 - x\", \"e1\", \"\", \"e3\"\n"},
      {"five digits", {"ERROR12345 - x", "", ""}, {"", "", ""}, 1,
       "12345, 1,      -99999.000,      -99999.000, \"ERROR12345 - x\", \"\", \"\", \"\"\n"},
      {"six digits", {"ERROR123456 - x", "", ""}, {"", "", ""}, 1,
       "*****, 1,      -99999.000,      -99999.000, \"ERROR123456 - x\", \"\", \"\", \"\"\n"},
      {"quotes doubled", {"ERROR 0001 - say \"hi\"", "\"", ""}, {"", "a\"b", ""}, 1,
       " 0001, 1,      -99999.000,      -99999.000, \"ERROR 0001 - say \"\"hi\"\"  \"\"\", \"\", \"a\"\"b\", "
       "\"\"\n"},
      {"no class, not listed", {"error 0001 - x", "", ""}, {"", "", ""}, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int list = openOutput("list.csv");
    DMESSAGES.dmListUnit = list;
    setLines(c.lines[0], c.lines[1], c.lines[2]);
    for (int k = 1; k <= 3; ++k) setMessageExtra(k, c.extras[k - 1]);
    DMESSAGE(c.nblank);
    DMESSAGES.dmListUnit = 0;
    EXPECT_EQ(contents(list, "list.csv"), c.record);
  }
}

TEST_F(MessageFiles, LogGetsWhatTheConsoleGetsAndNblankMinusOne) {
  struct Case {
    const char* name;
    int nblank;
    bool oneLine;
    const char* prefix;
    const char* log;
    const char* console;
  } cases[] = {
      {"two blanks", 2, false, "", "\n\nERROR 0001 - a\nb\n; e2\n", "\n\nERROR 0001 - a\nb\n; e2\n"},
      {"log only", -1, false, "", "ERROR 0001 - a\nb\n; e2\n", ""},
      {"neither", -2, false, "", "", ""},
      {"one line with prefix", 1, true, "XY: ", "\nXY: ERROR 0001 - a  b  ; e2\n",
       "\nXY: ERROR 0001 - a  b  ; e2\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int log = openOutput("run.log");
    con.clear();
    DMESSAGES.dmLogUnit = log;
    setLines("ERROR 0001 - a", "b");
    setMessageExtra(2, "e2");
    setMessagePrefix(c.prefix);
    DMESSAGES.dmOneLine = c.oneLine ? 1 : 0;
    DMESSAGE(c.nblank);
    DMESSAGES.dmLogUnit = 0;
    EXPECT_EQ(con.text(), c.console);
    EXPECT_EQ(contents(log, "run.log"), c.log);
  }
}

class MessageLayers : public MessageFiles {
 protected:
  void SetUp() override {
    MessageFiles::SetUp();
    for (int k = 1; k <= 4; ++k) messageLayerUnits()(k) = openOutput(layerFile(k));
    DMESSAGES.dmListUnit = openOutput("list.csv");
    DMESSAGES.dmTextBox[0] = 30.0;
    DMESSAGES.dmTextBox[1] = 2.0;
    con.clear();
  }
  static std::string layerFile(int k) {
    const char* names[] = {"errors.mif", "errors.mid", "checks.mif", "checks.mid"};
    return names[k - 1];
  }
  // Closes every file and returns the four layer files and the list.
  std::vector<std::string> files() {
    std::vector<std::string> out;
    for (int k = 1; k <= 4; ++k) out.push_back(contents(messageLayerUnits()(k), layerFile(k)));
    out.push_back(contents(DMESSAGES.dmListUnit, "list.csv"));
    return out;
  }
};

TEST_F(MessageLayers, ErrorGoesToTheErrorLayerAsATextObjectAndCountsTwice) {
  setLines("ERROR 0007 - Bad \"thing\"", "at node 5");
  setMessageExtra(1, "e1");
  setMessageExtra(2, "e2");
  DMESSAGEXY(1, 100.5, 200.25);
  EXPECT_EQ(con.text(), "\nXY: ERROR 0007 - Bad \"thing\"\nat node 5\ne1; e2\n");
  const std::vector<std::string> f = files();
  EXPECT_EQ(f[0],
            "Text\n"
            "\"ERROR 0007 - Bad \"\"thing\"\"\\nat node 5\\ne1; e2\"\n"
            "             102.500         197.250         132.500         203.250\n"
            "    Font (\"Arial\",257,0,16711935,0)\n"
            "    Label Line Arrow          100.500         200.250\n");
  EXPECT_EQ(f[1], "\"ERROR 0007 - Bad \"\"thing\"\"  at node 5  e1; e2  \"\n");
  EXPECT_EQ(f[2], "");
  EXPECT_EQ(f[3], "");
  EXPECT_EQ(f[4],
            " 0007, 1,         100.500,         200.250, \"ERROR 0007 - Bad \"\"thing\"\"  at node 5\", \"e1\", "
            "\"e2\", \"\"\n");
  EXPECT_EQ(messageCounters()(1), 1);
  EXPECT_EQ(messageCounters()(4), 1);
  EXPECT_EQ(DMESSAGES.dmX, NO_VALUE);
  EXPECT_EQ(messagePrefix(), "");
}

TEST_F(MessageLayers, ClassChoosesLayerFontAndLocationCounter) {
  struct Case {
    const char* line1;
    bool errorLayer;
    const char* font;
    int counter;  // location counter, 0 for none
  } cases[] = {
      {"ERROR 0001 - a", true, "    Font (\"Arial\",257,0,16711935,0)\n", 4},
      {"WARNING 0001 - a", true, "    Font (\"Arial\",257,0,16776960,0)\n", 5},
      {"UNSTABLE 0001 - a", true, "    Font (\"Arial\",257,0,16711935,0)\n", 0},
      {"CHECK 0001 - a", false, "    Font (\"Arial\",257,0,255,16777215)\n", 6},
      {"check 0001 - a", false, "    Font (\"Arial\",257,0,53248,16777215)\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line1);
    if (&c != &cases[0]) SetUp();
    DMESSAGES.dmOneLine = 1;
    setLines(c.line1, "", "third");
    DMESSAGEXY(-2, 0.0, 10.0);
    const std::vector<std::string> f = files();
    const std::string& mif = c.errorLayer ? f[0] : f[2];
    const std::string& mid = c.errorLayer ? f[1] : f[3];
    EXPECT_EQ(c.errorLayer ? f[2] : f[0], "");
    EXPECT_EQ(mif, "Text\n\"" + std::string(c.line1) + "  third\"\n" +
                       "               2.000           8.000          32.000          12.000\n" + c.font +
                       "    Label Line Arrow            0.000          10.000\n");
    EXPECT_EQ(mid, "\"" + std::string(c.line1) + "  third  \"\n");
    for (int k = 4; k <= 6; ++k) EXPECT_EQ(messageCounters()(k), k == c.counter ? 1 : 0) << "counter " << k;
    DMESSAGERESETCOUNTERS();
  }
}

TEST_F(MessageLayers, UnsetLayerUnitsSkipTheObjectButNotTheMessage) {
  int checkMid = messageLayerUnits()(4);
  messageLayerUnits()(4) = 0;
  setLines("CHECK 0003 - a");
  DMESSAGEXY(0, 1.0, 2.0);
  messageLayerUnits()(4) = checkMid;
  EXPECT_EQ(con.text(), "XY: CHECK 0003 - a\n");
  const std::vector<std::string> f = files();
  EXPECT_EQ(f[2], "");
  EXPECT_EQ(f[3], "");
  EXPECT_EQ(f[4], " 0003, 3,           1.000,           2.000, \"CHECK 0003 - a\", \"\", \"\", \"\"\n");
  EXPECT_EQ(messageCounters()(3), 1);
  EXPECT_EQ(messageCounters()(6), 1);
}

class ReadLine : public MessageFiles {
 protected:
  int openInput(const std::string& content) {
    test::writeFile(dir / "in.txt", content);
    int unit = 0;
    OPENFILE(unit, "I ", (dir / "in.txt").string());
    con.clear();
    return unit;
  }
};

TEST_F(ReadLine, DropsTabsAndCommentsAndTellsDataLines) {
  int unit = openInput("  a=1\t2 ! note\n# all\n\n\t\t \nx#y!z\r\n\tkey value\n");
  struct Expect {
    bool data;
    const char* line;
  } expected[] = {{true, "a=12"}, {false, ""}, {false, ""}, {false, ""}, {true, "x"}, {true, "key value"}};
  for (const Expect& e : expected) {
    std::string line = "old";
    EXPECT_EQ(READLINE(unit, line), e.data) << e.line;
    EXPECT_EQ(line, e.line);
  }
  EXPECT_EQ(con.text(), "");
  CLOSER(unit);
  unit = openInput("abcd#x\n  ab\tcd\n");  // the record is cut to the width first
  std::string line;
  EXPECT_TRUE(READLINE(unit, line, 3));
  EXPECT_EQ(line, "abc");
  EXPECT_FALSE(READLINE(unit, line, 2));
  CLOSER(unit);
}

TEST_F(ReadLine, EndOfFileIsReportedAndEndsTheRun) {
  int unit = openInput("only\n");
  std::string line;
  EXPECT_TRUE(READLINE(unit, line));
  EXPECT_THROW(READLINE(unit, line), test::StopCalled);
  EXPECT_EQ(con.text(),
            "\nERROR 0202 - End-of-file encountered reading text line from file unit number 1001\n"
            "\nPress Enter to Close\n");
  EXPECT_EQ(messageCounters()(1), 1);
}

TEST_F(ReadLine, ReadErrorIsReportedAndEndsTheRun) {
  std::string line;
  EXPECT_THROW(READLINE(77, line), test::StopCalled);
  EXPECT_EQ(con.text(),
            "\nERROR 0201 - Reading text line from file unit number   77\n"
            "\nPress Enter to Close\n");
}

}  // namespace
}  // namespace quenzel
