#pragma once
// Widths of the fixed-length texts of the system, and the few values every
// module shares. Apply a width only where it can be observed: a cut a routine
// makes, a fixed output column, a window a caller looks through.
#include <cstddef>
#include <string_view>

namespace quenzel {

inline constexpr std::size_t kNameWidth = 1000;         // names, paths, lines
inline constexpr std::size_t kModelNameWidth = 200;     // 12d model name
inline constexpr std::size_t kFieldNameWidth = 32;      // attribute field name
inline constexpr std::size_t kFieldTypeWidth = 24;      // attribute field type
inline constexpr std::size_t kMessageLineWidth = 10000; // message block lines
inline constexpr std::size_t kLongWorkWidth = 100000;   // large working copies

// "No value": a message without a location, a failed interpolation, the
// default height and null value of 12da strings.
inline constexpr double NO_VALUE = -99999.0;

// Where internal-check messages send the user.
inline constexpr std::string_view kSupportAddress = "support@quenzel.dev";

}  // namespace quenzel
