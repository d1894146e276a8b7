// Exported entry points of the number texts, field counting and integer
// checks (the calling convention of the shared library: arguments by
// reference, a text result in a caller buffer given first, text lengths
// trailing).
#include <cstdint>
#include <string>

#include "common/exports_abi.h"
#include "common/numbers.h"

using quenzel::FFlag;
using quenzel::FLen;
using quenzel::fromFortran;
using quenzel::toFortran;

extern "C" {

QZ_EXPORT void AINTEGER(char* result, FLen resultLen, const std::int32_t* i) {
  toFortran(result, resultLen, quenzel::AINTEGER(*i));
}

QZ_EXPORT void AINTEGER8(char* result, FLen resultLen, const std::int64_t* i) {
  toFortran(result, resultLen, quenzel::AINTEGER8(*i));
}

QZ_EXPORT void AINTEGERPREC0(char* result, FLen resultLen, const std::int32_t* i, const std::int32_t* ndigits) {
  toFortran(result, resultLen, quenzel::AINTEGERPREC0(*i, *ndigits));
}

QZ_EXPORT void AINTEGER8PREC0(char* result, FLen resultLen, const std::int64_t* i, const std::int32_t* ndigits) {
  toFortran(result, resultLen, quenzel::AINTEGER8PREC0(*i, *ndigits));
}

QZ_EXPORT void AREAL(char* result, FLen resultLen, const float* x) {
  toFortran(result, resultLen, quenzel::AREAL(*x));
}

QZ_EXPORT void AREAL8(char* result, FLen resultLen, const double* x) {
  toFortran(result, resultLen, quenzel::AREAL8(*x));
}

QZ_EXPORT void AREALD(char* result, FLen resultLen, const float* x, const std::int32_t* ndec) {
  toFortran(result, resultLen, quenzel::AREALD(*x, *ndec));
}

QZ_EXPORT void AREALD8(char* result, FLen resultLen, const double* x, const std::int32_t* ndec) {
  toFortran(result, resultLen, quenzel::AREALD8(*x, *ndec));
}

QZ_EXPORT std::int32_t NUMBEROFSUBSTRINGS(char* s, const char* sep, FLen sLen, FLen sepLen) {
  return quenzel::withTextInOut(
      s, sLen, [&](std::string& text) { return quenzel::NUMBEROFSUBSTRINGS(text, fromFortran(sep, sepLen)); });
}

QZ_EXPORT void SUBSTRING(char* result, FLen resultLen, const char* s, const char* sep, const std::int32_t* n,
                         FLen sLen, FLen sepLen) {
  toFortran(result, resultLen, quenzel::SUBSTRING(fromFortran(s, sLen), fromFortran(sep, sepLen), *n));
}

QZ_EXPORT std::int32_t NUMBEROFNUMBERS(const char* line, FLen lineLen) {
  return quenzel::NUMBEROFNUMBERS(fromFortran(line, lineLen));
}

QZ_EXPORT std::int32_t NUMBEROFDAYS(const char* date, FLen dateLen) {
  // A date buffer shorter than eight characters ends before the day is read.
  if (dateLen < 8) return -1;
  return quenzel::NUMBEROFDAYS(fromFortran(date, dateLen));
}

QZ_EXPORT FFlag CHECKINT(const char* s, std::int32_t* ival, FLen sLen) {
  return quenzel::flag(quenzel::CHECKINT(fromFortran(s, sLen), *ival));
}

QZ_EXPORT FFlag CHECKINT4(const char* s, std::int32_t* ival, FLen sLen) {
  return quenzel::flag(quenzel::CHECKINT4(fromFortran(s, sLen), *ival));
}

QZ_EXPORT FFlag CHECKINT8(const char* s, std::int64_t* ival, FLen sLen) {
  return quenzel::flag(quenzel::CHECKINT8(fromFortran(s, sLen), *ival));
}

}
