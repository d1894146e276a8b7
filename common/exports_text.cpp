// Exported entry points of the text routines (arguments by reference, text
// lengths trailing; a text result goes into the caller's buffer given first).
#include <cstdint>
#include <string>

#include "common/exports_abi.h"
#include "common/text.h"

using quenzel::FFlag;
using quenzel::FLen;
using quenzel::flag;
using quenzel::fromFortran;
using quenzel::toFortran;

namespace {

// A text argument that the routine writes back into the caller's buffer.
struct InOut {
  char* text;
  FLen len;
  std::string value;
  InOut(char* t, FLen l) : text(t), len(l), value(fromFortran(t, l)) {}
  void writeBack() const { toFortran(text, len, value); }
};

std::size_t width(FLen len) { return len > 0 ? static_cast<std::size_t>(len) : 0; }

}  // namespace

extern "C" {

QZ_EXPORT void TRIMF(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::TRIMF(fromFortran(s, sLen)));
}

QZ_EXPORT void SS256(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::SS256(fromFortran(s, sLen)));
}

QZ_EXPORT void REMOVEQUOTES(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::REMOVEQUOTES(fromFortran(s, sLen)));
}

QZ_EXPORT void REMOVETABS(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::REMOVETABS(fromFortran(s, sLen)));
}

QZ_EXPORT void REMOVESPACES(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::REMOVESPACES(fromFortran(s, sLen)));
}

QZ_EXPORT void DOUBLEQUOTE(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::DOUBLEQUOTE(fromFortran(s, sLen), width(resultLen)));
}

QZ_EXPORT void UPPERCASE(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::UPPERCASE(fromFortran(s, sLen)));
}

QZ_EXPORT void LOWERCASE(char* result, FLen resultLen, const char* s, FLen sLen) {
  toFortran(result, resultLen, quenzel::LOWERCASE(fromFortran(s, sLen)));
}

QZ_EXPORT void ALPHANUMERICONLY(char* result, FLen resultLen, const char* s, const char* repl, FLen sLen,
                                FLen replLen) {
  char r = replLen > 0 ? repl[0] : ' ';
  toFortran(result, resultLen, quenzel::ALPHANUMERICONLY(fromFortran(s, sLen), r));
}

QZ_EXPORT void CLEANATTRIBUTENAME(char* result, FLen resultLen, const char* name, FLen nameLen) {
  toFortran(result, resultLen, quenzel::CLEANATTRIBUTENAME(fromFortran(name, nameLen)));
}

QZ_EXPORT void REPLACE(char* result, FLen resultLen, const char* s, const char* oldText, const char* newText,
                       FLen sLen, FLen oldLen, FLen newLen) {
  toFortran(result, resultLen,
            quenzel::REPLACE(fromFortran(s, sLen), fromFortran(oldText, oldLen), fromFortran(newText, newLen)));
}

QZ_EXPORT void REPLACEALL(char* result, FLen resultLen, const char* s, const char* oldText,
                          const char* newText, FLen sLen, FLen oldLen, FLen newLen) {
  toFortran(result, resultLen,
            quenzel::REPLACEALL(fromFortran(s, sLen), fromFortran(oldText, oldLen), fromFortran(newText, newLen),
                                width(resultLen)));
}

QZ_EXPORT FFlag BLANK(char* s, FLen sLen) {
  InOut arg(s, sLen);
  bool r = quenzel::BLANK(arg.value);
  arg.writeBack();
  return flag(r);
}

QZ_EXPORT FFlag ASAME(const char* a, const char* b, FLen aLen, FLen bLen) {
  return flag(quenzel::ASAME(fromFortran(a, aLen), fromFortran(b, bLen)));
}

QZ_EXPORT FFlag ASAMECS(const char* a, const char* b, FLen aLen, FLen bLen) {
  return flag(quenzel::ASAMECS(fromFortran(a, aLen), fromFortran(b, bLen)));
}

QZ_EXPORT FFlag FLAGEXISTS(const char* line, const char* flagText, FLen lineLen, FLen flagLen) {
  return flag(quenzel::FLAGEXISTS(fromFortran(line, lineLen), fromFortran(flagText, flagLen)));
}

QZ_EXPORT FFlag FLAGEXISTSRET(const char* line, const char* flagText, char* rest, FLen lineLen, FLen flagLen,
                              FLen restLen) {
  std::string r;
  bool found = quenzel::FLAGEXISTSRET(fromFortran(line, lineLen), fromFortran(flagText, flagLen), r);
  toFortran(rest, restLen, r);
  return flag(found);
}

QZ_EXPORT FFlag READGIS(const char* line, const char* key, FLen lineLen, FLen keyLen) {
  return flag(quenzel::READGIS(fromFortran(line, lineLen), fromFortran(key, keyLen)));
}

QZ_EXPORT FFlag WRITEGIS(const char* line, const char* key, FLen lineLen, FLen keyLen) {
  return flag(quenzel::WRITEGIS(fromFortran(line, lineLen), fromFortran(key, keyLen)));
}

QZ_EXPORT FFlag READROWCOL(const char* line, const char* key, FLen lineLen, FLen keyLen) {
  return flag(quenzel::READROWCOL(fromFortran(line, lineLen), fromFortran(key, keyLen)));
}

QZ_EXPORT FFlag COMMENTLINE(char* line, FLen lineLen) {
  InOut arg(line, lineLen);
  bool r = quenzel::COMMENTLINE(arg.value);
  arg.writeBack();
  return flag(r);
}

QZ_EXPORT FFlag NUMBERLINE(char* line, FLen lineLen) {
  InOut arg(line, lineLen);
  bool r = quenzel::NUMBERLINE(arg.value);
  arg.writeBack();
  return flag(r);
}

QZ_EXPORT FFlag POSITIVEINTEGERNUMBER(char* s, FLen sLen) {
  InOut arg(s, sLen);
  bool r = quenzel::POSITIVEINTEGERNUMBER(arg.value);
  arg.writeBack();
  return flag(r);
}

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
