// Exported entry points of the path routines (arguments by reference, text
// lengths trailing; a text result goes into the caller's buffer given first).
#include <string>

#include "common/exports_abi.h"
#include "common/paths.h"

using quenzel::FFlag;
using quenzel::FLen;
using quenzel::fromFortran;
using quenzel::toFortran;

extern "C" {

QZ_EXPORT_TEXT_TO_TEXT(FILEEXT)
QZ_EXPORT_TEXT_TO_TEXT(FILEEXTKC)
QZ_EXPORT_TEXT_TO_TEXT(FILENAME)
QZ_EXPORT_TEXT_TO_TEXT(FILENAMEEXT)
QZ_EXPORT_TEXT_TO_TEXT(FILENAMEPATH)
QZ_EXPORT_TEXT_TO_TEXT(FILEFOLDERPATH)
QZ_EXPORT_TEXT_TO_TEXT(FILENAMENO_)
QZ_EXPORT_TEXT_TO_TEXT(FILENAMEPATHNO_)
QZ_EXPORT_TEXT_TO_TEXT(FILE___EXT)
QZ_EXPORT_TEXT_TO_TEXT(REMOVEDOTDOT)

QZ_EXPORT void ADDFOLDER(char* result, FLen resultLen, const char* folder, const char* file, FLen folderLen,
                         FLen fileLen) {
  toFortran(result, resultLen, quenzel::ADDFOLDER(fromFortran(folder, folderLen), fromFortran(file, fileLen)));
}

QZ_EXPORT void CLEANPATH(char* result, FLen resultLen, char* path, FLen pathLen) {
  toFortran(result, resultLen, quenzel::withTextInOut(path, pathLen, quenzel::CLEANPATH));
}

QZ_EXPORT FFlag RELATIVEPATH(char* path, FLen pathLen) {
  return quenzel::flag(quenzel::withTextInOut(path, pathLen, quenzel::RELATIVEPATH));
}

}
