// The older MIF routines that read: typing keyword lines, reading object
// coordinates, and the header readers.
#include <algorithm>
#include <initializer_list>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/mi_routines.h"
#include "gis/mif_reader.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

constexpr std::size_t kWindowWidth = 16;
constexpr std::size_t kHeaderLineWidth = 100;

// The record and remainder of the look-ahead after a region, kept so that
// its 10000 ring ends are allocated once.
struct MiReaderState {
  miObject scratch;
  std::string scratchRest;
};

MiReaderState& state() {
  static MiReaderState s;
  return s;
}

[[noreturn]] void stop(std::initializer_list<std::string_view> lines) {
  for (std::string_view l : lines) console::line(l);
  EXITS();
}

[[noreturn]] void erroneousLine(std::string_view line) {
  stop({"ERROR 0308 - Reading .mif file.  Erroneous line is:", trimRight(line)});
}

[[noreturn]] void unexpectedEnd() { stop({"ERROR 0309 - Unexpected end of .mif file encountered."}); }

[[noreturn]] void tooManyRings(std::string_view line) {
  stop({"ERROR 0304 - Exceeded maximum number of polygons in region below of " + AINTEGER(miMaxRings),
        trimRight(line)});
}

void warnAndPause(std::string_view text) {
  console::line(text);
  PAUSES();
}

// The next record of the object into rest, cut to 1000 characters.
void nextLine(int unit, std::string& rest) {
  const IoStatus status = mifReadRecord(unit, rest);
  if (status == IoStatus::End) unexpectedEnd();
  if (status != IoStatus::Ok) erroneousLine(rest);
}

// Values read from one text; a text that ends first is the end of the data,
// a value that does not convert shows `shown` as the erroneous line.
template <class... T>
void readValues(std::string_view text, std::string_view shown, T&... values) {
  const ReadResult r = FreeReader(text).readAll(values...);
  if (r == ReadResult::End) unexpectedEnd();
  if (r == ReadResult::Error) erroneousLine(shown);
}

// A count must not be negative: it becomes a vertex count handed back to the
// caller and a number of lines to read.
int readCount(std::string_view rest) {
  int count = 0;
  readValues(rest, rest, count);
  if (count < 0) erroneousLine(rest);
  return count;
}

// The object keywords in the order they are tested, each flag set to its
// outcome; "PLINE" only when "PLINE MULTIPLE" did not match.
struct Keyword {
  std::string_view word;
  bool miObject::*flag;
};
constexpr Keyword kKeywords[] = {
    {"NONE", &miObject::isNone},
    {"ARC", &miObject::isArc},
    {"ELLIPSE", &miObject::isEllipse},
    {"LINE", &miObject::isLine},
    {"PLINE MULTIPLE", &miObject::isPlineMultiple},
    {"PLINE", &miObject::isPline},
    {"POINT", &miObject::isPoint},
    {"RECT", &miObject::isRect},
    {"REGION", &miObject::isRegion},
    {"ROUNDRECT", &miObject::isRoundRect},
    {"TEXT", &miObject::isText},
    {"MULTIPOINT", &miObject::isMultiPoint},
};

bool anyObjectFlag(const miObject& obj) {
  return std::any_of(std::begin(kKeywords), std::end(kKeywords), [&](const Keyword& k) { return obj.*k.flag; });
}

}  // namespace

void miInitialiseObject(miObject& obj) {
  for (const Keyword& k : kKeywords) obj.*k.flag = false;
  obj.isSpare = false;
  obj.isCenter = false;
  obj.nsect = 0;
  obj.nr = 0;
  obj.typeName.clear();
}

bool miKeywordIs(std::string_view window, std::string_view keyword, std::size_t& p, miObject& obj) {
  if (!window.starts_with(keyword)) return false;
  p += keyword.size();
  obj.typeName = keyword;
  return true;
}

bool miObjectType(std::string_view line, std::string& rest, miObject& obj) {
  obj.nsect = 1;
  obj.nr = 0;
  const std::size_t last = significantLength(line);
  std::size_t p = 0;
  while (p + 1 < last && (line[p] == ' ' || line[p] == '\t')) ++p;
  const std::string window = upperAscii(fitted(line.substr(std::min(p, line.size())), kWindowWidth));

  if (miKeywordIs(window, "COLLECTION", p, obj))
    stop({"ERROR 0303 - MIF \"Collection\" objects not supported.  Delete or disaggregate object."});
  for (const Keyword& k : kKeywords) {
    if (k.flag == &miObject::isPline && obj.isPlineMultiple) {
      obj.isPline = false;
      continue;
    }
    obj.*k.flag = miKeywordIs(window, k.word, p, obj);
  }
  const std::string_view after = line.substr(std::min(p, line.size()));
  if (obj.isPlineMultiple || obj.isMultiPoint) {
    if (FreeReader(after).read(obj.nsect) != ReadResult::Ok) erroneousLine(line);
  } else if (obj.isRegion) {
    if (FreeReader(after).read(obj.nr) != ReadResult::Ok) erroneousLine(line);
    if (obj.nr > miMaxRings) tooManyRings(line);
  }
  obj.isCenter = miKeywordIs(window, "CENTER", p, obj);
  rest.assign(line.substr(std::min(p, line.size())));
  return anyObjectFlag(obj);
}

bool miNodeLimitExceeded(std::int64_t n, int maxNodes) {
  if (n <= maxNodes) return false;
  stop({"ERROR 0310 - Exceeded number of allowable nodes in a single polyline or region.",
        "             Requested" + formatI(n, 8) + "        Limit" + formatI(maxNodes, 8)});
}

