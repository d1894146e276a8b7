// The 12da reader through real file units, in the order the conversions call it.
#include "converter/d12_reader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/units.h"
#include "support/test_support.h"

namespace quenzel {
namespace {

std::string num(double v) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
  for (std::size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
  return s;
}

class D12Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    INITUNITS(1000);
    DMESSAGECLEAR();
    DMESSAGERESETCOUNTERS();
  }
  void TearDown() override { closeAllUnitsQuietly(); }

  int open(const std::string& text) {
    const std::string name = (dir / ("f" + std::to_string(++files) + ".12da")).string();
    test::writeFile(name, text);
    int unit = 0;
    OPENFILE(unit, "I ", name);
    con.clear();
    return unit;
  }

  // What the console showed after the last close of the encoding check.
  std::string afterCheck() const {
    const std::string t = con.text();
    const std::size_t p = t.rfind("...Closed File Unit:");
    return p == std::string::npos ? t : t.substr(t.find('\n', p) + 1);
  }

  std::string describe(int n) const {
    std::string s = obj.type + "|" + obj.name + "|";
    s += std::string(obj.data2d ? "2d" : "") + (obj.data3d ? "3d" : "") + (obj.hipData ? " hip" : "") + "|";
    for (int i = 1; i <= n; ++i) s += (i > 1 ? " " : "") + num(X(i)) + "," + num(Y(i)) + "," + num(Z(i));
    return s;
  }

  // The calling order of the 12da conversions; a block of no kind is skipped.
  std::vector<std::string> readAll(int unit, int maxNodes = 50) {
    const bool nullKeyword = d12NullKeyword(unit);
    const bool hexFloats = d12OutputHexFloats(unit);
    rewindUnit(unit);
    float nullValue = static_cast<float>(NO_VALUE);
    obj.moreData = false;
    if (!d12FindStartOfData(unit, nullValue, nullKeyword)) return {"no start"};
    std::vector<std::string> blocks;
    std::string line;
    while (!unitAtEnd(unit)) {
      if (!d12ReadLine(line, unit) || !d12ObjectType(unit, line, obj)) continue;
      if (!obj.data2d && !obj.data3d && !obj.hipData) {
        d12SkipData(unit, obj);
        blocks.push_back(obj.type + " skipped");
        continue;
      }
      int n = 0;
      if (d12ReadData(unit, obj, X.view(), Y.view(), Z.view(), maxNodes, n, nullKeyword, hexFloats))
        blocks.push_back(describe(n));
    }
    return blocks;
  }

  test::StopGuard stop;
  test::ConsoleCapture con;
  test::TempDir dir;
  int files = 0;
  d12Object obj;
  OneBased<double> X{51}, Y{51};
  OneBased<float> Z{51};
};

const char* const kSample = R"(// archive_version "1.0"
// null_keyword true
// output_hex_floats false
null -999
model "Roads"

string 3d {
  name "CL"  // centre line
  colour red
  data {
    1.5 2.5 3.5
    4,5,6 // comment

    7 8 NULL
  }
}
string 2d {
  name Kerb
  z 12.5
  data_2d {
    10 20
    30 40
  }
}
string polyline {
  name "Lot 12"
  data_3d {
    0 0 1
    1 0 2
    1 1 3
  }
}
string polyline {
  closed 0
  data_3d {
    0 0 1
    1 0 2
  }
}
string super {
  name "Drain"
  z 4
  data_3d {
    1 1 1
    2 2 2
  }
  data_2d {
    3 3
  }
}
string pipeline {
  data_2d {
    5 6
  }
}
string interface {
  hipdata {
    1 2 3
  }
}
)";

const std::vector<std::string> kSampleBlocks = {
    "3d|CL|3d|1.5,2.5,3.5 4,5,6 7,8,-99999",
    "2d|Kerb|2d|10,20,12.5 30,40,12.5",
    "polyline|Lot 12|3d|0,0,1 1,0,2 1,1,3 0,0,1",
    "polyline||3d|0,0,1 1,0,2",
    "super|Drain|3d|1,1,1 2,2,2",
    "super|Drain|2d|3,3,-99999",
    "pipeline||2d|5,6,-99999",
    "interface||3d hip|1,2,3",
};

TEST_F(D12Reader, EveryLineKindOfASampleFile) {
  EXPECT_EQ(readAll(open(kSample)), kSampleBlocks);
  // Each lookup and the start of data open and close the file once more.
  const std::string t = con.text();
  std::size_t closes = 0;
  for (std::size_t p = 0; (p = t.find("...Closed File Unit:", p)) != std::string::npos; ++p) ++closes;
  EXPECT_EQ(closes, 3u);
  EXPECT_NE(t.find("\n12D null value set to keyword \"null\"\n"), std::string::npos);
}

