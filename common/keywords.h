#pragma once
// Picking values out of comma-separated parameter lines of the form
// "... , keyword = value , ...", or out of a field given by its position when
// the keyword does not occur. Commas and blanks inside quoted runs do not
// split; a quoted run opens at " or ', a doubled quote character stays inside
// it and any other single quote character ends it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quenzel {

// `lline` is `line` in lower case (positions correspond); the keyword is
// looked for in it as a plain substring. A missing keyword or field gives a
// blank value; a keyword without a following "=" ends the run (ERROR 0203).
std::string EXTRACTSTRING(std::string_view line, std::string_view lline, std::string_view keyword, int n);
// The same, but the value runs on to the end of the line.
std::string EXTRACTSTRINGREM(std::string_view line, std::string_view lline, std::string_view keyword, int n);
// The value read as a number (free format); `defaultValue` for a blank value.
// A value that does not read ends the run.
std::int32_t EXTRACTINTEGER(std::string_view line, std::string_view lline, std::string_view keyword, int n,
                            std::int32_t defaultValue);
float EXTRACTREAL(std::string_view line, std::string_view lline, std::string_view keyword, int n,
                  float defaultValue);
// The first word of s (split at the first blank outside quoted runs), quotes
// removed and trimmed; s becomes the rest, trimmed.
std::string FIRSTWORD(std::string& s);
// 1-based position of the first comma outside quoted runs, 0 when none.
std::size_t UNQUOTEDCOMMA(std::string_view s);

}  // namespace quenzel
