#include "converter/d12_reader.h"

#include <algorithm>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {
namespace {

// The module's line buffers, kept between calls so that reading a large file
// costs no allocation per line.
struct D12ReaderState {
  std::string header;  // lines of the leading block
  std::string data;    // vertex lines and the look-ahead of super strings
  std::string nulls;   // a vertex line with its null words replaced
};

D12ReaderState& state() {
  static D12ReaderState s;
  return s;
}

// The null height in the spelling of the file's numbers.
constexpr std::string_view kNullHex = "-0x1.869f000000000p+16";
constexpr std::string_view kNullDecimal = "-99999";

bool contains(std::string_view line, std::string_view word) { return FLAGEXISTS(line, word); }

bool opensBlock(std::string_view line) { return contains(line, "data") && contains(line, "{"); }

bool closesBlock(std::string_view line) { return line.find('}') != std::string_view::npos; }

bool startsWithNoCase(std::string_view line, std::string_view word) {
  if (line.size() < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k)
    if (upperAscii(line[k]) != upperAscii(word[k])) return false;
  return true;
}

std::string_view withoutLeadingBlanks(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && isBlankChar(s[b])) ++b;
  return s.substr(b);
}

// Where the reader trims a line, a tab counts as a blank: files indented
// with tabs read as those indented with blanks.
std::string_view trimBlanksAndTabs(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return s.substr(s.size());
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

void trimInPlace(std::string& s) {
  const std::string_view t = trimBlanksAndTabs(s);
  const std::size_t b = static_cast<std::size_t>(t.data() - s.data());
  s.resize(b + t.size());
  s.erase(0, b);
}

void dropByteOrderMark(std::string& line) { line.erase(0, std::min<std::size_t>(3, line.size())); }

// The value of a key line: three characters (typically "// "), the key and
// one separator, then the value in 100 characters.
std::string keyValue(std::string_view line, std::string_view key) {
  const std::size_t from = 3 + significantLength(key) + 1;
  std::string value = cutTo(from < line.size() ? line.substr(from) : std::string_view(), kD12NameWidth);
  if (value.empty() || value[0] != '"') return value;
  if (value.size() <= 2) return {};
  return std::string(trimRight(std::string_view(value).substr(1, value.size() - 2)));
}

// The type of "string <type> {": the text between the word and the brace.
std::string stringType(std::string_view line) {
  std::size_t at = std::string_view::npos;
  for (std::size_t k = 0; k + 6 <= line.size(); ++k)
    if (startsWithNoCase(line.substr(k), "string")) {
      at = k;
      break;
    }
  if (at == std::string_view::npos) return {};
  const std::size_t from = at + 6;
  const std::size_t brace = line.find('{', from);
  if (brace == std::string_view::npos) return {};
  return cutTo(trimBlanksAndTabs(line.substr(from, brace - from)), kD12TypeWidth);
}

// A height line is the word "z" alone, followed by its value ("zone" is not).
bool isHeightLine(std::string_view line) {
  return !line.empty() && (line[0] == 'z' || line[0] == 'Z') &&
         (line.size() == 1 || line[1] == ' ' || line[1] == '\t');
}

bool closedValue(std::string_view line) {
  std::size_t k = 6;
  while (k < line.size() && (line[k] == ' ' || line[k] == '\t')) ++k;
  return k < line.size() && std::string_view("1YyTt").find(line[k]) != std::string_view::npos;
}

[[noreturn]] void attributeUnreadable(std::string_view line) {
  console::lineAfterEmptyLine("ERROR - Reading data (d12ObjectType)");
  console::line(trimBoth(line));
  EXITS();
}

void setBlockKinds(std::string_view line, d12Object& obj) {
  // A data_2d block holds no heights whatever the string type says
  // ("pipeline" also reads as a 3D type through "pipe").
  const bool flat = contains(line, "data_2d");
  obj.data2d = flat || obj.is2d;
  obj.data3d = !flat && (contains(line, "data_3d") || obj.is3d || obj.isPolyline);
  obj.hipData = contains(line, "hipdata");
}

[[noreturn]] void tooManyNodes(int n, int maxNodes) {
  setMessageLine(1, "ERROR - Exceeded number of allowable nodes in a single polyline or region.");
  std::string detail(8, ' ');
  detail += "Requested";
  appendI(detail, n, 8);
  detail.append(8, ' ');
  detail += "Limit";
  appendI(detail, maxNodes, 8);
  setMessageLine(2, detail);
  DMESSAGE(1);
  EXITS();
}

[[noreturn]] void vertexUnreadable(ReadResult r, std::string_view line) {
  if (r == ReadResult::End) {
    setMessageLine(1, "ERROR - Unexpected end of .12da file encountered.");
  } else {
    setMessageLine(1, "ERROR - Reading .12da file.  Erroneous line is:");
    setMessageLine(2, trimBoth(line));
  }
  DMESSAGE(1);
  EXITS();
}

// Every "null" (any case) in line replaced by `by`, into out.
void replaceNulls(std::string_view line, std::string_view by, std::string& out) {
  out.clear();
  std::size_t i = 0;
  for (std::size_t k = 0; k + 4 <= line.size();) {
    if (startsWithNoCase(line.substr(k), "null")) {
      out.append(line.substr(i, k - i));
      out.append(by);
      k += 4;
      i = k;
    } else {
      ++k;
    }
  }
  out.append(line.substr(i));
}

// A file that ends without a model line still holds its strings: they are
// read from the start rather than silently lost.
bool withoutModelLine(int unit) {
  setMessageLine(1, "WARNING - No model line found in .12da file; reading strings from the start of the file.");
  DMESSAGE(1);
  rewindUnit(unit);
  return true;
}

// After a block of a super string: a further data block of the same string
// is left for the caller's next read (moreData), or the string's own "}" has
// been passed.
void lookAhead(int unit, d12Object& obj) {
  obj.moreData = false;
  if (!obj.isSuper) return;
  std::string& line = state().data;
  int depth = 1;
  while (!unitAtEnd(unit)) {
    if (!d12ReadLine(line, unit, kD12DataLineWidth)) break;
    if (closesBlock(line)) --depth;
    else if (contains(line, "{")) ++depth;
    obj.moreData = opensBlock(line);
    if (depth == 0 || obj.moreData) break;
  }
  if (obj.moreData) backspaceUnit(unit);
}

}  // namespace

