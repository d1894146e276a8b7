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

// A length or count as passed, below 1 taken as none.
inline std::size_t extent(std::int32_t n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

inline std::string_view fromFortran(const char* text, FLen len) { return std::string_view(text, extent(len)); }

// Copies value into a blank-padded buffer of length len (cut when longer).
inline void toFortran(char* buffer, FLen len, std::string_view value) {
  if (len <= 0) return;
  std::size_t n = static_cast<std::size_t>(len);
  std::size_t k = value.size() < n ? value.size() : n;
  std::memcpy(buffer, value.data(), k);
  std::memset(buffer + k, ' ', n - k);
}

inline FFlag flag(bool b) { return b ? 1 : 0; }

// Runs f on the text of a buffer that the routine rewrites, writes the text
// back into the buffer and returns f's result.
template <class F>
auto withTextInOut(char* text, FLen len, F f) {
  std::string value(fromFortran(text, len));
  auto result = f(value);
  toFortran(text, len, value);
  return result;
}

}  // namespace quenzel

// The exported forms of the routines of the common shapes: one text to a
// text, two texts to a flag, and a flag test that rewrites its text.
#define QZ_EXPORT_TEXT_TO_TEXT(NAME)                                                                        \
  QZ_EXPORT void NAME(char* result, quenzel::FLen resultLen, const char* s, quenzel::FLen sLen) {          \
    quenzel::toFortran(result, resultLen, quenzel::NAME(quenzel::fromFortran(s, sLen)));                   \
  }
#define QZ_EXPORT_TEXTS_TO_FLAG(NAME)                                                                       \
  QZ_EXPORT quenzel::FFlag NAME(const char* a, const char* b, quenzel::FLen aLen, quenzel::FLen bLen) {    \
    return quenzel::flag(quenzel::NAME(quenzel::fromFortran(a, aLen), quenzel::fromFortran(b, bLen)));     \
  }
#define QZ_EXPORT_TEXT_TEST_IN_OUT(NAME)                                                                    \
  QZ_EXPORT quenzel::FFlag NAME(char* s, quenzel::FLen sLen) {                                             \
    return quenzel::flag(quenzel::withTextInOut(s, sLen, quenzel::NAME));                                  \
  }
