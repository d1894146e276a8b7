#include "common/numbers.h"

#include <algorithm>
#include <cmath>

#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/text_core.h"

namespace quenzel {
namespace {

// Width of the work field every number text is written into.
constexpr int kNumberWidth = 20;

std::string leftJustified(std::string_view field) { return std::string(trimBoth(field)); }

// Trailing zeros of a fixed-point text go; its point stays, so "2.000" gives
// "2.". Asterisks and the names of non-finite values hold no point.
std::string withoutTrailingZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (!text.empty() && text.back() == '0') text.pop_back();
  return text;
}

std::string zeroPadded(std::int64_t i, std::int32_t ndigits) {
  if (i < 0 || ndigits <= 0) return numberText(i);
  return leftJustified(formatIm(i, kNumberWidth, std::min(ndigits, kNumberWidth)));
}

// The first position p (0-based, within the significant text of s) where sep
// starts, searching from `from`; sep's trailing blanks may run into the
// padding behind s. npos when there is none or sep is empty.
std::size_t findSeparator(std::string_view s, std::string_view sep, std::size_t from) {
  if (sep.empty()) return std::string_view::npos;
  return findWithPadding(s, sep, from, significantLength(s));
}

bool isNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E'; }

template <class Int>
bool checkInt(std::string_view s, Int& ival) {
  // A text that starts with a comma holds an empty value: the read would
  // succeed without giving a number.
  std::size_t k = 0;
  while (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
  if (k < s.size() && s[k] == ',') return false;
  FreeReader reader(s);
  return reader.read(ival) == ReadResult::Ok;
}

}  // namespace

std::string AINTEGER(std::int32_t i) { return numberText(i); }

std::string AINTEGER8(std::int64_t i) { return numberText(i); }

std::string AINTEGERPREC0(std::int32_t i, std::int32_t ndigits) { return zeroPadded(i, ndigits); }

std::string AINTEGER8PREC0(std::int64_t i, std::int32_t ndigits) { return zeroPadded(i, ndigits); }

std::string AREAL(float x) {
  // The magnitude is judged in single precision, as the value is held.
  const float a = std::fabs(x);
  const int d = a < 0.01f   ? 6
                : a < 0.1f  ? 5
                : a < 1.0f  ? 4
                : a < 10.0f ? 3
                : a < 100.0f ? 2
                : a < 1000.0f ? 1
                              : 0;
  return leftJustified(withoutTrailingZeros(formatF(x, kNumberWidth, d)));
}

std::string AREAL8(double x) {
  // Ten decimals below 1, one fewer for each further power of ten, none from
  // 1e9 on.
  static constexpr double kLimits[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double a = std::fabs(x);
  int d = 0;
  for (int k = 0; k < 10; ++k) {
    if (a < kLimits[k]) {
      d = 10 - k;
      break;
    }
  }
  return leftJustified(withoutTrailingZeros(formatF(x, kNumberWidth, d)));
}

std::string AREALD(float x, std::int32_t ndec) { return leftJustified(formatF(x, kNumberWidth, ndec)); }

std::string AREALDB(float x, std::int32_t ndec) { return AREALD(x, ndec); }

std::string AREALD8(double x, std::int32_t ndec) { return leftJustified(formatF(x, kNumberWidth, ndec)); }

std::int32_t NUMBEROFSUBSTRINGS(std::string& s, std::string_view sep) {
  std::erase(s, '\t');
  if (isAllBlank(s)) return 0;
  std::int32_t count = 1;
  for (std::size_t p = findSeparator(s, sep, 0); p != std::string_view::npos; p = findSeparator(s, sep, p + 1))
    ++count;
  return count;
}

std::string SUBSTRING(std::string_view s, std::string_view sep, std::int32_t n) {
  if (n < 1) return {};
  std::size_t start = 0;
  for (std::int32_t k = 1; k < n; ++k) {
    std::size_t p = findSeparator(s, sep, start);
    if (p == std::string_view::npos) return {};
    start = p + sep.size();
  }
  std::size_t stop = findSeparator(s, sep, start);
  if (stop == std::string_view::npos) stop = std::max(significantLength(s), start);
  std::string_view field = s.substr(std::min(start, s.size()), stop - start);
  return leftJustified(field.substr(0, kLongWorkWidth));
}

std::int32_t NUMBEROFNUMBERS(std::string_view line) {
  const std::size_t end = significantLength(line);
  std::int32_t count = 0;
  bool inNumber = false;
  bool afterComma = false;  // only blanks or tabs since the last comma
  for (std::size_t k = 0; k < end; ++k) {
    const char c = line[k];
    if (isNumberChar(c)) {
      if (!inNumber) ++count;
      inNumber = true;
      afterComma = false;
    } else if (c == ' ' || c == '\t') {
      inNumber = false;
    } else if (c == ',') {
      if (afterComma) ++count;  // an empty field between two commas
      inNumber = false;
      afterComma = true;
    } else if (c == '!' || c == '#') {
      return count;
    } else {
      return -count;
    }
  }
  return count;
}

std::int32_t NUMBEROFDAYS(std::string_view date) {
  // Days before each month in a year of 365 days.
  static constexpr std::int32_t kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  std::int32_t year = 0, month = 0, day = 0;
  // Blanks inside a field read as zeros: "2024031 " is the tenth of March.
  if (!readFixedInt(slice(date, 1, 4), year, true) || !readFixedInt(slice(date, 5, 6), month, true) ||
      !readFixedInt(slice(date, 7, 8), day, true))
    return -1;
  if (month < 1 || month > 12) return -1;
  if (month == 2) day = std::min(day, 28);
  return year * 365 + kDaysBefore[month - 1] + day - 730000;
}

bool CHECKINT(std::string_view s, std::int32_t& ival) { return checkInt(s, ival); }

bool CHECKINT4(std::string_view s, std::int32_t& ival) { return checkInt(s, ival); }

bool CHECKINT8(std::string_view s, std::int64_t& ival) { return checkInt(s, ival); }

}  // namespace quenzel
