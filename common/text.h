#pragma once
// Text routines every module uses on the system's blank-padded texts:
// trimming, filtering, case folding, case-insensitive tests, keyword tests of
// command lines, quoting, replacing and picking fields out of comma-separated
// lines. Texts come in without their padding (trailing blanks carry no
// meaning) and results go out without it, except where a slice of a line is
// returned as it stands.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenzel {

// ---- Texts in, text out --------------------------------------------------
// Without leading and trailing blanks; tabs stay.
std::string TRIMF(std::string_view s);
// Without trailing blanks, cut at 256 characters.
std::string SS256(std::string_view s);
// Every double quote and apostrophe left out.
std::string REMOVEQUOTES(std::string_view s);
// Every tab left out.
std::string REMOVETABS(std::string_view s);
// Every blank left out.
std::string REMOVESPACES(std::string_view s);
// Every double quote written twice.
std::string DOUBLEQUOTE(std::string_view s);
// The same into a result of `width` characters: a doubled quote that does not
// fit whole is dropped whole, so the result never ends in half a pair.
std::string DOUBLEQUOTE(std::string_view s, std::size_t width);
std::string UPPERCASE(std::string_view s);
std::string LOWERCASE(std::string_view s);
// Letters and digits kept, every other character replaced by `repl`, or left
// out when `repl` is '\0'; an empty result becomes "X".
std::string ALPHANUMERICONLY(std::string_view s, char repl);
// Letters, digits and "_" kept; an empty result becomes "X".
std::string CLEANATTRIBUTENAME(std::string_view name);
// The first occurrence of oldText (ignoring case) replaced by newText.
std::string REPLACE(std::string_view s, std::string_view oldText, std::string_view newText);
// Every occurrence of oldText (ignoring case) replaced by newText, in a
// result of the working width. A blank oldText changes nothing; the search
// goes on behind each inserted text, so a newText holding oldText is not
// replaced again.
std::string REPLACEALL(std::string_view s, std::string_view oldText, std::string_view newText);
// The same in a result of `width` characters (each step cut to it).
std::string REPLACEALL(std::string_view s, std::string_view oldText, std::string_view newText,
                       std::size_t width);

// ---- Tests ----------------------------------------------------------------
// True when s holds only blanks once its tabs are removed (s written back
// without its tabs).
bool BLANK(std::string& s);
// Equal ignoring quotes, tabs, surrounding blanks and case.
bool ASAME(std::string_view a, std::string_view b);
// The same, case-sensitive.
bool ASAMECS(std::string_view a, std::string_view b);
// flag (without trailing blanks) occurs in line, ignoring case; a blank flag
// is always found.
bool FLAGEXISTS(std::string_view line, std::string_view flag);
// As FLAGEXISTS; rest is the line behind the first occurrence, as it stands
// (blank when not found).
bool FLAGEXISTSRET(std::string_view line, std::string_view flag, std::string& rest);
// "Read MI <key>" or "Read GIS <key>" in line.
bool READGIS(std::string_view line, std::string_view key);
// "Write MI <key>" or "Write GIS <key>" in line.
bool WRITEGIS(std::string_view line, std::string_view key);
// "Read MID <key>" or "Read RowCol <key>" in line.
bool READROWCOL(std::string_view line, std::string_view key);
// line is left-justified and cut before its first "#" or "!"; true when it
// was blank or began with one of them.
bool COMMENTLINE(std::string& line);
// line is left-justified; true when it is blank or begins with a digit, "-"
// or ".".
bool NUMBERLINE(std::string& line);
// s is left-justified; true when it is non-blank and all digits.
bool POSITIVEINTEGERNUMBER(std::string& s);
// Splits a "command <sep> value" line (sep taken with its full length as
// given), or at column ipos when sep is blank or not found; true when the
// command holds flag (or flag is "*") and is not blank (or, with ipos 0, sep
// was not found). command and value are slices of the line as they stand.
bool CHECKLINE(std::string_view line, std::string_view flag, std::string_view sep, int ipos,
               std::string& value, std::string& command);

// ---- Comma-separated lines -------------------------------------------------
// The 1-based number of the header field equal to name (ASAME), or
// defaultColumn when none is. Fields split at every comma.
int CSVCOLUMN(std::string_view header, std::string_view name, int defaultColumn);
// Field col of line read as a fixed Fw.0 real; false and 0 when it is
// missing, blank or unreadable.
bool CSVVALUE(std::string_view line, int col, float& value);

}  // namespace quenzel
