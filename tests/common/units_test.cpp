#include "common/units.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "common/run_control.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;

class Units : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    closeAllUnitsQuietly();
    INITUNITS(1000);
    UnitTables& t = unitTables();
    t.copyInputs = false;
    t.copyExactFile = false;
    t.copyRoot.clear();
    t.lastCopyPath.clear();
  }
  // Runs a path that must end the run; returns its exit status.
  template <class F>
  static int stopStatus(F f) {
    try {
      f();
    } catch (const test::StopCalled& s) {
      return s.status;
    }
    ADD_FAILURE() << "the run did not end";
    return -1;
  }
  int open(std::string_view mode, std::string_view name) {
    int u = -1;
    OPENFILE(u, mode, name);
    return u;
  }
  test::StopGuard stop;
  test::TempDir dir;
  test::ScopedCwd cwd{dir.path()};
};

TEST_F(Units, OpenAndCloseTexts) {
  test::writeFile(dir / "in.txt", "x\n");
  test::ConsoleCapture con;
  int out = open("O ", "out.txt");
  int in = open("I ", "  in.txt ");
  CLOSER(out);
  EXPECT_EQ(con.text(),
            "\nTrying to open file out.txt...OK.  File Unit:1001\n"
            "\nTrying to open file in.txt...OK.\nOpened File Unit:1002\n"
            "...Closed File Unit:1001\n");
  EXPECT_EQ(out, 0);
  EXPECT_EQ(in, 1002);
  EXPECT_EQ(unitFileName(in), (fs::current_path() / "in.txt").string());
}

TEST_F(Units, NumberingReuseAndHarmlessCloses) {
  test::ConsoleCapture con;
  int a = open("O ", "a.txt");
  int b = open("O ", "b.txt");
  EXPECT_EQ(a, 1001);
  EXPECT_EQ(b, 1002);
  int first = a;
  CLOSER(a);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(open("O ", "c.txt"), 1001);
  CLOSER(b);
  con.clear();
  int again = 1002;  // a pool unit no longer in use
  CLOSER(again);
  int unknown = 77;
  CLOSER(unknown);
  EXPECT_EQ(again, 1002);
  EXPECT_EQ(unknown, 77);
  EXPECT_EQ(con.text(), "");
  EXPECT_NE(first, 0);

  INITUNITS(5);
  EXPECT_EQ(unitTables().fileSlots(1).unit, 2);
  EXPECT_EQ(unitTables().fileSlots(8).unit, 9);
  EXPECT_EQ(unitTables().poolUnit(1), 10);
  EXPECT_EQ(unitTables().poolUnit(1000), 1009);
}

TEST_F(Units, UnittypeFollowsTheExtension) {
  test::ConsoleCapture con;
  struct Case {
    const char* name;
    int type;
  } cases[] = {{"m.12da", 111}, {"m.MIF", 101}, {"m.mid", 102}, {"m.shp", 102}, {"m.b", 102}};
  // Every case reuses pool entry 1; an unknown extension keeps its code.
  for (const Case& c : cases) {
    int u = open("O ", c.name);
    EXPECT_EQ(UNITTYPE(u), c.type) << c.name;
    CLOSER(u);
    EXPECT_EQ(UNITTYPE(1001), c.type) << c.name;
  }
  EXPECT_EQ(UNITTYPE(5), 0);
}

TEST_F(Units, MissingInputAsksUntilANameOpens) {
  test::writeFile(dir / "in.txt", "x\n");
  test::ConsoleCapture con("\nin.txt\n");
  EXPECT_EQ(open("I ", "gone.txt"), 1001);
  const std::string round =
      "\nTrying to open file gone.txt...\nCHECK 0008 - \"gone.txt\" cannot be found\n"
      "\nCheck file exists and press enter or enter another file name: ";
  EXPECT_EQ(con.text(), round + "\nNo file name entered.  Trying file again...\n" + round +
                            "\nTrying to open file in.txt...OK.\nOpened File Unit:1001\n");
}

TEST_F(Units, AskTakesEightyCharactersAndTheDescription) {
  test::writeFile(dir / "in.txt", "x\n");
  test::ConsoleCapture con("  in.txt" + std::string(72, ' ') + "ignored\n");
  int u = 1500;
  std::string name;
  OPENASK(u, name, "I ", "input", 0);
  EXPECT_EQ(name, "in.txt");
  EXPECT_EQ(con.text(), "What is the input file name? \nTrying to open file in.txt...OK.\nOpened File Unit:1500\n");
}

