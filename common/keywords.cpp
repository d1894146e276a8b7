#include "common/keywords.h"

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/text_core.h"

namespace quenzel {
namespace {

bool isQuote(char c) { return c == '"' || c == '\''; }

// 1-based position of the first `separator` outside quoted runs among the
// significant characters of s; 0 when there is none.
std::size_t firstUnquoted(std::string_view s, char separator) {
  const std::size_t end = significantLength(s);
  bool quoted = false;
  for (std::size_t i = 0; i < end; ++i) {
    const char c = s[i];
    if (quoted) {
      if (!isQuote(c)) continue;
      if (i + 1 < end && s[i + 1] == c) ++i;  // a doubled quote is one quote character
      else quoted = false;
    } else if (isQuote(c)) {
      quoted = true;
    } else if (c == separator) {
      return i + 1;
    }
  }
  return 0;
}

std::string unquoted(std::string_view s) { return TRIMF(REMOVEQUOTES(s)); }

[[noreturn]] void noEqualsSign(std::string_view keyword) {
  setMessageLine(1, "ERROR 0203 - No \"=\" sign found after keyword \"" + std::string(trimRight(keyword)) + "\".");
  DMESSAGE(1);
  EXITS();
}

// The value of the keyword, or of field n when the keyword does not occur;
// `toEnd`: the value runs on to the end of the line.
std::string extract(std::string_view line, std::string_view lline, std::string_view keyword, int n, bool toEnd) {
  const std::string_view work = line.substr(0, std::min(line.size(), kLongWorkWidth));
  const std::string key = LOWERCASE(trimRight(keyword));
  // An empty keyword would "occur" at the start of every line and turn every
  // look-up by field number into a missing "=": it never occurs.
  const std::size_t p = key.empty() ? std::string_view::npos : lline.find(key);
  if (p != std::string_view::npos) {
    const std::size_t from = std::min(p + key.size(), work.size());
    const std::string_view rest = work.substr(from);
    const std::size_t e = rest.find('=');
    if (e == std::string_view::npos) noEqualsSign(keyword);
    std::string_view value = rest.substr(e + 1);
    if (!toEnd) {
      if (std::size_t c = UNQUOTEDCOMMA(value)) value = value.substr(0, c - 1);
    }
    return unquoted(value);
  }
  if (n < 1) return {};
  std::size_t start = 0;
  for (int k = 1; k < n; ++k) {
    const std::size_t c = UNQUOTEDCOMMA(work.substr(start));
    if (c == 0) return {};
    start += c;
  }
  const std::string_view field = work.substr(start);
  const std::size_t c = UNQUOTEDCOMMA(field);
  const std::string_view own = c ? field.substr(0, c - 1) : trimRight(field);
  if (own.empty()) return {};
  return unquoted(toEnd ? field : own);
}

[[noreturn]] void notConverted(std::string_view value, int n, std::string_view kind, std::string_view keyword) {
  console::line(" Could not convert \"" + std::string(trimRight(value)) + "\" in column" + formatI(n, 3) + " to " +
                std::string(kind) + " value for the " + std::string(trimRight(keyword)) + " field.");
  EXITS();
}

template <class Number>
Number extractNumber(std::string_view line, std::string_view lline, std::string_view keyword, int n,
                     Number defaultValue, std::string_view kind) {
  const std::string s = EXTRACTSTRING(line, lline, keyword, n);
  if (isAllBlank(s)) return defaultValue;
  Number value = defaultValue;
  if (FreeReader(s).read(value) != ReadResult::Ok) notConverted(s, n, kind, keyword);
  return value;
}

}  // namespace

std::size_t UNQUOTEDCOMMA(std::string_view s) { return firstUnquoted(s, ','); }

std::string EXTRACTSTRING(std::string_view line, std::string_view lline, std::string_view keyword, int n) {
  return extract(line, lline, keyword, n, false);
}

std::string EXTRACTSTRINGREM(std::string_view line, std::string_view lline, std::string_view keyword, int n) {
  return extract(line, lline, keyword, n, true);
}

std::int32_t EXTRACTINTEGER(std::string_view line, std::string_view lline, std::string_view keyword, int n,
                            std::int32_t defaultValue) {
  return extractNumber(line, lline, keyword, n, defaultValue, "an integer");
}

float EXTRACTREAL(std::string_view line, std::string_view lline, std::string_view keyword, int n,
                  float defaultValue) {
  return extractNumber(line, lline, keyword, n, defaultValue, "a real");
}

std::string FIRSTWORD(std::string& s) {
  const std::string work = cutTo(s, kNameWidth);
  if (isAllBlank(work)) return {};
  const std::size_t end = work.size();
  std::size_t k = firstUnquoted(work, ' ');
  if (k == 0) k = end;
  std::string word = unquoted(std::string_view(work).substr(0, k));
  s = k < end ? TRIMF(std::string_view(work).substr(k)) : std::string();
  return word;
}

}  // namespace quenzel
