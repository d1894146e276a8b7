#include "common/console_exit.h"

#include <gtest/gtest.h>

#include "common/run_control.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

class ConsoleExit : public ::testing::Test {
 protected:
  void SetUp() override { INITUNITS(1000); }
  test::StopGuard stop;
};

TEST_F(ConsoleExit, LenslCutsAtTheLastSignificantCharacter) {
  char padded[] = "abc     ";
  EXPECT_EQ(LENSL(padded, 8), 3);
  EXPECT_EQ(std::string(padded, 8), std::string("abc\0    ", 8));

  char full[] = "abc";
  EXPECT_EQ(LENSL(full, 3), 3);
  EXPECT_EQ(std::string(full, 3), "abc");

  char blank[] = "    ";
  EXPECT_EQ(LENSL(blank, 4), 0);
  char nuls[3] = {'\0', '\0', '\0'};
  EXPECT_EQ(LENSL(nuls, 3), 0);
  char mixed[] = {'a', 'b', '\0', ' '};
  EXPECT_EQ(LENSL(mixed, 4), 2);
  EXPECT_EQ(LENSL(full, 0), 0);
}

TEST_F(ConsoleExit, PutstrLeavesTheLineOpen) {
  test::ConsoleCapture con;
  PUTSTR("abcd", 3);
  PUTSTR("abcd", 0);
  EXPECT_EQ(con.text(), "abc");
}

TEST_F(ConsoleExit, PausesWritesAnEmptyLineAndWaits) {
  test::ConsoleCapture con("\nrest\n");
  PAUSES();
  EXPECT_EQ(con.text(), "\nPress Enter to Continue\n");
}

TEST_F(ConsoleExit, PausesGoesOnAtEndOfInput) {
  test::ConsoleCapture con;
  PAUSES();
  PAUSES();
  EXPECT_EQ(con.text(), "\nPress Enter to Continue\n\nPress Enter to Continue\n");
}

TEST_F(ConsoleExit, ExitsWaitsForEnterAndStopsWithStatusZero) {
  test::ConsoleCapture con("\n");
  try {
    EXITS();
    FAIL() << "EXITS returned";
  } catch (const test::StopCalled& s) {
    EXPECT_EQ(s.status, 0);
  }
  EXPECT_EQ(con.text(), "\nPress Enter to Close\n");
}

TEST_F(ConsoleExit, ExitsWithoutPauseStopsAtOnce) {
  unitTables().pauseOnExit = false;
  test::ConsoleCapture con;
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_EQ(con.text(), "");
}

TEST_F(ConsoleExit, BeforeExitHooksRunOnceEvenWhenAHookEndsTheRunAgain) {
  static int runs = 0;
  static bool reenter = true;
  runs = 0;
  addBeforeExitHook([] {
    ++runs;
    if (reenter) {
      reenter = false;
      EXITS();  // a failure inside the hook
    }
  });
  test::ConsoleCapture con;
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_EQ(runs, 1);
  // Only the inner EXITS got as far as the closing prompt.
  EXPECT_EQ(con.text(), "\nPress Enter to Close\n");
}

}  // namespace
}  // namespace quenzel
