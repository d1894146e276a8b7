#include "common/text.h"

#include <algorithm>

#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/text_core.h"

namespace quenzel {

namespace {

// The working buffer of the comma-separated field routines. Kept between
// calls so that a long header or line does not cost an allocation each time.
struct CsvState {
  std::string work;
};

CsvState& csvState() {
  static CsvState state;
  return state;
}

bool isLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool sameNoCase(char a, char b) { return upperAscii(a) == upperAscii(b); }

// First position at or after `from` where needle occurs in hay, ignoring
// ASCII case; an empty needle is found at `from`.
std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0) {
  if (from > hay.size()) return std::string_view::npos;
  auto it = std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), hay.end(), needle.begin(),
                        needle.end(), sameNoCase);
  if (it == hay.end() && !needle.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(it - hay.begin());
}

// The large working copies cut only texts longer than the copy.
std::string_view longWork(std::string_view s) { return s.substr(0, std::min(s.size(), kLongWorkWidth)); }

// The characters up to the significant length, without those in `drop`.
std::string withoutChars(std::string_view s, std::string_view drop) {
  std::string r;
  for (char c : trimRight(s))
    if (drop.find(c) == std::string_view::npos) r.push_back(c);
  return std::string(trimRight(r));
}

// Quotes and tabs removed, trimmed and cut to the comparison copy.
std::string comparable(std::string_view s, bool foldCase) {
  std::string filtered;
  filtered.reserve(s.size());
  for (char c : s)
    if (c != '"' && c != '\'' && c != '\t') filtered.push_back(c);
  std::string r = cutTo(trimBoth(filtered), kNameWidth);
  return foldCase ? upperAscii(r) : r;
}

// A line left-justified in the working copy, as the line tests write it back.
void leftJustify(std::string& line) { line = cutTo(trimBoth(line), kLongWorkWidth); }

bool eitherFlag(std::string_view line, std::string_view first, std::string_view second,
                std::string_view key) {
  std::string_view k = trimRight(key);
  return FLAGEXISTS(line, std::string(first).append(k)) || FLAGEXISTS(line, std::string(second).append(k));
}

}  // namespace

std::string TRIMF(std::string_view s) { return std::string(trimBoth(s)); }

std::string SS256(std::string_view s) { return cutTo(s, 256); }

std::string REMOVEQUOTES(std::string_view s) { return withoutChars(s, "\"'"); }

std::string REMOVETABS(std::string_view s) { return withoutChars(s, "\t"); }

std::string REMOVESPACES(std::string_view s) { return withoutChars(s, " "); }

std::string DOUBLEQUOTE(std::string_view s) { return DOUBLEQUOTE(s, std::string::npos); }

std::string DOUBLEQUOTE(std::string_view s, std::size_t width) {
  std::string r;
  for (char c : trimRight(s)) {
    std::size_t need = c == '"' ? 2 : 1;
    if (width - r.size() < need) break;
    r.append(need, c);
  }
  return std::string(trimRight(r));
}

std::string UPPERCASE(std::string_view s) { return upperAscii(trimRight(s)); }

std::string LOWERCASE(std::string_view s) { return lowerAscii(trimRight(s)); }

std::string ALPHANUMERICONLY(std::string_view s, char repl) {
  std::string r;
  for (char c : trimRight(s)) {
    if (isLetterOrDigit(c)) r.push_back(c);
    else if (repl != '\0') r.push_back(repl);
  }
  if (isAllBlank(r)) return "X";
  return std::string(trimRight(r));
}

std::string CLEANATTRIBUTENAME(std::string_view name) {
  std::string r;
  for (char c : trimRight(name))
    if (isLetterOrDigit(c) || c == '_') r.push_back(c);
  return r.empty() ? "X" : r;
}

std::string REPLACE(std::string_view s, std::string_view oldText, std::string_view newText) {
  std::string_view old = trimRight(oldText);
  std::size_t p = findNoCase(longWork(s), old);
  if (p == std::string_view::npos) return std::string(trimRight(s));
  std::string r(s.substr(0, p));
  r.append(trimRight(newText));
  r.append(s.substr(p + old.size()));
  return std::string(trimRight(r));
}

std::string REPLACEALL(std::string_view s, std::string_view oldText, std::string_view newText) {
  return REPLACEALL(s, oldText, newText, kLongWorkWidth);
}

