#include "common/free_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quenzel {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

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
  std::from_chars_result r{};
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    t.remove_prefix(2);
    // from_chars takes a sign of its own; after "0x" it is no number.
    if (!t.empty() && t[0] == '-') return false;
    r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::hex);
  } else {
    // Only digits, a point and an exponent may make a decimal number; this
    // keeps "inf", "nan" and from_chars' other spellings out. The text is
    // copied only for a "D" exponent, so the usual number costs no allocation.
    bool hasDigit = false;
    bool dExponent = false;
    for (char c : t) {
      if (c >= '0' && c <= '9') hasDigit = true;
      else if (c == 'd' || c == 'D') dExponent = true;
      else if (c != '.' && c != 'e' && c != 'E' && c != '+' && c != '-') return false;
    }
    if (!hasDigit) return false;
    std::string buf;
    if (dExponent) {
      buf.assign(t);
      for (char& c : buf)
        if (c == 'd' || c == 'D') c = 'e';
      t = buf;
    }
    r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return false;
    value = negative ? -v : v;
    return true;
  }
  if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

}  // namespace

bool parseReal(std::string_view token, double& value) { return parseRealT(token, value); }
bool parseReal(std::string_view token, float& value) { return parseRealT(token, value); }

bool parseInteger(std::string_view token, std::int64_t& value) {
  std::string_view t = token;
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  if (t.empty() || t[0] == '+') return false;
  std::int64_t v = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
  value = v;
  return true;
}

void FreeReader::skipSeparator() {
  while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  if (pos_ < text_.size() && text_[pos_] == ',') {
    ++pos_;
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  }
}

bool FreeReader::nextToken(std::string_view& token, bool& null, ReadResult& failure) {
  null = false;
  if (!afterValue_) {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  }
  if (pos_ >= text_.size()) {
    failure = ReadResult::End;
    return false;
  }
  if (text_[pos_] == ',') {
    // A comma where a value should start: an empty (null) value.
    ++pos_;
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    null = true;
    afterValue_ = true;
    return true;
  }
  std::size_t start = pos_;
  while (pos_ < text_.size() && !isSpace(text_[pos_]) && text_[pos_] != ',') ++pos_;
  token = text_.substr(start, pos_ - start);
  skipSeparator();
  afterValue_ = true;
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
    bool closed = false;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == q) {
        if (pos_ < text_.size() && text_[pos_] == q) {
          v.push_back(q);
          ++pos_;
          continue;
        }
        closed = true;
        break;
      }
      v.push_back(c);
    }
    // An unclosed quote runs to the end of the text, as the record ends there.
    (void)closed;
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
