// Exported entry points of the console and exit routines (the calling
// convention of the shared library: arguments by reference, text lengths
// trailing).
#include "common/console_exit.h"
#include "common/exports_abi.h"

extern "C" {

QZ_EXPORT int LENSL(char* text, quenzel::FLen textLen) {
  return quenzel::LENSL(text, quenzel::extent(textLen));
}

QZ_EXPORT void EXITS() { quenzel::EXITS(); }

}