bool d12CheckEncoding(int unit) {
  int check = 0;
  OPENFILE(check, "BI", unitFileName(unit));
  unsigned char mark[3] = {0, 0, 0};
  bool utf8 = false;
  if (readBytes(check, reinterpret_cast<char*>(mark), 3) == IoStatus::Ok) {
    if (mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) {
      utf8 = true;
    } else if ((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF)) {
      console::lineAfterEmptyLine("ERROR - Source 12da is encoded using UTF-16");
      EXITS();
    }
  }
  CLOSER(check);
  return utf8;
}

bool d12ReadLine(std::string& line, int unit, std::size_t width) {
  for (;;) {
    if (readLine(unit, line) != IoStatus::Ok) {
      line.clear();
      return false;
    }
    if (line.size() > width) line.resize(width);
    trimInPlace(line);
    // A comment line becomes empty here, a trailing comment is cut off.
    const std::size_t p = line.find("//");
    if (p != std::string::npos) line.resize(trimBlanksAndTabs(std::string_view(line).substr(0, p)).size());
    if (!line.empty()) return true;
  }
}

std::string d12HeaderValue(int unit, std::string_view key) {
  const bool mark = d12CheckEncoding(unit);
  rewindUnit(unit);
  std::string& line = state().header;
  bool first = true;
  while (!unitAtEnd(unit)) {
    // A failed read leaves the file where it was: nothing further can be read.
    if (readLine(unit, line) != IoStatus::Ok) break;
    if (line.size() > kNameWidth) line.resize(kNameWidth);
    if (first && mark) dropByteOrderMark(line);
    first = false;
    if (contains(line, key)) return keyValue(line, key);
    const bool nullLine = withoutLeadingBlanks(line).starts_with("null");
    if (!nullLine && !isAllBlank(line) && !line.starts_with("//")) break;
  }
  return {};
}

std::string d12ArchiveVersion(int unit) { return d12HeaderValue(unit, "archive_version"); }

bool d12NullKeyword(int unit) { return ASAME(d12HeaderValue(unit, "null_keyword"), "true"); }

bool d12OutputHexFloats(int unit) { return ASAME(d12HeaderValue(unit, "output_hex_floats"), "true"); }

bool d12FindStartOfData(int unit, float& nullValue, bool nullKeyword) {
  const bool mark = d12CheckEncoding(unit);
  rewindUnit(unit);
  std::string& line = state().header;
  bool first = true;
  for (;;) {
    if (unitAtEnd(unit)) return withoutModelLine(unit);
    if (readLine(unit, line) == IoStatus::Ok) {
      if (first && mark) dropByteOrderMark(line);
      first = false;
      const std::string_view text = withoutLeadingBlanks(line).substr(0, 100);
      if (startsWithNoCase(text, "model")) return true;
      if (unitAtEnd(unit)) return withoutModelLine(unit);
      if (!startsWithNoCase(text, "null")) continue;
      if (nullKeyword) {
        console::lineAfterEmptyLine("12D null value set to keyword \"null\"");
        continue;
      }
      FreeReader reader(text.size() > 5 ? text.substr(5) : std::string_view());
      if (reader.read(nullValue) == ReadResult::Ok) {
        console::lineAfterEmptyLine("12D null value set to:" + formatF(nullValue, 12, 3));
        continue;
      }
    }
    setMessageLine(1, "WARNING - Problems finding start of data in .12da file");
    DMESSAGE(1);
    PAUSES();
    return false;
  }
}

