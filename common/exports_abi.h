#pragma once
// The calling convention of the exported routines: every argument by
// reference, each text a blank-padded buffer whose length follows all other
// arguments (in argument order), a text result in a caller buffer given first
// (pointer, then length), flags as 32-bit integers.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#define QZ_EXPORT __attribute__((visibility("default")))

namespace quenzel {

using FLen = std::int32_t;     // hidden text length
using FFlag = std::int32_t;    // logical: nonzero is true

inline std::string_view fromFortran(const char* text, FLen len) {
  return std::string_view(text, len > 0 ? static_cast<std::size_t>(len) : 0);
}

// Copies value into a blank-padded buffer of length len (cut when longer).
inline void toFortran(char* buffer, FLen len, std::string_view value) {
  if (len <= 0) return;
  std::size_t n = static_cast<std::size_t>(len);
  std::size_t k = value.size() < n ? value.size() : n;
  std::memcpy(buffer, value.data(), k);
  std::memset(buffer + k, ' ', n - k);
}

inline FFlag flag(bool b) { return b ? 1 : 0; }

}  // namespace quenzel
