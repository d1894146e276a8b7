#include "common/fortran_format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "common/free_format.h"

namespace quenzel {
namespace {

void appendPadded(std::string& out, std::string_view body, int w) {
  if (w <= 0) return;
  const auto width = static_cast<std::size_t>(w);
  if (body.size() > width) {
    out.append(width, '*');
    return;
  }
  // One growth of the text for the whole field: this is every coordinate's path.
  out.append(width, ' ');
  std::memcpy(out.data() + out.size() - body.size(), body.data(), body.size());
}

// The digits of |value| rounded to d decimals, computed exactly in integers:
// value = m * 2^-k, so value * 10^d = m * 10^d / 2^k, rounded to nearest with
// ties to even (as the library's exact conversion does). Covers every value
// below 2^53 with up to 8 decimals whose exponent keeps the product within
// 128 bits; others return false for the library's exact conversion.
bool exactScaledDigits(char* buf, std::size_t cap, double magnitude, int d, std::size_t& n) {
  static constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  if (d < 0 || d > 8 || !(magnitude < 9007199254740992.0)) return false;
  // magnitude = m * 2^-k exactly.
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t m = biased == 0 ? fraction : (fraction | (std::uint64_t{1} << 52));
  const int k = biased == 0 ? 1074 : 1075 - biased;
  unsigned __int128 q = static_cast<unsigned __int128>(m) * kPow10[d];
  if (k > 0) {
    if (k > 120) return false;
    const unsigned __int128 one = 1;
    const unsigned __int128 r = q & ((one << k) - 1);
    const unsigned __int128 half = one << (k - 1);
    q >>= k;
    if (r > half || (r == half && (q & 1) != 0)) ++q;
  }
  // The digits of q, two at a time from the right (q < 2^53 * 10^8 < 10^25:
  // two 64-bit halves at most), then the point put in front of the last d.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char tmp[48];
  char* const end = tmp + sizeof(tmp);
  char* p = end;
  auto put = [&](std::uint64_t v, char* stop) {
    while (v >= 100) {
      const std::uint64_t r = v % 100;
      v /= 100;
      p -= 2;
      std::memcpy(p, kPairs + 2 * r, 2);
    }
    if (v >= 10) {
      p -= 2;
      std::memcpy(p, kPairs + 2 * v, 2);
    } else if (v > 0 || p == end) {
      *--p = static_cast<char>('0' + v);
    }
    while (p > stop) *--p = '0';
  };
  if ((q >> 64) == 0) {
    put(static_cast<std::uint64_t>(q), end);
  } else {
    constexpr std::uint64_t kTen16 = 10000000000000000ULL;
    put(static_cast<std::uint64_t>(q % kTen16), end - 16);
    put(static_cast<std::uint64_t>(q / kTen16), p);
  }
  const std::size_t decimals = static_cast<std::size_t>(d);
  std::size_t nd = static_cast<std::size_t>(end - p);
  while (nd < decimals + 1) {
    *--p = '0';
    ++nd;
  }
  n = nd + (decimals > 0 ? 1 : 0);
  if (n > cap) return false;
  const std::size_t whole = nd - decimals;
  std::memcpy(buf, p, whole);
  if (decimals > 0) {
    buf[whole] = '.';
    std::memcpy(buf + whole + 1, p + whole, decimals);
  }
  return true;
}

// Digits of |value| with d decimals into buf; returns the length.
std::size_t fixedDigits(char* buf, std::size_t cap, double magnitude, int d) {
  std::size_t n = 0;
  if (exactScaledDigits(buf, cap, magnitude, d, n)) return n;
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

void appendFOrFull(std::string& out, double value, int w, int d) {
  const std::size_t start = out.size();
  appendF(out, value, w, d);
  if (out.size() == start || out[start] != '*') return;
  out.resize(start);
  out += formatFFull(value, d);
}

void appendFSeparated(std::string& out, double value, int w, int d) {
  const std::size_t start = out.size();
  appendFOrFull(out, value, w, d);
  if (out.size() > start && out[start] != ' ') out.insert(start, 1, ' ');
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

// The field with its leading blanks removed and every other blank read as a
// zero, as a numeric input field under BZ reads.
std::string blanksAsZeros(std::string_view field) {
  std::string s(field.substr(std::min(field.size(), field.find_first_not_of(' '))));
  for (char& c : s)
    if (c == ' ') c = '0';
  return s;
}

template <class Int>
bool readFixedIntT(std::string_view field, Int& value, bool zeros) {
  std::string s = zeros ? blanksAsZeros(field) : withoutBlanks(field);
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
  // The one number conversion of the free-format read, with its handling of
  // values too small for the type.
  Real v{};
  if (!parseReal(text, v)) return false;
  value = v;
  return true;
}
}  // namespace

bool readFixedInt(std::string_view field, std::int32_t& value, bool zeros) {
  return readFixedIntT(field, value, zeros);
}
bool readFixedInt(std::string_view field, std::int64_t& value, bool zeros) {
  return readFixedIntT(field, value, zeros);
}
bool readFixedReal(std::string_view field, double& value) { return readFixedRealT(field, value); }
bool readFixedReal(std::string_view field, float& value) { return readFixedRealT(field, value); }

}  // namespace quenzel