bool d12ObjectType(int unit, std::string& line, d12Object& obj) {
  obj.withoutData = false;
  if (!obj.moreData) {
    const std::string_view text = trimBlanksAndTabs(std::string_view(line).substr(0, kNameWidth));
    obj.isString = contains(text, "string") && contains(text, "{");
    if (!obj.isString) {
      obj.type = "unknown";
      setBlockKinds(line, obj);
      return false;
    }
    obj.type = stringType(text);
    obj.is2d = contains(text, "2d") || contains(text, "alignment") || contains(text, "pipeline");
    obj.is3d = contains(text, "3d") || contains(text, "4d") || contains(text, "drainage") ||
               contains(text, "face") || contains(text, "interface") || contains(text, "pipe");
    obj.isSuper = contains(text, "super");
    obj.isPolyline = contains(text, "polyline");
    obj.name.clear();
  }
  obj.isString = true;
  obj.closed = obj.isPolyline;
  obj.z = static_cast<float>(NO_VALUE);
  // Braces are counted from the string's own one: its closing brace, or a
  // new string at its level, before any data line means it has no data, and
  // reading on would take the next string's block for its own.
  long depth = 1;
  while (!opensBlock(line) && !unitAtEnd(unit)) {
    if (!d12ReadLine(line, unit, kNameWidth)) break;
    if (startsWithNoCase(line, "name")) {
      std::string name = obj.name;
      FreeReader reader(std::string_view(line).substr(4));
      if (reader.read(name) != ReadResult::Ok) attributeUnreadable(line);
      obj.name = cutTo(name, kD12NameWidth);
    } else if (isHeightLine(line)) {
      FreeReader reader(std::string_view(line).substr(1));
      if (reader.read(obj.z) != ReadResult::Ok) attributeUnreadable(line);
    } else if (obj.isPolyline && startsWithNoCase(line, "closed")) {
      obj.closed = closedValue(line);
    } else if (!opensBlock(line)) {
      if (depth == 1 && contains(line, "string") && contains(line, "{")) {
        backspaceUnit(unit);
        obj.withoutData = true;
        break;
      }
      depth += std::count(line.begin(), line.end(), '{') - std::count(line.begin(), line.end(), '}');
      if (depth <= 0) {
        obj.withoutData = true;
        break;
      }
    }
  }
  if (obj.withoutData) {
    obj.data2d = obj.data3d = obj.hipData = false;
    return true;
  }
  setBlockKinds(line, obj);
  return true;
}

bool d12ReadData(int unit, d12Object& obj, OneBasedView<double> X, OneBasedView<double> Y,
                 OneBasedView<float> Z, int maxNodes, int& n, bool nullKeyword, bool hexFloats) {
  D12ReaderState& s = state();
  std::string& line = s.data;
  // A string without data has no block to read: the next line is another string's.
  if (obj.withoutData || !d12ReadLine(line, unit, kD12DataLineWidth) || !obj.isString) return false;
  n = 0;
  const bool withHeights = obj.data3d || obj.hipData;
  const bool flat = !withHeights && obj.data2d;
  if (!closesBlock(line)) {
    for (;;) {
      ++n;
      if (n > maxNodes) tooManyNodes(n, maxNodes);
      if (withHeights) {
        std::string_view text = line;
        if (nullKeyword && contains(line, "null")) {
          replaceNulls(line, hexFloats ? kNullHex : kNullDecimal, s.nulls);
          text = s.nulls;
        }
        FreeReader reader(text);
        const ReadResult r = reader.readAll(X(n), Y(n), Z(n));
        if (r != ReadResult::Ok) vertexUnreadable(r, text);
      } else if (flat) {
        FreeReader reader(line);
        const ReadResult r = reader.readAll(X(n), Y(n));
        if (r != ReadResult::Ok) vertexUnreadable(r, line);
        Z(n) = obj.z;
      }
      // A line the end of the file leaves behind a block is not a vertex.
      d12ReadLine(line, unit, kD12DataLineWidth);
      if (closesBlock(line) || unitAtEnd(unit)) break;
    }
  }
  if (obj.isPolyline && obj.closed && n >= 1) {
    ++n;
    X(n) = X(1);
    Y(n) = Y(1);
    Z(n) = Z(1);
  }
  lookAhead(unit, obj);
  return true;
}

bool d12SkipData(int unit, d12Object& obj) {
  if (!obj.isString || obj.withoutData) return false;
  std::string& line = state().data;
  // Blocks such as symbol data hold blocks of their own.
  long depth = 1;
  while (depth > 0 && d12ReadLine(line, unit, kD12DataLineWidth))
    depth += std::count(line.begin(), line.end(), '{') - std::count(line.begin(), line.end(), '}');
  lookAhead(unit, obj);
  return true;
}

}  // namespace quenzel
