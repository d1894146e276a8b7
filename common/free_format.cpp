#include "common/free_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <system_error>

namespace quenzel {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

// Plain decimals ("-512345.678901") whose digits form an integer that the
// type holds exactly, scaled by an exactly held power of ten: one correctly
// rounded division gives the correctly rounded value. False for anything
// else (the library's conversion decides those).
template <class Real>
bool parsePlainDecimal(std::string_view t, Real& value) {
  constexpr int kMantissaBits = std::numeric_limits<Real>::digits;
  constexpr std::uint64_t kExactLimit = std::uint64_t{1} << kMantissaBits;
  constexpr int kMaxPower = std::is_same_v<Real, float> ? 10 : 22;
  std::uint64_t digits = 0;
  int decimals = 0;
  bool point = false;
  bool any = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (digits >= kExactLimit) return false;
      if (point) ++decimals;
      any = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!any || decimals > kMaxPower) return false;
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  value = static_cast<Real>(digits) / static_cast<Real>(kPow10[decimals]);
  return true;
}

// The decimal (or, for hexadecimal, binary) order of magnitude of a number
// text without its sign, saturated: below zero means below one. Only asked
// of texts the library found out of range, so the order is far from zero
// and the digits of the leading figure do not matter.
std::int64_t orderOfMagnitude(std::string_view t, bool hex) {
  const auto isDigit = [hex](char c) {
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
  };
  constexpr std::int64_t kLimit = std::int64_t{1} << 40;
  std::size_t k = 0;
  std::int64_t whole = 0;     // figures before the point from the first non-zero one
  std::int64_t zeros = 0;     // zeros after the point before the first non-zero figure
  bool seen = false;
  for (; k < t.size() && isDigit(t[k]); ++k) {
    if (t[k] != '0') seen = true;
    if (seen && whole < kLimit) ++whole;
  }
  if (k < t.size() && t[k] == '.') {
    for (++k; k < t.size() && isDigit(t[k]); ++k) {
      if (t[k] != '0') seen = true;
      if (!seen && whole == 0 && zeros < kLimit) ++zeros;
    }
  }
  std::int64_t order = whole > 0 ? whole - 1 : -zeros - 1;
  if (hex) order *= 4;
  if (k < t.size()) ++k;  // the exponent letter
  bool negative = false;
  if (k < t.size() && (t[k] == '+' || t[k] == '-')) negative = t[k++] == '-';
  std::int64_t exponent = 0;
  for (; k < t.size() && t[k] >= '0' && t[k] <= '9'; ++k)
    if (exponent < kLimit) exponent = exponent * 10 + (t[k] - '0');
  return order + (negative ? -exponent : exponent);
}

// from_chars over the whole of [first, last). A value too small for the
// type reads as zero (the library has already given every subnormal); one
// too large stays an error.
template <class Real>
bool convertWhole(const char* first, const char* last, Real& v, std::chars_format format) {
  const auto r = std::from_chars(first, last, v, format);
  if (r.ptr != last) return false;
  if (r.ec == std::errc::result_out_of_range &&
      orderOfMagnitude(std::string_view(first, static_cast<std::size_t>(last - first)),
                       format == std::chars_format::hex) < 0) {
    v = Real(0);
    return true;
  }
  return r.ec == std::errc() && std::isfinite(v);
}

template <class Real>
bool parseRealT(std::string_view token, Real& value) {
  std::string_view t = token;
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || t[0] == '+' || t[0] == '-') return false;
  Real v{};
  const char* const end = t.data() + t.size();
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    t.remove_prefix(2);
    // from_chars takes a sign of its own; after "0x" it is no number.
    if (!t.empty() && t[0] == '-') return false;
    if (!convertWhole(t.data(), end, v, std::chars_format::hex)) return false;
  } else {
    // A decimal number starts with a digit or its point; this keeps "inf",
    // "nan" and from_chars' other spellings out.
    if (!((t[0] >= '0' && t[0] <= '9') || t[0] == '.')) return false;
    if (!parsePlainDecimal(t, v) && !convertWhole(t.data(), end, v, std::chars_format::general)) {
      // A Fortran "D" exponent: read the number again with an "E".
      const std::size_t d = t.find_first_of("dD");
      if (d == std::string_view::npos) return false;
      std::string buf(t);
      buf[d] = 'e';
      if (!convertWhole(buf.data(), buf.data() + buf.size(), v, std::chars_format::general)) return false;
    }
  }
  value = negative ? -v : v;
  return true;
}

}  // namespace

