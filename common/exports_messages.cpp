// Exported entry points of the message routines and the line reader (the
// calling convention of the shared library: arguments by reference, text
// lengths trailing). The DMESSAGES block itself is exported where it is
// defined.
#include <cstdint>
#include <string>

#include "common/exports_abi.h"
#include "common/messages.h"
#include "common/read_line.h"

extern "C" {

QZ_EXPORT void DMESSAGE(std::int32_t* nblank) { quenzel::DMESSAGE(*nblank); }

QZ_EXPORT void DMESSAGEXY(std::int32_t* nblank, double* x, double* y) { quenzel::DMESSAGEXY(*nblank, *x, *y); }

QZ_EXPORT void DMESSAGECLEAR() { quenzel::DMESSAGECLEAR(); }

QZ_EXPORT void DMESSAGERESETCOUNTERS() { quenzel::DMESSAGERESETCOUNTERS(); }

QZ_EXPORT void DLINE(std::int32_t* unit) { quenzel::DLINE(*unit); }

QZ_EXPORT quenzel::FFlag READLINE(std::int32_t* unit, char* line, quenzel::FLen lineLen) {
  std::string text;
  const bool data = quenzel::READLINE(*unit, text, quenzel::extent(lineLen));
  quenzel::toFortran(line, lineLen, text);
  return quenzel::flag(data);
}

}
