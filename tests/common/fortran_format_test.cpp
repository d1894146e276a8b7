#include "common/fortran_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <random>
#include <limits>

namespace quenzel {
namespace {

struct FCase {
  double value;
  int w, d;
  const char* text;
};

class FormatF : public ::testing::TestWithParam<FCase> {};

TEST_P(FormatF, WritesFixedColumns) {
  const FCase& c = GetParam();
  EXPECT_EQ(formatF(c.value, c.w, c.d), c.text) << c.value << " F" << c.w << "." << c.d;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatF,
    ::testing::Values(FCase{1234.5678, 16, 6, "     1234.567800"}, FCase{-0.25, 16, 6, "       -0.250000"},
                      FCase{0.5, 8, 3, "   0.500"}, FCase{0.5, 4, 3, ".500"}, FCase{-0.5, 5, 3, "-.500"},
                      FCase{-0.0001, 8, 3, "  -0.000"}, FCase{-0.0, 6, 3, "-0.000"},
                      FCase{1234.6, 6, 0, " 1235."}, FCase{0.0, 4, 0, "  0."},
                      FCase{123456789.0, 8, 3, "********"}, FCase{-99999.0, 16, 3, "      -99999.000"},
                      FCase{12345678.1234567, 16, 6, " 12345678.123457"},
                      FCase{123456789.5, 16, 6, "123456789.500000"}, FCase{1234567890.5, 16, 6, "****************"},
                      FCase{1e300, 10, 2, "**********"}));

TEST(FormatF, NonFiniteValuesAreNamed) {
  EXPECT_EQ(formatF(std::numeric_limits<double>::quiet_NaN(), 8, 3), "     NaN");
  EXPECT_EQ(formatF(std::numeric_limits<double>::infinity(), 16, 6), "        Infinity");
  EXPECT_EQ(formatF(-std::numeric_limits<double>::infinity(), 4, 1), "-Inf");
}

TEST(FormatF, FullWidthKeepsEveryDigit) {
  EXPECT_EQ(formatFFull(1234567890.5, 6), "1234567890.500000");
  EXPECT_EQ(formatFFull(-0.0004, 3), "-0.000");
  EXPECT_EQ(formatFFull(12.0, 0), "12.");
}

TEST(FormatI, WidthsAndOverflow) {
  EXPECT_EQ(formatI(1001, 4), "1001");
  EXPECT_EQ(formatI(7, 5), "    7");
  EXPECT_EQ(formatI(-42, 8), "     -42");
  EXPECT_EQ(formatI(12345, 4), "****");
  EXPECT_EQ(formatI(-1000, 4), "****");
  EXPECT_EQ(formatI(123456789, 8), "********");
  EXPECT_EQ(formatI(std::numeric_limits<std::int64_t>::min(), 20), "-9223372036854775808");
}

TEST(FormatI, MinimumDigits) {
  EXPECT_EQ(formatIm(251, 5, 4), " 0251");
  EXPECT_EQ(formatIm(12345, 5, 4), "12345");
  EXPECT_EQ(formatIm(123456, 5, 4), "*****");
  EXPECT_EQ(formatIm(-5, 5, 4), "-0005");
  EXPECT_EQ(formatIm(0, 3, 0), "   ");
}

TEST(FormatA, CutsOrRightJustifies) {
  EXPECT_EQ(formatA("abcdef", 4), "abcd");
  EXPECT_EQ(formatA("ab", 4), "  ab");
}

TEST(FixedInput, IntegersIgnoreBlanks) {
  std::int32_t v = -1;
  EXPECT_TRUE(readFixedInt("2024", v));
  EXPECT_EQ(v, 2024);
  EXPECT_TRUE(readFixedInt(" 1 2", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(readFixedInt("    ", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(readFixedInt("-7", v));
  EXPECT_EQ(v, -7);
  EXPECT_FALSE(readFixedInt("1a", v));
  EXPECT_FALSE(readFixedInt("-", v));
  EXPECT_FALSE(readFixedInt("99999999999", v));
  std::int64_t w = 0;
  EXPECT_TRUE(readFixedInt("99999999999", w));
  EXPECT_EQ(w, 99999999999LL);
}

TEST(FixedInput, RealsWithImpliedPoint) {
  double v = -1;
  EXPECT_TRUE(readFixedReal("2.5", v));
  EXPECT_EQ(v, 2.5);
  EXPECT_TRUE(readFixedReal("  42", v));
  EXPECT_EQ(v, 42.0);
  EXPECT_TRUE(readFixedReal("1.5E2", v));
  EXPECT_EQ(v, 150.0);
  EXPECT_TRUE(readFixedReal("1.5d-1", v));
  EXPECT_EQ(v, 0.15);
  EXPECT_TRUE(readFixedReal("", v));
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(readFixedReal("abc", v));
  EXPECT_FALSE(readFixedReal("1.5x", v));
  EXPECT_FALSE(readFixedReal(".", v));
  float f = 0;
  EXPECT_TRUE(readFixedReal("0.1", f));
  EXPECT_EQ(f, 0.1f);
}

}  // namespace
}  // namespace quenzel

namespace quenzel {
namespace {

// The fixed formats compute their digits in integers rather than through the
// library; they must give the digits of the exact binary value every time,
// ties to even included.
TEST(FormatF, FastDigitsMatchTheExactValue) {
  std::mt19937_64 g(20261208);
  auto exact = [](double v, int d) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof(buf), std::fabs(v), std::chars_format::fixed, d);
    return (std::signbit(v) ? "-" : "") + std::string(buf, r.ptr) + (d == 0 ? "." : "");
  };
  for (int i = 0; i < 300000; ++i) {
    double v = 0;
    switch (i % 4) {
      case 0: v = std::ldexp(static_cast<double>(g() >> 11), -static_cast<int>(g() % 60)); break;
      case 1: v = static_cast<double>(g() % 100000000) / 1000.0; break;
      case 2: v = static_cast<double>(static_cast<float>(static_cast<double>(g() % 2000000) / 1000.0)); break;
      default: v = 500000.0 + static_cast<double>(g() % 100000000) / 7.0; break;
    }
    if (g() & 1) v = -v;
    const int d = static_cast<int>(g() % 8);
    ASSERT_EQ(formatFFull(v, d), exact(v, d)) << std::setprecision(17) << v << " d=" << d;
  }
  // Exact ties, values whose shortest text has fewer decimals than the exact
  // digits the format shows, tiny and huge magnitudes.
  for (double v : {0.125, 0.375, 2.5, 3.5, 0.0000005, 1e-7, 260941927710.55151, 3622928865.9997358, 9.9995, 999.9995,
                   0.9999999, 6123456.7890125, 5e-324, 1e-30, 9007199254740991.0, 1e300})
    for (int d = 0; d <= 7; ++d) EXPECT_EQ(formatFFull(v, d), exact(v, d)) << v << " d=" << d;
}

}  // namespace
}  // namespace quenzel