std::string REPLACEALL(std::string_view s, std::string_view oldText, std::string_view newText,
                       std::size_t width) {
  std::string_view in = s.substr(0, std::min(s.size(), width));
  std::string_view old = trimRight(oldText);
  if (old.empty()) return std::string(trimRight(in));
  std::string_view ins = trimRight(newText);
  // One pass over the argument: the result so far, then the part of the
  // argument that the width still leaves visible behind it. Each
  // replacement cuts the result to the width, so text pushed out of it is
  // gone for the later searches too.
  std::string out;
  std::size_t i = 0, end = in.size();
  for (;;) {
    std::size_t p = findNoCase(in.substr(0, end), old, i);
    if (p == std::string_view::npos) break;
    out.append(in.substr(i, p - i));
    out.append(ins);
    i = p + old.size();
    if (out.size() >= width) {
      out.resize(width);
      return std::string(trimRight(out));
    }
    end = std::min(end, i + (width - out.size()));
  }
  if (i < end) out.append(in.substr(i, end - i));
  return std::string(trimRight(out));
}

bool BLANK(std::string& s) {
  std::erase(s, '\t');
  s = cutTo(s, kLongWorkWidth);
  return s.empty();
}

bool ASAME(std::string_view a, std::string_view b) { return comparable(a, true) == comparable(b, true); }

bool ASAMECS(std::string_view a, std::string_view b) { return comparable(a, false) == comparable(b, false); }

bool FLAGEXISTS(std::string_view line, std::string_view flag) {
  return findNoCase(trimRight(longWork(line)), trimRight(flag)) != std::string_view::npos;
}

bool FLAGEXISTSRET(std::string_view line, std::string_view flag, std::string& rest) {
  std::string_view f = trimRight(flag);
  std::size_t p = findNoCase(trimRight(longWork(line)), f);
  if (p == std::string_view::npos) {
    rest.clear();
    return false;
  }
  rest = std::string(line.substr(p + f.size()));
  return true;
}

bool READGIS(std::string_view line, std::string_view key) { return eitherFlag(line, "Read MI ", "Read GIS ", key); }

bool WRITEGIS(std::string_view line, std::string_view key) {
  return eitherFlag(line, "Write MI ", "Write GIS ", key);
}

bool READROWCOL(std::string_view line, std::string_view key) {
  return eitherFlag(line, "Read MID ", "Read RowCol ", key);
}

bool COMMENTLINE(std::string& line) {
  leftJustify(line);
  bool comment = line.empty() || line[0] == '#' || line[0] == '!';
  std::size_t p = line.find_first_of("#!");
  if (p != std::string::npos) line = std::string(trimRight(std::string_view(line).substr(0, p)));
  return comment;
}

bool NUMBERLINE(std::string& line) {
  leftJustify(line);
  return line.empty() || isDigit(line[0]) || line[0] == '-' || line[0] == '.';
}

bool POSITIVEINTEGERNUMBER(std::string& s) {
  leftJustify(s);
  return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}

bool CHECKLINE(std::string_view line, std::string_view flag, std::string_view sep, int ipos,
               std::string& value, std::string& command) {
  // A column outside the line slices nothing beyond it.
  std::size_t cut = ipos <= 0 ? 0 : std::min(static_cast<std::size_t>(ipos), line.size());
  bool found = false;
  if (!isAllBlank(sep)) {
    std::size_t p = findWithPadding(line, sep, 0, line.size());
    found = p != std::string_view::npos;
    if (found) {
      command = std::string(line.substr(0, p));
      value = p + sep.size() < line.size() ? std::string(line.substr(p + sep.size())) : std::string();
    } else if (ipos != 0) {
      command = std::string(line.substr(0, cut));
      value = std::string(line.substr(cut));
    } else {
      command = std::string(line);
      value.clear();
    }
  } else {
    command = std::string(line.substr(0, cut));
    value = std::string(line.substr(cut));
  }
  bool matches = FLAGEXISTS(command, flag) || trimRight(flag) == "*";
  return matches && (!isAllBlank(command) || (ipos == 0 && !found));
}

int CSVCOLUMN(std::string_view header, std::string_view name, int defaultColumn) {
  std::string& work = csvState().work;
  work.assign(longWork(header));
  // The blank test of each remaining part removes its tabs; once is enough.
  std::erase(work, '\t');
  std::string_view rest = work;
  for (int k = 1;; ++k) {
    if (isAllBlank(rest)) return defaultColumn;
    std::size_t p = rest.find(',');
    if (p == std::string_view::npos) p = significantLength(rest);
    if (ASAME(rest.substr(0, p), name)) return k;
    rest.remove_prefix(std::min(p + 1, rest.size()));
  }
}

bool CSVVALUE(std::string_view line, int col, float& value) {
  std::string& work = csvState().work;
  work.assign(longWork(line));
  std::string_view rest = work;
  for (int k = 1; k < col; ++k) {
    std::size_t p = rest.find(',');
    if (p == std::string_view::npos) {
      value = 0.0f;
      return false;
    }
    rest.remove_prefix(p + 1);
  }
  std::string_view field = trimRight(rest.substr(0, rest.find(',')));
  if (!field.empty() && readFixedReal(field, value)) return true;
  value = 0.0f;
  return false;
}

}  // namespace quenzel
