// Exported entry points of the keyword value extraction (arguments by
// reference, a text result in a caller buffer given first, text lengths
// trailing).
#include <cstdint>
#include <string>

#include "common/exports_abi.h"
#include "common/keywords.h"

using quenzel::FLen;
using quenzel::fromFortran;
using quenzel::toFortran;

extern "C" {

QZ_EXPORT void EXTRACTSTRING(char* result, FLen resultLen, const char* line, const char* lline, const char* keyword,
                             const std::int32_t* n, FLen lineLen, FLen llineLen, FLen keywordLen) {
  toFortran(result, resultLen,
            quenzel::EXTRACTSTRING(fromFortran(line, lineLen), fromFortran(lline, llineLen),
                                   fromFortran(keyword, keywordLen), *n));
}

QZ_EXPORT void EXTRACTSTRINGREM(char* result, FLen resultLen, const char* line, const char* lline,
                                const char* keyword, const std::int32_t* n, FLen lineLen, FLen llineLen,
                                FLen keywordLen) {
  toFortran(result, resultLen,
            quenzel::EXTRACTSTRINGREM(fromFortran(line, lineLen), fromFortran(lline, llineLen),
                                      fromFortran(keyword, keywordLen), *n));
}

QZ_EXPORT std::int32_t EXTRACTINTEGER(const char* line, const char* lline, const char* keyword,
                                      const std::int32_t* n, const std::int32_t* defaultValue, FLen lineLen,
                                      FLen llineLen, FLen keywordLen) {
  return quenzel::EXTRACTINTEGER(fromFortran(line, lineLen), fromFortran(lline, llineLen),
                                 fromFortran(keyword, keywordLen), *n, *defaultValue);
}

QZ_EXPORT float EXTRACTREAL(const char* line, const char* lline, const char* keyword, const std::int32_t* n,
                            const float* defaultValue, FLen lineLen, FLen llineLen, FLen keywordLen) {
  return quenzel::EXTRACTREAL(fromFortran(line, lineLen), fromFortran(lline, llineLen),
                              fromFortran(keyword, keywordLen), *n, *defaultValue);
}

QZ_EXPORT void FIRSTWORD(char* result, FLen resultLen, char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::withTextInOut(s, sLen, quenzel::FIRSTWORD));
}

}
