#include "gis/shapefile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/byte_order.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/dbase.h"

namespace quenzel {

const std::array<std::string_view, 33> shpShapeTypeNames = {
    "Null Shape", "Point",   "Unknown", "Polyline",    "Unknown", "Polygon",     "Unknown", "Unknown",
    "MultiPoint", "Unknown", "Unknown", "PointZ",      "Unknown", "PolyLineZ",   "Unknown", "PolygonZ",
    "Unknown",    "Unknown", "MultiPointZ", "Unknown", "Unknown", "PointM",      "Unknown", "PolyLineM",
    "Unknown",    "PolygonM", "Unknown", "Unknown",    "MultiPointM", "Unknown", "Unknown", "MultiPatch",
    "Unknown"};

std::string_view shpShapeTypeName(int shapeType) {
  if (shapeType < 0) return "Unknown";
  return shpShapeTypeNames[static_cast<std::size_t>(std::min(shapeType, 32))];
}

namespace {

constexpr int kHeaderWords = 50;
constexpr std::int64_t kHeaderBytes = 100;

// Where the reader stands in the record it read last: the end of the
// structure its counts describe, and the end its content length gives.
struct ReadCursor {
  std::int64_t recordStart = kHeaderBytes;
  std::int64_t structureEnd = kHeaderBytes;
  std::int64_t recordEnd = kHeaderBytes;
};

struct ShapefileModule {
  std::string le;      // the little-endian unit's share of a structure
  std::string be;      // the big-endian unit's share
  std::string points;  // coordinates read in one call
  std::unordered_map<int, ReadCursor> cursors;  // by .shp input unit
};

ShapefileModule& shapefileModule() {
  static ShapefileModule m;
  return m;
}

// ---- Opening ------------------------------------------------------------------

void checkProjection(const std::string& prjName, int& prjUnit) {
  const GisLayerModule& m = gisModule();
  std::string wanted = m.gisShpProjection;
  if (BLANK(wanted) || !platform::fileExists(prjName)) return;
  OPENFILE(prjUnit, "I ", prjName);
  std::string line;
  if (readLine(prjUnit, line) != IoStatus::Ok) gisStop("ERROR 0420 - Could not read projection line in .prj file.");
  CLOSER(prjUnit);
  line = cutTo(line, kNameWidth);
  const std::string name = TRIMF(prjReadProjcs(line));
  if (name == trimRight(m.gisShpProjection)) return;
  const std::string_view text =
      " 0305 - Projection of .shp file is different to that specified by the SHP Projection == command.";
  if (m.gisProjectionCheckError)
    gisStop("ERROR" + std::string(text), "Use \"GIS Projection Check == WARNING\" to change message to a WARNING.");
  setGisMessageLine(1, "WARNING" + std::string(text));
  gisWriteMessage(0);
}

// ---- Writing ------------------------------------------------------------------

[[noreturn]] void recordWriteFailed() { gisStop("ERROR 0439 - Writing .shp file object coordinates."); }

void putOrFail(bool ok) {
  if (!ok) recordWriteFailed();
}

// The object's box over gisX/gisY(1..np); with no vertices an inverted box
// that leaves the set's box as it is.
void objectBox(int np, double& xMin, double& yMin, double& xMax, double& yMax) {
  xMin = yMin = std::numeric_limits<double>::max();
  xMax = yMax = -std::numeric_limits<double>::max();
  const double* xs = gisX.data();
  const double* ys = gisY.data();
  for (int i = 0; i < np; ++i) {
    xMin = std::min(xMin, xs[i]);
    xMax = std::max(xMax, xs[i]);
    yMin = std::min(yMin, ys[i]);
    yMax = std::max(yMax, ys[i]);
  }
}

void takeIntoBox(ShpFile& set, double xMin, double yMin, double xMax, double yMax) {
  set.xMin = std::min(set.xMin, xMin);
  set.yMin = std::min(set.yMin, yMin);
  set.xMax = std::max(set.xMax, xMax);
  set.yMax = std::max(set.yMax, yMax);
}

// Appends gisX/gisY(1..np) as X, Y pairs.
void appendPoints(std::string& b, int np) {
  const std::size_t at = b.size();
  b.resize(at + 16 * static_cast<std::size_t>(np));
  char* p = b.data() + at;
  const double* xs = gisX.data();
  const double* ys = gisY.data();
  for (int i = 0; i < np; ++i, p += 16) {
    putLEDouble(p, xs[i]);
    putLEDouble(p + 8, ys[i]);
  }
}

// The length and box of one completed file, written in place once its
// units are closed.
void patchHeader(const std::string& name, int fileLength, const ShpFile& set) {
  // A set whose records are all null has no extent: the empty box.
  const bool empty = !(set.xMin <= set.xMax && set.yMin <= set.yMax);
  FilePatch patch;
  patch.open(name);
  patch.writeInt32(7, fileLength, ByteOrder::Big);
  patch.writeDouble(10, empty ? 0.0 : set.xMin, ByteOrder::Little);
  patch.writeDouble(12, empty ? 0.0 : set.yMin, ByteOrder::Little);
  patch.writeDouble(14, empty ? -1.0 : set.xMax, ByteOrder::Little);
  patch.writeDouble(16, empty ? -1.0 : set.yMax, ByteOrder::Little);
  if (!patch.close()) gisStop("ERROR 0413 - Rewriting .dbf file header with final information.");
}

// ---- Reading ------------------------------------------------------------------

ReadCursor& cursorOf(int unit) { return shapefileModule().cursors[unit]; }

struct ReadMessages {
  std::string_view end;
  std::string_view error;
};
constexpr ReadMessages kTypeRead{"ERROR 0425 - End of .shp file encountered whilst reading object type.",
                                 "ERROR 0424 - Reading .shp file object type."};
constexpr ReadMessages kCoordinateRead{
    "ERROR 0430 - End of .shp file encountered whilst reading object coordinates.",
    "ERROR 0429 - Reading .shp file object coordinates."};

void readOrStop(int unit, char* data, std::size_t n, const ReadMessages& messages) {
  gisReadBytes(unit, data, n, messages.end, messages.error);
}

std::int32_t readLE32(int unit, const ReadMessages& messages) {
  char b[4];
  readOrStop(unit, b, 4, messages);
  return static_cast<std::int32_t>(getLE32(b));
}

void skipBytes(int unit, std::int64_t n) { positionUnit(unit, unitPosition(unit) + n); }

// Part starts of a record: the first 0, each above the one before, all
// below the point count. Anything else would index outside the points.
bool partStartsValid(const gisObject& obj, int parts, int points) {
  for (int k = 1; k <= parts; ++k) {
    const int start = obj.ir(k);
    if (k == 1 ? start != 0 : start <= obj.ir(k - 1)) return false;
    if (start >= points) return false;
  }
  return true;
}

void readPartStarts(int unit, gisObject& obj, int parts, const ReadMessages& messages) {
  std::string& b = shapefileModule().points;
  b.resize(4 * static_cast<std::size_t>(parts));
  readOrStop(unit, b.data(), b.size(), messages);
  for (int k = 1; k <= parts; ++k) obj.ir(k) = static_cast<std::int32_t>(getLE32(b.data() + 4 * (k - 1)));
}

// n points in one read: into x(first..first+n-1), y(...) with all, else
// only the last of them into x(1), y(1).
void readPoints(int unit, int n, OneBasedView<double> x, OneBasedView<double> y, int first, bool all) {
  if (n < 1) return;
  std::string& b = shapefileModule().points;
  b.resize(16 * static_cast<std::size_t>(n));
  readOrStop(unit, b.data(), b.size(), kCoordinateRead);
  const char* p = b.data();
  if (!all) {
    x(1) = getLEDouble(p + 16 * (n - 1));
    y(1) = getLEDouble(p + 16 * (n - 1) + 8);
    return;
  }
  for (int i = 0; i < n; ++i, p += 16) {
    x(first + i) = getLEDouble(p);
    y(first + i) = getLEDouble(p + 8);
  }
}

// The polygon record after its ring count: point count, ring starts, and the
// rings in the layout the inside tests walk.
void readPolygon(int unit, gisObject& obj, OneBasedView<double> x, OneBasedView<double> y, int maxNodes, int& n,
                 bool all, ReadCursor& cursor) {
  const int points = readLE32(unit, kCoordinateRead);
  n = points;
  const std::int64_t end = cursor.recordStart + 52 + 4 * std::int64_t(obj.nr) + 16 * std::int64_t(points);
  if (points < 0 || end > cursor.recordEnd) gisStop(kCoordinateRead.error);
  // Rings without points are a region without vertices, as a record of no
  // rings is: its ring starts are passed over.
  if (points == 0) obj.nr = 0;
  const int nr = obj.nr;
  readPartStarts(unit, obj, nr, kCoordinateRead);
  if (!partStartsValid(obj, nr, points)) gisStop(kCoordinateRead.error);
  cursor.structureEnd = 0;  // the record is read whole in this call
  obj.ir(nr + 1) = points;
  if (!all) {
    readPoints(unit, points, x, y, 1, false);
    return;
  }
  shpCheckNodes(points + nr, maxNodes);
  if (nr < 1) {
    n = 0;
    return;
  }
  int m = 0;
  for (int k = 1; k <= nr; ++k) {
    const int c = obj.ir(k + 1) - obj.ir(k);
    n = m + c + 1;
    readPoints(unit, c, x, y, m + 1, true);
    // A ring of one point repeats that point.
    const int copied = c >= 2 ? m + 2 : m + 1;
    x(n) = x(copied);
    y(n) = y(copied);
    obj.ir(k) = n - 1;
    m = n;
  }
}

}  // namespace

bool OpenshpFile(std::string_view fileName, std::string_view suffix, int& dbfUnit, ShpFile& shpUnits,
                 std::string_view mode, bool attributesOnly) {
  dbfUnit = 0;
  shpUnits.shpUnitLE = shpUnits.shpUnitBE = shpUnits.shxUnitLE = shpUnits.shxUnitBE = 0;
  const std::string letters = TRIMF(cutTo(suffix, 8));
  const std::string openMode = fitted(mode, 2);
  const bool input = openMode == "I ";
  if (!input && openMode != "O ") gisInternalCheck("OpenshpFile", false);
  const std::string_view expected = attributesOnly ? ".dbf" : ".shp";
  if (cutTo(FILEEXT(fileName), 8) != expected) gisStop("ERROR 0426 - " + std::string(expected) + " file not specified.");

  std::string shpName(trimRight(fileName));
  if (!attributesOnly) {
    if (!letters.empty()) {
      shpName = std::string(trimRight(FILENAMEPATH(fileName))) + "_" + letters + ".shp";
      if (input && !platform::fileExists(shpName)) return false;
    } else if (!input) {
      gisInternalCheck("OpenshpFileO", false);
    }
    const std::string base(trimRight(FILENAMEPATH(shpName)));
    const std::string prjName = gisLayerFileName(base, ".prj", input);
    if (input) {
      checkProjection(prjName, shpUnits.prjUnit);
      OPENFILE(shpUnits.shpUnitLE, "BI", shpName);
      OPENFILE(shpUnits.shpUnitBE, "BE", shpName);
    } else {
      const std::string shxName = base + ".shx";
      OPENFILE(shpUnits.shpUnitLE, "SB", shpName);
      OPENFILE(shpUnits.shpUnitBE, "SE", shpName);
      OPENFILE(shpUnits.shxUnitLE, "SB", shxName);
      OPENFILE(shpUnits.shxUnitBE, "SE", shxName);
      OPENFILE(shpUnits.prjUnit, "O ", prjName);
    }
  }
  const std::string dbfName = gisLayerFileName(std::string(trimRight(FILENAMEPATH(shpName))), ".dbf", input);
  OPENFILE(dbfUnit, input ? "BI" : "BO", dbfName);
  return true;
}

std::string prjReadProjcs(std::string& line) {
  line = UPPERCASE(line);
  const std::size_t p = line.find("PROJCS[");
  if (p == std::string::npos) {
    setGisMessageLine(1,
                      "WARNING 0420 - Could not find PROJCS definition.  Projection of .shp file might not be "
                      "cartesian.");
    gisWriteMessage(0);
    return {};
  }
  FreeReader reader(std::string_view(line).substr(p + 7));
  std::string name;
  // A name the run cannot read would be compared as blank: stop instead.
  if (reader.read(name) != ReadResult::Ok || isAllBlank(name))
    gisStop("ERROR 0420 - Could not read projection line in .prj file.");
  return cutTo(name, kNameWidth);
}

void shpWriteHeader(ShpFile& header, int unitLE, int unitBE) {
  if (unitLE < 1 || unitBE < 1) gisInternalCheck("shpnotopen");
  rewindUnit(unitLE);
  rewindUnit(unitBE);
  header.fileCode = 9994;
  header.fileLength = kHeaderWords;
  ShapefileModule& s = shapefileModule();
  s.be.clear();
  appendBE32(s.be, header.fileCode);
  s.be.append(20, '\0');
  appendBE32(s.be, header.fileLength);
  header.version = 1000;
  s.le.clear();
  appendLE32(s.le, header.version);
  appendLE32(s.le, header.shapeType);
  for (double v : {header.xMin, header.yMin, header.xMax, header.yMax, 0.0, 0.0, 0.0, 0.0}) appendLEDouble(s.le, v);
  const bool ok = writeZeros(unitLE, 28) && writeBytes(unitBE, s.be) && writeZeros(unitBE, 72) &&
                  writeBytes(unitLE, s.le);
  if (!ok) gisStop("ERROR 0437 - Writing .shp file header.");
}

void shpWriteObject(gisObject& obj, ShpFile& header) {
  // A shape whose set was not opened has nowhere to go: nothing of it is
  // counted or written.
  if (header.shpUnitLE < 1 || header.shpUnitBE < 1 || header.shxUnitBE < 1) recordWriteFailed();
  // The coordinates are read from the buffers directly: a count beyond them
  // is a caller's fault that must not read past their end.
  const int np = std::max(gisNP, 0);
  if (np > static_cast<int>(std::min(gisX.size(), gisY.size()))) gisInternalCheck("gisNP > gisMaxWriteNodes");
  ++header.recordCount;
  obj.isComplete = false;
  const int nr = obj.nr;
  int type = 0;
  int c = 0;
  if (obj.isPoint) {
    type = 1, c = 10;
  } else if (obj.isMultiPoint) {
    type = 8, c = (16 * np + 40) / 2;
  } else if (obj.isLine || obj.isPline || obj.isPlineMultiple) {
    type = 3, c = (16 * np + 4 * nr + 44) / 2;
  } else if (obj.isRegion) {
    type = 5, c = (16 * np + 4 * nr + 44) / 2;
  } else if (obj.isNone) {
    type = 0, c = 2;
  } else {
    gisStop("ERROR 0350 - Trying to write a SHP object that is not yet supported.  Please contact " +
            std::string(kSupportAddress) + ".");
  }
  header.recordShapeType = type;

  ShapefileModule& s = shapefileModule();
  s.be.clear();
  appendBE32(s.be, header.recordCount);
  appendBE32(s.be, c);
  appendBE32(s.be, 0);
  s.le.clear();
  appendLE32(s.le, type);
  std::string entry;
  appendBE32(entry, header.nextOffset);
  appendBE32(entry, c);
  putOrFail(writeZeros(header.shpUnitLE, 8) && writeBytes(header.shpUnitBE, s.be) &&
            writeBytes(header.shpUnitLE, s.le) && writeBytes(header.shxUnitBE, entry));
  obj.isComplete = true;
  header.nextOffset += c + 4;
  header.fileLength += c + 4;

  s.le.clear();
  std::size_t zeros = 0;
  switch (type) {
    case 1:
      zeros = 16;
      appendLEDouble(s.le, gisX(1));
      appendLEDouble(s.le, gisY(1));
      takeIntoBox(header, gisX(1), gisY(1), gisX(1), gisY(1));
      break;
    case 8:
    case 3:
    case 5: {
      double xMin, yMin, xMax, yMax;
      objectBox(np, xMin, yMin, xMax, yMax);
      takeIntoBox(header, xMin, yMin, xMax, yMax);
      for (double v : {xMin, yMin, xMax, yMax}) appendLEDouble(s.le, v);
      if (type != 8) appendLE32(s.le, nr);
      appendLE32(s.le, np);
      // Parts and rings go as given: neither closed nor turned.
      if (type != 8)
        for (int i = 1; i <= nr; ++i) appendLE32(s.le, obj.ir(i) - 1);
      appendPoints(s.le, np);
      zeros = s.le.size();
      break;
    }
    default:
      return;
  }
  putOrFail(writeZeros(header.shpUnitBE, zeros) && writeBytes(header.shpUnitLE, s.le));
}

void gisWriteEoF(int gisID) {
  gisCheckLayerID("gisWriteEoF", gisID);
  GisLayerModule& m = gisModule();
  const int fileType = m.gisLayerFileType(gisID);
  if (fileType == 1) return;
  if (fileType != 2) gisInternalCheck("gisWriteEoF");
  for (int k = 1; k <= gisShapeSlots; ++k) {
    DbfFile& dbf = m.dbfFile(k, gisID);
    ShpFile& set = m.shpFile(k, gisID);
    if (dbf.dbfUnit > 0) dbfCompleteTable(dbf);
    // Buffered records reach the disk here; a set that cannot take them is
    // as lost as one whose write failed at once.
    for (int unit : {set.shpUnitLE, set.shxUnitBE}) {
      if (unit > 0 && !flushUnit(unit)) {
        if (set.recordCount < 1) gisStop("ERROR 0437 - Writing .shp file header.");
        recordWriteFailed();
      }
    }
    if (set.recordCount < 1) continue;
    if (set.shpUnitLE > 0) {
      const std::string name = unitFileName(set.shpUnitLE);
      CLOSER(set.shpUnitLE);
      CLOSER(set.shpUnitBE);
      patchHeader(name, set.fileLength, set);
    }
    if (set.shxUnitBE > 0) {
      const std::string name = unitFileName(set.shxUnitBE);
      CLOSER(set.shxUnitBE);
      patchHeader(name, kHeaderWords + 4 * set.recordCount, set);
    }
  }
}

void shpReadHeader(int unit, int& fileCode, int& fileLength, int& version, int& shapeType, double& xMin,
                   double& yMin, double& xMax, double& yMax) {
  if (unit <= 0) return;
  rewindUnit(unit);
  char b[kHeaderBytes];
  gisReadBytes(unit, b, sizeof b, "ERROR 0428 - End of .shp file encountered whilst reading header.",
               "ERROR 0427 - Reading .shp file header.");
  const ByteOrder order = unitByteOrder(unit);
  fileCode = getInt32(b, order);
  fileLength = getInt32(b + 24, order);
  version = getInt32(b + 28, order);
  shapeType = getInt32(b + 32, order);
  xMin = getDouble(b + 36, order);
  yMin = getDouble(b + 44, order);
  xMax = getDouble(b + 52, order);
  yMax = getDouble(b + 60, order);
  cursorOf(unit) = ReadCursor{};
}

bool shpObjectType(int unit, int& recordShapeType, gisObject& obj) {
  ReadCursor& cursor = cursorOf(unit);
  // Whatever the caller left of the last record is passed over.
  if (unitPosition(unit) < cursor.recordEnd) positionUnit(unit, cursor.recordEnd);
  const std::int64_t start = unitPosition(unit);
  char head[12];
  readOrStop(unit, head, sizeof head, kTypeRead);
  const std::int64_t contentBytes = 2 * std::int64_t(static_cast<std::int32_t>(getBE32(head + 4)));
  recordShapeType = static_cast<std::int32_t>(getLE32(head + 8));
  if (contentBytes < 4) gisStop(kTypeRead.error);
  cursor.recordStart = start;
  cursor.recordEnd = start + 8 + contentBytes;
  // The structure the counts describe must fit in the record's content.
  auto fits = [&](std::int64_t bytes) {
    cursor.structureEnd = start + 8 + bytes;
    if (bytes > contentBytes) gisStop(kTypeRead.error);
  };

  obj.nr = 0;
  switch (recordShapeType) {
    case 0:
      obj.isNone = true;
      fits(4);
      break;
    case 1:
      obj.isPoint = true;
      fits(20);
      break;
    case 3: {
      skipBytes(unit, 32);
      obj.nsect = readLE32(unit, kTypeRead);
      if (obj.nsect < 0) gisStop(kTypeRead.error);
      obj.isPline = obj.nsect == 1;
      obj.isPlineMultiple = obj.nsect > 1;
      if (obj.nsect >= gisMaxParts)
        gisStop("ERROR 0421 - Exceeded maximum number of parts in a .shp polyline.  Limit is " + AINTEGER(gisMaxParts));
      const int points = readLE32(unit, kTypeRead);
      if (points < 0) gisStop(kTypeRead.error);
      fits(44 + 4 * std::int64_t(obj.nsect) + 16 * std::int64_t(points));
      // Parts without points are a polyline without vertices, as a record
      // of no parts is: nothing of it is read.
      if (points == 0) {
        obj.nsect = 0;
        obj.isPline = obj.isPlineMultiple = false;
      }
      readPartStarts(unit, obj, obj.nsect, kTypeRead);
      if (!partStartsValid(obj, obj.nsect, points)) gisStop(kTypeRead.error);
      obj.ir(obj.nsect + 1) = points;
      break;
    }
    case 5:
      obj.isRegion = true;
      skipBytes(unit, 32);
      obj.nr = readLE32(unit, kTypeRead);
      if (obj.nr < 0) gisStop(kTypeRead.error);
      if (obj.nr >= gisMaxParts)
        gisStop("ERROR 0422 - Exceeded maximum number of regions within a .shp region.  Limit is " +
                AINTEGER(gisMaxParts));
      // The point count follows; the coordinate reader checks the rest.
      fits(44 + 4 * std::int64_t(obj.nr));
      break;
    case 8: {
      obj.isMultiPoint = true;
      skipBytes(unit, 32);
      obj.nsect = readLE32(unit, kTypeRead);
      if (obj.nsect < 0) gisStop(kTypeRead.error);
      fits(40 + 16 * std::int64_t(obj.nsect));
      break;
    }
    default:
      gisStop("ERROR 0423 - Unsupported .shp object type " + std::string(shpShapeTypeName(recordShapeType)) + " [" +
              AINTEGER(recordShapeType) + "]");
  }
  // A record with nothing left to read (a null shape, a polyline of no
  // parts, a multipoint of no points) is passed over now.
  if (unitPosition(unit) >= cursor.structureEnd || (recordShapeType == 3 && obj.nsect == 0))
    positionUnit(unit, cursor.recordEnd);
  obj.gisObjectTypeName = shpShapeTypeName(recordShapeType);
  return true;
}

bool shpReadObject(int unit, int recordShapeType, gisObject& obj, OneBasedView<double> x, OneBasedView<double> y,
                   int maxNodes, int& n, bool all) {
  obj.isComplete = false;
  const int t = recordShapeType;
  if (t < 0 || t > 8 || t == 2 || t == 4 || t == 6 || t == 7)
    gisMessageCheck("shpReadObject");
  if (t == 0) return true;
  ReadCursor& cursor = cursorOf(unit);
  // A read past the record's last part or point would take the next record.
  if (unitPosition(unit) >= cursor.structureEnd)
    gisMessageCheck("shpReadObject");
  switch (t) {
    case 1:
    case 8:
      n = 1;
      readPoints(unit, 1, x, y, 1, true);
      break;
    case 3: {
      const int k = ++obj.nr;
      n = obj.ir(k + 1) - obj.ir(k);
      if (all) shpCheckNodes(n, maxNodes);
      readPoints(unit, n, x, y, 1, all);
      break;
    }
    case 5:
      readPolygon(unit, obj, x, y, maxNodes, n, all, cursor);
      break;
    default:
      gisMessageCheck("shpReadObject");
  }
  obj.isComplete = true;
  if (unitPosition(unit) >= cursor.structureEnd) positionUnit(unit, cursor.recordEnd);
  return true;
}

bool shpCheckNodes(int n, int limit) {
  if (n <= limit) return false;
  gisStop("ERROR 0310 - Exceeded number of allowable nodes in a single .shp polyline or region.",
          "             Requested" + formatI(n, 8) + "        Limit" + formatI(limit, 8));
}

void shpSkipRecord(int unit) { positionUnit(unit, cursorOf(unit).recordEnd); }

}  // namespace quenzel
