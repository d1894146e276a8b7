#include "gis/mif_reader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <iterator>
#include <string_view>

#include "common/console.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

constexpr std::size_t kWindowWidth = 16;

// The keyword window of the line being typed and where its keyword starts
// (0-based; advanced past a matched keyword), the look-ahead after a region,
// and the line buffers of the vertex reads and of the .mid record rebuilt
// with commas (grown once, then reused).
struct MifReaderState {
  std::string window;
  // Position in the line of each window character, so that a keyword
  // matched in the folded window maps back onto the line.
  std::array<std::size_t, kWindowWidth> windowSource{};
  std::size_t column = 0;
  gisObject scratch;
  std::string scratchLine;
  std::string scratchRest;
  std::string vertexLine;
  std::string record;
};

MifReaderState& state() {
  static MifReaderState s;
  return s;
}

[[noreturn]] void corrupted() {
  gisStop("ERROR 0308 - Reading .mif file.  Check file format is not corrupted.");
}
[[noreturn]] void unexpectedEnd() { gisStop("ERROR 0309 - Unexpected end of .mif file encountered."); }

[[noreturn]] void readFailed(bool atEnd) {
  if (atEnd) unexpectedEnd();
  corrupted();
}

bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

bool blankOrTabs(std::string_view s) { return std::all_of(s.begin(), s.end(), isBlankOrTab); }

// LF-CR line ends leave a CR at the start of every line after the first, and
// a stray CR may stand at either end: .mif lines and .mid records both read
// without them. A CR inside a line stays.
void withoutEdgeCRs(std::string& line) {
  if (line.empty() || (line.front() != '\r' && line.back() != '\r')) return;
  line.erase(0, line.find_first_not_of('\r'));
  line.erase(line.find_last_not_of('\r') + 1);
}

// The next line of an object; the file must not end here.
void objectLine(int unit, std::string& line) {
  const IoStatus status = mifReadRecord(unit, line);
  if (status != IoStatus::Ok) readFailed(status == IoStatus::End);
}

void skipObjectLines(int unit, std::int64_t count) {
  std::string& buffer = state().vertexLine;
  for (std::int64_t i = 0; i < count; ++i) objectLine(unit, buffer);
}

// Values read from a text alone: the text ending first is the end of the
// data.
template <class... T>
void readFromText(std::string_view text, T&... values) {
  const ReadResult r = FreeReader(text).readAll(values...);
  if (r != ReadResult::Ok) readFailed(r == ReadResult::End);
}

// Values read from the unit as a free-format read of the file reads them:
// from the next line on, going on to the lines after it (blank ones
// included) while values are missing. A non-blank `first` text is read
// before any line.
template <class... T>
void readFromLines(int unit, std::string_view first, T&... values) {
  std::string& buffer = state().vertexLine;
  FreeReader reader(first);
  auto one = [&](auto& value) {
    for (;;) {
      const ReadResult r = reader.read(value);
      if (r == ReadResult::Ok) return;
      if (r == ReadResult::Error) corrupted();
      const IoStatus status = mifReadRecord(unit, buffer, std::string::npos);
      if (status != IoStatus::Ok) readFailed(status == IoStatus::End);
      reader = FreeReader(buffer);
    }
  };
  (one(values), ...);
}

// ---- The keyword window ---------------------------------------------------------

// From the line's first character that is neither a blank nor a tab, 16
// characters upper-cased, each run of blanks and tabs folded to one blank:
// "Pline  Multiple" and "Pline<tab>Multiple" read as "PLINE MULTIPLE".
void takeWindow(std::string_view line) {
  MifReaderState& s = state();
  const std::size_t last = significantLength(line);
  std::size_t column = 0;
  while (column + 1 < last && isBlankOrTab(line[column])) ++column;
  s.column = column;
  s.window.clear();
  for (std::size_t i = column; i < line.size() && s.window.size() < kWindowWidth; ++i) {
    if (isBlankOrTab(line[i])) {
      if (!s.window.empty() && s.window.back() == ' ') continue;
      s.window.push_back(' ');
    } else {
      s.window.push_back(upperAscii(line[i]));
    }
    s.windowSource[s.window.size() - 1] = i;
  }
}

}  // namespace

