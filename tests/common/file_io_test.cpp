// Reading and writing through units: lines, binary numbers in both byte
// orders, files shared by two units, and header patches in place.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/console_exit.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    closeAllUnitsQuietly();
    INITUNITS(1000);
  }
  void TearDown() override { closeAllUnitsQuietly(); }
  int open(std::string_view mode, const std::string& name) {
    int u = 0;
    OPENFILE(u, mode, name);
    return u;
  }
  std::vector<std::string> readAll(int u) {
    std::vector<std::string> lines;
    std::string line;
    while (readLine(u, line) == IoStatus::Ok) lines.push_back(line);
    return lines;
  }
  test::StopGuard stop;
  test::ConsoleCapture con;
  test::TempDir dir;
  test::ScopedCwd cwd{dir.path()};
};

TEST_F(FileIo, TextLinesDropTheirCarriageReturnAndEndWhenNoBytesAreLeft) {
  test::writeFile(dir / "crlf.txt", "one\r\n\r\ntwo\r\nlast");
  int u = open("I ", "crlf.txt");
  std::string line;
  EXPECT_FALSE(unitAtEnd(u));
  EXPECT_EQ(readAll(u), (std::vector<std::string>{"one", "", "two", "last"}));
  EXPECT_TRUE(unitAtEnd(u));
  EXPECT_EQ(readLine(u, line), IoStatus::End);

  test::writeFile(dir / "lf.txt", "a\nb\n");
  int v = open("I ", "lf.txt");
  readAll(v);
  EXPECT_TRUE(unitAtEnd(v));  // the final line end leaves no bytes
  EXPECT_EQ(readLine(1999, line), IoStatus::Error);
}

TEST_F(FileIo, BackspaceAndRewind) {
  test::writeFile(dir / "t.txt", "first\nsecond\r\nthird");
  int u = open("I ", "t.txt");
  std::string line;
  readLine(u, line);
  readLine(u, line);
  backspaceUnit(u);
  EXPECT_EQ(readLine(u, line), IoStatus::Ok);
  EXPECT_EQ(line, "second");
  readLine(u, line);  // "third", no line end
  backspaceUnit(u);
  backspaceUnit(u);
  readLine(u, line);
  EXPECT_EQ(line, "second");
  rewindUnit(u);
  readLine(u, line);
  EXPECT_EQ(line, "first");
  backspaceUnit(u);
  backspaceUnit(u);  // at the start: stays there
  readLine(u, line);
  EXPECT_EQ(line, "first");
}

TEST_F(FileIo, LinesAcrossBufferWindowsReadWhole) {
  // More than one window, with one line longer than a window.
  std::string content, longLine(1500000, 'x');
  std::vector<std::string> expected;
  for (int k = 0; k < 60000; ++k) expected.push_back("line " + std::to_string(k) + std::string(k % 37, '.'));
  expected.insert(expected.begin() + 30000, longLine);
  for (const auto& l : expected) content += l + "\r\n";
  test::writeFile(dir / "big.txt", content);
  int u = open("I ", "big.txt");
  EXPECT_EQ(readAll(u), expected);
  backspaceUnit(u);
  std::string line;
  readLine(u, line);
  EXPECT_EQ(line, expected.back());
}

TEST_F(FileIo, BinaryRoundTripInBothByteOrders) {
  struct Case {
    const char* out;
    const char* in;
    std::string bytes;
  } cases[] = {
      {"BO", "BI", std::string("\x0A\x27\x00\x00\x00\x00\x00\x00\x00\x00\xF8\x3F", 12)},
      {"BN", "BE", std::string("\x00\x00\x27\x0A\x3F\xF8\x00\x00\x00\x00\x00\x00", 12)},
  };
  for (const Case& c : cases) {
    int w = open(c.out, "n.bin");
    EXPECT_TRUE(writeInt32(w, 9994));
    EXPECT_TRUE(writeDouble(w, 1.5));
    CLOSER(w);
    EXPECT_EQ(test::readFile(dir / "n.bin"), c.bytes) << c.out;
    int r = open(c.in, "n.bin");
    std::int32_t i = 0;
    double d = 0;
    EXPECT_EQ(readInt32(r, i), IoStatus::Ok);
    EXPECT_EQ(readDouble(r, d), IoStatus::Ok);
    EXPECT_EQ(i, 9994);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(readInt32(r, i), IoStatus::End);
    CLOSER(r);
  }
}

