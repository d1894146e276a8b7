#pragma once
// Numbers as compact left-justified texts (for messages, MIF object lines and
// generated names), counting and picking fields of a separated text, counting
// the numbers on a line, day numbers of eight-digit dates, and integer checks.
#include <cstdint>
#include <string>
#include <string_view>

namespace quenzel {

// The integer written (I20), left-justified.
std::string AINTEGER(std::int32_t i);
std::string AINTEGER8(std::int64_t i);

// The integer zero-padded to ndigits digits when i >= 0 (ndigits above 20
// counts as 20; ndigits <= 0 pads nothing); a negative value gets no zeros.
std::string AINTEGERPREC0(std::int32_t i, std::int32_t ndigits);
std::string AINTEGER8PREC0(std::int64_t i, std::int32_t ndigits);

// The real with as many decimals as its magnitude calls for, trailing zeros
// cut (the point stays: 2.0 gives "2."); 20 asterisks when it does not fit.
std::string AREAL(float x);
std::string AREAL8(double x);

// The real written (F20.ndec), left-justified, nothing cut. AREALDB is the
// same routine under a second name.
std::string AREALD(float x, std::int32_t ndec);
std::string AREALDB(float x, std::int32_t ndec);
std::string AREALD8(double x, std::int32_t ndec);

// Number of sep-separated fields of s: 0 when s holds only blanks and tabs,
// else 1 plus the occurrences of sep (overlapping ones too). The tabs of s
// are removed and written back. Trailing blanks of sep match the blank
// padding behind s.
std::int32_t NUMBEROFSUBSTRINGS(std::string& s, std::string_view sep);

// The n-th sep-separated field of s, trimmed; blank when s has no such field
// or it is empty. A separator of several characters delimits as a whole.
std::string SUBSTRING(std::string_view s, std::string_view sep, std::int32_t n);

// Number of numbers on the line; minus the count so far when a character
// that belongs to no number stops the scan.
std::int32_t NUMBEROFNUMBERS(std::string_view line);

// Day number of an eight-digit date yyyymmdd in years of 365 days (day 1 is
// 1 January 2000); -1 when the date cannot be read or the month is not 1..12.
std::int32_t NUMBEROFDAYS(std::string_view date);

// True when the first value of s reads as an integer of the target size; ival
// is left unchanged otherwise.
bool CHECKINT(std::string_view s, std::int32_t& ival);
bool CHECKINT4(std::string_view s, std::int32_t& ival);
bool CHECKINT8(std::string_view s, std::int64_t& ival);

}  // namespace quenzel
