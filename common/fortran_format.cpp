#include "common/fortran_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace quenzel {
namespace {

void appendPadded(std::string& out, std::string_view body, int w) {
  if (w <= 0) return;
  if (static_cast<int>(body.size()) > w) {
    out.append(static_cast<std::size_t>(w), '*');
    return;
  }
  out.append(static_cast<std::size_t>(w) - body.size(), ' ');
  out.append(body);
}

// The digits of |value| rounded to d decimals, from the shortest text that
// reads back as the value (fast). While the value's spacing is below 10^-d,
// that text lies within half a unit of the d-th decimal of the value, and
// rounding it gives the same digits as rounding the exact binary value --
// unless the text is itself a tie at the (d+1)th decimal: a decimal between
// the value and its shortest text would be shorter still. Other values
// return false for the exact (slow) conversion.
bool roundedShortestDigits(char* buf, std::size_t cap, double magnitude, int d, std::size_t& n) {
  // 2^52 * 10^-d: spacing at most half of 10^-d below it.
  static constexpr double kLimit[] = {4503599627370496.0, 450359962737049.6, 45035996273704.96,
                                      4503599627370.496,  450359962737.0496,  45035996273.70496,
                                      4503599627.370496,  450359962.7370496,  45035996.27370496};
  if (d < 0 || d > 8 || !(magnitude < kLimit[d])) return false;
  char text[64];
  auto r = std::to_chars(text, text + sizeof(text), magnitude, std::chars_format::fixed);
  if (r.ec != std::errc()) return false;
  std::string_view all(text, static_cast<std::size_t>(r.ptr - text));
  const std::size_t point = all.find('.');
  std::string_view whole = all.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : all.substr(point + 1);
  const std::size_t decimals = static_cast<std::size_t>(d);
  if (whole.size() + 2 + decimals > cap) return false;
  bool roundUp = false;
  if (fraction.size() > decimals) {
    std::string_view rest = fraction.substr(decimals);
    if (rest == "5") return false;
    roundUp = rest[0] >= '5';
    fraction = fraction.substr(0, decimals);
  }
  // One leading slot for a carry out of the first digit.
  char* out = buf + 1;
  std::size_t k = 0;
  for (char c : whole) out[k++] = c;
  if (decimals > 0) {
    out[k++] = '.';
    for (std::size_t i = 0; i < decimals; ++i) out[k++] = i < fraction.size() ? fraction[i] : '0';
  }
  bool carry = roundUp;
  for (std::size_t i = k; carry && i-- > 0;) {
    if (out[i] == '.') continue;
    if (out[i] == '9') {
      out[i] = '0';
    } else {
      ++out[i];
      carry = false;
    }
  }
  if (carry) {
    buf[0] = '1';
    n = k + 1;
  } else {
    std::memmove(buf, out, k);
    n = k;
  }
  return true;
}

// Digits of |value| with d decimals into buf; returns the length.
std::size_t fixedDigits(char* buf, std::size_t cap, double magnitude, int d) {
  std::size_t n = 0;
  if (roundedShortestDigits(buf, cap, magnitude, d, n)) return n;
  auto r = std::to_chars(buf, buf + cap, magnitude, std::chars_format::fixed, d);
  return static_cast<std::size_t>(r.ptr - buf);
}

}  // namespace

void appendF(std::string& out, double value, int w, int d) {
  if (w <= 0) return;
  if (d < 0) d = 0;
  if (std::isnan(value)) {
    appendPadded(out, "NaN", w);
    return;
  }
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    std::string_view word = w >= 8 + (negative ? 1 : 0) ? "Infinity" : "Inf";
    std::string s = negative ? "-" : "";
    s += word;
    appendPadded(out, s, w);
    return;
  }
  // 310 integer digits at most for a double, plus decimals.
  char buf[400 + 64];
  char* p = buf + 1;
  std::size_t n = fixedDigits(p, sizeof(buf) - 2, std::fabs(value), d);
  std::size_t start = 1;
  if (d == 0) p[n++] = '.';
  if (negative) {
    buf[0] = '-';
    start = 0;
  }
  std::string_view body(buf + start, n + (1 - start));
  // The leading zero of a value below 1 is optional: drop it when it is the
  // only thing that does not fit.
  if (static_cast<int>(body.size()) > w && d > 0 && p[0] == '0' && p[1] == '.' &&
      static_cast<int>(body.size()) - 1 <= w) {
    if (negative) {
      p[0] = '-';
      body = std::string_view(p, n);
    } else {
      body = std::string_view(p + 1, n - 1);
    }
  }
  appendPadded(out, body, w);
}