namespace {

// Rings as the inside tests walk them; returns the stored count (at most
// maxNodes), with ir(k) the position of ring k's last file vertex. Sums run
// in 64 bits and are checked before any vertex is stored.
int readRings(std::string& rest, int unit, miObject& obj, OneBasedView<double> X, OneBasedView<double> Y,
              int maxNodes) {
  if (obj.nr > miMaxRings) tooManyRings(rest);
  std::int64_t n = 0;
  for (int k = 1; k <= obj.nr; ++k) {
    nextLine(unit, rest);
    const int c = readCount(rest);
    const std::int64_t first = n + 1;
    n += static_cast<std::int64_t>(c) + 1;
    miNodeLimitExceeded(n, maxNodes);
    for (std::int64_t i = first; i < n; ++i) {
      nextLine(unit, rest);
      readValues(rest, rest, X(i), Y(i));
    }
    // A ring of fewer than 2 vertices has no second vertex to repeat.
    if (c >= 2) {
      X(n) = X(first + 1);
      Y(n) = Y(first + 1);
    }
    obj.ir(k) = static_cast<int>(n - 1);
  }
  return static_cast<int>(n);
}

// The label of a region just read: a Center line before the next object
// keyword gives it and is consumed; otherwise the vertex mean, and the last
// line read is left to be read again.
void regionLabel(std::string& rest, int unit, OneBasedView<double> X, OneBasedView<double> Y, int n,
                 double& xLabel, double& yLabel) {
  MiReaderState& s = state();
  while (!unitAtEnd(unit)) {
    nextLine(unit, rest);
    if (miObjectType(rest, s.scratchRest, s.scratch)) break;
    if (s.scratch.isCenter) {
      readValues(s.scratchRest, rest, xLabel, yLabel);
      return;
    }
  }
  regionMeanLabel(X, Y, n, xLabel, yLabel);
  backspaceUnit(unit);
}

}  // namespace

bool miReadObject(std::string_view /*spare*/, std::string& rest, int unit, miObject& obj, OneBasedView<double> X,
                  OneBasedView<double> Y, int maxNodes, int& n, double& xLabel, double& yLabel, float& angle,
                  float& length) {
  angle = 0.0f;
  length = 0.0f;
  if (obj.isPoint || obj.isMultiPoint) {
    // A multipoint gives its first point only; its other lines hold no
    // keyword and are passed over by the next typing.
    if (obj.isMultiPoint || isAllBlank(rest)) nextLine(unit, rest);
    readValues(rest, rest, X(1), Y(1));
    n = 1;
    xLabel = X(1);
    yLabel = Y(1);
    X(2) = X(1);
    Y(2) = Y(1);
    return true;
  }
  if (obj.isLine || obj.isRect || obj.isRoundRect) {
    readValues(rest, rest, X(1), Y(1), X(2), Y(2));
    n = 2;
    segmentLabel(X, Y, xLabel, yLabel, angle, length);
    return true;
  }
  if (obj.isArc || obj.isEllipse) {
    n = 0;
    return false;
  }
  if (obj.isPline || obj.isPlineMultiple) {
    if (!obj.isPline) nextLine(unit, rest);
    const int count = readCount(rest);
    miNodeLimitExceeded(count, maxNodes);
    for (int i = 1; i <= count; ++i) {
      nextLine(unit, rest);
      readValues(rest, rest, X(i), Y(i));
    }
    n = count;
    polylineLabel(X, Y, n, xLabel, yLabel, angle, length);
    return true;
  }
  if (obj.isRegion) {
    n = readRings(rest, unit, obj, X, Y, maxNodes);
    if (n <= 4) {
      console::line("WARNING 0318 - Insufficient points for Region object in mif file.  Region ignored.");
      // Without a ring line read, one record back would be the keyword line
      // itself, and the same region would come round again for ever.
      if (obj.nr >= 1) backspaceUnit(unit);
      return false;
    }
    regionLabel(rest, unit, X, Y, n, xLabel, yLabel);
    return true;
  }
  return false;
}

// ---- Header readers --------------------------------------------------------------

bool miGotoData(int unit) {
  rewindUnit(unit);
  std::string line = "XXX";
  while (!FLAGEXISTS(slice(line, 1, 4), "Data") && !unitAtEnd(unit)) {
    if (mifReadRecord(unit, line, kHeaderLineWidth) != IoStatus::Ok) {
      warnAndPause("WARNING 0313 - Problems finding start of data in .mif file");
      return false;
    }
  }
  return true;
}

bool miReadNumberAttributes(int unit, int& n) {
  rewindUnit(unit);
  // A file without a "Columns" line has no count: the last line read is not
  // one.
  const ColumnsLine columns = mifReadColumnsCount(unit, kHeaderLineWidth, n);
  if (columns == ColumnsLine::Missing)
    warnAndPause("WARNING 0315 - Problems finding start of attribute definitions in .mif file");
  if (columns == ColumnsLine::NoCount)
    warnAndPause("WARNING 0314 - Problems reading number of attributes in .mif file");
  return columns == ColumnsLine::Found;
}

bool miReadAttributeDefinition(int unit, miAttributeDefinition& definition) {
  std::string line;
  if (mifReadRecord(unit, line) != IoStatus::Ok) {
    warnAndPause("WARNING 0316 - Problems reading attribute definition in .mif file");
    return false;
  }
  mifSplitColumnDefinition(line, definition.name, definition.type);
  definition.name = cutTo(definition.name, kHeaderLineWidth);
  definition.type = cutTo(definition.type, kHeaderLineWidth);
  return true;
}

}  // namespace quenzel
