// Exported entry points of the text routines (arguments by reference, text
// lengths trailing; a text result goes into the caller's buffer given first).
#include <cstdint>
#include <string>

#include "common/exports_abi.h"
#include "common/text.h"

using quenzel::extent;
using quenzel::FFlag;
using quenzel::FLen;
using quenzel::flag;
using quenzel::fromFortran;
using quenzel::toFortran;

extern "C" {

QZ_EXPORT_TEXT_TO_TEXT(TRIMF)
QZ_EXPORT_TEXT_TO_TEXT(SS256)
QZ_EXPORT_TEXT_TO_TEXT(REMOVEQUOTES)
QZ_EXPORT_TEXT_TO_TEXT(REMOVETABS)
QZ_EXPORT_TEXT_TO_TEXT(REMOVESPACES)

QZ_EXPORT void DOUBLEQUOTE(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::DOUBLEQUOTE(fromFortran(s, sLen), extent(resultLen)));
}

QZ_EXPORT_TEXT_TO_TEXT(UPPERCASE)
QZ_EXPORT_TEXT_TO_TEXT(LOWERCASE)

QZ_EXPORT void ALPHANUMERICONLY(char* result, FLen resultLen, const char* s, const char* repl, FLen sLen,
                                FLen replLen) {
  char r = replLen > 0 ? repl[0] : ' ';
  toFortran(result, resultLen, quenzel::ALPHANUMERICONLY(fromFortran(s, sLen), r));
}

QZ_EXPORT_TEXT_TO_TEXT(CLEANATTRIBUTENAME)

QZ_EXPORT void REPLACE(char* result, FLen resultLen, const char* s, const char* oldText, const char* newText,
                       FLen sLen, FLen oldLen, FLen newLen) {
  toFortran(result, resultLen,
            quenzel::REPLACE(fromFortran(s, sLen), fromFortran(oldText, oldLen), fromFortran(newText, newLen)));
}

QZ_EXPORT void REPLACEALL(char* result, FLen resultLen, const char* s, const char* oldText,
                          const char* newText, FLen sLen, FLen oldLen, FLen newLen) {
  toFortran(result, resultLen,
            quenzel::REPLACEALL(fromFortran(s, sLen), fromFortran(oldText, oldLen), fromFortran(newText, newLen),
                                extent(resultLen)));
}

QZ_EXPORT_TEXT_TEST_IN_OUT(BLANK)
QZ_EXPORT_TEXTS_TO_FLAG(ASAME)
QZ_EXPORT_TEXTS_TO_FLAG(ASAMECS)
QZ_EXPORT_TEXTS_TO_FLAG(FLAGEXISTS)

QZ_EXPORT FFlag FLAGEXISTSRET(const char* line, const char* flagText, char* rest, FLen lineLen, FLen flagLen,
                              FLen restLen) {
  std::string r;
  bool found = quenzel::FLAGEXISTSRET(fromFortran(line, lineLen), fromFortran(flagText, flagLen), r);
  toFortran(rest, restLen, r);
  return flag(found);
}

QZ_EXPORT_TEXTS_TO_FLAG(READGIS)
QZ_EXPORT_TEXTS_TO_FLAG(WRITEGIS)
QZ_EXPORT_TEXTS_TO_FLAG(READROWCOL)
QZ_EXPORT_TEXT_TEST_IN_OUT(COMMENTLINE)
QZ_EXPORT_TEXT_TEST_IN_OUT(NUMBERLINE)
QZ_EXPORT_TEXT_TEST_IN_OUT(POSITIVEINTEGERNUMBER)

QZ_EXPORT FFlag CHECKLINE(const char* line, const char* flagText, const char* sep, const std::int32_t* ipos,
                          char* value, char* command, FLen lineLen, FLen flagLen, FLen sepLen, FLen valueLen,
                          FLen commandLen) {
  std::string v, c;
  bool r = quenzel::CHECKLINE(fromFortran(line, lineLen), fromFortran(flagText, flagLen), fromFortran(sep, sepLen),
                              *ipos, v, c);
  toFortran(value, valueLen, v);
  toFortran(command, commandLen, c);
  return flag(r);
}

QZ_EXPORT std::int32_t CSVCOLUMN(const char* header, const char* name, const std::int32_t* defaultColumn,
                                 FLen headerLen, FLen nameLen) {
  return quenzel::CSVCOLUMN(fromFortran(header, headerLen), fromFortran(name, nameLen), *defaultColumn);
}

QZ_EXPORT FFlag CSVVALUE(const char* line, const std::int32_t* col, float* value, FLen lineLen) {
  return flag(quenzel::CSVVALUE(fromFortran(line, lineLen), *col, *value));
}

}
