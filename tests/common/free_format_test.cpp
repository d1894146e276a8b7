#include "common/free_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <string>

namespace quenzel {
namespace {

TEST(FreeFormat, SeparatorsAreBlanksTabsOrOneComma) {
  double x = 0, y = 0, z = 0;
  FreeReader r("  1.5\t2 ,  -3e2");
  EXPECT_EQ(r.readAll(x, y, z), ReadResult::Ok);
  EXPECT_EQ(x, 1.5);
  EXPECT_EQ(y, 2.0);
  EXPECT_EQ(z, -300.0);
  EXPECT_EQ(r.read(x), ReadResult::End);
}

TEST(FreeFormat, EmptyValueBetweenCommasKeepsTheVariable) {
  std::int32_t a = 7, b = 8, c = 9;
  FreeReader r("1,,3");
  EXPECT_EQ(r.readAll(a, b, c), ReadResult::Ok);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 8);
  EXPECT_EQ(c, 3);
}

TEST(FreeFormat, EndIsNotAnError) {
  double x = 0, y = 0;
  FreeReader r("12");
  EXPECT_EQ(r.readAll(x, y), ReadResult::End);
  EXPECT_EQ(x, 12.0);
  FreeReader blank("   ");
  EXPECT_EQ(blank.read(x), ReadResult::End);
}

TEST(FreeFormat, NumbersInEveryAcceptedSpelling) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"+5", 5.0}, {"-0x1.869f000000000p+16", -99999.0}, {"0X1P-1", 0.5},
               {"1.0D3", 1000.0}, {".5", 0.5}, {"5.", 5.0}, {"-0", -0.0}};
  for (const Case& c : cases) {
    double v = 123;
    EXPECT_TRUE(parseReal(c.text, v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(FreeFormat, PartialOrNonFiniteNumbersAreErrors) {
  for (const char* bad : {"inf", "-inf", "nan", "NaN", "infinity", "1.5x", "0x", "-", "+-1", "1e", "abc",
                          "1,5", "0x1.8p+16q", "1e999", "0x-1", "-0x-1.8p+1"}) {
    double v = 0;
    EXPECT_FALSE(parseReal(bad, v)) << bad;
  }
  double v = 0;
  FreeReader r("-0x1.8p+16q");
  EXPECT_EQ(r.read(v), ReadResult::Error);
}

TEST(FreeFormat, FloatsReadStraightIntoSinglePrecision) {
  float f = 0;
  FreeReader r("0.1");
  EXPECT_EQ(r.read(f), ReadResult::Ok);
  EXPECT_EQ(f, 0.1f);
}

TEST(FreeFormat, IntegersRejectFractionsAndOverflow) {
  std::int32_t i = 0;
  EXPECT_EQ(FreeReader("3.5").read(i), ReadResult::Error);
  EXPECT_EQ(FreeReader("+42").read(i), ReadResult::Ok);
  EXPECT_EQ(i, 42);
  EXPECT_EQ(FreeReader("4294967296").read(i), ReadResult::Error);
  std::int64_t l = 0;
  EXPECT_EQ(FreeReader("4294967296").read(l), ReadResult::Ok);
  EXPECT_EQ(l, 4294967296LL);
}

TEST(FreeFormat, QuotedTextsKeepBlanksCommasAndDoubledQuotes) {
  std::string a, b, c;
  FreeReader r("\"a, b\" 'it''s' plain,next");
  EXPECT_EQ(r.readAll(a, b, c), ReadResult::Ok);
  EXPECT_EQ(a, "a, b");
  EXPECT_EQ(b, "it's");
  EXPECT_EQ(c, "plain");
  EXPECT_EQ(r.read(a), ReadResult::Ok);
  EXPECT_EQ(a, "next");
}

}  // namespace
}  // namespace quenzel

namespace quenzel {
namespace {

// Plain decimals take a shortcut past the library's conversion; both widths
// must still get the correctly rounded value.
TEST(FreeFormat, PlainDecimalsAreCorrectlyRounded) {
  std::mt19937_64 g(1208);
  for (int i = 0; i < 200000; ++i) {
    const int decimals = static_cast<int>(g() % 12);
    std::string text = std::to_string(g() % (i % 3 == 0 ? 100000000ULL : 1000ULL));
    if (decimals > 0) {
      std::string fraction = std::to_string(g() % 1000000000000ULL);
      fraction.insert(0, 12 - fraction.size(), '0');
      text += "." + fraction.substr(0, static_cast<std::size_t>(decimals));
    }
    if (g() & 1) text.insert(0, "-");
    double d = 0, dRef = 0;
    float f = 0, fRef = 0;
    ASSERT_TRUE(parseReal(text, d) && parseReal(text, f)) << text;
    std::from_chars(text.data(), text.data() + text.size(), dRef);
    std::from_chars(text.data(), text.data() + text.size(), fRef);
    ASSERT_EQ(d, dRef) << text;
    ASSERT_EQ(f, fRef) << text;
  }
}

}  // namespace
}  // namespace quenzel