TEST_F(Units, EndOfInputInsideADialogueEndsTheRun) {
  test::writeFile(dir / "busy.txt", "");
  const std::string endLine = "\nEnd of input: no answer to the question above.\n\nPress Enter to Close\n";
  {  // the ask step
    test::ConsoleCapture con;
    EXPECT_EQ(stopStatus([&] { open("I ", "gone.txt"); }), 0);
    EXPECT_TRUE(con.text().ends_with("another file name: " + endLine)) << con.text();
  }
  {  // the already-open question
    test::ConsoleCapture con;
    int a = open("O ", "busy.txt");
    EXPECT_EQ(stopStatus([&] { open("O ", "busy.txt"); }), 0);
    EXPECT_TRUE(con.text().ends_with("busy.txt is already open, close it? " + endLine)) << con.text();
    EXPECT_FALSE(unitIsOpen(a));
  }
  {  // the pause of "Can't Open"
    reset();
    test::ConsoleCapture con;
    EXPECT_EQ(stopStatus([&] { open("O ", "nofolder/x.txt"); }), 0);
    EXPECT_EQ(con.text(),
              "\nTrying to open file nofolder/x.txt...Can't Open\n \n Can't open: nofolder/x.txt\n \n"
              " Another application or user maybe using it,\n    or the file's folder does not exist.\n"
              " If so, close the file or create file path.\n\nPress Enter to Continue\n" +
                  endLine);
  }
}

TEST_F(Units, AlreadyOpenOutputIsClosedOnYesAndAskedForOtherwise) {
  test::ConsoleCapture con("y\nn\nother.txt\n");
  int a = open("O ", "x.txt");
  writeLine(a, "old");
  con.clear();
  int b = open("O ", "./x.txt");  // another spelling of the same file
  EXPECT_EQ(con.text(), "\nTrying to open file ./x.txt...\n./x.txt is already open, close it? OK.  File Unit:1002\n");
  EXPECT_FALSE(unitTables().inUse(1));
  EXPECT_FALSE(unitIsOpen(a));
  con.clear();
  CLOSER(a);  // already closed by the dialogue
  EXPECT_EQ(a, 1001);
  EXPECT_EQ(con.text(), "");
  EXPECT_EQ(test::readFile(dir / "x.txt"), "");  // replaced

  int c = open("O ", "x.txt");
  EXPECT_EQ(c, 1001);
  EXPECT_TRUE(unitIsOpen(b));
  EXPECT_TRUE(con.text().ends_with("another file name: \nTrying to open file other.txt...OK.  File Unit:1001\n"));
}

TEST_F(Units, SharedAndAppendModesJoinAnOpenFileWithoutAsking) {
  test::writeFile(dir / "log.txt", "a\n");
  test::ConsoleCapture con;
  int s = open("S ", "log.txt");
  int t = open("A ", "log.txt");
  EXPECT_EQ(con.text().find("already open"), std::string::npos);
  writeLine(s, "1");
  writeLine(t, "2");
  CLOSER(s);
  CLOSER(t);
  EXPECT_EQ(test::readFile(dir / "log.txt"), "1\n2\n");
  int u = open("A ", "log.txt");
  writeLine(u, "3");
  CLOSER(u);
  EXPECT_EQ(test::readFile(dir / "log.txt"), "1\n2\n3\n");
}

TEST_F(Units, FatalOpenConditions) {
  fs::create_directory(dir / "folder");
  // An input that is no regular file is refused at once: a FIFO would wait for a writer.
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  struct Case {
    const char* mode;
    const char* name;
    std::string text;
  } cases[] = {
      {"i ", "x.txt",
       "\nTrying to open file x.txt...  Unrecognised file type i  file x.txt\n"
       "Should not be here [OPENFILE] - please contact support@quenzel.dev.\n\nPress Enter to Close\n"},
      {"I ", "folder", "\nTrying to open file folder...\nERROR - Unable to open file folder\n\nPress Enter to Close\n"},
      {"IO", "folder", "\nTrying to open file folder...\nERROR - Unable to open file folder\n\nPress Enter to Close\n"},
      {"I ", "fifo", "\nTrying to open file fifo...\nERROR - Unable to open file fifo\n\nPress Enter to Close\n"},
      {"O ", "   ",
       "\nEmpty filename specified.  Bailing out.  Please contact support@quenzel.dev.\nPress Enter to Close\n"},
  };
  for (const Case& c : cases) {
    reset();
    test::ConsoleCapture con;
    EXPECT_EQ(stopStatus([&] { open(c.mode, c.name); }), 0) << c.mode;
    EXPECT_EQ(con.text(), c.text) << c.mode;
    EXPECT_FALSE(unitTables().inUse(1)) << c.mode;
    EXPECT_FALSE(unitIsOpen(1001)) << c.mode;
  }
}

TEST_F(Units, AppendOnAnExistingFileThatCannotOpenGivesUp) {
  fs::create_directory(dir / "folder");
  test::ConsoleCapture con;
  EXPECT_EQ(open("A ", "folder"), 0);
  EXPECT_EQ(con.text(), "\nTrying to open file folder...FAILED.  No File Unit allocated.\n");
  EXPECT_FALSE(unitTables().inUse(1));
}

