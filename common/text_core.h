#pragma once
// Small building blocks for blank-padded texts. A text value is kept without
// its padding; these helpers are what the named text routines are made of.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace quenzel {

// Only the space character counts as blank; a tab is data.
inline constexpr bool isBlankChar(char c) { return c == ' '; }

inline constexpr char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline constexpr char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Significant length: position of the last non-blank character (0 when none).
inline std::size_t significantLength(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

// The text without trailing blanks (Fortran TRIM).
inline std::string_view trimRight(std::string_view s) { return s.substr(0, significantLength(s)); }

// The text without leading and trailing blanks; tabs stay.
inline std::string_view trimBoth(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  return trimRight(s.substr(b));
}

inline bool isAllBlank(std::string_view s) { return significantLength(s) == 0; }

// A byte below 20h: NUL, CR, LF, the tab and the other control codes. In a
// file read line by line it ends or splits the line for every reader.
inline constexpr bool isControlByte(char c) { return static_cast<unsigned char>(c) < 0x20; }

// The text with each control byte written as a blank (the tab kept when
// keepTabs): the text itself when it holds none, as nearly every text does,
// else the copy made in `scratch`.
inline std::string_view controlBytesBlanked(std::string_view s, std::string& scratch, bool keepTabs) {
  const auto blanked = [keepTabs](char c) { return isControlByte(c) && !(keepTabs && c == '\t'); };
  if (std::none_of(s.begin(), s.end(), blanked)) return s;
  scratch.assign(s);
  std::replace_if(scratch.begin(), scratch.end(), blanked, ' ');
  return scratch;
}

// The first position p, from <= p < end, where sep matches s with its full
// length as passed, trailing blanks included, s read as a buffer padded with
// blanks without end; npos when there is none.
inline std::size_t findWithPadding(std::string_view s, std::string_view sep, std::size_t from, std::size_t end) {
  for (std::size_t p = from; p < end; ++p) {
    std::size_t k = 0;
    while (k < sep.size() && (p + k < s.size() ? s[p + k] : ' ') == sep[k]) ++k;
    if (k == sep.size()) return p;
  }
  return std::string_view::npos;
}

// The text cut or padded with blanks to exactly `width` characters: what a
// fixed-length buffer of that width would hold.
inline std::string fitted(std::string_view s, std::size_t width) {
  std::string r(s.substr(0, width));
  r.resize(width, ' ');
  return r;
}

// The text cut to `width` characters, trailing blanks dropped: the value a
// buffer of that width holds, as this code keeps texts.
inline std::string cutTo(std::string_view s, std::size_t width) {
  return std::string(trimRight(s.substr(0, width)));
}

// Fortran substring s(i:j), 1-based and inclusive, blank-padded where the
// text is shorter than j.
inline std::string slice(std::string_view s, std::size_t i, std::size_t j) {
  std::string r;
  if (j < i) return r;
  r.reserve(j - i + 1);
  for (std::size_t k = i; k <= j; ++k) r.push_back(k >= 1 && k <= s.size() ? s[k - 1] : ' ');
  return r;
}

inline std::string upperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = upperAscii(c);
  return r;
}

inline std::string lowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = lowerAscii(c);
  return r;
}

}  // namespace quenzel
