#include "common/keywords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/exports_abi.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "support/test_support.h"

using quenzel::FLen;
using I32 = std::int32_t;
extern "C" {  // the exported layer, called as an outside caller calls it
void EXTRACTSTRING(char*, FLen, const char*, const char*, const char*, const I32*, FLen, FLen, FLen);
void EXTRACTSTRINGREM(char*, FLen, const char*, const char*, const char*, const I32*, FLen, FLen, FLen);
I32 EXTRACTINTEGER(const char*, const char*, const char*, const I32*, const I32*, FLen, FLen, FLen);
float EXTRACTREAL(const char*, const char*, const char*, const I32*, const float*, FLen, FLen, FLen);
void FIRSTWORD(char*, FLen, char*, FLen);
}

namespace quenzel {
namespace {

class Keywords : public ::testing::Test {
 protected:
  void SetUp() override {
    INITUNITS(1000);
    DMESSAGECLEAR();
  }
  test::StopGuard stop;
};

TEST_F(Keywords, ValueByKeywordOrByField) {
  struct Case {
    const char *line, *keyword;
    int n;
    const char *value, *rest;  // EXTRACTSTRING, EXTRACTSTRINGREM
  } cases[] = {
      {"Depth = 2.5, Name = 'a,b'", "name", 0, "a,b", "a,b"},
      {"Depth = 2.5, Name = 'a,b'", "depth", 0, "2.5", "2.5, Name = a,b"},
      {"maxdepth = 3", "depth", 0, "3", "3"},  // a plain substring match
      {"name, x = 5", "name", 0, "5", "5"},    // the "=" may lie past a comma
      {"T = \"it's, here\", n = 2", "t  ", 0, "its", "its, here, n = 2"},  // ' ends a "-run
      {"k = \"a\"\"b,c\", z", "K", 0, "ab,c", "ab,c, z"},                   // "" does not
      {"1, 'x, y' ,3", "none", 1, "1", "1, x, y ,3"},
      {"1, 'x, y' ,3", "none", 2, "x, y", "x, y ,3"},
      {"1, 'x, y' ,3", "none", 3, "3", "3"},
      {"1, 'x, y' ,3", "none", 4, "", ""},
      {"1, 'x, y' ,3", "none", 0, "", ""},
      {"Cmd = a, b, c", "cmd", 0, "a", "a, b, c"},
      {"Cmd = a, b, c", "zz", 2, "b", "b, c"},
      {"a,,c", "zz", 2, "", ""},
      {"1,2,3", "", 2, "2", "2,3"},  // a blank keyword picks by field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " / " + c.keyword);
    EXPECT_EQ(EXTRACTSTRING(c.line, LOWERCASE(c.line), c.keyword, c.n), c.value);
    EXPECT_EQ(EXTRACTSTRINGREM(c.line, LOWERCASE(c.line), c.keyword, c.n), c.rest);
  }
  // Numbers: one free-format value; a blank value gives the default.
  EXPECT_EQ(EXTRACTINTEGER("w = 12 x, v", "w = 12 x, v", "w", 0, -7), 12);
  EXPECT_EQ(EXTRACTINTEGER("w = , v = 1", "w = , v = 1", "w", 0, -7), -7);
  EXPECT_EQ(EXTRACTINTEGER("1,-4,3", "1,-4,3", "none", 2, -7), -4);
  EXPECT_EQ(EXTRACTREAL("1,,3", "1,,3", "none", 2, -0.5f), -0.5f);
  EXPECT_EQ(EXTRACTREAL("h = 0x1p-2", "h = 0x1p-2", "h", 0, 0.0f), 0.25f);
  EXPECT_EQ(EXTRACTREAL("2.5e1", "2.5e1", "h", 1, 0.0f), 25.0f);
}

TEST_F(Keywords, FatalTexts) {
  const std::string close = "\nPress Enter to Close\n";
  const std::string noEquals = "\nERROR 0203 - No \"=\" sign found after keyword \"Depth\".\n" + close;
  const std::string convert = " Could not convert ";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { EXTRACTSTRING("Depth 3, x", "depth 3, x", "Depth  ", 1); }, noEquals},
      {[] { EXTRACTSTRINGREM("Depth 3, x", "depth 3, x", "Depth", 1); }, noEquals},
      {[] { EXTRACTINTEGER("1,x", "1,x", "count", 2, 0); },
       convert + "\"x\" in column  2 to an integer value for the count field.\n" + close},
      {[] { EXTRACTINTEGER("v = 3.5", "v = 3.5", "v ", 0, 0); },
       convert + "\"3.5\" in column  0 to an integer value for the v field.\n" + close},
      {[] { EXTRACTREAL("a,b", "a,b", "level", 1, 0.0f); },
       convert + "\"a\" in column  1 to a real value for the level field.\n" + close},
  };
  for (const auto& [call, text] : cases) {
    test::ConsoleCapture con;
    EXPECT_THROW(call(), test::StopCalled);
    EXPECT_EQ(con.text(), text);
  }
}

TEST_F(Keywords, FirstWordSplitsAtTheFirstUnquotedBlank) {
  const char* cases[][3] = {{"\"a b\" c", "a b", "c"}, {"abc", "abc", ""}, {"", "", ""},
                            {"x   y  z", "x", "y  z"}, {"'it''s' on", "its", "on"}};
  for (auto& c : cases) {
    std::string s = c[0];
    EXPECT_EQ(FIRSTWORD(s), c[1]) << c[0];
    EXPECT_EQ(s, c[2]) << c[0];
  }
}

TEST_F(Keywords, ExportsTakeBlankPaddedBuffers) {
  const std::string line = fitted("Name = 'a,b', Cmd = a, b, c", 40), lline = LOWERCASE(line);
  const std::string name = fitted("name", 8), cmd = fitted("CMD", 8);
  const I32 zero = 0, two = 2, dflt = 5;
  const float realDefault = 1.5f;
  std::string result(5, '#');
  ::EXTRACTSTRING(result.data(), 5, line.data(), lline.data(), name.data(), &zero, 40, 40, 8);
  EXPECT_EQ(result, "a,b  ");
  ::EXTRACTSTRINGREM(result.data(), 4, line.data(), lline.data(), cmd.data(), &zero, 40, 40, 8);
  EXPECT_EQ(result, "a, b ");
  const std::string numbers = fitted("n = 12", 10);
  EXPECT_EQ(::EXTRACTINTEGER(numbers.data(), numbers.data(), "n   ", &zero, &dflt, 10, 10, 4), 12);
  EXPECT_EQ(::EXTRACTREAL(numbers.data(), numbers.data(), "h   ", &two, &realDefault, 10, 10, 4), 1.5f);
  std::string s = fitted("\"a b\" c", 10);
  ::FIRSTWORD(result.data(), 5, s.data(), 10);
  EXPECT_EQ(result, "a b  ");
  EXPECT_EQ(s, fitted("c", 10));
}

}  // namespace
}  // namespace quenzel
