// The MIF save-date check in its warning and error modes, with the console
// and message-box dialogues.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/mif_save_date.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

class SaveDate : public ::testing::Test {
 protected:
  void SetUp() override { INITUNITS(1000); }
  void TearDown() override {
    unitTables().windowMode = false;
    closeAllUnitsQuietly();
  }
  // a.mid and a.tab, the .tab `tabLater` seconds later than the .mid.
  void makeFiles(int tabLater) {
    test::writeFile(mid, "1\n");
    test::writeFile(tab, "");
    const auto t = fs::last_write_time(mid);
    fs::last_write_time(tab, t + std::chrono::seconds(tabLater));
  }
  int openUnit(const fs::path& p) {
    int u = 0;
    OPENFILE(u, "I ", p.string());
    return u;
  }

  test::StopGuard stop;
  test::TempDir dir;
  fs::path mid = dir / "a.mid";
  fs::path tab = dir / "a.tab";
  std::string progress = "Checking save date is later than that of " + (dir / "a.tab").string() + "...";
};

TEST_F(SaveDate, LayerAsNewAsItsTablePasses) {
  for (int tabLater : {0, -5}) {
    SCOPED_TRACE(tabLater);
    makeFiles(tabLater);
    for (bool errorMode : {false, true}) {
      test::ConsoleCapture con;
      int a = 7, b = 8;
      EXPECT_TRUE(mifCheckSaveDate(mid.string(), tab.string() + "  ", a, b, errorMode, 0));
      EXPECT_EQ(con.lines(), (Lines{progress + "OK", ""}));
      EXPECT_EQ(a, 7);
      EXPECT_EQ(b, 8);
    }
  }
}

TEST_F(SaveDate, WarningModeReportsAndGoesOn) {
  makeFiles(10);
  int log = 0;
  OPENFILE(log, "O ", (dir / "run.log").string());
  int a = openUnit(mid), b = 0;
  test::ConsoleCapture con;
  EXPECT_TRUE(mifCheckSaveDate(mid.string(), tab.string(), a, b, false, log));
  const std::string failure = "WARNING 0004 - Save date of \"" + tab.string() + "\" file is later than that of \"" +
                              mid.string() + "\"";
  EXPECT_EQ(con.lines(), (Lines{progress + "NOT OK", "", failure}));
  EXPECT_TRUE(unitIsOpen(a));

  // A table that is not there: still going on in warning mode.
  fs::remove(tab);
  con.clear();
  EXPECT_TRUE(mifCheckSaveDate(mid.string(), tab.string(), a, b, false, log));
  const std::string noAccess = "WARNING 0004 - Could not access save date of \"" + mid.string() +
                               "\" to check with \"" + tab.string() + "\"";
  EXPECT_EQ(con.lines(), (Lines{progress + "NOT OK", "", noAccess}));
  CLOSER(log);
  EXPECT_EQ(test::readFile(dir / "run.log"), failure + "\n" + noAccess + "\n");
}

TEST_F(SaveDate, ErrorModeClosesTheUnitsAndAsksForAReExport) {
  makeFiles(10);
  int a = openUnit(mid), b = openUnit(tab);
  const int unitA = a, unitB = b;
  test::ConsoleCapture con("\n");
  EXPECT_FALSE(mifCheckSaveDate(mid.string(), tab.string(), a, b, true, 0));
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(con.lines(), (Lines{progress + "NOT OK", "", "...Closed File Unit:" + std::to_string(unitA),
                                "...Closed File Unit:" + std::to_string(unitB),
                                "ERROR 0004 - Save date of \"" + tab.string() + "\" file is later than that of \"" +
                                    mid.string() + "\"",
                                "Re-export mif file and press Enter, or close window."}));

  // Units of 0 are left alone; with no one to answer the prompt the run ends.
  test::ConsoleCapture silent;
  EXPECT_THROW(mifCheckSaveDate(mid.string(), tab.string(), a, b, true, 0), test::StopCalled);
  EXPECT_EQ(silent.lines()[2].rfind("ERROR 0004 - Save date of", 0), 0u);
}

TEST_F(SaveDate, ErrorModeInAWindowOffersRetryOrCancel) {
  makeFiles(10);
  UnitTables& t = unitTables();
  t.windowMode = true;
  t.boxTitle = "VARNOK  ";
  t.boxSubtitle = "run 1 ";
  int a = 0, b = 0;
  {
    test::ConsoleCapture con("R\n");
    EXPECT_FALSE(mifCheckSaveDate(mid.string(), tab.string(), a, b, true, 0));
    const Lines lines = con.lines();
    EXPECT_EQ(lines[3], "Re-export mif file, or use CHECK MI SAVE DATE == WARNING or OFF to suppress check.");
    EXPECT_EQ(lines[5], "[VARNOK run 1]");
    EXPECT_EQ(lines[6], "ERROR 0004 - Save date of ");
    EXPECT_EQ(lines[7], "\"" + tab.string() + "\"");
    EXPECT_EQ(lines[8], "is later than that of ");
    EXPECT_EQ(lines[9], "\"" + mid.string() + "\"");
  }
  test::ConsoleCapture con("C\n");
  EXPECT_THROW(mifCheckSaveDate(mid.string(), tab.string(), a, b, true, 0), test::StopCalled);
  EXPECT_EQ(con.text().find("Press Enter to Close"), std::string::npos);
}

TEST_F(SaveDate, UnreadableDateEndsTheRunInErrorMode) {
  makeFiles(0);
  struct Case {
    const char* name;
    fs::path missing;
  } cases[] = {{"table missing", tab}, {"layer missing", mid}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makeFiles(0);
    fs::remove(c.missing);
    int a = 0, b = 0;
    test::ConsoleCapture con;
    EXPECT_THROW(mifCheckSaveDate(mid.string(), tab.string(), a, b, true, 0), test::StopCalled);
    const Lines lines = con.lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], progress + "NOT OK");
    EXPECT_EQ(lines[2], "ERROR 0004 - Could not access save date of \"" + mid.string() + "\" to check with \"" +
                            tab.string() + "\"");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "NOTE - If using VARNOK.exe, use CHECK MI SAVE DATE == WARNING or OFF to suppress check");
    EXPECT_EQ(lines[5], "");
  }
}

}  // namespace
}  // namespace quenzel