std::string formatF(double value, int w, int d) {
  std::string s;
  appendF(s, value, w, d);
  return s;
}

std::string formatFFull(double value, int d) {
  std::string s;
  if (!std::isfinite(value)) {
    appendF(s, value, 9, d);
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
  }
  char buf[400 + 64];
  std::size_t n = fixedDigits(buf, sizeof(buf), std::fabs(value), d);
  if (std::signbit(value)) s.push_back('-');
  s.append(buf, n);
  if (d == 0) s.push_back('.');
  return s;
}

void appendI(std::string& out, std::int64_t value, int w) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof(buf), value);
  appendPadded(out, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), w);
}

std::string formatI(std::int64_t value, int w) {
  std::string s;
  appendI(s, value, w);
  return s;
}

std::string formatIm(std::int64_t value, int w, int m) {
  std::string s;
  if (m == 0 && value == 0) {
    s.assign(static_cast<std::size_t>(w > 0 ? w : 0), ' ');
    return s;
  }
  char buf[32];
  std::uint64_t mag = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  auto r = std::to_chars(buf, buf + sizeof(buf), mag);
  std::string digits(buf, static_cast<std::size_t>(r.ptr - buf));
  if (static_cast<int>(digits.size()) < m) digits.insert(0, static_cast<std::size_t>(m) - digits.size(), '0');
  if (value < 0) digits.insert(0, 1, '-');
  appendPadded(s, digits, w);
  return s;
}

std::string formatA(std::string_view text, int w) {
  if (w <= 0) return {};
  std::size_t uw = static_cast<std::size_t>(w);
  if (text.size() >= uw) return std::string(text.substr(0, uw));
  return std::string(uw - text.size(), ' ') + std::string(text);
}

std::string numberText(std::int64_t value) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof(buf), value);
  return std::string(buf, static_cast<std::size_t>(r.ptr - buf));
}

namespace {
// The field with its blanks removed (blanks in a numeric input field are
// ignored).
std::string withoutBlanks(std::string_view field) {
  std::string s;
  s.reserve(field.size());
  for (char c : field)
    if (c != ' ') s.push_back(c);
  return s;
}

template <class Int>
bool readFixedIntT(std::string_view field, Int& value) {
  std::string s = withoutBlanks(field);
  if (s.empty()) {
    value = 0;
    return true;
  }
  std::size_t i = 0;
  bool neg = false;
  if (s[0] == '+' || s[0] == '-') {
    neg = s[0] == '-';
    i = 1;
  }
  if (i == s.size()) return false;
  Int v = 0;
  // Accumulate negatively so the most negative value still reads.
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c < '0' || c > '9') return false;
    Int digit = static_cast<Int>(c - '0');
    if (v < (std::numeric_limits<Int>::min() + digit) / 10) return false;
    v = static_cast<Int>(v * 10 - digit);
  }
  if (!neg) {
    if (v == std::numeric_limits<Int>::min()) return false;
    v = static_cast<Int>(-v);
  }
  value = v;
  return true;
}

template <class Real>
bool readFixedRealT(std::string_view field, Real& value) {
  std::string s = withoutBlanks(field);
  if (s.empty()) {
    value = 0;
    return true;
  }
  // Mantissa: sign, digits, optional point and digits; exponent: E, D or Q
  // letter (either case) with an optional sign, or a bare sign.
  std::size_t i = 0;
  std::string text;
  if (s[i] == '+' || s[i] == '-') {
    if (s[i] == '-') text.push_back('-');
    ++i;
  }
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    text.push_back(s[i++]);
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    text.push_back(s[i++]);
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      text.push_back(s[i++]);
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < s.size()) {
    char c = s[i];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') ++i;
    else if (c != '+' && c != '-') return false;
    text.push_back('e');
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) text.push_back(s[i++]);
    std::size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      text.push_back(s[i++]);
      ++expDigits;
    }
    if (expDigits == 0 || i != s.size()) return false;
  }
  Real v{};
  auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}
}  // namespace

bool readFixedInt(std::string_view field, std::int32_t& value) { return readFixedIntT(field, value); }
bool readFixedInt(std::string_view field, std::int64_t& value) { return readFixedIntT(field, value); }
bool readFixedReal(std::string_view field, double& value) { return readFixedRealT(field, value); }
bool readFixedReal(std::string_view field, float& value) { return readFixedRealT(field, value); }

}  // namespace quenzel
