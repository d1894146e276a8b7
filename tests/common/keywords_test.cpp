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

// The exported layer, called as an outside caller would.
extern "C" {
void EXTRACTSTRING(char*, quenzel::FLen, const char*, const char*, const char*, const std::int32_t*, quenzel::FLen,
                   quenzel::FLen, quenzel::FLen);
void EXTRACTSTRINGREM(char*, quenzel::FLen, const char*, const char*, const char*, const std::int32_t*,
                      quenzel::FLen, quenzel::FLen, quenzel::FLen);
std::int32_t EXTRACTINTEGER(const char*, const char*, const char*, const std::int32_t*, const std::int32_t*,
                            quenzel::FLen, quenzel::FLen, quenzel::FLen);
float EXTRACTREAL(const char*, const char*, const char*, const std::int32_t*, const float*, quenzel::FLen,
                  quenzel::FLen, quenzel::FLen);
void FIRSTWORD(char*, quenzel::FLen, char*, quenzel::FLen);
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
    const char* line;
    const char* keyword;
    int n;
    const char* value;  // EXTRACTSTRING
    const char* rest;   // EXTRACTSTRINGREM
  } cases[] = {
      {"Depth = 2.5, Name = 'a,b'", "name", 0, "a,b", "a,b"},
      {"Depth = 2.5, Name = 'a,b'", "depth", 0, "2.5", "2.5, Name = a,b"},
      {"maxdepth = 3", "depth", 0, "3", "3"},                         // a plain substring match
      {"name, x = 5", "name", 0, "5", "5"},                           // the "=" may lie past a comma
      {"Title = \"it's, here\", n = 2", "TITLE  ", 0, "its", "its, here, n = 2"},  // ' ends a "-run
      {"k = \"a\"\"b,c\", z", "k", 0, "ab,c", "ab,c, z"},             // a doubled quote keeps the run
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
    const std::string lline = LOWERCASE(c.line);
    EXPECT_EQ(EXTRACTSTRING(c.line, lline, c.keyword, c.n), c.value);
    EXPECT_EQ(EXTRACTSTRINGREM(c.line, lline, c.keyword, c.n), c.rest);
  }
}

TEST_F(Keywords, NumbersReadInFreeFormatWithDefaults) {
  struct Case {
    const char* line;
    const char* keyword;
    int n;
    std::int32_t integer;
    float real;
  } cases[] = {
      {"w = 12 x, v = 1", "w", 0, 12, 12.0f},  // one value read, the rest ignored
      {"w = , v = 1", "w", 0, -7, -0.5f},      // an empty value: the defaults
      {"1,,3", "none", 2, -7, -0.5f},
      {"1,-4,3", "none", 2, -4, -4.0f},
      {"h = 2.5e1", "none", 9, -7, -0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string lline = LOWERCASE(c.line);
    EXPECT_EQ(EXTRACTINTEGER(c.line, lline, c.keyword, c.n, -7), c.integer);
    EXPECT_EQ(EXTRACTREAL(c.line, lline, c.keyword, c.n, -0.5f), c.real);
  }
  EXPECT_EQ(EXTRACTREAL("h = 0x1p-2", "h = 0x1p-2", "h", 0, 0.0f), 0.25f);
  EXPECT_EQ(EXTRACTREAL("h = 2.5e1", "h = 2.5e1", "h", 0, 0.0f), 25.0f);
}

TEST_F(Keywords, FatalTexts) {
  const std::string close = "\nPress Enter to Close\n";
  const std::string noEquals = "\nERROR 0203 - No \"=\" sign found after keyword \"Depth\".\n" + close;
  struct Case {
    std::function<void()> call;
    std::string text;
  } cases[] = {
      {[] { EXTRACTSTRING("Depth 3, x", "depth 3, x", "Depth  ", 1); }, noEquals},
      {[] { EXTRACTSTRINGREM("Depth 3, x", "depth 3, x", "Depth", 1); }, noEquals},
      {[] { EXTRACTINTEGER("1,x", "1,x", "count", 2, 0); },
       " Could not convert \"x\" in column  2 to an integer value for the count field.\n" + close},
      {[] { EXTRACTINTEGER("v = 3.5", "v = 3.5", "v ", 0, 0); },
       " Could not convert \"3.5\" in column  0 to an integer value for the v field.\n" + close},
      {[] { EXTRACTREAL("a,b", "a,b", "level", 1, 0.0f); },
       " Could not convert \"a\" in column  1 to a real value for the level field.\n" + close},
  };
  for (const Case& c : cases) {
    test::ConsoleCapture con;
    EXPECT_THROW(c.call(), test::StopCalled);
    EXPECT_EQ(con.text(), c.text);
  }
}

TEST_F(Keywords, FirstWordSplitsAtTheFirstUnquotedBlank) {
  struct Case {
    const char* s;
    const char* word;
    const char* rest;
  } cases[] = {
      {"\"a b\" c", "a b", "c"}, {"abc", "abc", ""}, {"", "", ""}, {"x   y  z", "x", "y  z"}, {"'it''s' on", "its", "on"},
  };
  for (const Case& c : cases) {
    std::string s = c.s;
    EXPECT_EQ(FIRSTWORD(s), c.word) << c.s;
    EXPECT_EQ(s, c.rest) << c.s;
  }
  EXPECT_EQ(UNQUOTEDCOMMA("'a,b', c"), 6u);
  EXPECT_EQ(UNQUOTEDCOMMA("\"a,b\"   "), 0u);
}

TEST_F(Keywords, ExportsTakeBlankPaddedBuffers) {
  auto padded = [](std::string_view s, std::size_t w) { return fitted(s, w); };
  const std::string line = padded("Depth = 2.5, Name = 'a,b', Cmd = a, b, c", 60);
  const std::string lline = LOWERCASE(line);
  const std::int32_t zero = 0, two = 2, dflt = 5;
  const float realDefault = 1.5f;
  auto call = [&](auto fn, const char* keyword, std::int32_t n, FLen width) {
    std::string result(static_cast<std::size_t>(width), '#');
    const std::string key = padded(keyword, 8);
    fn(result.data(), width, line.data(), lline.data(), key.data(), &n, 60, 60, 8);
    return result;
  };
  EXPECT_EQ(call(::EXTRACTSTRING, "name", zero, 5), "a,b  ");
  EXPECT_EQ(call(::EXTRACTSTRINGREM, "cmd", zero, 4), "a, b");
  const std::string intLine = padded("n = 12", 10);
  const std::string key = padded("n", 4);
  EXPECT_EQ(::EXTRACTINTEGER(intLine.data(), intLine.data(), key.data(), &zero, &dflt, 10, 10, 4), 12);
  EXPECT_EQ(::EXTRACTREAL(intLine.data(), intLine.data(), padded("h", 4).data(), &two, &realDefault, 10, 10, 4),
            1.5f);
  std::string s = padded("\"a b\" c", 10);
  std::string word(6, '#');
  ::FIRSTWORD(word.data(), 6, s.data(), 10);
  EXPECT_EQ(word, "a b   ");
  EXPECT_EQ(s, padded("c", 10));
}

}  // namespace
}  // namespace quenzel
