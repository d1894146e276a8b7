// Exported entry points of the path routines (arguments by reference, text
// lengths trailing; a text result goes into the caller's buffer given first).
#include <string>

#include "common/exports_abi.h"
#include "common/paths.h"

using quenzel::FFlag;
using quenzel::FLen;
using quenzel::fromFortran;
using quenzel::toFortran;

#define QZ_PATH_EXPORT(NAME)                                                              \
  QZ_EXPORT void NAME(char* result, FLen resultLen, const char* path, FLen pathLen) {     \
    toFortran(result, resultLen, quenzel::NAME(fromFortran(path, pathLen)));             \
  }

extern "C" {

QZ_PATH_EXPORT(FILEEXT)
QZ_PATH_EXPORT(FILEEXTKC)
QZ_PATH_EXPORT(FILENAME)
QZ_PATH_EXPORT(FILENAMEEXT)
QZ_PATH_EXPORT(FILENAMEPATH)
QZ_PATH_EXPORT(FILEFOLDERPATH)
QZ_PATH_EXPORT(FILENAMENO_)
QZ_PATH_EXPORT(FILENAMEPATHNO_)
QZ_PATH_EXPORT(FILE___EXT)
QZ_PATH_EXPORT(REMOVEDOTDOT)

QZ_EXPORT void ADDFOLDER(char* result, FLen resultLen, const char* folder, const char* file, FLen folderLen,
                         FLen fileLen) {
  toFortran(result, resultLen, quenzel::ADDFOLDER(fromFortran(folder, folderLen), fromFortran(file, fileLen)));
}

QZ_EXPORT void CLEANPATH(char* result, FLen resultLen, char* path, FLen pathLen) {
  std::string p(fromFortran(path, pathLen));
  std::string cleaned = quenzel::CLEANPATH(p);
  toFortran(path, pathLen, p);
  toFortran(result, resultLen, cleaned);
}

QZ_EXPORT FFlag RELATIVEPATH(char* path, FLen pathLen) {
  std::string p(fromFortran(path, pathLen));
  bool r = quenzel::RELATIVEPATH(p);
  toFortran(path, pathLen, p);
  return quenzel::flag(r);
}

}
