#include "common/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/text.h"

namespace quenzel {
namespace {

const std::string kStars(20, '*');

TEST(IntegerText, LeftJustifiedAndZeroPadded) {
  EXPECT_EQ(AINTEGER(-42), "-42");
  EXPECT_EQ(AINTEGER8(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(AINTEGERPREC0(5, 6), "000005");
  EXPECT_EQ(AINTEGERPREC0(1234567, 3), "1234567");
  EXPECT_EQ(AINTEGERPREC0(-5, 6), "-5");
  EXPECT_EQ(AINTEGERPREC0(0, 3), "000");
  EXPECT_EQ(AINTEGERPREC0(7, -3), "7");
  EXPECT_EQ(AINTEGERPREC0(7, 25), "00000000000000000007");
  EXPECT_EQ(AINTEGER8PREC0(std::numeric_limits<std::int64_t>::max(), 20), "09223372036854775807");
}

// Each decimal band is entered from both sides; a value just below a band's
// limit may round up to it and keeps the band's decimals until the zeros go.
TEST(RealText, DecimalsByMagnitudeTrailingZerosCut) {
  struct { float x; const char* text; } cases[] = {
      {2.5f, "2.5"}, {2.0f, "2."}, {0.0f, "0."}, {0.004f, "0.004"}, {-0.05f, "-0.05"}, {1234.6f, "1235."},
      {0.0099999f, "0.01"}, {0.123456f, "0.1235"}, {9.9994f, "9.999"}, {9.9996f, "10."}, {99.996f, "100."},
      {999.94f, "999.9"}, {999.96f, "1000."}, {1e19f, "9999999980506447872."}, {-1e19f, "********************"},
      {1e20f, "********************"}};
  for (const auto& c : cases) EXPECT_EQ(AREAL(c.x), c.text) << c.x;
}

TEST(RealText, DoublePrecisionTable) {
  EXPECT_EQ(AREAL8(123456.789), "123456.789");
  EXPECT_EQ(AREAL8(-1e-12), "-0.");
  EXPECT_EQ(AREAL8(999999999.96), "1000000000.");
  EXPECT_EQ(AREAL8(9e18), "9000000000000000000.");
  EXPECT_EQ(AREAL8(1e19), kStars);
  // A single-precision value widened shows its binary value, not its decimal one.
  EXPECT_EQ(AREAL8(static_cast<double>(0.1f)), "0.1000000015");
  EXPECT_EQ(AREAL8(static_cast<double>(2.3f)), "2.299999952");
  EXPECT_EQ(AREAL8(static_cast<double>(1234.6f)), "1234.599976");
}

TEST(RealText, FixedDecimalsKeepTheirZeros) {
  EXPECT_EQ(AREALD(2.5f, 3), "2.500");
  EXPECT_EQ(AREALD(0.1f, 10), "0.1000000015");
  EXPECT_EQ(AREALD(1e10f, 10), kStars);
  EXPECT_EQ(AREALD(2.4f, -1), "2.");
  EXPECT_EQ(AREALDB(-0.5f, 2), "-0.50");
  EXPECT_EQ(AREALD8(0.1, 10), "0.1000000000");
}

TEST(Fields, CountedBySeparator) {
  struct { const char* s; const char* sep; int count; } cases[] = {
      {"a,b,,c", ",", 4}, {"", ",", 0}, {"a,,,b", ",,", 3} /* overlapping */,
      {"a, b,", ", ", 3} /* a trailing blank of sep meets the padding */,
      {"a b   ", " ", 2} /* the padding is no run of separators */, {"a,b", "", 1}};
  for (const auto& c : cases) {
    std::string s = c.s;
    EXPECT_EQ(NUMBEROFSUBSTRINGS(s, c.sep), c.count) << "'" << c.s << "' by '" << c.sep << "'";
  }
  std::string tabs = "\t \t", mixed = "a\tb,c";
  EXPECT_EQ(NUMBEROFSUBSTRINGS(tabs, ","), 0);
  EXPECT_EQ(NUMBEROFSUBSTRINGS(mixed, ","), 2);
  EXPECT_EQ(mixed, "ab,c");
}

TEST(Fields, PickedAndTrimmed) {
  struct { const char* s; const char* sep; int n; const char* field; } cases[] = {
      {"a, b ,c", ",", 2, "b"}, {"a, b ,c", ",", 3, "c"}, {"a, b ,c", ",", 4, ""}, {"a, b ,c", ",", 0, ""},
      {"a,,c", ",", 2, ""}, {"a,\tb", ",", 2, "\tb"}, {"a::b::c", "::", 2, "b"}, {"a b", " ", 3, ""},
      {" x ", "", 1, "x"}, {" x ", "", 2, ""}};
  for (const auto& c : cases)
    EXPECT_EQ(SUBSTRING(c.s, c.sep, c.n), c.field) << "'" << c.s << "' by '" << c.sep << "' #" << c.n;
}

TEST(NumbersOnLine, CountsRunsEmptyFieldsAndStops) {
  struct { const char* line; int count; } cases[] = {
      {"1 2.5 -3e2", 3}, {"1,,2", 3}, {"1, \t,2", 3}, {",1", 1}, {",,1", 2}, {"1,", 1}, {"1e-5 1-2", 2},
      {"1\t2", 2}, {"1 2 ! note", 2}, {"# 1 2", 0}, {"1 2 x", -2}, {"+5", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(NUMBEROFNUMBERS(c.line), c.count) << "'" << c.line << "'";
}

TEST(DayNumbers, ConsecutiveAcrossMonthsAndYears) {
  EXPECT_EQ(NUMBEROFDAYS("20000101"), 1);
  EXPECT_EQ(NUMBEROFDAYS("19991231") + 1, NUMBEROFDAYS("20000101"));
  EXPECT_EQ(NUMBEROFDAYS("20240131") + 1, NUMBEROFDAYS("20240201"));
  EXPECT_EQ(NUMBEROFDAYS("20240228") + 1, NUMBEROFDAYS("20240301"));
  EXPECT_EQ(NUMBEROFDAYS("20241130") + 1, NUMBEROFDAYS("20241201"));
  EXPECT_EQ(NUMBEROFDAYS("20240230"), NUMBEROFDAYS("20240228"));
  EXPECT_EQ(NUMBEROFDAYS("202403  "), NUMBEROFDAYS("20240301") - 1);  // a blank day reads 0
  for (const char* date : {"2024ab01", "20241301", "20240001", "2024", "x0240101"})
    EXPECT_EQ(NUMBEROFDAYS(date), -1) << "'" << date << "'";
}

TEST(IntegerCheck, ReadsTheFirstValueInRange) {
  struct { const char* s; bool ok; std::int32_t value; } cases[] = {  // value -1: left as it was
      {"42", true, 42}, {" +42 ", true, 42}, {"-7,8", true, -7}, {"42 abc", true, 42}, {"4x", false, -1},
      {"4.0", false, -1}, {"  \t ", false, -1}, {",5", false, -1}, {"3000000000", false, -1}};
  for (const auto& c : cases) {
    std::int32_t v = -1, v4 = -1;
    EXPECT_EQ(CHECKINT(c.s, v), c.ok) << "'" << c.s << "'";
    EXPECT_EQ(v, c.value) << "'" << c.s << "'";
    EXPECT_EQ(CHECKINT4(c.s, v4), c.ok) << "'" << c.s << "'";
    EXPECT_EQ(v4, c.value) << "'" << c.s << "'";
  }
  std::int64_t v8 = -1;
  EXPECT_TRUE(CHECKINT8("3000000000", v8));
  EXPECT_EQ(v8, 3000000000LL);
  EXPECT_FALSE(CHECKINT8("9223372036854775808", v8));
  EXPECT_EQ(v8, 3000000000LL);
}

// Number reads at their limits: values too small for their type read as the
// nearest value with their sign, too large ones and doubled signs stay
// errors; day fields read inner blanks as zeros; LENSL leaves a text with
// nothing significant as it was.
TEST(NumberReads, TinyValuesSignsDayFieldsAndEmptyTexts) {
  struct Case {
    const char* text;
    bool ok;
    std::uint32_t floatBits;   // of the single-precision read
    std::uint64_t doubleBits;  // of the double-precision read
  } cases[] = {
      {"1e-50", true, 0x00000000u, std::bit_cast<std::uint64_t>(1e-50)},
      {"-1e-50", true, 0x80000000u, std::bit_cast<std::uint64_t>(-1e-50)},
      {"1e-400", true, 0x00000000u, 0x0000000000000000u},
      {"-1e-400", true, 0x80000000u, 0x8000000000000000u},
      {"-0.0000001d-99999999999", true, 0x80000000u, 0x8000000000000000u},
      {"0x1p-1100", true, 0x00000000u, 0x0000000000000000u},
      {"1e-40", true, 0x000116C2u, std::bit_cast<std::uint64_t>(1e-40)},  // a subnormal float
      {"4e-320", true, 0x00000000u, 0x0000000000001FA0u},                 // a subnormal double
      {"1e400", false, 0, 0},
      {"-0x1p+1100", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    float f = 7.0f;
    double d = 7.0;
    EXPECT_EQ(FreeReader(c.text).read(f) == ReadResult::Ok, c.ok);
    EXPECT_EQ(FreeReader(c.text).read(d) == ReadResult::Ok, c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(f), c.floatBits);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(d), c.doubleBits);
  }
  float f = 7.0f;
  EXPECT_FALSE(FreeReader("1e50").read(f) == ReadResult::Ok);  // too large for a float only
  EXPECT_TRUE(CSVVALUE("a,-1E-50,b", 2, f));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(f), 0x80000000u);
  EXPECT_FALSE(readFixedReal("1E99", f));

  for (const char* bad : {"+-5", "-+5", "++5", "--5"}) {
    std::int32_t v = 1;
    std::int64_t v8 = 1;
    EXPECT_FALSE(CHECKINT(bad, v)) << bad;
    EXPECT_FALSE(CHECKINT8(bad, v8)) << bad;
  }

  EXPECT_EQ(NUMBEROFDAYS("2024031 "), NUMBEROFDAYS("20240310"));
  EXPECT_EQ(NUMBEROFDAYS("20 40310"), NUMBEROFDAYS("20040310"));
  EXPECT_EQ(NUMBEROFDAYS(" 2040310"), NUMBEROFDAYS("02040310"));

  for (std::string text : {std::string(4, ' '), std::string(3, '\0'), std::string(" \0 ", 3)}) {
    const std::string before = text;
    EXPECT_EQ(LENSL(text), 0);
    EXPECT_EQ(text, before);
  }
}

}  // namespace
}  // namespace quenzel