TEST_F(Units, StopsFlushAndCloseEveryUnitFirst) {
  test::ConsoleCapture con;
  int u = open("O ", "kept.txt");
  writeText(u, "written");
  for (int j = 1; j <= kPoolSize; ++j) unitTables().inUse(j) = true;
  EXPECT_EQ(stopStatus([&] { open("O ", "more.txt"); }), 0);
  EXPECT_TRUE(con.text().ends_with("No free file numbers.\n"));
  EXPECT_FALSE(unitIsOpen(u));
  EXPECT_EQ(test::readFile(dir / "kept.txt"), "written");
}

TEST_F(Units, CloseallAnnouncesAndKeepsTheTables) {
  test::ConsoleCapture con;
  int u = open("O ", "a.txt");
  int log = open("O ", "log.txt");
  unitTables().logUnit = log;
  con.clear();
  int v = open("O ", "b.txt");
  CLOSEALL();
  EXPECT_EQ(con.text(), "\nTrying to open file b.txt...OK.  File Unit:1003\n\nClosing all file units...\n");
  EXPECT_EQ(test::readFile(dir / "log.txt"),
            "\nTrying to open file b.txt...OK.  File Unit:1003\n\nClosing all file units...\n");
  EXPECT_EQ(unitTables().logUnit, 0);
  EXPECT_TRUE(unitTables().inUse(1) && unitTables().inUse(3));
  EXPECT_FALSE(unitIsOpen(u) || unitIsOpen(v));
}

TEST_F(Units, OpenderivedBuildsTheFullName) {
  FileSlot& first = unitTables().fileSlots(1);
  const std::string longName = "a_" + std::string(50, 'n') + ".12da";
  struct Case {
    std::string slotName;
    std::string expected;
  } cases[] = {{"i_model.12da", "oumodel.12da.mif"},
               {"model.12da", "oumodel.12da.mif"},
               {longName, "ou" + longName.substr(2) + ".mif"}};
  test::ConsoleCapture con;
  for (const Case& c : cases) {
    first.name = c.slotName;
    first.nameLen = static_cast<int>(c.slotName.size());
    int u = 0;
    OPENDERIVED(u, "O ", "ou", ".mif");
    EXPECT_TRUE(fs::exists(dir / c.expected)) << c.expected;
    CLOSER(u);
  }
}

TEST_F(Units, DriveOverrideAppliesToNamesWithAColon) {
  unitTables().inputDrive = 'D';
  test::ConsoleCapture con;
  stopStatus([&] { open("I ", "c:/data/x.12da"); });
  EXPECT_TRUE(con.text().starts_with("\nTrying to open file D:/data/x.12da...")) << con.text();
}

TEST_F(Units, WindowModeDialogues) {
  UnitTables& t = unitTables();
  {  // the missing-input box: Cancel ends the run
    t.windowMode = true;
    test::ConsoleCapture con("c\n");
    EXPECT_EQ(stopStatus([&] { open("I ", "gone.txt"); }), 0);
    EXPECT_NE(con.text().find("CHECK 0008 - \"gone.txt\" cannot be found"), std::string::npos);
    EXPECT_NE(con.text().find("does not exist."), std::string::npos);
  }
  {  // a missing output folder is made on request
    reset();
    t.windowMode = true;
    test::ConsoleCapture con("y\ny\n");
    int u = open("O ", "made/x.txt");
    EXPECT_EQ(u, 1001);
    EXPECT_TRUE(fs::exists(dir / "made" / "x.txt"));
    EXPECT_TRUE(con.text().ends_with("OK.  File Unit:1001\n"));
  }
  {  // already open: No ends the run
    reset();
    test::ConsoleCapture con("n\n");
    open("O ", "w.txt");
    t.windowMode = true;
    EXPECT_EQ(stopStatus([&] { open("O ", "w.txt"); }), 0);
    EXPECT_NE(con.text().find("is already open.  Close it?"), std::string::npos);
  }
}

TEST_F(Units, MirrorCopyRedirectsOutputs) {
  UnitTables& t = unitTables();
  t.copyInputs = true;
  t.copyRoot = (dir.path() / "mirror").string() + "/";
  fs::create_directory(dir / "mirror");
  test::ConsoleCapture con;
  int u = open("O ", "sub/out.txt");
  EXPECT_EQ(u, 1001);
  EXPECT_TRUE(fs::exists(dir / "mirror" / "sub" / "out.txt"));
  EXPECT_EQ(t.lastCopyPath, t.copyRoot + "sub/out.txt");

  // Inputs are copied with the Windows command interpreter's "copy"; where
  // it cannot be run the run ends with ERROR 0006.
  if (test::haveCommand("copy")) GTEST_SKIP();
  test::writeFile(dir / "in.txt", "x\n");
  con.clear();
  EXPECT_EQ(stopStatus([&] { open("I ", "in.txt"); }), 0);
  EXPECT_NE(con.text().find("Opened File Unit:1002\nERROR 0006 - Could not copy the file below while making a copy "
                            "of the input files.\n             Check permissions and/or sufficient disk space.\n"),
            std::string::npos)
      << con.text();
}

}  // namespace
}  // namespace quenzel
