#pragma once
// Fixed-column number formats of the stored files and console texts, and the
// fixed-column inputs a few routines read with. Nothing else formats numbers
// by hand.
#include <cstdint>
#include <string>
#include <string_view>

namespace quenzel {

// Fw.d: right-justified in w columns with d decimals; Fw.0 keeps its point
// ("1235."); a field just wide enough drops the leading zero (".500"); a
// negative value that rounds to zero keeps its sign ("-0.000"); a value that
// does not fit fills the field with asterisks.
std::string formatF(double value, int w, int d);
// Appends Fw.d to out (no allocation on the hot path).
void appendF(std::string& out, double value, int w, int d);
// The value with d decimals, as wide as it needs to be (no asterisks).
std::string formatFFull(double value, int d);
// Fw.d where the value fits, else the value in full with d decimals: the
// number columns of stored files, where asterisks would lose the value.
void appendFOrFull(std::string& out, double value, int w, int d);
// appendFOrFull, with one blank before a value that fills its w columns or
// is written in full: the number columns of stored files whose values must
// never run into the value before them.
void appendFSeparated(std::string& out, double value, int w, int d);

// Iw: right-justified in w columns; asterisks when it does not fit.
std::string formatI(std::int64_t value, int w);
void appendI(std::string& out, std::int64_t value, int w);
// Iw.m: at least m digits, zero-padded.
std::string formatIm(std::int64_t value, int w, int m);

// Aw: the text in w columns (cut, or right-justified when shorter, as the
// original edit descriptor does).
std::string formatA(std::string_view text, int w);

// Left-justified number texts in 20 columns (trailing blanks dropped): the
// shortest text that reads back as the value.
std::string numberText(std::int64_t value);

// Fixed-column input Iw of one field: blanks are ignored (with blanksAsZeros,
// blanks after the first non-blank read as zeros: "1 " is 10), an all-blank
// field reads 0; false on any other character or when the value does not fit.
bool readFixedInt(std::string_view field, std::int32_t& value, bool blanksAsZeros = false);
bool readFixedInt(std::string_view field, std::int64_t& value, bool blanksAsZeros = false);
// Fixed-column input Fw.0 of one field: blanks ignored; a value without a
// decimal point is an integer value; an exponent may follow.
bool readFixedReal(std::string_view field, double& value);
bool readFixedReal(std::string_view field, float& value);

}  // namespace quenzel