TEST_F(D12Reader, WindowsLineEndsAndTheUtf8MarkReadTheSame) {
  EXPECT_EQ(readAll(open(replaced(kSample, "\n", "\r\n"))), kSampleBlocks);
  EXPECT_EQ(readAll(open("\xEF\xBB\xBF" + std::string(kSample))), kSampleBlocks);
}

TEST_F(D12Reader, Utf16IsRefused) {
  for (const char* mark : {"\xFF\xFE", "\xFE\xFF"}) {
    const int unit = open(std::string(mark) + std::string("/\0/\0", 4));
    EXPECT_THROW(d12ArchiveVersion(unit), test::StopCalled);
    EXPECT_NE(con.text().find("\n\nERROR - Source 12da is encoded using UTF-16\n\nPress Enter to Close\n"),
              std::string::npos)
        << con.text();
    INITUNITS(1000);
  }
}

TEST_F(D12Reader, SignificantLines) {
  const int unit = open("  \n// comment\n   // indented comment\n  a b  // trailing\n//\r\n  x\r\n\nlast");
  std::string line = "old";
  std::vector<std::string> got;
  while (d12ReadLine(line, unit)) got.push_back(line);
  EXPECT_EQ(got, (std::vector<std::string>{"a b", "x", "last"}));
  EXPECT_EQ(line, "");
}

