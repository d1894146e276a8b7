#pragma once
// INT(x): truncation toward zero into a 32-bit integer. A value outside the
// integer range saturates (a plain out-of-range cast is undefined behaviour in
// C++); NaN gives 0. Every float-to-integer conversion goes through here.
#include <cmath>
#include <cstdint>
#include <limits>

namespace quenzel {

inline std::int32_t intTowardZero(double x) {
  if (!(x == x)) return 0;
  if (x >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

// INT(x) + 1, the 1-based index of a cell; saturates at the top as well.
inline std::int32_t cellIndexOf(double x) {
  std::int64_t i = static_cast<std::int64_t>(intTowardZero(x)) + 1;
  return i > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                      : static_cast<std::int32_t>(i);
}

// The cell of coordinate c in cells of `size`: the quotient in the
// coordinates' own precision, then INT + 1.
template <class T>
std::int32_t cellIndexOf(T c, T size) {
  return cellIndexOf(static_cast<double>(c / size));
}

// FLOOR(x) into 64 bits, saturated at +-2^62 (so a neighbour's index, one
// more or less, still fits); NaN gives 0.
inline std::int64_t floorSaturated64(double x) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  if (!(x == x)) return 0;
  if (x >= kLimit) return std::int64_t{1} << 62;
  if (x <= -kLimit) return -(std::int64_t{1} << 62);
  return static_cast<std::int64_t>(std::floor(x));
}

// NINT(x): the nearest integer, halves away from zero; saturates like INT.
inline std::int32_t nearestInt(double x) { return intTowardZero(std::round(x)); }

}  // namespace quenzel
