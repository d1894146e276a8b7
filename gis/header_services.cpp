#include "gis/header_services.h"

#include <cstdint>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/dbase.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"
#include "gis/mif_reader.h"
#include "gis/shapefile.h"

namespace quenzel {

GisAttDefLine gisAttDefLine;

namespace {

void warnAndPause(std::string_view line1) {
  setGisMessageLine(1, line1);
  gisWriteMessage(1);
  PAUSES();
}

// The .shp main header through the little-endian unit: version, shape type
// and box into the slot's first set (code and length are not kept).
void readShpHeaderLE(ShpFile& shp) {
  int code = 0;
  int length = 0;
  shpReadHeader(shp.shpUnitLE, code, length, shp.version, shp.shapeType, shp.xMin, shp.yMin, shp.xMax, shp.yMax);
}

void readDbfHeader(int gisID) {
  DbfFile& dbf = gisModule().dbfFile(1, gisID);
  dbfReadHeader(dbf);
  dbf.recordCounter = 0;
}

// Lines from the unit's position to its end.
int linesToEnd(int unit) {
  std::string line;
  int count = 0;
  while (!unitAtEnd(unit) && readLine(unit, line) == IoStatus::Ok) ++count;
  return count;
}

}  // namespace

void gisReadHeader(int gisID) {
  gisCheckLayerID("gisReadHeader", gisID);
  GisLayerModule& m = gisModule();
  switch (m.gisLayerFileType(gisID)) {
    case 1:
      mifReadHeader(m.mifLayer(gisID));
      return;
    case 2: {
      ShpFile& shp = m.shpFile(1, gisID);
      int version = 0;
      int shapeType = 0;
      double box[4] = {};
      shpReadHeader(shp.shpUnitBE, shp.fileCode, shp.fileLength, version, shapeType, box[0], box[1], box[2],
                    box[3]);
      if (shp.shpUnitBE > 0)
        console::line("Shapefile Code: " + AINTEGER(shp.fileCode) + "  Length: " + AINTEGER(shp.fileLength));
      readShpHeaderLE(shp);
      if (shp.shpUnitLE > 0)
        console::line("Shapefile Version: " + AINTEGER(shp.version) + "  Type: " + AINTEGER(shp.shapeType));
      // The little-endian unit alone reads on, from the first record.
      if (shp.shpUnitBE > 0) CLOSER(shp.shpUnitBE);
      readDbfHeader(gisID);
      return;
    }
    default:
      gisInternalCheck("gisReadHeader");
  }
}

void gisGotoBeginningOfData(int gisID) {
  gisCheckLayerID("gisGotoBeginningOfData", gisID);
  GisLayerModule& m = gisModule();
  console::emptyLine();
  console::line("Rewinding GIS Layer " + AINTEGER(gisID) + "...");
  gisLayerEoF(gisID) = false;
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      const MifLayer& mif = m.mifLayer(gisID);
      mifGotoData(mif.mifUnit);
      rewindUnit(mif.midUnit);
      return;
    }
    case 2:
      readShpHeaderLE(m.shpFile(1, gisID));
      readDbfHeader(gisID);
      return;
    default:
      gisInternalCheck("gisGotoBeginningOfData");
  }
}

int gisNumberAttributes(int gisID) {
  gisCheckLayerID("gisNumberAttributes", gisID);
  const GisLayerModule& m = gisModule();
  switch (m.gisLayerFileType(gisID)) {
    case 1: return m.mifLayer(gisID).columnCount;
    case 2: return m.dbfFile(1, gisID).fieldCount;
    default: return 0;
  }
}

int gisNumberRecords(int gisID) {
  gisCheckLayerID("gisNumberRecords", gisID);
  const GisLayerModule& m = gisModule();
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      // Counted from the start; the next record read is still the one it
      // would have been.
      const int mid = m.mifLayer(gisID).midUnit;
      const std::int64_t at = unitPosition(mid);
      rewindUnit(mid);
      const int total = linesToEnd(mid);
      positionUnit(mid, at);
      return total;
    }
    case 2:
      return m.dbfFile(1, gisID).headerRecordCount;
    default:
      return 0;
  }
}

bool gisGotoBeginningOfAttributes(int gisID, int& count) {
  gisCheckLayerID("gisGotoBeginningOfAttributes", gisID);
  GisLayerModule& m = gisModule();
  if (m.gisLayerFileType(gisID) != 1) gisInternalCheck("gisGotoBeginningOfAttributes");
  const int unit = m.mifLayer(gisID).mifUnit;
  rewindUnit(unit);
  const ColumnsLine columns = mifReadColumnsCount(unit, 100, count);
  if (columns == ColumnsLine::Missing)
    warnAndPause("WARNING 0315 - Problems finding start of attribute definitions in .mif file");
  if (columns == ColumnsLine::NoCount)
    warnAndPause("WARNING 0314 - Problems reading number of attributes in .mif file");
  return columns == ColumnsLine::Found;
}

void gisReadAttributeDefinition(int gisID) {
  gisCheckLayerID("gisReadAttributeDefinition", gisID);
  GisLayerModule& m = gisModule();
  if (m.gisLayerFileType(gisID) != 1) gisInternalCheck("gisReadAttributeDefinition");
  std::string line;
  if (mifReadRecord(m.mifLayer(gisID).mifUnit, line) != IoStatus::Ok)
    gisStop("ERROR 0316 - Could not read attribute definitions in .mif file");
  mifSplitColumnDefinition(line, gisAttDefLine.name, gisAttDefLine.type);
  gisAttDefLine.name = cutTo(gisAttDefLine.name, 256);
  gisAttDefLine.type = cutTo(gisAttDefLine.type, kFieldTypeWidth);
}

std::string mifReadCoordSysLine(std::string_view fileName) {
  const std::string name = TRIMF(fileName);
  if (!platform::fileExists(name)) {
    console::emptyLine();
    setGisMessageLine(2, "               Non-Earth Coordinates will be used.  [mifReadCoordSysLine]");
    warnAndPause("WARNING 0307 - No MapInfo Projection or mif header file " + name + " found.");
    return std::string(kDefaultCoordSysLine);
  }
  int unit = 0;
  OPENFILE(unit, "I ", name);
  std::string line;
  const IoStatus status = mifScanCoordSys(unit, line);
  CLOSER(unit);
  if (status == IoStatus::Error) warnAndPause("WARNING 0312 - Problems finding CoordSys line in .mif file");
  return status == IoStatus::Ok ? line : std::string(kDefaultCoordSysLine);
}

void mifCopyHeader(int unitIn, int unitOut) {
  console::line("Copying header info from file unit " + cutTo(AINTEGER(unitIn), 8) + " to " +
                cutTo(AINTEGER(unitOut), 8) + "...");
  switch (mifCopyHeaderLines(unitIn, unitOut)) {
    case IoStatus::Ok: return;
    case IoStatus::End: gisStop("ERROR 0302 - End of File encountered (mifCopyHeader)");
    case IoStatus::Error: gisStop("ERROR 0301 - Reading data (mifCopyHeader)");
  }
}

IoStatus mifCopyHeaderLines(int unitIn, int unitOut) {
  rewindUnit(unitIn);
  std::string line;
  while (!unitAtEnd(unitIn)) {
    const IoStatus status = mifReadRecord(unitIn, line);
    if (status != IoStatus::Ok) return status;
    if (FLAGEXISTS(slice(line, 1, 7), "Columns")) break;
    writeLine(unitOut, trimRight(line));
  }
  return IoStatus::Ok;
}

}  // namespace quenzel
