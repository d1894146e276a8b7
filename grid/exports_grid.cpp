// Exported entry points of the grid routines (the calling convention of the
// shared library: every argument by reference).
#include "common/exports_abi.h"
#include "grid/inside_region.h"

extern "C" {

QZ_EXPORT void INTERPOLATE_TRIANGLE_NO_CHECKS(const float* px, const float* py, const float* x, const float* y,
                                              const float* zv, float* z) {
  quenzel::INTERPOLATE_TRIANGLE_NO_CHECKS(*px, *py, quenzel::ConstFloats(x, 3), quenzel::ConstFloats(y, 3),
                                          quenzel::ConstFloats(zv, 3), *z);
}
}