// True when the window starts with keyword: the column then moves past it and
// the record takes the keyword as its type name.
bool mifKeywordIs(std::string_view keyword, gisObject& obj) {
  MifReaderState& s = state();
  if (!s.window.starts_with(keyword)) return false;
  s.column = s.windowSource[keyword.size() - 1] + 1;
  obj.gisObjectTypeName = keyword;
  return true;
}

namespace {

// The section, point or ring count that follows the keyword.
void keywordCount(std::string_view line, int& count) {
  if (FreeReader(line.substr(state().column)).read(count) != ReadResult::Ok) corrupted();
}

// The object keywords in the order they are tested (the first match wins).
struct ObjectKeyword {
  std::string_view keyword;
  bool gisObject::*flag;
};
constexpr ObjectKeyword kObjectKeywords[] = {
    {"POINT", &gisObject::isPoint},         {"PLINE MULTIPLE", &gisObject::isPlineMultiple},
    {"PLINE", &gisObject::isPline},         {"LINE", &gisObject::isLine},
    {"REGION", &gisObject::isRegion},       {"MULTIPOINT", &gisObject::isMultiPoint},
    {"NONE", &gisObject::isNone},           {"RECT", &gisObject::isRect},
    {"ROUNDRECT", &gisObject::isRoundRect}, {"TEXT", &gisObject::isText},
    {"ARC", &gisObject::isArc},             {"ELLIPSE", &gisObject::isEllipse},
};

bool hasObjectFlag(const gisObject& obj) {
  return std::any_of(std::begin(kObjectKeywords), std::end(kObjectKeywords),
                     [&](const ObjectKeyword& k) { return obj.*k.flag; });
}

void typeLine(std::string_view line, gisObject& obj) {
  const auto match = std::find_if(std::begin(kObjectKeywords), std::end(kObjectKeywords),
                                  [&](const ObjectKeyword& k) { return mifKeywordIs(k.keyword, obj); });
  if (match != std::end(kObjectKeywords)) {
    obj.*match->flag = true;
    if (obj.isPlineMultiple || obj.isMultiPoint) keywordCount(line, obj.nsect);
    if (obj.isRegion) {
      keywordCount(line, obj.nr);
      if (obj.nr > gisMaxParts)
        gisStop("ERROR 0304 - Exceeded maximum number of polygons in region below of " + AINTEGER(gisMaxParts), line);
    }
  } else if (mifKeywordIs("COLLECTION", obj)) {
    gisStop("ERROR 0303 - MIF \"Collection\" objects not supported.  Delete or disaggregate object.");
  }
  obj.isCenter = mifKeywordIs("CENTER", obj);
}

// ---- Header ----------------------------------------------------------------------

// A header line `Delimiter ";"` or `Delimiter ;` (any case) gives the text
// between the values of the .mid records. GDAL takes such a line as words and
// passes over one that is not two words, as `Delimiter";"` and
// `Delimiter ";" x` are, and one that starts with a tab; so does this reader.
void declaredDelimiter(std::string_view line, std::string& delimiter) {
  constexpr std::string_view kKeyword = "DELIMITER";
  std::size_t k = line.find_first_not_of(' ');
  if (k == std::string_view::npos) return;
  const auto skipBlanks = [&] {
    while (k < line.size() && isBlankOrTab(line[k])) ++k;
  };
  if (upperAscii(line.substr(k, kKeyword.size())) != kKeyword) return;
  k += kKeyword.size();
  const std::size_t keywordEnd = k;
  skipBlanks();
  if (k == keywordEnd) return;
  std::string_view value;
  if (k < line.size() && line[k] == '"') {
    const std::size_t close = line.find('"', k + 1);
    if (close == std::string_view::npos) return;
    value = line.substr(k + 1, close - k - 1);
    k = close + 1;
  } else {
    const std::size_t start = k;
    while (k < line.size() && !isBlankOrTab(line[k]) && line[k] != '"') ++k;
    value = line.substr(start, k - start);
  }
  skipBlanks();
  if (value.empty() || k != line.size()) return;
  delimiter.assign(value);
}

[[noreturn]] void noDataLine() { gisStop("ERROR 0313 - Could not find start of \"Data\" block in .mif file."); }

// Reads the "Columns" line, the definitions and the "Data" line. The
// definitions are kept in layer when one is given (up to 256 of them).
void readColumnsToData(int unit, MifLayer* layer) {
  std::string* const delimiter = layer ? &layer->delimiter : nullptr;
  int count = 0;
  const ColumnsLine columns = mifReadColumnsCount(unit, kNameWidth, count, delimiter);
  if (columns == ColumnsLine::Missing)
    gisStop("ERROR 0315 - Could not find start of attribute definitions in .mif file");
  if (columns == ColumnsLine::NoCount) gisStop("ERROR 0314 - Could not read number of attributes in .mif file");
  if (count < 1) gisStop("ERROR 0319 - No attributes specified in .mif file.");
  const int kept = std::min(count, gisMaxColumns);
  std::string line;
  for (int i = 1; i <= count; ++i) {
    if (mifReadRecord(unit, line) != IoStatus::Ok)
      gisStop("ERROR 0316 - Could not read attribute definitions in .mif file");
    if (layer == nullptr || i > kept) continue;
    std::string name;
    std::string type;
    mifSplitColumnDefinition(line, name, type);
    layer->columnName(i) = cutTo(name, kFieldNameWidth);
    layer->columnType(i) = cutTo(type, kFieldTypeWidth);
  }
  if (layer != nullptr) {
    layer->columnCount = kept;
    std::string listing = AINTEGER(kept) + " MIF Fields: Name [#/Type]: ";
    for (int i = 1; i <= kept; ++i)
      listing += layer->columnName(i) + " [" + AINTEGER(i) + "/" + layer->columnType(i) + "]  ";
    const std::string_view text = trimRight(listing);
    console::line(text);
    if (gisModule().gisLogUnit > 0) writeLine(gisModule().gisLogUnit, text);
  }

  // A Delimiter line may also stand between the definitions and "Data".
  line = "XXX";
  while (!FLAGEXISTS(slice(line, 1, 4), "Data") && !unitAtEnd(unit)) {
    if (mifReadRecord(unit, line) != IoStatus::Ok) noDataLine();
    if (delimiter != nullptr) declaredDelimiter(line, *delimiter);
  }
  if (!FLAGEXISTS(slice(line, 1, 4), "Data")) noDataLine();
}

}  // namespace

