#include "common/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quenzel {
namespace {

struct TextCase {
  const char* name;
  std::function<std::string(std::string_view)> routine;
  std::string in, out;
};

TEST(TextFunctions, ResultsForTypicalAndAwkwardTexts) {
  const TextCase cases[] = {
      {"TRIMF", TRIMF, "  ab c  ", "ab c"},
      {"TRIMF", TRIMF, "\t ab ", "\t ab"},
      {"TRIMF", TRIMF, "   ", ""},
      {"SS256", SS256, std::string(300, 'x'), std::string(256, 'x')},
      {"REMOVEQUOTES", REMOVEQUOTES, "\"it's\" ", "its"},
      {"REMOVETABS", REMOVETABS, "a\tb \t", "ab"},
      {"REMOVESPACES", REMOVESPACES, " a b\tc ", "ab\tc"},
      {"DOUBLEQUOTE", [](std::string_view s) { return DOUBLEQUOTE(s); }, "6\" pipe", "6\"\" pipe"},
      {"UPPERCASE", UPPERCASE, "abz\xe9-AZ", "ABZ\xe9-AZ"},
      {"LOWERCASE", LOWERCASE, "ABZ\xc9-az", "abz\xc9-az"},
      {"CLEANATTRIBUTENAME", CLEANATTRIBUTENAME, "Max. Depth_1", "MaxDepth_1"},
      {"CLEANATTRIBUTENAME", CLEANATTRIBUTENAME, "%$ ", "X"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(c.routine(c.in), c.out) << c.name << "('" << c.in << "')";
}

TEST(TextFunctions, AlphanumericOnlyReplacesOrDrops) {
  EXPECT_EQ(ALPHANUMERICONLY("a-b c", '\0'), "abc");
  EXPECT_EQ(ALPHANUMERICONLY("a-b c", ' '), "a b c");
  EXPECT_EQ(ALPHANUMERICONLY(" a.", '_'), "_a_");
  EXPECT_EQ(ALPHANUMERICONLY("--", '\0'), "X");
  EXPECT_EQ(ALPHANUMERICONLY("--", ' '), "X");
}

TEST(TextFunctions, DoubleQuoteNeverCutsBetweenAPair) {
  EXPECT_EQ(DOUBLEQUOTE("ab\"c", 3), "ab");
  EXPECT_EQ(DOUBLEQUOTE("ab\"c", 4), "ab\"\"");
  EXPECT_EQ(DOUBLEQUOTE("ab\"c", 5), "ab\"\"c");
  EXPECT_EQ(DOUBLEQUOTE("\"", 1), "");
}

TEST(Replace, FirstOccurrenceIgnoringCase) {
  EXPECT_EQ(REPLACE("A null value", "NULL", "-99999"), "A -99999 value");
  EXPECT_EQ(REPLACE("no match", "null", "x"), "no match");
  EXPECT_EQ(REPLACE("abc", "  ", "new  "), "newabc");
  EXPECT_EQ(REPLACE("x NULL NULL", "null", ""), "x  NULL");
}

TEST(Replace, AllOccurrencesEndWithoutLooping) {
  struct Case {
    const char *s, *oldText, *newText, *out;
  } cases[] = {
      {"null null", "null", "-99999", "-99999 -99999"},
      {"1 NULL 2 Null", "null", "-0x1.869f000000000p+16", "1 -0x1.869f000000000p+16 2 -0x1.869f000000000p+16"},
      {"a null b", "   ", "x", "a null b"},
      {"null", "null", "nullnull", "nullnull"},
      {"aaa", "a", "aa", "aaaaaa"},
      {"abab", "ab", "b", "bb"},
  };
  for (const Case& c : cases) EXPECT_EQ(REPLACEALL(c.s, c.oldText, c.newText), c.out) << c.s;
}

TEST(Replace, AllOccurrencesInANarrowResult) {
  // Each step is cut to the result: an occurrence pushed out of it is gone.
  EXPECT_EQ(REPLACEALL("ab ab ab", "ab", "xyz", 8), "xyz xyz");
  EXPECT_EQ(REPLACEALL("ab abab", "ab", "xyz", 8), "xyz xyza");
  EXPECT_EQ(REPLACEALL("abcdef", "ab", "", 4), "cd");
  EXPECT_EQ(REPLACEALL("ab", "ab", "longer", 3), "lon");
}

TEST(TextTests, BlankRemovesTabsAndWritesBack) {
  std::string s = " \t \t ";
  EXPECT_TRUE(BLANK(s));
  EXPECT_EQ(s, "");
  s = "\ta\tb";
  EXPECT_FALSE(BLANK(s));
  EXPECT_EQ(s, "ab");
}

TEST(TextTests, SameIgnoresQuotesTabsBlanksAndCase) {
  struct Case {
    const char *a, *b;
    bool same, sameCs;
  } cases[] = {
      {" Shp ", ".SHP", false, false}, {"xs", "XS", true, false},   {"x\ts", "XS", true, false},
      {"\"Name\"", "name", true, false}, {"  Name", "Name  ", true, true}, {"", "   ", true, true},
      {"a b", "ab", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ASAME(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(ASAMECS(c.a, c.b), c.sameCs) << c.a << " / " << c.b;
  }
  // Only the first 1000 characters are compared.
  EXPECT_TRUE(ASAME(std::string(1000, 'a') + "x", std::string(1000, 'A') + "y"));
}

TEST(TextTests, FlagsInLines) {
  EXPECT_FALSE(FLAGEXISTS("CoordSy", "coordsys"));
  EXPECT_TRUE(FLAGEXISTS("CoordSys Earth Projection 1", "coordsys"));
  EXPECT_TRUE(FLAGEXISTS("anything", "   "));
  EXPECT_TRUE(FLAGEXISTS("a b", " B  "));
  EXPECT_FALSE(FLAGEXISTS("ab", " B"));

  std::string rest = "old";
  EXPECT_TRUE(FLAGEXISTSRET("Read GIS Z Shape == Roads.shp  ", "read gis z shape", rest));
  EXPECT_EQ(rest, " == Roads.shp  ");
  EXPECT_FALSE(FLAGEXISTSRET("abc", "x", rest));
  EXPECT_EQ(rest, "");
  EXPECT_TRUE(FLAGEXISTSRET(" abc", "", rest));
  EXPECT_EQ(rest, " abc");

  EXPECT_TRUE(READGIS("Read MI Network == x.mif", "Network  "));
  EXPECT_TRUE(READGIS("read gis network == x.shp", "Network"));
  EXPECT_FALSE(READGIS("Write GIS Network == x.shp", "Network"));
  EXPECT_TRUE(WRITEGIS("Write MI Check == x.mif", "Check"));
  EXPECT_TRUE(READROWCOL("Read RowCol Grid == g.csv", "Grid"));
  EXPECT_TRUE(READROWCOL("Read MID Grid == g.mid", "Grid"));
  EXPECT_FALSE(READROWCOL("Read MI Grid == g.mif", "Grid"));
}

struct LineCase {
  const char* in;
  bool result;
  const char* after;
};

TEST(TextTests, LineClassesWriteBackTheTrimmedLine) {
  const LineCase comments[] = {
      {"  a=1 ! note", false, "a=1"}, {"# all", true, ""}, {"x#y!z", false, "x"},
      {"   ", true, ""},              {"!x#", true, ""},   {"\ta", false, "\ta"},
  };
  for (const LineCase& c : comments) {
    std::string line = c.in;
    EXPECT_EQ(COMMENTLINE(line), c.result) << c.in;
    EXPECT_EQ(line, c.after) << c.in;
  }
  const LineCase numbers[] = {
      {"-5 3", true, "-5 3"}, {".5", true, ".5"}, {"+5", false, "+5"}, {"  7 ", true, "7"},
      {"  ", true, ""},       {"x1", false, "x1"},
  };
  for (const LineCase& c : numbers) {
    std::string line = c.in;
    EXPECT_EQ(NUMBERLINE(line), c.result) << c.in;
    EXPECT_EQ(line, c.after) << c.in;
  }
  const LineCase integers[] = {
      {" 0012 ", true, "0012"}, {"12a", false, "12a"}, {"  ", false, ""}, {"1 2", false, "1 2"},
      {"-1", false, "-1"},
  };
  for (const LineCase& c : integers) {
    std::string s = c.in;
    EXPECT_EQ(POSITIVEINTEGERNUMBER(s), c.result) << c.in;
    EXPECT_EQ(s, c.after) << c.in;
  }
}

TEST(CheckLine, SplitsCommandAndValue) {
  struct Case {
    const char *line, *flag, *sep;
    int ipos;
    bool result;
    const char *command, *value;
  } cases[] = {
      {"Read GIS Z Shape == file.shp", "Read GIS", "==", 0, true, "Read GIS Z Shape ", " file.shp"},
      {"Read GIS Z Shape == file.shp", "Write GIS", "==", 0, false, "Read GIS Z Shape ", " file.shp"},
      {"Set X == 5", "*", "==", 0, true, "Set X ", " 5"},
      // The separator's trailing blanks count, also against the line's padding.
      {"a= 1", "a", "= ", 0, true, "a", "1"},
      {"a =", "a", "= ", 0, true, "a ", ""},
      {"a=1", "a", "= ", 0, true, "a=1", ""},
      // Not found: split at the column, or take the whole line as command.
      {"abcdef", "ab", "==", 2, true, "ab", "cdef"},
      {"abcdef", "ab", "==", 0, true, "abcdef", ""},
      // Blank separator: only the column splits.
      {"abcdef", "ab", "", 3, true, "abc", "def"},
      {"abcdef", "*", " ", 0, true, "", "abcdef"},
      {"abcdef", "ab", " ", 0, false, "", "abcdef"},
      {"== x", "*", "==", 0, false, "", " x"},
  };
  for (const Case& c : cases) {
    std::string value = "?", command = "?";
    EXPECT_EQ(CHECKLINE(c.line, c.flag, c.sep, c.ipos, value, command), c.result) << c.line << " | " << c.flag;
    EXPECT_EQ(command, c.command) << c.line;
    EXPECT_EQ(value, c.value) << c.line;
  }
}

TEST(CheckLine, ColumnOutsideTheLineIsClamped) {
  std::string value, command;
  EXPECT_TRUE(CHECKLINE("abc", "abc", "", 50, value, command));
  EXPECT_EQ(command, "abc");
  EXPECT_EQ(value, "");
  EXPECT_FALSE(CHECKLINE("abc", "abc", "==", -4, value, command));
  EXPECT_EQ(command, "");
  EXPECT_EQ(value, "abc");
  EXPECT_FALSE(CHECKLINE("abc", "*", "", -1, value, command));
  EXPECT_EQ(value, "abc");
}

TEST(Csv, ColumnByName) {
  EXPECT_EQ(CSVCOLUMN("X,Y,Z", "z", 0), 3);
  EXPECT_EQ(CSVCOLUMN("X,Y", "Q", -1), -1);
  EXPECT_EQ(CSVCOLUMN(" \"Easting\" , North\t,", "NORTH", 0), 2);
  EXPECT_EQ(CSVCOLUMN("a,,b", "b", 0), 3);
  EXPECT_EQ(CSVCOLUMN("a,b,", "", 9), 9);
  EXPECT_EQ(CSVCOLUMN("", "", 5), 5);
}

TEST(Csv, ValueByColumn) {
  struct Case {
    const char* line;
    int col;
    bool ok;
    float value;
  } cases[] = {
      {"1,2.5,abc", 2, true, 2.5f}, {"1,2.5,abc", 3, false, 0.0f}, {"1,2.5,abc", 4, false, 0.0f},
      {"1,2.5,abc", 1, true, 1.0f}, {"1,2.5,abc", 0, true, 1.0f},  {"7, ,x", 2, false, 0.0f},
      {"7, -3e2 ,x", 2, true, -300.0f}, {"1,2,", 3, false, 0.0f}, {" 1 2,x", 1, true, 12.0f},
  };
  for (const Case& c : cases) {
    float v = 99.0f;
    EXPECT_EQ(CSVVALUE(c.line, c.col, v), c.ok) << c.line << " col " << c.col;
    EXPECT_EQ(v, c.value) << c.line << " col " << c.col;
  }
}

}  // namespace
}  // namespace quenzel