TEST_F(FileIo, TwoUnitsWriteOneFileInStep) {
  test::writeFile(dir / "s.shp", std::string(500, 'z'));  // an older, larger file
  int le = open("SB", "s.shp");
  int be = open("SE", "s.shp");
  EXPECT_NE(con.text().find("OK.  File Unit:1002"), std::string::npos);
  // Each field: zeros through the other unit first, then the value.
  writeZeros(le, 4);
  writeInt32(be, 9994);
  writeZeros(be, 4);
  writeInt32(le, 1000);
  EXPECT_EQ(unitByteOrder(be), ByteOrder::Big);
  CLOSER(le);
  writeZeros(be, 8);  // the other unit goes on after one is closed
  CLOSER(be);
  EXPECT_EQ(test::readFile(dir / "s.shp"),
            std::string("\x00\x00\x27\x0A\xE8\x03\x00\x00", 8) + std::string(8, '\0'));
}

TEST_F(FileIo, PatchWritesRecordsOfAClosedOrStillOpenFile) {
  int u = open("BO", "h.shp");
  writeZeros(u, 64);
  CLOSER(u);
  FilePatch patch;
  ASSERT_TRUE(patch.open("h.shp"));
  EXPECT_TRUE(patch.writeInt32(7, 58, ByteOrder::Big));
  EXPECT_TRUE(patch.writeDouble(10, -1.0, ByteOrder::Little));
  EXPECT_FALSE(patch.writeInt32(0, 1, ByteOrder::Little));
  EXPECT_FALSE(patch.close());  // the bad record made the patch fail
  std::string bytes = test::readFile(dir / "h.shp");
  EXPECT_EQ(bytes.substr(24, 4), std::string("\x00\x00\x00\x3A", 4));
  EXPECT_EQ(bytes.substr(36, 8), std::string("\x00\x00\x00\x00\x00\x00\xF0\xBF", 8));

  // A unit still open: its buffered bytes go first, the patch stays.
  int v = open("BO", "o.dbf");
  writeZeros(v, 8);
  FilePatch second;
  ASSERT_TRUE(second.open("o.dbf"));
  EXPECT_TRUE(second.writeInt32(2, 5, ByteOrder::Little));
  EXPECT_TRUE(second.close());
  writeBytes(v, "\x1A");
  CLOSER(v);
  EXPECT_EQ(test::readFile(dir / "o.dbf"), std::string("\0\0\0\0\x05\0\0\0\x1A", 9));
  EXPECT_FALSE(FilePatch().open("missing.dbf"));
}

TEST_F(FileIo, InputAndOutputUnitsOnOneFileSeeEachOther) {
  int w = open("S ", "shared.txt");
  writeLine(w, "alpha");
  int r = open("I ", "shared.txt");
  std::string line;
  EXPECT_EQ(readLine(r, line), IoStatus::Ok);
  EXPECT_EQ(line, "alpha");
  EXPECT_TRUE(unitAtEnd(r));
  writeLine(w, "beta");
  EXPECT_FALSE(unitAtEnd(r));
  readLine(r, line);
  EXPECT_EQ(line, "beta");
  EXPECT_FALSE(writeText(r, "not an output"));
}

TEST_F(FileIo, AFailedWriteIsReportedAndSticks) {
  if (!fs::exists("/dev/full")) GTEST_SKIP();
  int u = open("O ", "/dev/full");
  EXPECT_TRUE(writeLine(u, "buffered"));
  EXPECT_FALSE(flushUnit(u));
  EXPECT_FALSE(writeLine(u, "more"));
  EXPECT_FALSE(flushUnit(u));
}

TEST_F(FileIo, ExitsFlushesEveryUnit) {
  int u = open("O ", "end.txt");
  writeText(u, "pending");
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_EQ(test::readFile(dir / "end.txt"), "pending");
}

}  // namespace
}  // namespace quenzel