bool parseReal(std::string_view token, double& value) { return parseRealT(token, value); }
bool parseReal(std::string_view token, float& value) { return parseRealT(token, value); }

bool parseInteger(std::string_view token, std::int64_t& value) {
  std::string_view t = token;
  // One sign at most: from_chars takes a "-" of its own, so none may follow a "+".
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  if (t.empty() || t[0] == '+' || (t.size() < token.size() && t[0] == '-')) return false;
  std::int64_t v = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
  value = v;
  return true;
}

namespace {
const char* skipSpaces(const char* p, const char* end) {
  while (p != end && isSpace(*p)) ++p;
  return p;
}
}  // namespace

void FreeReader::skipSeparator() {
  const char* const begin = text_.data();
  const char* const end = begin + text_.size();
  const char* p = skipSpaces(begin + pos_, end);
  if (p != end && *p == ',') p = skipSpaces(p + 1, end);
  pos_ = static_cast<std::size_t>(p - begin);
}

bool FreeReader::nextToken(std::string_view& token, bool& null, ReadResult& failure) {
  // Every vertex of a large file passes here: walk with local pointers.
  const char* const begin = text_.data();
  const char* const end = begin + text_.size();
  const char* p = begin + pos_;
  null = false;
  if (!afterValue_) p = skipSpaces(p, end);
  if (p == end) {
    pos_ = text_.size();
    failure = ReadResult::End;
    return false;
  }
  afterValue_ = true;
  if (*p == ',') {
    // A comma where a value should start: an empty (null) value.
    pos_ = static_cast<std::size_t>(skipSpaces(p + 1, end) - begin);
    null = true;
    return true;
  }
  const char* start = p;
  while (p != end && !isSpace(*p) && *p != ',') ++p;
  token = std::string_view(start, static_cast<std::size_t>(p - start));
  p = skipSpaces(p, end);
  if (p != end && *p == ',') p = skipSpaces(p + 1, end);
  pos_ = static_cast<std::size_t>(p - begin);
  return true;
}

template <class Real>
ReadResult FreeReader::readReal(Real& value) {
  std::string_view token;
  bool null = false;
  ReadResult failure{};
  if (!nextToken(token, null, failure)) return failure;
  if (null) return ReadResult::Ok;
  Real v{};
  if (!parseReal(token, v)) return ReadResult::Error;
  value = v;
  return ReadResult::Ok;
}

ReadResult FreeReader::read(double& value) { return readReal(value); }
ReadResult FreeReader::read(float& value) { return readReal(value); }

ReadResult FreeReader::read(std::int64_t& value) {
  std::string_view token;
  bool null = false;
  ReadResult failure{};
  if (!nextToken(token, null, failure)) return failure;
  if (null) return ReadResult::Ok;
  std::int64_t v = 0;
  if (!parseInteger(token, v)) return ReadResult::Error;
  value = v;
  return ReadResult::Ok;
}

ReadResult FreeReader::read(std::int32_t& value) {
  std::int64_t v = value;
  ReadResult r = read(v);
  if (r != ReadResult::Ok) return r;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    return ReadResult::Error;
  value = static_cast<std::int32_t>(v);
  return ReadResult::Ok;
}

ReadResult FreeReader::read(std::string& value) {
  if (!afterValue_) {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  }
  if (pos_ >= text_.size()) return ReadResult::End;
  char q = text_[pos_];
  if (q == '"' || q == '\'') {
    std::string v;
    ++pos_;
    // An unclosed quote runs to the end of the text, as the record ends there.
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == q) {
        if (pos_ >= text_.size() || text_[pos_] != q) break;
        ++pos_;  // a doubled quote is one quote
      }
      v.push_back(c);
    }
    value = std::move(v);
    skipSeparator();
    afterValue_ = true;
    return ReadResult::Ok;
  }
  std::string_view token;
  bool null = false;
  ReadResult failure{};
  if (!nextToken(token, null, failure)) return failure;
  if (!null) value = std::string(token);
  return ReadResult::Ok;
}

}  // namespace quenzel