TEST_F(D12Reader, HeaderValuesComeFromTheLeadingBlockOnly) {
  struct Case {
    const char* text;
    const char* key;
    const char* value;
  } cases[] = {
      {"// archive_version \"1.0\"\nmodel m\n", "archive_version", "1.0"},
      {"\n// other\nnull -999\n  null -5\n\n// null_keyword true\n", "null_keyword", "true"},
      {"\xEF\xBB\xBF// null_keyword true\n", "null_keyword", "true"},
      {"// ARCHIVE_VERSION  1.0 \n", "archive_version", " 1.0"},  // fixed columns
      {"// archive_version \"\"\n", "archive_version", ""},
      {"NULL -999\n// null_keyword true\n", "null_keyword", ""},  // "null" is lower case only
      {"model \"m\"\n// null_keyword true\n", "null_keyword", ""},
      {"string 3d {\n// archive_version 1\n", "archive_version", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(d12HeaderValue(open(c.text), c.key), c.value);
  }
  const int quoted = open("// null_keyword \"TRUE\"\n// output_hex_floats false\n");
  EXPECT_TRUE(d12NullKeyword(quoted));
  EXPECT_FALSE(d12OutputHexFloats(quoted));
}

TEST_F(D12Reader, StartOfDataAndTheNullValue) {
  // Without a model line the strings are read from the start.
  const std::string kNoModel =
      "\nWARNING - No model line found in .12da file; reading strings from the start of the file.\n";
  struct Case {
    std::string text;
    bool nullKeyword;
    bool result;
    float nullValue;
    std::string console;  // after the encoding check
    const char* next;     // next significant line, "-" for none
  } cases[] = {
      {"null -999\nmodel \"m\"\nstring 2d {\n", false, true, -999.0f, "\n12D null value set to:    -999.000\n",
       "string 2d {"},
      {"null -999\nmodel \"m\"\nstring 2d {\n", true, true, -99999.0f, "\n12D null value set to keyword \"null\"\n",
       "string 2d {"},
      {"  null -0x1.869f000000000p+16\n  MODEL m\nx\n", false, true, -99999.0f,
       "\n12D null value set to:  -99999.000\n", "x"},
      {"\xEF\xBB\xBFnull 5\nmodel m\nx\n", false, true, 5.0f, "\n12D null value set to:       5.000\n", "x"},
      {"// comments only\nstring 3d {\n", false, true, -99999.0f, kNoModel, "string 3d {"},
      {"model m\nnull 7\n", false, true, -99999.0f, "", "null 7"},
      {"null -5\n", false, true, -99999.0f, kNoModel, "null -5"},  // the last line is not looked at
      {"", false, true, -99999.0f, kNoModel, "-"},
      {"null abc\nmodel m\n", false, false, -99999.0f,
       "\nWARNING - Problems finding start of data in .12da file\n\nPress Enter to Continue\n", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const int unit = open(c.text);
    float nullValue = static_cast<float>(NO_VALUE);
    EXPECT_EQ(d12FindStartOfData(unit, nullValue, c.nullKeyword), c.result);
    EXPECT_EQ(nullValue, c.nullValue);
    EXPECT_EQ(afterCheck(), c.console);
    if (!c.next) continue;
    std::string line;
    EXPECT_EQ(d12ReadLine(line, unit) ? line : "-", c.next);
  }
}

TEST_F(D12Reader, StringHeaders) {
  struct Case {
    const char* text;  // the string line first
    const char* parsed;
  } cases[] = {
      {"string 2d {\n  name \"a b\"\n\n  data_2d {\n", "T [2d] [a b] z=-99999 2d D2 | data_2d {"},
      {"string 3d{\n name n1 // comment\n data {\n", "T [3d] [n1] z=-99999 3d D3 | data {"},
      {"String Pipeline {\n data {\n", "T [Pipeline] [] z=-99999 2d 3d D2 D3 | data {"},
      {"string pipeline {\n data_2d {\n", "T [pipeline] [] z=-99999 2d 3d D2 | data_2d {"},
      {"string super {\n z 4.5\n data_3d {\n", "T [super] [] z=4.5 super D3 | data_3d {"},
      {"string polyline {\n data {\n", "T [polyline] [] z=-99999 poly D3 closed | data {"},
      {"string polyline {\n closed 0\n data {\n", "T [polyline] [] z=-99999 poly D3 | data {"},
      {"string polyline {\n Closed yes\n data {\n", "T [polyline] [] z=-99999 poly D3 closed | data {"},
      {"string polyline {\n closed true\n data {\n", "T [polyline] [] z=-99999 poly D3 closed | data {"},
      {"string polyline {\n closed\tT\n data {\n", "T [polyline] [] z=-99999 poly D3 closed | data {"},
      {"string 3d {\n zone 7\n Z 2\n colour red\n data {\n", "T [3d] [] z=2 3d D3 | data {"},
      {"string interface {\n hipdata {\n", "T [interface] [] z=-99999 3d D3 hip | hipdata {"},
      {"string a_very_long_type_name {\n data {\n", "T [a_very_long_type_nam] [] z=-99999 | data {"},
      {"data_3d {\n", "F [unknown] [] z=-99999 D3 | data_3d {"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const int unit = open(c.text);
    std::string line;
    ASSERT_TRUE(d12ReadLine(line, unit));
    obj = d12Object{};
    const bool r = d12ObjectType(unit, line, obj);
    std::string s = std::string(r ? "T" : "F") + " [" + obj.type + "] [" + obj.name + "] z=" + num(obj.z);
    const std::pair<bool, const char*> flags[] = {
        {obj.is2d, "2d"},   {obj.is3d, "3d"},   {obj.isSuper, "super"}, {obj.isPolyline, "poly"},
        {obj.data2d, "D2"}, {obj.data3d, "D3"}, {obj.hipData, "hip"},   {obj.closed, "closed"}};
    for (const auto& [on, text] : flags)
      if (on) s += std::string(" ") + text;
    EXPECT_EQ(s + " | " + line, c.parsed);
  }
}

TEST_F(D12Reader, UnreadableNameOrHeightEndsTheRun) {
  for (const char* bad : {"z abc", "name"}) {
    SCOPED_TRACE(bad);
    const int unit = open(std::string("string 3d {\n  ") + bad + "  \n data {\n");
    std::string line;
    d12ReadLine(line, unit);
    EXPECT_THROW(d12ObjectType(unit, line, obj), test::StopCalled);
    EXPECT_EQ(con.text(), std::string("\nERROR - Reading data (d12ObjectType)\n") + bad +
                              "\n\nPress Enter to Close\n");
    INITUNITS(1000);
  }
}

TEST_F(D12Reader, HexFloatsAndTheNullKeyword) {
  EXPECT_EQ(readAll(open("// output_hex_floats true\n// null_keyword true\nmodel m\nstring 3d {\n data {\n"
                         "  -0x1.869f000000000p+16 0x1.8p+1 null\n  +1.5, 0X1P-1 , -0x1.8p+1\n  null null Null\n"
                         " }\n}\n")),
            (std::vector<std::string>{"3d||3d|-99999,3,-99999 1.5,0.5,-3 -99999,-99999,-99999"}));
}

TEST_F(D12Reader, UnreadableVertexLinesEndTheRun) {
  struct Case {
    const char* vertex;
    const char* message;
  } cases[] = {
      {"1 2", "ERROR - Unexpected end of .12da file encountered.\n"},
      {"1 2 x", "ERROR - Reading .12da file.  Erroneous line is:\n1 2 x\n"},
      {"1 2 null", "ERROR - Reading .12da file.  Erroneous line is:\n1 2 null\n"},
      {"1 2 inf", "ERROR - Reading .12da file.  Erroneous line is:\n1 2 inf\n"},
      {"1 2 -0x1.8p+16q", "ERROR - Reading .12da file.  Erroneous line is:\n1 2 -0x1.8p+16q\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertex);
    const int unit = open(std::string("model m\nstring 3d {\n data {\n    ") + c.vertex + "\n }\n}\n");
    EXPECT_THROW(readAll(unit), test::StopCalled);
    EXPECT_NE(con.text().find(std::string("\n\n") + c.message + "\nPress Enter to Close\n"), std::string::npos)
        << con.text();
    INITUNITS(1000);
  }
}

TEST_F(D12Reader, VertexLimit) {
  // A closed polyline takes its closing vertex beyond the limit.
  EXPECT_EQ(readAll(open("model m\nstring polyline {\n data {\n  1 1 1\n  2 2 2\n  3 3 3\n }\n}\n"), 3),
            (std::vector<std::string>{"polyline||3d|1,1,1 2,2,2 3,3,3 1,1,1"}));
  EXPECT_THROW(readAll(open("model m\nstring 3d {\n data {\n  1 1 1\n  2 2 2\n  3 3 3\n  4 4 4\n }\n}\n"), 3),
               test::StopCalled);
  EXPECT_NE(con.text().find("\nERROR - Exceeded number of allowable nodes in a single polyline or region.\n"
                            "        Requested       4        Limit       3\n"),
            std::string::npos)
      << con.text();
}

TEST_F(D12Reader, VertexLimitOfTheConversions) {
  // The millionth vertex is stored, the next one ends the run.
  std::string text = "model m\nstring 3d {\n data {\n";
  for (int i = 1; i < kD12MaxNodes; ++i) text += "1 2 3\n";
  const int unit = open(text + "7 8 9\n4 5 6\n }\n}\n");
  OneBased<double> bigX(kD12MaxNodes + 1), bigY(kD12MaxNodes + 1);
  OneBased<float> bigZ(kD12MaxNodes + 1);
  float nullValue = static_cast<float>(NO_VALUE);
  std::string line;
  int n = 0;
  ASSERT_TRUE(d12FindStartOfData(unit, nullValue, false));
  ASSERT_TRUE(d12ReadLine(line, unit));
  ASSERT_TRUE(d12ObjectType(unit, line, obj));
  EXPECT_THROW(d12ReadData(unit, obj, bigX.view(), bigY.view(), bigZ.view(), kD12MaxNodes, n, false, false),
               test::StopCalled);
  EXPECT_EQ(bigZ(kD12MaxNodes), 9.0f);
  EXPECT_NE(con.text().find("        Requested 1000001        Limit 1000000\n"), std::string::npos);
}

TEST_F(D12Reader, BlocksOfNoKindArePassedOverWithoutLosingWhatFollows) {
  EXPECT_EQ(readAll(open(R"(model m
string text {
  data {
    label { a }
  }
}
string super {
  name "S"
  symbol_data {
    symbol {
      name "s"
    }
  }
  data_3d {
    1 2 3
  }
  text_data {
    { a }
  }
}
string 3d {
  name "after"
  data {
    4 5 6
  }
}
)")),
            (std::vector<std::string>{"text skipped", "super skipped", "super|S|3d|1,2,3", "super skipped",
                                      "3d|after|3d|4,5,6"}));
}

TEST_F(D12Reader, EmptyAndCutShortBlocks) {
  // An empty block gives no vertices; a block the end of the file cuts short
  // ends without a message, its last line not taken.
  EXPECT_EQ(readAll(open("model m\nstring polyline {\n data {\n }\n}\nstring 3d {\n data {\n 1 2 3\n 4 5 6\n")),
            (std::vector<std::string>{"polyline||3d|", "3d||3d|1,2,3"}));
}

// Tabs indent like blanks; a string whose closing brace, or the next string,
// comes before any data line has no block, and the next string keeps its
// own; a nested block before the data is passed over.
TEST_F(D12Reader, TabsAndStringsWithoutData) {
  EXPECT_EQ(readAll(open("model m\n"
                         "\tstring\t2d\t{\n\t\tname\tTabbed\n\t\tz\t5\n\t\t// note\n\t\tdata_2d {\n\t\t\t1\t2\n\t\t}\n\t}\n"
                         "string 3d {\n  name \"empty\"\n}\n"
                         "string 2d {\n  name \"no brace\"\n"
                         "string 3d {\n  name \"nested\"\n  attributes {\n    text \"note\" \"{ x }\"\n  }\n"
                         "  data {\n    1 2 3\n  }\n}\n")),
            (std::vector<std::string>{"2d|Tabbed|2d|1,2,5", "3d skipped", "2d skipped", "3d|nested|3d|1,2,3"}));
}

}  // namespace
}  // namespace quenzel