IoStatus mifReadRecord(int unit, std::string& line, std::size_t width) {
  const IoStatus status = readLine(unit, line);
  withoutEdgeCRs(line);
  if (line.size() > width) line.resize(width);
  return status;
}

ColumnsLine mifReadColumnsCount(int unit, std::size_t width, int& count, std::string* delimiter) {
  std::string line = "XXX";
  while (!FLAGEXISTS(slice(line, 1, 7), "Columns")) {
    if (unitAtEnd(unit) || mifReadRecord(unit, line, width) != IoStatus::Ok) return ColumnsLine::Missing;
    if (delimiter != nullptr) declaredDelimiter(line, *delimiter);
  }
  if (FreeReader(slice(line, 8, line.size())).read(count) != ReadResult::Ok) return ColumnsLine::NoCount;
  return ColumnsLine::Found;
}

namespace {

// Whether the free-format read takes the field as one double-quoted text: a
// quote after any blanks, its closing quote (doubled ones inside it) and
// nothing but blanks after that. An unclosed quote runs to the end of the
// record, as the field then does.
bool isOneQuotedText(std::string_view field) {
  std::size_t k = 0;
  while (k < field.size() && isBlankOrTab(field[k])) ++k;
  if (k == field.size() || field[k] != '"') return false;
  for (++k; k < field.size(); ++k) {
    if (field[k] != '"') continue;
    if (k + 1 < field.size() && field[k + 1] == '"') {
      ++k;
      continue;
    }
    return blankOrTabs(field.substr(k + 1));
  }
  return true;
}

// The field as its value stands in a comma-delimited record. A comma, blank
// or tab inside it would end the value early and a quote could open a text,
// so such a field goes in double quotes, whole (its own ones doubled), unless
// it is one double-quoted text already: its value never runs into the next
// one. Any other field goes without the blanks around it, which would only
// separate values there.
void appendAsCommaField(std::string& out, std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return;
  const std::string_view value = field.substr(first, field.find_last_not_of(" \t") + 1 - first);
  if (value.find_first_of(", \t'\"") == std::string_view::npos || isOneQuotedText(value)) {
    out += value;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

void midRecordAsRead(std::string& record, std::string_view delimiter) {
  withoutEdgeCRs(record);
  if (delimiter == "," || delimiter.empty()) return;
  // Split where GDAL splits: at the whole delimiter outside double quotes (a
  // doubled quote inside a value toggles twice).
  std::string& out = state().record;
  out.clear();
  const std::string_view text = record;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t k = 0; k < text.size();) {
    if (text[k] == '"') {
      quoted = !quoted;
    } else if (!quoted && text.substr(k, delimiter.size()) == delimiter) {
      appendAsCommaField(out, text.substr(start, k - start));
      out += ',';
      k += delimiter.size();
      start = k;
      continue;
    }
    ++k;
  }
  appendAsCommaField(out, text.substr(start));
  record.swap(out);
}

void mifSplitColumnDefinition(std::string_view line, std::string& name, std::string& type) {
  const std::string_view def = trimBoth(line);
  const std::size_t p = def.find(' ');
  name.assign(def.substr(0, p));
  type.assign(p == std::string_view::npos ? std::string_view() : def.substr(p + 1));
}

void mifReadHeader(MifLayer& layer) {
  if (layer.mifUnit < 1) return;
  rewindUnit(layer.mifUnit);
  // The format's delimiter when the header declares none.
  layer.delimiter = "\t";
  readColumnsToData(layer.mifUnit, &layer);
}

void mifGotoData(int unit) {
  if (unit < 1) return;
  rewindUnit(unit);
  readColumnsToData(unit, nullptr);
}

// ---- Objects -----------------------------------------------------------------------

bool mifObjectType(int unit, std::string& line, std::string& rest, gisObject& obj) {
  line.clear();
  state().column = 0;
  while (!unitAtEnd(unit)) {
    const IoStatus status = mifReadRecord(unit, line);
    if (status == IoStatus::End)
      gisStop("ERROR 0322 - End of .mif file encountered whilst reading object type.");
    if (status != IoStatus::Ok) gisStop("ERROR 0321 - Reading .mif file object type.");
    takeWindow(line);
    typeLine(line, obj);
    if (hasObjectFlag(obj)) break;
  }
  const std::size_t column = std::min(state().column, line.size());
  rest.assign(line, column);
  return hasObjectFlag(obj);
}

bool mifCheckNodes(std::int64_t requested, std::int64_t limit) {
  if (requested <= limit) return false;
  gisStop("ERROR 0310 - Exceeded number of allowable nodes in a single polyline or region.",
          "             Requested" + formatI(requested, 8) + "        Limit" + formatI(limit, 8));
}

namespace {

// The vertices of a polyline or of one section: n from the count already
// read.
void readPlineVertices(int unit, OneBasedView<double> X, OneBasedView<double> Y, int maxNodes, int n, bool all) {
  if (n < 0) corrupted();
  if (all) {
    mifCheckNodes(n, maxNodes);
    for (int i = 1; i <= n; ++i) readFromLines(unit, {}, X(i), Y(i));
  } else if (n >= 1) {
    readFromLines(unit, {}, X(1), Y(1));
    skipObjectLines(unit, n - 1);
  }
}

// Rings as stored for the inside tests: each ring as in the file, then a
// copy of its second vertex; ir(k) is the position of ring k's last file
// vertex. Returns the count of stored positions.
std::int64_t readRegionRings(int unit, std::string& rest, gisObject& obj, OneBasedView<double> X,
                             OneBasedView<double> Y, int maxNodes, bool all) {
  std::int64_t n = 0;
  std::int64_t s = 1;
  int k = 0;
  for (int ring = 1; ring <= obj.nr; ++ring) {
    objectLine(unit, rest);
    int cnt = 0;
    readFromText(rest, cnt);
    if (cnt < 0) corrupted();
    n += static_cast<std::int64_t>(cnt) + 1;
    if (all) {
      mifCheckNodes(n, maxNodes);
      for (std::int64_t i = s; i <= n - 1; ++i) readFromLines(unit, {}, X(i), Y(i));
      if (cnt >= 2) {
        X(n) = X(s + 1);
        Y(n) = Y(s + 1);
      }
      ++k;
      obj.ir(k) = static_cast<int>(n - 1);
      s = n + 1;
    } else if (ring == 1 && cnt >= 1) {
      readFromLines(unit, {}, X(1), Y(1));
      skipObjectLines(unit, cnt - 1);
    } else {
      skipObjectLines(unit, cnt);
    }
  }
  if (n < 5) gisStop("ERROR 0318 - Less than 5 points for Region object in mif file.");
  return n;
}

// A Center line gives a region its label point only as the file's last
// line; otherwise the keyword line read ahead is left for the next typing.
void regionCenter(int unit, bool& useMean, double& xLabel, double& yLabel) {
  MifReaderState& s = state();
  gisInitialiseObject(s.scratch);
  const bool anyLine = !unitAtEnd(unit);
  const bool found = mifObjectType(unit, s.scratchLine, s.scratchRest, s.scratch);
  if (!found && s.scratch.isCenter) {
    readFromText(s.scratchRest, xLabel, yLabel);
    useMean = false;
  } else if (anyLine) {
    backspaceUnit(unit);
  }
}

}  // namespace

bool mifReadObject(int unit, std::string& rest, gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y,
                   int maxNodes, int& n, bool& useMean, double& xLabel, double& yLabel, bool all) {
  obj.isComplete = false;
  if (obj.isPoint) {
    if (blankOrTabs(rest)) readFromLines(unit, {}, X(1), Y(1));
    else readFromText(rest, X(1), Y(1));
    n = 1;
  } else if (obj.isMultiPoint) {
    readFromLines(unit, {}, X(1), Y(1));
    n = 1;
  } else if (obj.isLine || obj.isRect || obj.isRoundRect) {
    n = 2;
    readFromText(rest, X(1), Y(1), X(2), Y(2));
  } else if (obj.isArc || obj.isEllipse || obj.isText || obj.isNone) {
    n = 0;
    return true;
  } else if (obj.isPline) {
    // Some writers put the vertex count on the line after the keyword.
    int count = 0;
    readFromLines(unit, rest, count);
    n = count;
    readPlineVertices(unit, X, Y, maxNodes, count, all);
  } else if (obj.isPlineMultiple) {
    objectLine(unit, rest);
    int count = 0;
    readFromText(rest, count);
    n = count;
    readPlineVertices(unit, X, Y, maxNodes, count, all);
  } else if (obj.isRegion) {
    const std::int64_t stored = readRegionRings(unit, rest, obj, X, Y, maxNodes, all);
    n = static_cast<int>(std::min<std::int64_t>(stored, INT_MAX));
    regionCenter(unit, useMean, xLabel, yLabel);
  } else {
    return false;
  }
  obj.isComplete = true;
  return true;
}

}  // namespace quenzel
