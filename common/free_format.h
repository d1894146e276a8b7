#pragma once
// The free-format read: values in order from a text, separated by blanks (or
// tabs) or by a comma with optional blanks around it; a text value may be
// quoted with ' or " (it then keeps blanks and commas, and a doubled quote is
// one quote). Numbers are read in the C locale; exponents and hexadecimal
// floats are numbers, "inf" and "nan" are not.
#include <cstdint>
#include <string>
#include <string_view>

namespace quenzel {

enum class ReadResult {
  Ok,     // the value was read (or was a null value: left unchanged)
  End,    // the text ended before the value
  Error,  // the value could not be converted
};

class FreeReader {
 public:
  explicit FreeReader(std::string_view text) : text_(text) {}

  ReadResult read(double& value);
  ReadResult read(float& value);
  ReadResult read(std::int32_t& value);
  ReadResult read(std::int64_t& value);
  ReadResult read(std::string& value);

  // Reads every argument in order; the first failure is the result.
  template <class... T>
  ReadResult readAll(T&... values) {
    ReadResult r = ReadResult::Ok;
    ((r == ReadResult::Ok ? (r = read(values), 0) : 0), ...);
    return r;
  }

  // The part of the text not consumed yet.
  std::string_view rest() const { return text_.substr(pos_); }

 private:
  // Finds the next value: false with End when none is left; sets `null` for
  // an empty value between two commas.
  bool nextToken(std::string_view& token, bool& null, ReadResult& failure);
  void skipSeparator();
  template <class Real>
  ReadResult readReal(Real& value);

  std::string_view text_;
  std::size_t pos_ = 0;
  bool afterValue_ = false;
};

// One number token in full: false when the token is not a finite number or
// converts only in part. Hexadecimal floats ("-0x1.8p+16") and a leading "+"
// are accepted.
bool parseReal(std::string_view token, double& value);
bool parseReal(std::string_view token, float& value);
bool parseInteger(std::string_view token, std::int64_t& value);

}  // namespace quenzel
